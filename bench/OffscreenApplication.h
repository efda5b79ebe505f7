#pragma once
// The one application object of a benchmark program, on Qt's offscreen platform, with the
// interface font the program sets.

#include <QApplication>

#include "ui/BrowserEngine.h"
#include "ui/UiFonts.h"

namespace glyphwell::bench {

inline QApplication& OffscreenApplication() {
    static int argc = 1;
    static char name[] = "glyphwell_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        ui::PrepareBrowserEngine();  // pages with browser boxes start the engine
        auto* made = new QApplication(argc, argv);
        ui::UseInterfaceFont();
        return made;
    }();
    return *application;
}

}  // namespace glyphwell::bench
