#pragma once
// Catalogue sample pictures from their bytes, of the kinds the catalogue carries (JPEG, BMP,
// icon, cursor, GIF, PCX), told apart by their first bytes. Anything else draws nothing.

#include <QImage>

#include <string_view>

namespace glyphwell::ui {

QImage DecodeSamplePicture(std::string_view bytes);

}  // namespace glyphwell::ui
