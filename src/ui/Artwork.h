#pragma once
// The program's pictures: the frame's icons, button images and overlays, drawn once at
// start-up, and the skin pictures, drawn when asked for. Each comes in the size the frame
// paints it at.

#include <QImage>

#include <array>

namespace glyphwell::ui {

inline constexpr int kSkinPictureWidth = 840;
inline constexpr int kSkinPictureHeight = 205;

struct ButtonImages {
    QImage normal;
    QImage hover;
    QImage pressed;
};

struct Artwork {
    std::array<ButtonImages, 5> titleButtons;  // index 0 = title button 1
    QImage paletteIcon;                        // 14 x 14
    QImage paletteHoverBackground;             // 28 x 22
    QImage paletteOpenBackground;              // 28 x 22
    std::array<QImage, 8> pageBarIcons;        // 71 x 48, index 0 = item 1
    QImage pageBarHoverOverlay;                // 76 x 71
    QImage pageBarSelectedOverlay;             // 76 x 71
    QImage logo;                               // 16 x 16
    QImage grip;                               // 9 x 8
};

// The skin picture of skin 1 to 9, 840 x 205 (skin 1 is a plain picture, for choosers; the
// frame paints skin 1 as colour). Each is 700 kB: keep only the one in use.
QImage DrawSkinPicture(int skinNumber);

Artwork DrawArtwork();

// The small sad face beside an empty list's message, `size` pixels square.
QImage DrawSadFace(int size);

}  // namespace glyphwell::ui
