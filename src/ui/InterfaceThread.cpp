#include "ui/InterfaceThread.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>

#include <future>

namespace glyphwell::ui {

void RunOnThreadOf(QObject& object, const std::function<void()>& work) {
    if (QThread::currentThread() == object.thread()) {
        work();
        return;
    }
    std::promise<void> done;
    QMetaObject::invokeMethod(
        &object,
        [&work, &done] {
            work();
            done.set_value();
        },
        Qt::QueuedConnection);
    done.get_future().wait();
}

void ProcessEventsWhile(const std::function<bool()>& busy) {
    while (busy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(10);
    }
}

}  // namespace glyphwell::ui
