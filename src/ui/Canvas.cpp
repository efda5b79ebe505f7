#include "ui/Canvas.h"
#include "ui/QtConversions.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace glyphwell::ui {
namespace {

// `picture` with every pixel of exactly `transparent` made fully transparent.
QImage KeyedOut(const QImage& picture, app::Colour transparent) {
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key =
        qRgb(app::RedOf(transparent), app::GreenOf(transparent), app::BlueOf(transparent));
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF)) {
                line[x] = 0;
            }
        }
    }
    return keyed;
}

int Blend(int from, int to, int step, int steps) {
    return steps == 0 ? from : from + (to - from) * step / steps;
}

}  // namespace

Canvas::Canvas(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    // What is painted here is invisible to screen readers; the name at least says which area.
    setAccessibleName(objectName);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void Canvas::Clear(app::Colour colour) {
    Target().fill(ToQColor(colour));
    Changed(rect());
}

void Canvas::DrawRectangle(QRect rect, app::Colour pen, std::optional<app::Colour> fill) {
    if (rect.isEmpty()) {
        return;
    }
    QPainter painter(&Target());
    if (fill) {
        painter.fillRect(rect, ToQColor(*fill));
    }
    // A one-pixel pen strokes one pixel beyond the right and bottom edges of what it is given.
    painter.setPen(ToQColor(pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    Changed(rect);
}

void Canvas::FillRectangle(QRect rect, app::Colour colour) {
    QPainter painter(&Target());
    painter.fillRect(rect, ToQColor(colour));
    Changed(rect);
}

void Canvas::GradientFill(QRect rect, app::Colour from, app::Colour to,
                          Qt::Orientation orientation) {
    if (rect.isEmpty()) {
        return;
    }
    // Line by line, so the first and last lines are exactly the end colours.
    QPainter painter(&Target());
    const bool vertical = orientation == Qt::Vertical;
    const int lines = vertical ? rect.height() : rect.width();
    for (int i = 0; i < lines; ++i) {
        const QColor colour(Blend(app::RedOf(from), app::RedOf(to), i, lines - 1),
                            Blend(app::GreenOf(from), app::GreenOf(to), i, lines - 1),
                            Blend(app::BlueOf(from), app::BlueOf(to), i, lines - 1));
        const QRect line = vertical ? QRect(rect.left(), rect.top() + i, rect.width(), 1)
                                    : QRect(rect.left() + i, rect.top(), 1, rect.height());
        painter.fillRect(line, colour);
    }
    Changed(rect);
}

void Canvas::DrawPicture(const QImage& picture, QPoint at, std::optional<app::Colour> transparent) {
    DrawPicture(picture, QRect(at, picture.size()), transparent);
}

void Canvas::DrawPicture(const QImage& picture, QRect stretchedTo,
                         std::optional<app::Colour> transparent) {
    if (picture.isNull() || stretchedTo.isEmpty()) {
        return;
    }
    QPainter painter(&Target());
    // No smoothing: stretched pixels keep their colours, and keyed-out ones stay out.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(stretchedTo, transparent ? KeyedOut(picture, *transparent) : picture);
    Changed(stretchedTo);
}

void Canvas::DrawText(QPoint at, const QString& text, const QFont& font, app::Colour colour) {
    if (text.isEmpty()) {
        return;
    }
    const QFontMetrics metrics(font);
    QPainter painter(&Target());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(ToQColor(colour));
    const QPoint baseline(at.x(), at.y() + metrics.ascent());
    painter.drawText(baseline, text);
    Changed(metrics.boundingRect(text).translated(baseline).adjusted(-2, -2, 2, 2));
}

void Canvas::DrawText(QRect rect, const QString& text, const QFont& font, app::Colour colour,
                      int flags) {
    if (text.isEmpty() || rect.isEmpty()) {
        return;
    }
    QPainter painter(&Target());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(ToQColor(colour));
    painter.setClipRect(rect);
    painter.drawText(rect, flags, text);
    Changed(rect);
}

void Canvas::CopyTo(Canvas& target, QPoint at, QRect from) const {
    const QRect source = from.intersected(Target().rect());
    if (source.isEmpty()) {
        return;
    }
    // Copying onto itself needs a snapshot: the painter would read what it already wrote.
    const QImage pixels = Target().copy(source);
    const QPoint moved = at + (source.topLeft() - from.topLeft());
    QPainter painter(&target.Target());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(moved, pixels);
    painter.end();
    target.Changed(QRect(moved, source.size()));
}

const QImage& Canvas::Surface() const {
    return Target();
}

QImage& Canvas::Target() const {
    // At least one pixel, so painters always have something to open.
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (surface_.size() != wanted) {
        QImage resized(wanted, QImage::Format_RGB32);
        resized.fill(Qt::white);
        if (!surface_.isNull()) {
            QPainter painter(&resized);
            painter.drawImage(0, 0, surface_);
        }
        surface_ = std::move(resized);
    }
    return surface_;
}

void Canvas::Changed(const QRect& rect) {
    update(rect);
}

void Canvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), Target(), area);
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMoved(event->position().toPoint());
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit LeftPressed(event->position().toPoint());
    }
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit LeftReleased(event->position().toPoint());
    }
}

void Canvas::leaveEvent(QEvent*) {
    emit MouseLeft();
}

}  // namespace glyphwell::ui
