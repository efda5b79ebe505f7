#include "ui/PaletteWindow.h"
#include "ui/QtConversions.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

namespace glyphwell::ui {
namespace {

constexpr app::Colour kSeparatorColour = 0xE3E2DF;

// The back-buffer area a swatch is drawn from: one pixel left of the swatch, 18 x 18.
QRect SwatchArea(int swatch) {
    const Rect r = SwatchRect(swatch);
    return QRect(r.x - 1, r.y, 18, 18);
}

}  // namespace

PaletteWindow::PaletteWindow(PaletteChooser& chooser, const PaletteArtwork& artwork,
                             ApplySkinCallback applySkin, std::function<void()> closeRequested,
                             QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint),
      chooser_(chooser),
      artwork_(artwork),
      applySkin_(std::move(applySkin)),
      closeRequested_(std::move(closeRequested)),
      closeButton_(new QPushButton(QString::fromUtf8("关"), this)) {
    setObjectName("调色板窗口");
    setFixedSize(kPaletteWidth, kPaletteHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // A rounded rectangle with 4 x 4 corner ellipses leaves out the corner pixels.
    const QRect region(0, 0, 217, 171);
    setMask(QRegion(region.adjusted(1, 0, -1, 0)) + QRegion(region.adjusted(0, 1, 0, -1)));

    closeButton_->setGeometry(184, 0, 32, 24);
    // Queued, so the owner may destroy this window from the callback.
    connect(
        closeButton_, &QPushButton::clicked, this,
        [this] {
            if (closeRequested_) {
                closeRequested_();
            }
        },
        Qt::QueuedConnection);

    chooser_.Opened(*this);
}

PaletteWindow::~PaletteWindow() {
    chooser_.Closed();
}

void PaletteWindow::PlaceBelowPaletteButton(const QWidget& mainWindow) {
    move(mainWindow.x() + mainWindow.width() - 223, mainWindow.y() + 99);
}

void PaletteWindow::showEvent(QShowEvent* event) {
    // Placed once per showing; moving the main window later leaves the palette where it is.
    if (!event->spontaneous() && parentWidget() != nullptr) {
        PlaceBelowPaletteButton(*parentWidget()->window());
    }
    QWidget::showEvent(event);
}

void PaletteWindow::PaintPalette() {
    backBuffer_ = QImage(kPaletteWidth, kPaletteHeight, QImage::Format_ARGB32_Premultiplied);
    backBuffer_.fill(Qt::white);
    QPainter p(&backBuffer_);
    p.drawImage(0, 0, artwork_.background);
    p.setPen(QColor(app::RedOf(kSeparatorColour), app::GreenOf(kSeparatorColour),
                    app::BlueOf(kSeparatorColour)));
    p.drawLine(1, 28, 213, 28);

    const int active = chooser_.ActiveTab();
    const int other = 1 - active;
    p.drawImage(ToQRect(PaletteTabRect(active)).topLeft(), artwork_.tabHighlight);
    p.drawImage(ToQRect(PaletteTabRect(active)).topLeft(),
                artwork_.tabs[static_cast<std::size_t>(active)].active);
    p.drawImage(ToQRect(PaletteTabRect(other)).topLeft(),
                artwork_.tabs[static_cast<std::size_t>(other)].normal);
    if (active == kSkinsTab) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int i = 1; i <= kThumbnailCount; ++i) {
            p.drawImage(ToQRect(ThumbnailRect(i)),
                        artwork_.thumbnails[static_cast<std::size_t>(i - 1)]);
        }
    } else {
        p.drawImage(ToQRect(kPalettePictureRect), artwork_.palettePicture);
    }
}

void PaletteWindow::PaintElements(QPainter& painter) const {
    for (int tab = 0; tab < kPaletteTabCount; ++tab) {
        const int shown = shownTabs_[static_cast<std::size_t>(tab)];
        if (shown == kTabNormal) {
            continue;  // as the back buffer has it
        }
        const QRect place = ToQRect(PaletteTabRect(tab));
        QImage image = backBuffer_.copy(place);
        QPainter p(&image);
        const PaletteTabImages& images = artwork_.tabs[static_cast<std::size_t>(tab)];
        if (shown == kTabHover) {
            p.drawImage(0, 0, images.hover);
        } else {
            p.drawImage(0, 0, artwork_.tabHighlight);
            p.drawImage(0, 0, images.active);
        }
        p.end();
        painter.drawImage(place.topLeft(), image);
    }
    if (paintedTab_ == kSkinsTab) {
        for (int i = 1; i <= kThumbnailCount; ++i) {
            const int shown = shownThumbnails_[static_cast<std::size_t>(i - 1)];
            if (shown == kThumbnailNormal) {
                continue;
            }
            const QRect place = ToQRect(ThumbnailRect(i));
            QImage image = backBuffer_.copy(place);
            QPainter p(&image);
            if (shown == kThumbnailChosen) {
                p.setRenderHint(QPainter::SmoothPixmapTransform);
                p.drawImage(QRect(QPoint(0, 0), place.size()),
                            artwork_.thumbnails[static_cast<std::size_t>(i - 1)]);
            }
            if (shown == kThumbnailChosen || shown == kThumbnailChosenHover) {
                p.drawImage(0, 0, artwork_.thumbnailChosen);
            }
            if (shown == kThumbnailHover || shown == kThumbnailChosenHover) {
                p.drawImage(0, 0, artwork_.thumbnailHover);
            }
            p.end();
            painter.drawImage(place.topLeft(), image);
        }
    } else {
        for (int j = 1; j <= kSwatchCount; ++j) {
            if (shownSwatches_[static_cast<std::size_t>(j - 1)] == kSwatchNormal) {
                continue;
            }
            const QRect area = SwatchArea(j);
            QImage image = backBuffer_.copy(area);
            QPainter p(&image);
            // Hover and current choice share the frame.
            p.drawImage(QRect(1, 0, 16, 17), artwork_.swatchFrame);
            p.end();
            painter.drawImage(area.topLeft(), image);
        }
    }
}

void PaletteWindow::SettleFullPaint() {
    if (!backBufferStale_ && !backBuffer_.isNull()) {
        return;
    }
    PaintPalette();
    backBufferStale_ = false;
    // A full paint shows the active tab and plain content; the chooser then puts back the
    // current choice.
    paintedTab_ = chooser_.ActiveTab();
    shownTabs_.fill(kTabNormal);
    shownTabs_[static_cast<std::size_t>(paintedTab_)] = kTabActive;
    shownThumbnails_.fill(kThumbnailNormal);
    shownSwatches_.fill(kSwatchNormal);
    chooser_.AfterPaint();
}

void PaletteWindow::paintEvent(QPaintEvent*) {
    SettleFullPaint();
    QPainter painter(this);
    painter.drawImage(0, 0, backBuffer_);
    PaintElements(painter);
}

void PaletteWindow::RedrawThumbnail(int thumbnail) {
    shownThumbnails_[static_cast<std::size_t>(thumbnail - 1)] = chooser_.ThumbnailState(thumbnail);
    update(ToQRect(ThumbnailRect(thumbnail)));
}

void PaletteWindow::RedrawSwatch(int swatch) {
    shownSwatches_[static_cast<std::size_t>(swatch - 1)] = chooser_.SwatchState(swatch);
    update(SwatchArea(swatch));
}

void PaletteWindow::RedrawTab(int tab) {
    shownTabs_[static_cast<std::size_t>(tab)] = chooser_.TabState(tab);
    update(ToQRect(PaletteTabRect(tab)));
}

void PaletteWindow::RepaintPalette() {
    backBufferStale_ = true;
    update();
}

void PaletteWindow::ApplySkin(int skinNumber, bool applySkin, app::Colour colour,
                              bool applyColour) {
    if (applySkin_) {
        applySkin_(skinNumber, applySkin, colour, applyColour);
    }
}

void PaletteWindow::mouseMoveEvent(QMouseEvent* event) {
    SettleFullPaint();
    const QPoint p = event->position().toPoint();
    chooser_.MouseMove(p.x(), p.y());
}

void PaletteWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    SettleFullPaint();
    const QPoint p = event->position().toPoint();
    chooser_.LeftPress(p.x(), p.y());
}

}  // namespace glyphwell::ui
