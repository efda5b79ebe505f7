#pragma once
// The palette window's pictures, drawn once and shared by every opening of the window.

#include <QImage>

#include <array>

namespace glyphwell::ui {

struct PaletteTabImages {
    QImage normal;  // 40 x 30 each
    QImage hover;
    QImage active;
};

struct PaletteArtwork {
    std::array<PaletteTabImages, 2> tabs;  // 0: skins (a picture), 1: colours (a paint brush)
    QImage tabHighlight;                   // 40 x 30, lies under the active tab
    std::array<QImage, 9> thumbnails;      // 68 x 43, index 0 = skin 1
    QImage thumbnailHover;                 // 68 x 43 overlays
    QImage thumbnailChosen;
    QImage palettePicture;  // 206 x 128, every swatch's colour in the swatch's cell
    QImage swatchFrame;     // 15 x 16
    QImage background;      // 218 x 174
};

PaletteArtwork DrawPaletteArtwork();

}  // namespace glyphwell::ui
