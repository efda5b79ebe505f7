#pragma once
// The program's pictures, drawn once at start-up: the skin pictures, the frame's icons,
// button images and overlays. Each comes in the size the frame paints it at.

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
    // Index 0 = skin 1 (a plain picture, for choosers; the frame paints skin 1 as colour).
    std::array<QImage, 9> skinPictures;
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

// The skin picture of skin 1 to 9, 840 x 205.
QImage DrawSkinPicture(int skinNumber);

Artwork DrawArtwork();

}  // namespace glyphwell::ui
