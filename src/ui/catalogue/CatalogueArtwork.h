#pragma once
// The catalogue page's pictures, drawn in code once: the sub-category buttons, the rows'
// download and installed buttons and the twelve frames of the download spinner. Their
// background is pure white, which the page draws as transparent.

#include <QImage>

#include <array>

namespace glyphwell::ui {

struct CatalogueArtwork {
    // 63 x 23 each.
    QImage subcategoryNormal;
    QImage subcategoryHover;
    QImage subcategorySelected;
    QImage downloadNormal;
    QImage downloadHover;
    QImage downloadPressed;
    QImage installed;
    // 16 x 16 each, frame 1 at index 0.
    std::array<QImage, 12> spinner;
};

const CatalogueArtwork& TheCatalogueArtwork();

}  // namespace glyphwell::ui
