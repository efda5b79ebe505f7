#pragma once
// One QApplication on the offscreen platform for every widget test in the binary.

#include <QApplication>

namespace glyphwell::test {

inline void EnsureOffscreenApplication() {
    if (QApplication::instance()) {
        return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ui_window_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends
}

}  // namespace glyphwell::test
