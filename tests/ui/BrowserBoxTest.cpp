#include "ui/BrowserBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWebEnginePage>

#include "ui/TestApplication.h"

namespace glyphwell::ui {
namespace {

// Each test program starts the boxes once; this needs a program where none has started yet,
// as under ctest, which runs every test in a process of its own.
TEST(BrowserBox, MakesNoPageUntilStartedAndKeepsAnAddressGivenMeanwhile) {
    test::TestApplication(false);
    if (BrowserBox::Started()) {
        GTEST_SKIP() << "the browser boxes of this test program have started already";
    }
    QWidget window;
    const QUrl start("http://127.0.0.1:9/start.html");
    BrowserBox waiting(start, &window);
    BrowserBox chosen(start, &window);
    window.show();
    QApplication::processEvents();
    // Shown, but no page: a page would start the browser engine before the window painted.
    EXPECT_EQ(waiting.findChild<QWebEnginePage*>(), nullptr);
    chosen.Load(QUrl("http://127.0.0.1:9/chosen.html"));

    StartBrowserBoxes();
    EXPECT_EQ(waiting.url(), start);
    EXPECT_EQ(chosen.url(), QUrl("http://127.0.0.1:9/chosen.html"));
    // Boxes made from now on start at once.
    BrowserBox later(start, &window);
    EXPECT_NE(later.findChild<QWebEnginePage*>(), nullptr);
    EXPECT_EQ(later.url(), start);
}

}  // namespace
}  // namespace glyphwell::ui
