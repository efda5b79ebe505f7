#pragma once
// What the window tests share: one QApplication per test program on Qt's offscreen platform,
// mouse events, and the program state a main window starts from.

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <memory>

#include "app/Startup.h"
#include "support/LocalHttpServer.h"
#include "ui/BrowserBox.h"
#include "ui/BrowserEngine.h"
#include "ui/Translations.h"
#include "ui/UiFonts.h"

namespace glyphwell::test {

// Processes events until `done` holds or 30 s have passed: a broken download or update must not
// hang the test. True when `done` holds.
template <typename Done>
bool WaitFor(Done done) {
    return QTest::qWaitFor(done, 30000);
}

// The browser boxes start at once, as they did before the program started them after its
// first paint: a window test that destroys its window moments after the boxes made their
// pages and then ends the process normally may find the engine's memory corrupted at exit
// (the program itself ends with _Exit). Only the first call decides.
inline QApplication& TestApplication(bool startBrowserBoxes = true) {
    static QApplication* application = [startBrowserBoxes] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        ui::PrepareBrowserEngine();
        static int argc = 1;
        static char name[] = "ui_window_tests";
        static char* argv[] = {name, nullptr};
        auto* made = new QApplication(argc, argv);
        ui::UseInterfaceFont();  // as the program does
        ui::UseChineseQtTexts();
        if (startBrowserBoxes) {
            ui::StartBrowserBoxes();
        }
        return made;
    }();
    return *application;
}

// The Ming (Song) faces the interface font may be: the one installed with the program, or the
// stand-in where it is missing.
inline bool IsMingFace(const QString& family) {
    return family.startsWith("Noto Serif CJK") || family.startsWith("AR PL UMing");
}

// A mouse event at `at` in `widget`'s coordinates; the button counts as held except on release.
inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::NoButton) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// The program state of a window test; by default the web site is an address where nothing
// listens, reached with a short time-out.
inline std::unique_ptr<app::ProgramState> TestProgramState(
    const std::filesystem::path& runDirectory, platform::ServiceAddresses addresses = {}) {
    if (addresses.site.empty()) {
        addresses.site = UnusedLocalAddress();
    }
    platform::HttpOptions http;
    http.connectTimeout = std::chrono::seconds(2);
    return std::make_unique<app::ProgramState>(runDirectory, std::move(addresses), http);
}

}  // namespace glyphwell::test
