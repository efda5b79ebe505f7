#pragma once
// Work that must run on a widget's thread, asked for from any thread.

#include <functional>

class QObject;

namespace glyphwell::ui {

// Runs `work` on `object`'s thread and returns once it has run: at once when called there, else
// queued to that thread and waited for. The wait is on a promise, so the hand-over is ordered
// for the thread checker too (Qt's own blocking call waits where the checker cannot see).
void RunOnThreadOf(QObject& object, const std::function<void()>& work);

// On the interface thread: handles its events until `busy` turns false, for an owner whose
// workers wait for this thread before they can end.
void ProcessEventsWhile(const std::function<bool()>& busy);

}  // namespace glyphwell::ui
