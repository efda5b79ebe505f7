#include "ui/catalogue/CatalogueArtwork.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

#include "ui/UiFonts.h"

namespace glyphwell::ui {
namespace {

constexpr int kButtonWidth = 63;
constexpr int kButtonHeight = 23;
constexpr int kSpinnerSize = 16;
// Pure white is the see-through colour; white inside a picture is drawn one step off it.
const QColor kSeeThrough(255, 255, 255);
const QColor kOffWhite(254, 254, 254);

QImage WhiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kSeeThrough);
    return image;
}

QImage Button(const QColor& top, const QColor& bottom, const QColor& border) {
    QImage image = WhiteImage(kButtonWidth, kButtonHeight);
    QPainter p(&image);
    const QRect body(0, 0, kButtonWidth - 1, kButtonHeight - 1);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.fillRect(body, fill);
    p.setPen(border);
    p.drawRect(body);
    return image;
}

// A download button: an arrow into a tray, then "下载".
QImage DownloadButton(const QColor& top, const QColor& bottom, int shift) {
    QImage image = Button(top, bottom, QColor(24, 96, 170));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(shift, shift);
    p.setPen(QPen(kOffWhite, 1.6));
    p.drawLine(QPointF(14, 5), QPointF(14, 14));
    p.drawLine(QPointF(10, 10.5), QPointF(14, 14.5));
    p.drawLine(QPointF(18, 10.5), QPointF(14, 14.5));
    p.drawLine(QPointF(9, 17), QPointF(19, 17));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(SongFont(12));
    p.setPen(kOffWhite);
    p.drawText(QRect(22, 0, 38, kButtonHeight), Qt::AlignCenter, "下载");
    return image;
}

QImage InstalledButton() {
    QImage image = Button(QColor(236, 246, 236), QColor(206, 228, 206), QColor(120, 170, 120));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 140, 60), 2));
    p.drawPolyline(QPolygonF({QPointF(6, 11), QPointF(10, 15), QPointF(17, 7)}));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(SongFont(12));
    p.setPen(QColor(40, 110, 50));
    p.drawText(QRect(19, 0, 42, kButtonHeight), Qt::AlignCenter, "已安装");
    return image;
}

// Twelve spokes, the brightest at the frame's own position, fading behind it.
QImage SpinnerFrame(int frame) {
    QImage image = WhiteImage(kSpinnerSize, kSpinnerSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kSpinnerSize / 2.0, kSpinnerSize / 2.0);
    for (int spoke = 0; spoke < 12; ++spoke) {
        const int age = (frame - spoke + 12) % 12;
        const int shade = 40 + age * 17;  // 40 (dark) .. 227 (faint), never pure white
        const double angle = spoke * std::numbers::pi / 6 - std::numbers::pi / 2;
        const QPointF direction(std::cos(angle), std::sin(angle));
        p.setPen(QPen(QColor(shade, shade + (255 - shade) / 3, 255 - age * 4), 1.8, Qt::SolidLine,
                      Qt::RoundCap));
        p.drawLine(centre + direction * 3.5, centre + direction * 7);
    }
    return image;
}

CatalogueArtwork Draw() {
    CatalogueArtwork art;
    art.subcategoryNormal =
        Button(QColor(250, 250, 250), QColor(226, 230, 236), QColor(170, 178, 190));
    art.subcategoryHover =
        Button(QColor(232, 244, 254), QColor(196, 224, 248), QColor(90, 150, 210));
    art.subcategorySelected =
        Button(QColor(196, 226, 252), QColor(150, 200, 244), QColor(40, 110, 190));
    art.downloadNormal = DownloadButton(QColor(98, 170, 230), QColor(52, 126, 200), 0);
    art.downloadHover = DownloadButton(QColor(130, 195, 245), QColor(78, 152, 222), 0);
    art.downloadPressed = DownloadButton(QColor(40, 108, 178), QColor(66, 140, 210), 1);
    art.installed = InstalledButton();
    for (int frame = 0; frame < 12; ++frame) {
        art.spinner[static_cast<std::size_t>(frame)] = SpinnerFrame(frame);
    }
    return art;
}

}  // namespace

const CatalogueArtwork& TheCatalogueArtwork() {
    static const CatalogueArtwork art = Draw();
    return art;
}

}  // namespace glyphwell::ui
