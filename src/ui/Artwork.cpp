#include "ui/Artwork.h"
#include "ui/QtConversions.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

namespace glyphwell::ui {
namespace {

void Smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

void FillVertical(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

// A band whose upper edge is a sine wave, filled down to `bottom`.
QPainterPath WaveBand(double baseline, double amplitude, double wavelength, double phase,
                      double bottom, double width = kSkinPictureWidth) {
    QPainterPath path;
    path.moveTo(0, bottom);
    for (double x = 0; x <= width; x += 4) {
        path.lineTo(x,
                    baseline + amplitude * std::sin(2 * std::numbers::pi * x / wavelength + phase));
    }
    path.lineTo(width, bottom);
    path.closeSubpath();
    return path;
}

void Cloud(QPainter& p, double x, double y, double scale, int alpha) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, alpha));
    p.drawEllipse(QPointF(x, y), 26 * scale, 11 * scale);
    p.drawEllipse(QPointF(x + 18 * scale, y - 7 * scale), 17 * scale, 12 * scale);
    p.drawEllipse(QPointF(x - 16 * scale, y - 3 * scale), 13 * scale, 9 * scale);
}

void DrawPlain(QPainter& p) {
    FillVertical(p, QRectF(0, 0, kSkinPictureWidth, kSkinPictureHeight), QColor(92, 178, 230),
                 QColor(66, 150, 208));
}

void DrawSeaAndLighthouse(QPainter& p) {
    // Deeper blue at the top, where the white title is written.
    FillVertical(p, QRectF(0, 0, kSkinPictureWidth, 96), QColor(96, 170, 222),
                 QColor(226, 243, 252));
    QRadialGradient sun(QPointF(170, 38), 70);
    sun.setColorAt(0, QColor(255, 250, 220, 230));
    sun.setColorAt(1, QColor(255, 250, 220, 0));
    p.fillRect(QRectF(90, 0, 160, 110), sun);
    Cloud(p, 330, 30, 1.2, 200);
    Cloud(p, 520, 18, 0.8, 170);
    FillVertical(p, QRectF(0, 92, kSkinPictureWidth, 113), QColor(110, 186, 226),
                 QColor(36, 110, 170));
    p.setPen(QPen(QColor(255, 255, 255, 110), 1.2));
    std::minstd_rand random(7);
    for (int i = 0; i < 60; ++i) {
        const double x = static_cast<double>(random() % kSkinPictureWidth);
        const double y = 98 + static_cast<double>(random() % 100);
        p.drawLine(QPointF(x, y), QPointF(x + 8 + (y - 98) / 6, y));
    }
    // Rock and lighthouse on the right, below the title buttons.
    const double tx = 745;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(88, 84, 80));
    QPainterPath rock;
    rock.moveTo(660, 114);
    rock.cubicTo(680, 96, 730, 92, 770, 98);
    rock.cubicTo(800, 102, 830, 108, 840, 114);
    rock.closeSubpath();
    p.drawPath(rock);
    p.setBrush(QColor(255, 244, 170, 90));
    p.drawPolygon(QPolygonF{{tx, 48}, {620, 36}, {620, 66}});
    p.drawPolygon(QPolygonF{{tx, 48}, {840, 40}, {840, 60}});
    const double towerTop = 56;
    const double towerBottom = 100;
    for (int band = 0; band < 4; ++band) {
        const double y0 = towerTop + band * (towerBottom - towerTop) / 4;
        const double y1 = towerTop + (band + 1) * (towerBottom - towerTop) / 4;
        auto half = [&](double y) { return 5 + 5 * (y - towerTop) / (towerBottom - towerTop); };
        QPolygonF part{
            {tx - half(y0), y0}, {tx + half(y0), y0}, {tx + half(y1), y1}, {tx - half(y1), y1}};
        p.setBrush(band % 2 == 0 ? QColor(206, 48, 44) : QColor(250, 250, 246));
        p.drawPolygon(part);
    }
    p.setBrush(QColor(60, 60, 64));
    p.drawRect(QRectF(tx - 7, 54, 14, 2.5));
    p.setBrush(QColor(255, 232, 120));
    p.drawRect(QRectF(tx - 4.5, 45, 9, 9));
    p.setBrush(QColor(180, 36, 34));
    p.drawPolygon(QPolygonF{{tx - 7, 45}, {tx + 7, 45}, {tx, 37}});
}

void DrawGreenField(QPainter& p) {
    FillVertical(p, QRectF(0, 0, kSkinPictureWidth, 80), QColor(102, 178, 232),
                 QColor(204, 235, 250));
    Cloud(p, 120, 26, 1.0, 220);
    Cloud(p, 610, 20, 1.3, 210);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(140, 198, 63));
    p.drawPath(WaveBand(52, 10, 700, 0.5, kSkinPictureHeight));
    p.setBrush(QColor(111, 176, 43));
    p.drawPath(WaveBand(66, 12, 520, 2.0, kSkinPictureHeight));
    p.setBrush(QColor(78, 143, 28));
    p.drawPath(WaveBand(82, 9, 430, 4.0, kSkinPictureHeight));
    // Furrows running towards the horizon.
    p.setPen(QPen(QColor(60, 120, 20, 120), 1.5));
    for (int i = -6; i < 22; ++i) {
        p.drawLine(QPointF(420 + i * 12, 88), QPointF(420 + i * 60, kSkinPictureHeight));
    }
}

void DrawTurbine(QPainter& p, double x, double hubY, double height, double angle) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 248, 252));
    p.drawPolygon(QPolygonF{
        {x - 1.5, hubY}, {x + 1.5, hubY}, {x + 3, hubY + height}, {x - 3, hubY + height}});
    const double blade = height * 0.55;
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(x, hubY);
        p.rotate(angle + i * 120);
        QPainterPath path;
        path.moveTo(0, -1.5);
        path.quadTo(blade * 0.4, -3.5, blade, 0);
        path.quadTo(blade * 0.4, 1.5, 0, 1.5);
        p.drawPath(path);
        p.restore();
    }
    p.setBrush(QColor(200, 206, 214));
    p.drawEllipse(QPointF(x, hubY), 2.5, 2.5);
}

void DrawWindTurbines(QPainter& p) {
    FillVertical(p, QRectF(0, 0, kSkinPictureWidth, kSkinPictureHeight), QColor(52, 118, 186),
                 QColor(170, 212, 242));
    Cloud(p, 200, 36, 1.1, 90);
    Cloud(p, 420, 22, 0.9, 80);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(86, 130, 96));
    p.drawPath(WaveBand(96, 5, 600, 1.0, kSkinPictureHeight));
    DrawTurbine(p, 520, 40, 58, 10);
    DrawTurbine(p, 610, 28, 72, 50);
    DrawTurbine(p, 700, 46, 52, 85);
    DrawTurbine(p, 780, 34, 64, 30);
    p.setBrush(QColor(62, 104, 72));
    p.drawPath(WaveBand(104, 4, 380, 3.0, kSkinPictureHeight));
}

void DrawBlueWaves(QPainter& p) {
    FillVertical(p, QRectF(0, 0, kSkinPictureWidth, kSkinPictureHeight), QColor(32, 96, 168),
                 QColor(70, 150, 220));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        p.setBrush(QColor(140, 200, 245, 34 + i * 6));
        p.drawPath(WaveBand(20 + i * 16, 9 + i, 260 + i * 40, i * 0.9, kSkinPictureHeight));
    }
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 70), 1.5));
        QPainterPath crest = WaveBand(30 + i * 18, 8, 300, 1.5 + i, -50);
        p.drawPath(crest);
    }
}

void Leaf(QPainter& p, double x, double y, double length, double angle, const QColor& colour) {
    p.save();
    p.translate(x, y);
    p.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.3, -length * 0.28, length * 0.75, -length * 0.22, length, 0);
    leaf.cubicTo(length * 0.75, length * 0.22, length * 0.3, length * 0.28, 0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(leaf);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(QPointF(0, 0), QPointF(length * 0.95, 0));
    for (double t = 0.2; t < 0.9; t += 0.15) {
        p.drawLine(QPointF(length * t, 0), QPointF(length * (t + 0.1), -length * 0.12));
        p.drawLine(QPointF(length * t, 0), QPointF(length * (t + 0.1), length * 0.12));
    }
    p.restore();
}

void DrawTealLeaves(QPainter& p) {
    QLinearGradient g(0, 0, kSkinPictureWidth, kSkinPictureHeight);
    g.setColorAt(0, QColor(12, 70, 104));
    g.setColorAt(1, QColor(20, 128, 140));
    p.fillRect(QRectF(0, 0, kSkinPictureWidth, kSkinPictureHeight), g);
    std::minstd_rand random(11);
    for (int i = 0; i < 26; ++i) {
        const double x = static_cast<double>(random() % kSkinPictureWidth);
        const double y = static_cast<double>(random() % 130);
        const double length = 30 + static_cast<double>(random() % 50);
        const double angle = static_cast<double>(random() % 360);
        const int green = 120 + static_cast<int>(random() % 80);
        Leaf(p, x, y, length, angle, QColor(40, green, 130, 90));
    }
}

void DrawGreyStripes(QPainter& p) {
    FillVertical(p, QRectF(0, 0, kSkinPictureWidth, kSkinPictureHeight), QColor(104, 110, 116),
                 QColor(150, 156, 160));
    p.setPen(Qt::NoPen);
    for (int i = -12; i < 50; ++i) {
        const double x = i * 24.0;
        p.setBrush(QColor(255, 255, 255, i % 3 == 0 ? 30 : 14));
        p.drawPolygon(QPolygonF{{x, 0},
                                {x + 10, 0},
                                {x + 10 + kSkinPictureHeight, 205},
                                {x + kSkinPictureHeight, 205}});
    }
}

void DrawWood(QPainter& p) {
    std::minstd_rand random(3);
    const double plank = 34;
    for (int row = 0; row * plank < kSkinPictureHeight; ++row) {
        const int shade = static_cast<int>(random() % 24) - 12;
        const QColor base(127 + shade, 80 + shade / 2, 48 + shade / 3);
        FillVertical(p, QRectF(0, row * plank, kSkinPictureWidth, plank), base.lighter(108),
                     base.darker(110));
        p.setPen(QPen(QColor(70, 40, 20, 70), 1));
        for (int line = 0; line < 7; ++line) {
            const double y = row * plank + 3 + line * 4.4;
            const double phase = static_cast<double>(random() % 100) / 16.0;
            QPainterPath grain;
            grain.moveTo(0, y);
            for (double x = 0; x <= kSkinPictureWidth; x += 6) {
                grain.lineTo(x, y + 1.6 * std::sin(x / 70.0 + phase));
            }
            p.drawPath(grain);
        }
        // A knot now and then, and the seam between planks.
        if (row % 2 == 1) {
            const double kx = static_cast<double>(random() % kSkinPictureWidth);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(60, 32, 14, 110), 1.2));
            for (int ring = 1; ring <= 3; ++ring) {
                p.drawEllipse(QPointF(kx, row * plank + plank / 2), 4.0 * ring, 1.8 * ring);
            }
        }
        p.setPen(QPen(QColor(40, 22, 10, 170), 1));
        p.drawLine(QPointF(0, row * plank + plank - 0.5),
                   QPointF(kSkinPictureWidth, row * plank + plank - 0.5));
        const double joint = static_cast<double>(random() % kSkinPictureWidth);
        p.drawLine(QPointF(joint, row * plank), QPointF(joint, row * plank + plank));
    }
}

void DrawPinkPattern(QPainter& p) {
    FillVertical(p, QRectF(0, 0, kSkinPictureWidth, kSkinPictureHeight), QColor(236, 122, 160),
                 QColor(252, 196, 212));
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 40; ++column) {
            const double x = column * 24.0 + (row % 2 == 0 ? 0 : 12);
            const double y = row * 22.0 + 6;
            if ((row + column) % 3 == 0) {
                // A small flower: five petals round a dot.
                p.setBrush(QColor(255, 255, 255, 120));
                for (int petal = 0; petal < 5; ++petal) {
                    const double a = petal * 2 * std::numbers::pi / 5;
                    p.drawEllipse(QPointF(x + 4 * std::cos(a), y + 4 * std::sin(a)), 3, 3);
                }
                p.setBrush(QColor(248, 134, 167, 200));
                p.drawEllipse(QPointF(x, y), 2, 2);
            } else {
                p.setBrush(QColor(255, 240, 246, 110));
                p.drawEllipse(QPointF(x, y), 1.6, 1.6);
            }
        }
    }
}

// Title button images: a white glyph, on a light or dark backing when hovered or pressed.
template <typename Glyph>
ButtonImages DrawTitleButton(int width, int height, QColor hoverBacking, QColor pressedBacking,
                             Glyph glyph) {
    ButtonImages images;
    auto draw = [&](const QColor& backing) {
        QImage image = BlankImage(width, height);
        QPainter p(&image);
        Smooth(p);
        if (backing.alpha() > 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(backing);
            p.drawRoundedRect(QRectF(0.5, 0.5, width - 3, height - 1), 2, 2);
        }
        p.setPen(QPen(QColor(0, 0, 0, 60), 1.4));
        p.translate(0.6, 0.6);
        glyph(p);
        p.translate(-0.6, -0.6);
        p.setPen(QPen(Qt::white, 1.4));
        glyph(p);
        return image;
    };
    images.normal = draw(Qt::transparent);
    images.hover = draw(hoverBacking);
    images.pressed = draw(pressedBacking);
    return images;
}

std::array<ButtonImages, 5> DrawTitleButtons() {
    const QColor light(255, 255, 255, 70);
    const QColor dark(0, 0, 0, 70);
    std::array<ButtonImages, 5> buttons;
    buttons[0] = DrawTitleButton(39, 19, QColor(224, 67, 67), QColor(176, 42, 42), [](QPainter& p) {
        p.drawLine(QPointF(14.5, 5.5), QPointF(22.5, 13.5));
        p.drawLine(QPointF(22.5, 5.5), QPointF(14.5, 13.5));
    });
    buttons[1] = DrawTitleButton(27, 19, light, dark, [](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(7.5, 5.5, 10, 8));
        p.drawLine(QPointF(7.5, 6.5), QPointF(17.5, 6.5));
    });
    buttons[2] = DrawTitleButton(27, 19, light, dark, [](QPainter& p) {
        p.drawLine(QPointF(7.5, 12.5), QPointF(17.5, 12.5));
    });
    buttons[3] = DrawTitleButton(27, 19, light, dark, [](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(9.5, 4.5, 9, 7));
        p.drawLine(QPointF(12.5, 14.5), QPointF(6.5, 14.5));
        p.drawLine(QPointF(6.5, 14.5), QPointF(6.5, 8.5));
        p.drawLine(QPointF(6.5, 14.5), QPointF(11.5, 9.5));
    });
    buttons[4] = DrawTitleButton(28, 19, light, dark, [](QPainter& p) {
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(5.5, 4.5, 14, 9), 3, 3);
        bubble.moveTo(9.5, 13.5);
        bubble.lineTo(8.5, 16.5);
        bubble.lineTo(12.5, 13.5);
        p.setBrush(Qt::NoBrush);
        p.drawPath(bubble.simplified());
    });
    return buttons;
}

QImage DrawPaletteIcon() {
    QImage image = BlankImage(14, 14);
    QPainter p(&image);
    Smooth(p);
    QConicalGradient wheel(QPointF(7, 7), 90);
    const QColor stops[] = {Qt::red,   Qt::magenta, Qt::blue, Qt::cyan,
                            Qt::green, Qt::yellow,  Qt::red};
    for (int i = 0; i < 7; ++i) {
        wheel.setColorAt(i / 6.0, stops[i]);
    }
    p.setPen(QPen(QColor(0, 0, 0, 90), 0.8));
    p.setBrush(wheel);
    p.drawEllipse(QRectF(0.5, 0.5, 13, 13));
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(7, 7), 2.4, 2.4);
    return image;
}

QImage DrawBacking(int width, int height, int fillAlpha, int borderAlpha) {
    QImage image = BlankImage(width, height);
    QPainter p(&image);
    Smooth(p);
    p.setPen(QPen(QColor(255, 255, 255, borderAlpha), 1));
    p.setBrush(QColor(255, 255, 255, fillAlpha));
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 3, 3);
    return image;
}

// Page-bar icons: a coloured picture on a soft shadow, about 44 x 44 in the middle.
void Shadowed(QImage& image, const std::function<void(QPainter&)>& draw) {
    QImage shape = BlankImage(image.width(), image.height());
    {
        QPainter p(&shape);
        Smooth(p);
        draw(p);
    }
    QPainter p(&image);
    // A shadow from the shape's own alpha, a pixel down and right.
    QImage shadow = shape;
    {
        QPainter s(&shadow);
        s.setCompositionMode(QPainter::CompositionMode_SourceIn);
        s.fillRect(shadow.rect(), QColor(0, 0, 0, 80));
    }
    p.drawImage(QPointF(1.5, 1.5), shadow);
    p.drawImage(QPointF(0, 0), shape);
}

QImage DrawPageBarIcon(int item) {
    QImage image = BlankImage(71, 48);
    const QPointF c(35.5, 24);
    Shadowed(image, [&](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40, 150), 1));
        switch (item) {
            case 1: {  // globe with a download arrow
                QRadialGradient sea(QPointF(c.x() - 6, c.y() - 8), 24);
                sea.setColorAt(0, QColor(130, 200, 250));
                sea.setColorAt(1, QColor(30, 100, 190));
                p.setBrush(sea);
                p.drawEllipse(c, 18, 18);
                p.setPen(QPen(QColor(255, 255, 255, 140), 1));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(c, 8, 18);
                p.drawLine(QPointF(c.x() - 18, c.y()), QPointF(c.x() + 18, c.y()));
                p.drawLine(QPointF(c.x(), c.y() - 18), QPointF(c.x(), c.y() + 18));
                p.setPen(QPen(QColor(20, 90, 20), 1));
                p.setBrush(QColor(80, 200, 60));
                const double ax = c.x() + 12;
                const double ay = c.y() + 4;
                p.drawPolygon(QPolygonF{{ax - 4, ay - 10},
                                        {ax + 4, ay - 10},
                                        {ax + 4, ay},
                                        {ax + 9, ay},
                                        {ax, ay + 10},
                                        {ax - 9, ay},
                                        {ax - 4, ay}});
                break;
            }
            case 2: {  // monitor with a magic wand
                p.setBrush(QColor(70, 74, 82));
                p.drawRoundedRect(QRectF(c.x() - 20, c.y() - 17, 36, 26), 2, 2);
                FillVertical(p, QRectF(c.x() - 17, c.y() - 14, 30, 20), QColor(110, 190, 250),
                             QColor(40, 110, 200));
                p.setBrush(QColor(90, 94, 100));
                p.drawRect(QRectF(c.x() - 6, c.y() + 9, 8, 5));
                p.drawRoundedRect(QRectF(c.x() - 12, c.y() + 14, 20, 3), 1, 1);
                p.setPen(QPen(QColor(30, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(c.x() + 4, c.y() + 14), QPointF(c.x() + 17, c.y() - 6));
                p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(c.x() + 15, c.y() - 3), QPointF(c.x() + 17, c.y() - 6));
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(255, 214, 40));
                QPolygonF star;
                for (int i = 0; i < 10; ++i) {
                    const double r = i % 2 == 0 ? 7 : 3;
                    const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
                    star << QPointF(c.x() + 19 + r * std::cos(a), c.y() - 12 + r * std::sin(a));
                }
                p.drawPolygon(star);
                break;
            }
            case 3: {  // drawer with folders
                p.setBrush(QColor(250, 200, 70));
                p.drawRect(QRectF(c.x() - 14, c.y() - 18, 22, 18));
                p.setBrush(QColor(240, 170, 40));
                p.drawRect(QRectF(c.x() - 6, c.y() - 14, 22, 14));
                FillVertical(p, QRectF(c.x() - 20, c.y() - 4, 40, 22), QColor(176, 118, 70),
                             QColor(120, 74, 40));
                p.drawRect(QRectF(c.x() - 20, c.y() - 4, 40, 22));
                p.setBrush(QColor(230, 230, 230));
                p.drawRoundedRect(QRectF(c.x() - 7, c.y() + 4, 14, 4), 2, 2);
                break;
            }
            case 4: {  // recycle bin
                FillVertical(p, QRectF(c.x() - 14, c.y() - 12, 28, 32), QColor(170, 210, 180),
                             QColor(80, 140, 100));
                p.drawPolygon(QPolygonF{{c.x() - 14, c.y() - 12},
                                        {c.x() + 14, c.y() - 12},
                                        {c.x() + 11, c.y() + 20},
                                        {c.x() - 11, c.y() + 20}});
                p.setBrush(QColor(90, 150, 110));
                p.drawRoundedRect(QRectF(c.x() - 17, c.y() - 18, 34, 6), 2, 2);
                p.drawRect(QRectF(c.x() - 5, c.y() - 21, 10, 3));
                p.setPen(QPen(QColor(255, 255, 255, 150), 1.6));
                for (double dx : {-6.0, 0.0, 6.0}) {
                    p.drawLine(QPointF(c.x() + dx, c.y() - 7),
                               QPointF(c.x() + dx * 0.8, c.y() + 16));
                }
                break;
            }
            case 5: {  // discs in a box
                const QPointF discs[] = {{c.x() - 7, c.y() - 8}, {c.x() + 7, c.y() - 4}};
                for (const QPointF& centre : discs) {
                    QConicalGradient sheen(centre, 30);
                    sheen.setColorAt(0, QColor(235, 240, 250));
                    sheen.setColorAt(0.2, QColor(200, 230, 250));
                    sheen.setColorAt(0.4, QColor(240, 215, 240));
                    sheen.setColorAt(0.6, QColor(250, 245, 205));
                    sheen.setColorAt(0.8, QColor(190, 200, 225));
                    sheen.setColorAt(1, QColor(235, 240, 250));
                    p.setBrush(sheen);
                    p.drawEllipse(centre, 12, 12);
                    p.setBrush(QColor(210, 214, 222));
                    p.drawEllipse(centre, 4, 4);
                    p.setBrush(QColor(250, 250, 252));
                    p.drawEllipse(centre, 1.5, 1.5);
                }
                QLinearGradient box(0, c.y() + 1, 0, c.y() + 20);
                box.setColorAt(0, QColor(120, 150, 200));
                box.setColorAt(1, QColor(60, 90, 150));
                p.setBrush(box);
                p.drawRect(QRectF(c.x() - 20, c.y() + 1, 40, 19));
                p.setPen(QPen(QColor(255, 255, 255, 120), 1));
                p.drawLine(QPointF(c.x() - 18, c.y() + 4), QPointF(c.x() + 18, c.y() + 4));
                break;
            }
            case 6: {  // house
                p.setBrush(QColor(246, 240, 226));
                p.drawRect(QRectF(c.x() - 14, c.y() - 4, 28, 22));
                p.setBrush(QColor(210, 60, 48));
                p.drawPolygon(QPolygonF{
                    {c.x() - 20, c.y() - 2}, {c.x(), c.y() - 20}, {c.x() + 20, c.y() - 2}});
                p.setBrush(QColor(130, 80, 40));
                p.drawRect(QRectF(c.x() - 4, c.y() + 6, 8, 12));
                p.setBrush(QColor(120, 190, 240));
                p.drawRect(QRectF(c.x() + 6, c.y() + 1, 6, 6));
                p.drawRect(QRectF(c.x() - 12, c.y() + 1, 6, 6));
                break;
            }
            case 7: {  // shop logo: a shopping bag
                FillVertical(p, QRectF(c.x() - 15, c.y() - 10, 30, 30), QColor(255, 160, 60),
                             QColor(230, 100, 30));
                p.drawRoundedRect(QRectF(c.x() - 15, c.y() - 10, 30, 30), 3, 3);
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(QColor(120, 50, 10), 2.2));
                p.drawArc(QRectF(c.x() - 8, c.y() - 20, 16, 20), 0, 180 * 16);
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::white);
                p.drawEllipse(QPointF(c.x(), c.y() + 5), 6, 6);
                p.setBrush(QColor(230, 100, 30));
                p.drawEllipse(QPointF(c.x(), c.y() + 5), 2.5, 2.5);
                break;
            }
            case 8: {  // image editor: a picture with a brush across it
                p.setBrush(QColor(250, 250, 250));
                p.drawRect(QRectF(c.x() - 19, c.y() - 16, 34, 28));
                FillVertical(p, QRectF(c.x() - 16, c.y() - 13, 28, 22), QColor(140, 210, 250),
                             QColor(210, 240, 255));
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(70, 150, 70));
                p.drawPolygon(QPolygonF{{c.x() - 16, c.y() + 9},
                                        {c.x() - 6, c.y() - 3},
                                        {c.x() + 2, c.y() + 4},
                                        {c.x() + 6, c.y()},
                                        {c.x() + 12, c.y() + 9}});
                p.setBrush(QColor(255, 200, 40));
                p.drawEllipse(QPointF(c.x() + 6, c.y() - 7), 3, 3);
                p.setPen(QPen(QColor(120, 70, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(c.x() + 4, c.y() + 20), QPointF(c.x() + 19, c.y() - 2));
                p.setPen(QPen(QColor(200, 40, 120), 4.5, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(c.x() + 1, c.y() + 22), QPointF(c.x() + 3, c.y() + 19));
                break;
            }
            default:
                break;
        }
    });
    return image;
}

QImage DrawLogo() {
    QImage image = BlankImage(16, 16);
    QPainter p(&image);
    Smooth(p);
    QLinearGradient g(0, 0, 0, 16);
    g.setColorAt(0, QColor(255, 178, 60));
    g.setColorAt(1, QColor(226, 96, 30));
    p.setPen(QPen(QColor(120, 50, 10), 0.8));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    // A "G" drawn as an open ring with a bar.
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3.5, 3.5, 9, 9), 40 * 16, 290 * 16);
    p.drawLine(QPointF(8.5, 8.5), QPointF(12.5, 8.5));
    return image;
}

QImage DrawGrip() {
    QImage image = BlankImage(9, 8);
    QPainter p(&image);
    for (int row = 0; row < 3; ++row) {
        for (int column = 2 - row; column < 3; ++column) {
            const int x = column * 3;
            const int y = row * 3 - 1;
            if (y < 0) {
                continue;
            }
            p.fillRect(QRect(x + 1, y + 1, 2, 2), QColor(0, 0, 0, 90));
            p.fillRect(QRect(x, y, 2, 2), QColor(255, 255, 255, 200));
        }
    }
    return image;
}

}  // namespace

QImage DrawSkinPicture(int skinNumber) {
    QImage image(kSkinPictureWidth, kSkinPictureHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter p(&image);
    Smooth(p);
    switch (skinNumber) {
        case 1:
            DrawPlain(p);
            break;
        case 2:
            DrawSeaAndLighthouse(p);
            break;
        case 3:
            DrawGreenField(p);
            break;
        case 4:
            DrawWindTurbines(p);
            break;
        case 5:
            DrawBlueWaves(p);
            break;
        case 6:
            DrawTealLeaves(p);
            break;
        case 7:
            DrawGreyStripes(p);
            break;
        case 8:
            DrawWood(p);
            break;
        case 9:
            DrawPinkPattern(p);
            break;
        default:
            return {};
    }
    return image;
}

Artwork DrawArtwork() {
    Artwork art;
    art.titleButtons = DrawTitleButtons();
    art.paletteIcon = DrawPaletteIcon();
    art.paletteHoverBackground = DrawBacking(28, 22, 60, 110);
    art.paletteOpenBackground = DrawBacking(28, 22, 140, 200);
    for (int item = 1; item <= 8; ++item) {
        art.pageBarIcons[static_cast<std::size_t>(item - 1)] = DrawPageBarIcon(item);
    }
    art.pageBarHoverOverlay = DrawBacking(76, 71, 45, 90);
    art.pageBarSelectedOverlay = DrawBacking(76, 71, 95, 160);
    art.logo = DrawLogo();
    art.grip = DrawGrip();
    return art;
}

QImage DrawSadFace(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    painter.setPen(QPen(QColor(90, 90, 90), s / 16));
    painter.setBrush(QColor(255, 214, 90));
    painter.drawEllipse(QRectF(s / 16, s / 16, s * 7 / 8, s * 7 / 8));
    painter.setBrush(QColor(90, 90, 90));
    painter.drawEllipse(QPointF(s * 0.36, s * 0.4), s / 16, s / 12);
    painter.drawEllipse(QPointF(s * 0.64, s * 0.4), s / 16, s / 12);
    painter.setBrush(Qt::NoBrush);
    // The frown: the upper half of a flat ellipse.
    painter.drawArc(QRectF(s * 0.3, s * 0.62, s * 0.4, s * 0.3), 20 * 16, 140 * 16);
    return image;
}

}  // namespace glyphwell::ui
