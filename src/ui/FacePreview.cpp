#include "ui/FacePreview.h"

#include "ui/QtConversions.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace glyphwell::ui {

FacePreviews::~FacePreviews() {
    if (library_ != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library_));
    }
}

QImage FacePreviews::Preview(const std::string& file, const QString& text, int pixelHeight,
                             QColor colour, int maxWidth) {
    std::string key = file;
    key += '\n';
    key += text.toStdString();
    key += '\n' + std::to_string(pixelHeight) + '\n' + std::to_string(colour.rgba()) + '\n' +
           std::to_string(maxWidth);
    if (auto found = cache_.find(key); found != cache_.end()) {
        order_.splice(order_.begin(), order_, found->second.second);
        return found->second.first;
    }
    QImage image = Render(file, text, pixelHeight, colour, maxWidth);
    order_.push_front(key);
    cache_.emplace(std::move(key), std::make_pair(image, order_.begin()));
    if (cache_.size() > capacity_) {
        cache_.erase(order_.back());
        order_.pop_back();
    }
    return image;
}

QImage FacePreviews::Render(const std::string& file, const QString& text, int pixelHeight,
                            QColor colour, int maxWidth) {
    if (library_ == nullptr) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0) {
            return {};
        }
        library_ = library;
    }
    FT_Face face = nullptr;
    if (text.isEmpty() || pixelHeight <= 0 || maxWidth <= 0 ||
        FT_New_Face(static_cast<FT_Library>(library_), file.c_str(), 0, &face) != 0) {
        return {};
    }
    QImage image;
    const QList<uint> characters = text.toUcs4();
    bool complete = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) == 0;
    for (uint character : characters) {
        complete = complete && FT_Get_Char_Index(face, character) != 0;
    }
    if (complete) {
        const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
        const int descender = static_cast<int>(-(face->size->metrics.descender >> 6));
        image = BlankImage(maxWidth, std::max(1, ascender + descender));
        int penX = 0;
        for (uint character : characters) {
            if (penX >= maxWidth ||
                FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) {
                continue;
            }
            const FT_GlyphSlot glyph = face->glyph;
            const FT_Bitmap& bitmap = glyph->bitmap;
            const int left = penX + glyph->bitmap_left;
            const int top = ascender - glyph->bitmap_top;
            for (unsigned y = 0; y < bitmap.rows; ++y) {
                const int row = top + static_cast<int>(y);
                if (row < 0 || row >= image.height()) {
                    continue;
                }
                auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
                const unsigned char* in = bitmap.buffer + y * static_cast<unsigned>(bitmap.pitch);
                for (unsigned x = 0; x < bitmap.width; ++x) {
                    const int column = left + static_cast<int>(x);
                    if (column < 0 || column >= maxWidth || in[x] == 0) {
                        continue;
                    }
                    const int a = std::max<int>(qAlpha(out[column]), in[x]);
                    out[column] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(),
                                                     a * colour.alpha() / 255));
                }
            }
            penX += static_cast<int>(glyph->advance.x >> 6);
        }
    }
    FT_Done_Face(face);
    return image;
}

}  // namespace glyphwell::ui
