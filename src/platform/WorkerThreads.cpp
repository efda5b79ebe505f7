#include "platform/WorkerThreads.h"

#include <system_error>

namespace glyphwell::platform {

void RunAlongside(const std::function<void()>& beside, const std::function<void()>& here) {
    std::jthread thread;  // joined on the way out, whatever `here` does
    try {
        thread = std::jthread(beside);
    } catch (const std::system_error&) {
        beside();
    }
    here();
}

WorkerThreads::~WorkerThreads() {
    WaitForAll();
}

void WorkerThreads::Start(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    JoinDoneWorkers();
    Worker& worker = workers_.emplace_back();
    try {
        worker.thread = std::thread([this, &worker, work = std::move(work)] {
            work();
            std::lock_guard done(mutex_);
            worker.done = true;
        });
    } catch (...) {
        // No thread to join later.
        workers_.pop_back();
        throw;
    }
}

void WorkerThreads::JoinDoneWorkers() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

bool WorkerThreads::Running() {
    std::lock_guard lock(mutex_);
    for (const Worker& worker : workers_) {
        if (!worker.done) {
            return true;
        }
    }
    return false;
}

void WorkerThreads::WaitForAll() {
    for (;;) {
        std::list<Worker> running;
        {
            std::lock_guard lock(mutex_);
            running.splice(running.end(), workers_);
        }
        if (running.empty()) {
            return;
        }
        // Joined outside the lock: an ending worker takes it to mark itself done.
        for (Worker& worker : running) {
            worker.thread.join();
        }
    }
}

}  // namespace glyphwell::platform
