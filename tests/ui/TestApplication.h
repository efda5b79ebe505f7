#pragma once
// One QApplication for every window test of a test program, on Qt's offscreen platform.

#include <QApplication>

#include <unistd.h>

namespace glyphwell::test {

inline QApplication& TestApplication() {
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The browser boxes' engine refuses to start as root with its sandbox on.
        if (geteuid() == 0) {
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        }
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        static int argc = 1;
        static char name[] = "ui_window_tests";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *application;
}

}  // namespace glyphwell::test
