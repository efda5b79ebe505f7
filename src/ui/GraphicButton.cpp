#include "ui/GraphicButton.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/QtConversions.h"
#include "ui/UiFonts.h"

namespace glyphwell::ui {
namespace {

QImage DrawOne(QSize size, const QString& caption, const QColor& top, const QColor& bottom,
               const QColor& border, const QColor& text, int shift) {
    QImage image = BlankImage(size.width(), size.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    QPainterPath outline;
    outline.addRoundedRect(body, 3, 3);
    p.fillPath(outline, fill);
    p.setPen(border);
    p.drawPath(outline);
    p.translate(shift, shift);
    if (caption.isEmpty()) {
        // The magnifier of the name filter.
        const double r = std::min(size.width(), size.height()) * 0.28;
        const QPointF centre(size.width() * 0.45, size.height() * 0.42);
        p.setPen(QPen(text, 1.6));
        p.drawEllipse(centre, r, r);
        p.drawLine(centre + QPointF(r * 0.7, r * 0.7), centre + QPointF(r * 1.7, r * 1.7));
        return image;
    }
    QFont font = SongFont(size.height() >= 40 ? 16 : 12);
    if (size.height() >= 40) {
        font.setBold(true);
    }
    p.setFont(font);
    p.setPen(text);
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, caption);
    return image;
}

}  // namespace

GraphicButtonImages DrawGraphicButtonImages(QSize size, const QString& caption) {
    const QColor white(255, 255, 255);
    GraphicButtonImages images;
    images.normal = DrawOne(size, caption, QColor(98, 170, 230), QColor(52, 126, 200),
                            QColor(40, 98, 160), white, 0);
    images.hover = DrawOne(size, caption, QColor(130, 195, 245), QColor(78, 152, 222),
                           QColor(40, 98, 160), white, 0);
    images.pressed = DrawOne(size, caption, QColor(40, 108, 178), QColor(66, 140, 210),
                             QColor(28, 76, 130), white, 1);
    images.disabled = DrawOne(size, caption, QColor(222, 222, 222), QColor(196, 196, 196),
                              QColor(160, 160, 160), QColor(140, 140, 140), 0);
    return images;
}

GraphicButton::GraphicButton(QSize size, const QString& caption, QWidget* parent)
    : QAbstractButton(parent), images_(DrawGraphicButtonImages(size, caption)) {
    setFixedSize(size);
    setAccessibleName(caption);
    setCursor(Qt::PointingHandCursor);
}

const QImage& GraphicButton::CurrentImage() const {
    if (!isEnabled()) {
        return images_.disabled;
    }
    if (isDown()) {
        return images_.pressed;
    }
    return hovered_ ? images_.hover : images_.normal;
}

void GraphicButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, CurrentImage());
}

void GraphicButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void GraphicButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace glyphwell::ui
