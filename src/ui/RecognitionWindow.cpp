#include "ui/RecognitionWindow.h"

#include <QCloseEvent>
#include <QUrl>

#include "ui/BrowserBox.h"
#include "ui/logic/WebLinks.h"

namespace glyphwell::ui {

RecognitionWindow::RecognitionWindow(const QString& startAddress, QWidget* owner)
    : QWidget(owner, Qt::Window), box_(new BrowserBox(QUrl(startAddress), this)) {
    setObjectName("字体识别窗口");
    setWindowTitle(QString::fromUtf8(kRecognitionWindowCaption));
    setFixedSize(1070, 701);
    // Taller than the window: the site's footer stays out of sight.
    box_->setObjectName("字体识别浏览框");
    box_->setGeometry(0, 0, 1070, 772);
}

void RecognitionWindow::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

}  // namespace glyphwell::ui
