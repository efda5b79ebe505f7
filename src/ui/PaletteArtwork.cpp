#include "ui/PaletteArtwork.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

#include "app/Skin.h"
#include "ui/Artwork.h"
#include "ui/QtConversions.h"
#include "ui/logic/PaletteChooser.h"

namespace glyphwell::ui {
namespace {

constexpr int kTabWidth = 40;
constexpr int kTabHeight = 30;
constexpr int kThumbnailWidth = 68;
constexpr int kThumbnailHeight = 43;

// A framed landscape: the skins.
void PictureGlyph(QPainter& p, const QColor& colour) {
    p.setPen(QPen(colour, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(11.5, 8.5, 17, 13));
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF{{12.5, 20.5}, {17.5, 14.5}, {21, 18}, {23.5, 16}, {27.5, 20.5}});
    p.drawEllipse(QPointF(24.5, 12.5), 1.6, 1.6);
}

// A paint brush leaning to the left: the colours.
void BrushGlyph(QPainter& p, const QColor& colour) {
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(28, 6.5), QPointF(20.5, 14));
    p.setPen(QPen(colour, 3.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(20.5, 14), QPointF(18, 16.5));
    QPainterPath tip;
    tip.moveTo(17.5, 15);
    tip.cubicTo(13, 16, 14.5, 20, 11, 23.5);
    tip.cubicTo(15.5, 23, 19.5, 21.5, 19.5, 17);
    tip.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(tip);
}

PaletteTabImages DrawTab(const std::function<void(QPainter&, const QColor&)>& glyph) {
    auto draw = [&](const QColor& colour, bool backing) {
        QImage image = BlankImage(kTabWidth, kTabHeight);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        if (backing) {
            p.setPen(QPen(QColor(214, 222, 232), 1));
            p.setBrush(QColor(238, 243, 249));
            p.drawRoundedRect(QRectF(1.5, 1.5, kTabWidth - 3, kTabHeight - 3), 2, 2);
        }
        glyph(p, colour);
        return image;
    };
    return {draw(QColor(120, 120, 120), false), draw(QColor(70, 70, 70), true),
            draw(QColor(38, 110, 200), false)};
}

QImage DrawTabHighlight() {
    QImage image(kTabWidth, kTabHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, kTabWidth, 2), QColor(255, 196, 0));
    p.fillRect(QRect(0, 2, 1, kTabHeight - 2), QColor(227, 226, 223));
    p.fillRect(QRect(kTabWidth - 1, 2, 1, kTabHeight - 2), QColor(227, 226, 223));
    return image;
}

QImage DrawThumbnail(int skinNumber) {
    if (skinNumber == 1) {
        QImage plain(kThumbnailWidth, kThumbnailHeight, QImage::Format_ARGB32_Premultiplied);
        plain.fill(ToQColor(app::kPlainSkinColour));
        return plain;
    }
    return DrawSkinPicture(skinNumber)
        .scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The overlays are drawn into the 67 x 42 place of a thumbnail, so their frames keep to it.
QImage DrawThumbnailHover() {
    QImage image = BlankImage(kThumbnailWidth, kThumbnailHeight);
    QPainter p(&image);
    const QRect frame(0, 0, kThumbnailWidth - 2, kThumbnailHeight - 2);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(frame);
    p.setPen(QPen(QColor(40, 40, 40), 1, Qt::DashLine));
    p.drawRect(frame);
    return image;
}

QImage DrawThumbnailChosen() {
    QImage image = BlankImage(kThumbnailWidth, kThumbnailHeight);
    QPainter p(&image);
    p.setPen(QPen(QColor(255, 150, 0), 1));
    p.drawRect(QRect(0, 0, kThumbnailWidth - 2, kThumbnailHeight - 2));
    p.drawRect(QRect(1, 1, kThumbnailWidth - 4, kThumbnailHeight - 4));
    return image;
}

QImage DrawPalettePicture() {
    QImage image(kPalettePictureRect.width, kPalettePictureRect.height,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int swatch = 1; swatch <= kSwatchCount; ++swatch) {
        const Rect r = SwatchRect(swatch);
        p.fillRect(
            QRect(r.x - kPalettePictureRect.x, r.y - kPalettePictureRect.y, r.width, r.height),
            ToQColor(SwatchColour(swatch)));
    }
    return image;
}

QImage DrawSwatchFrame() {
    QImage image = BlankImage(15, 16);
    QPainter p(&image);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(QRect(0, 0, 14, 15));
    p.drawRect(QRect(1, 1, 12, 13));
    return image;
}

// White, with a light edge at the top and left and a shadow at the right and bottom of the
// rounded region the window keeps.
QImage DrawBackground() {
    QImage image(kPaletteWidth, kPaletteHeight + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    const int right = kPaletteWidth - 2;
    const int bottom = kPaletteHeight - 3;
    p.fillRect(QRect(0, 0, right, 1), QColor(201, 201, 201));
    p.fillRect(QRect(0, 0, 1, bottom), QColor(201, 201, 201));
    p.fillRect(QRect(1, bottom - 1, right - 1, 1), QColor(218, 218, 218));
    p.fillRect(QRect(right - 1, 1, 1, bottom - 1), QColor(218, 218, 218));
    p.fillRect(QRect(0, bottom, right + 1, 1), QColor(158, 158, 158));
    p.fillRect(QRect(right, 0, 1, bottom + 1), QColor(158, 158, 158));
    p.fillRect(QRect(0, bottom + 1, kPaletteWidth, image.height() - bottom - 1),
               QColor(190, 190, 190));
    p.fillRect(QRect(right + 1, 0, 1, image.height()), QColor(190, 190, 190));
    return image;
}

}  // namespace

PaletteArtwork DrawPaletteArtwork() {
    PaletteArtwork art;
    art.tabs[0] = DrawTab(PictureGlyph);
    art.tabs[1] = DrawTab(BrushGlyph);
    art.tabHighlight = DrawTabHighlight();
    for (int skin = 1; skin <= 9; ++skin) {
        art.thumbnails[static_cast<std::size_t>(skin - 1)] = DrawThumbnail(skin);
    }
    art.thumbnailHover = DrawThumbnailHover();
    art.thumbnailChosen = DrawThumbnailChosen();
    art.palettePicture = DrawPalettePicture();
    art.swatchFrame = DrawSwatchFrame();
    art.background = DrawBackground();
    return art;
}

}  // namespace glyphwell::ui
