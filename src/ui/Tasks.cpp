#include "ui/Tasks.h"

#include <QThreadPool>

namespace glyphwell::ui {
namespace {

QThreadPool& TaskPool() {
    static QThreadPool* pool = [] {
        auto* made = new QThreadPool;  // lives as long as the process: tasks may run to its end
        made->setMaxThreadCount(4);
        made->setExpiryTimeout(-1);
        return made;
    }();
    return *pool;
}

}  // namespace

void StartOnTaskPool(std::function<void()> run) {
    TaskPool().start(std::move(run));
}

void WaitForTasks() {
    TaskPool().waitForDone();
}

}  // namespace glyphwell::ui
