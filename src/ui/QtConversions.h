#pragma once
// The program's own colour and rectangle types as Qt's, and the empty picture every drawing
// starts from.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <string>

#include "app/Skin.h"
#include "ui/logic/FrameLayout.h"

namespace glyphwell::ui {

inline QColor ToQColor(app::Colour colour, int alpha = 255) {
    return QColor(app::RedOf(colour), app::GreenOf(colour), app::BlueOf(colour), alpha);
}

// The program's UTF-8 text as Qt's.
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

inline QRect ToQRect(const Rect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

// A fully transparent picture to draw on.
inline QImage BlankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

}  // namespace glyphwell::ui
