#include "ui/PageControlFactory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTabBar>
#include <QUrl>

#include "ui/BrowserBox.h"
#include "ui/Canvas.h"
#include "ui/GraphicButton.h"
#include "ui/Grid.h"
#include "ui/QtConversions.h"
#include "ui/logic/WebLinks.h"

namespace glyphwell::ui {
namespace {

// A label whose text sits below leading line breaks: the last lines show at its foot,
// where a plain label would push them out of sight.
class FootLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        // The painter drops text taller than its box, so the breaks are left out here.
        QString shown = text();
        while (shown.startsWith('\n')) {
            shown.remove(0, 1);
        }
        painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignBottom, shown);
    }
};

QWidget* MakeControl(const ControlInfo& info, QWidget& parent,
                     const platform::ServiceAddresses& addresses) {
    const QString text = QString::fromUtf8(info.text);
    switch (info.kind) {
        case ControlKind::kGraphicButton:
            return new GraphicButton(QSize(info.rect.width, info.rect.height), text, &parent);
        case ControlKind::kLabel: {
            auto* label =
                text.startsWith('\n') ? new FootLabel(text, &parent) : new QLabel(text, &parent);
            label->setAlignment(Qt::AlignCenter);
            return label;
        }
        case ControlKind::kCheckBox:
            return new QCheckBox(text, &parent);
        case ControlKind::kEditBox:
            return new QLineEdit(text, &parent);
        case ControlKind::kGrid: {
            // The main system list holds two fonts a row; the others one row per item.
            const bool twoFontsARow = info.id == ControlId::kSystemFontGrid;
            return new Grid(twoFontsARow ? 6 : 3, QString::fromUtf8(info.name), &parent);
        }
        case ControlKind::kGroupBox:
            return new QGroupBox(text, &parent);
        case ControlKind::kTabStrip: {
            auto* tabs = new QTabBar(&parent);
            tabs->setExpanding(false);
            return tabs;
        }
        case ControlKind::kCanvas:
            return new Canvas(QString::fromUtf8(info.name), &parent);
        case ControlKind::kBrowserBox:
            return new BrowserBox(
                QUrl(QString::fromStdString(BrowserBoxStartAddress(info.id, addresses))), &parent);
    }
    return nullptr;
}

}  // namespace

PageControlSet::PageControlSet(int pageIndex, QWidget& page,
                               const platform::ServiceAddresses& addresses) {
    for (const ControlInfo& info : PageControls()) {
        QWidget* parent = &page;
        if (info.page != pageIndex) {
            // A control inside another one belongs to the page that made its container.
            if (info.page >= 0 || made_[static_cast<std::size_t>(info.container)] == nullptr) {
                continue;
            }
            parent = made_[static_cast<std::size_t>(info.container)];
        }
        QWidget* control = MakeControl(info, *parent, addresses);
        control->setObjectName(QString::fromUtf8(info.name));
        control->setGeometry(ToQRect(info.rect));
        control->setVisible(info.shownAtStart);
        made_[static_cast<std::size_t>(info.id)] = control;
    }
}

}  // namespace glyphwell::ui
