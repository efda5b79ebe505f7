#pragma once
// Threads that each run one piece of work and end by themselves; the owner joins them.

#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace glyphwell::platform {

// Runs `beside` on a thread of its own while `here` runs on this one, and returns once both have
// ended (also when `here` throws). With no thread to be had, `beside` runs here first.
void RunAlongside(const std::function<void()>& beside, const std::function<void()>& here);

class WorkerThreads {
  public:
    WorkerThreads() = default;
    ~WorkerThreads();  // waits for running workers
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // Runs `work` on a new thread and returns at once. Throws when no thread can be started,
    // leaving nothing behind to join.
    void Start(std::function<void()> work);

    // True while a started worker has not finished its work.
    bool Running();

    // Returns once every started worker has ended. Not from inside a worker.
    void WaitForAll();

  private:
    struct Worker {
        std::thread thread;
        bool done = false;  // under mutex_
    };

    // Joins the workers that have ended; mutex_ held.
    void JoinDoneWorkers();

    std::mutex mutex_;
    std::list<Worker> workers_;
};

}  // namespace glyphwell::platform
