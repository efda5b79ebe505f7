#include "ui/BrowserBox.h"

#include <QApplication>
#include <QFont>
#include <QShowEvent>

#include "ui/Tasks.h"
#include "ui/UiFonts.h"

namespace glyphwell::ui {
namespace {

bool boxesStarted = false;

}  // namespace

BrowserBox::BrowserBox(QUrl startAddress, QWidget* parent)
    : QWebEngineView(parent), startAddress_(std::move(startAddress)) {
    if (boxesStarted) {
        Start();
    }
}

bool BrowserBox::Started() {
    return boxesStarted;
}

void BrowserBox::Load(const QUrl& address) {
    // The engine's first page reads the desktop's fonts; it must find all of them.
    ShareWholeFontList();
    loaded_ = true;
    setUrl(address);
}

void BrowserBox::Start() {
    if (started_) {
        return;
    }
    started_ = true;
    if (!loaded_) {
        setUrl(startAddress_);
    }
    if (isVisible()) {
        // The page missed its showing while the box waited: shown again, the engine sees it.
        hide();
        show();
    }
}

void BrowserBox::showEvent(QShowEvent* event) {
    // Before the start the page does not exist yet; asking for it would start the engine.
    if (started_ || loaded_) {
        QWebEngineView::showEvent(event);
    } else {
        QWidget::showEvent(event);
    }
}

void BrowserBox::hideEvent(QHideEvent* event) {
    if (started_ || loaded_) {
        QWebEngineView::hideEvent(event);
    } else {
        QWidget::hideEvent(event);
    }
}

void StartBrowserBoxes() {
    boxesStarted = true;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* box = qobject_cast<BrowserBox*>(widget)) {
            box->Start();
        }
    }
}

void StartBrowserBoxesSoon() {
    static bool asked = false;
    if (boxesStarted || asked) {
        return;
    }
    asked = true;
    const auto lookUp = [] {
        ShareWholeFontList();
        // The engine's settings ask for these five default families when its first page is
        // made; Qt keeps what it found.
        for (QFont::StyleHint hint :
             {QFont::Serif, QFont::SansSerif, QFont::Monospace, QFont::Cursive, QFont::Fantasy}) {
            QFont font;
            font.setStyleHint(hint);
            (void)font.defaultFamily();
        }
    };
    // Made after Qt's font database, so it is undone before it: a process that ends while the
    // look-up runs waits for it instead of pulling the database from under it.
    static struct WaitAtExit {
        ~WaitAtExit() { WaitForTasks(); }
    } waitAtExit;
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        lookUp();
        return;
    }
    RunTask(
        *application,
        [lookUp](const TaskReport&) {
            lookUp();
            return true;
        },
        [](bool) { StartBrowserBoxes(); });
}

}  // namespace glyphwell::ui
