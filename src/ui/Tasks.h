#pragma once
// The one way work leaves the interface thread. `work` runs on the task pool; what it reports
// and its result come back to `context`'s thread queued, so a worker never waits for the
// interface and the interface never waits for a worker (nor re-enters its event loop).

#include <QMetaObject>
#include <QObject>

#include <functional>
#include <utility>

namespace glyphwell::ui {

// Given to the work: hands calls to the context's thread, in the order they are made.
class TaskReport {
  public:
    explicit TaskReport(QObject& context) : context_(context) {}
    void Post(std::function<void()> call) const;

  private:
    QObject& context_;
};

// From any thread: `call` runs on `context`'s thread, queued behind what is already there; the
// caller goes on at once. Dropped when the context is gone by then.
inline void PostTo(QObject& context, std::function<void()> call) {
    QMetaObject::invokeMethod(&context, std::move(call), Qt::QueuedConnection);
}

// Starts `run` on the task pool.
void StartOnTaskPool(std::function<void()> run);

inline void TaskReport::Post(std::function<void()> call) const {
    PostTo(context_, std::move(call));
}

// Runs `work(report)` off the interface thread and then `done(result)` on `context`'s thread.
// The context must outlive the task: owners wait with WaitForTasks before they go.
template <typename Work, typename Done>
void RunTask(QObject& context, Work work, Done done) {
    StartOnTaskPool([&context, work = std::move(work), done = std::move(done)]() mutable {
        const TaskReport report(context);
        auto result = work(report);
        report.Post([done, result = std::move(result)]() mutable { done(std::move(result)); });
    });
}

// Returns once every started task has ended (its `done` may still be queued).
void WaitForTasks();

}  // namespace glyphwell::ui
