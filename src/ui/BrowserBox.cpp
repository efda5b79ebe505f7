#include "ui/BrowserBox.h"

#include <QApplication>
#include <QFont>
#include <QShowEvent>
#include <QThread>

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
        // The page missed its showing while the box waited.
        QShowEvent shown;
        QWebEngineView::showEvent(&shown);
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

void StartBrowserBoxesSoon(QObject& context) {
    if (boxesStarted) {
        return;
    }
    // The engine's settings ask for these five default families when its first page is made.
    QThread* lookup = QThread::create([] {
        for (QFont::StyleHint hint :
             {QFont::Serif, QFont::SansSerif, QFont::Monospace, QFont::Cursive, QFont::Fantasy}) {
            QFont font;
            font.setStyleHint(hint);
            (void)font.defaultFamily();
        }
    });
    QObject::connect(lookup, &QThread::finished, &context, [] { StartBrowserBoxes(); });
    QObject::connect(lookup, &QThread::finished, lookup, &QObject::deleteLater);
    lookup->start(QThread::LowPriority);
}

}  // namespace glyphwell::ui
