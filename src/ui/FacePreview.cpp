#include "ui/FacePreview.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace glyphwell::ui {

FacePreviews::~FacePreviews() {
    if (fallback_ != nullptr) {
        FT_Done_Face(static_cast<FT_Face>(fallback_));
    }
    if (library_ != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library_));
    }
}

void FacePreviews::SetFallbackFile(const std::string& file) {
    if (file == fallbackFile_) {
        return;
    }
    if (fallback_ != nullptr) {
        FT_Done_Face(static_cast<FT_Face>(fallback_));
        fallback_ = nullptr;
    }
    fallbackFile_ = file;
    fallbackFailed_ = false;
    cache_.clear();
    order_.clear();
}

bool FacePreviews::OpenFallback() {
    if (fallback_ == nullptr && !fallbackFailed_ && !fallbackFile_.empty()) {
        FT_Face face = nullptr;
        fallbackFailed_ =
            FT_New_Face(static_cast<FT_Library>(library_), fallbackFile_.c_str(), 0, &face) != 0;
        fallback_ = fallbackFailed_ ? nullptr : face;
    }
    return fallback_ != nullptr;
}

QImage FacePreviews::Preview(const std::string& file, const QString& text, int pixelHeight,
                             QColor colour, int maxWidth, Overflow overflow) {
    const QImage& coverage = Coverage(file, text, pixelHeight, maxWidth, overflow);
    if (coverage.isNull()) {
        return {};
    }
    // One lookup a pixel: the colour at each of the 256 coverages.
    std::array<QRgb, 256> shades;
    for (int level = 0; level < 256; ++level) {
        shades[static_cast<std::size_t>(level)] = qPremultiply(
            qRgba(colour.red(), colour.green(), colour.blue(), level * colour.alpha() / 255));
    }
    QImage image(coverage.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < coverage.height(); ++y) {
        const uchar* in = coverage.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < coverage.width(); ++x) {
            out[x] = shades[in[x]];
        }
    }
    return image;
}

void FacePreviews::Prepare(const std::string& file, const QString& text, int pixelHeight,
                           int maxWidth, Overflow overflow) {
    Coverage(file, text, pixelHeight, maxWidth, overflow);
}

const QImage& FacePreviews::Coverage(const std::string& file, const QString& text, int pixelHeight,
                                     int maxWidth, Overflow overflow) {
    std::string key = file;
    key += '\n';
    key += text.toStdString();
    key += '\n' + std::to_string(pixelHeight) + '\n' + std::to_string(maxWidth) +
           (overflow == Overflow::kEllipsis ? "\n..." : "");
    if (auto found = cache_.find(key); found != cache_.end()) {
        order_.splice(order_.begin(), order_, found->second.second);
        return found->second.first;
    }
    QImage image = Render(file, text, pixelHeight, maxWidth, overflow);
    ++rendered_;
    order_.push_front(key);
    auto placed = cache_.emplace(std::move(key), std::make_pair(std::move(image), order_.begin()));
    if (cache_.size() > capacity_) {
        cache_.erase(order_.back());  // never the one just placed
        order_.pop_back();
    }
    return placed.first->second.first;
}

namespace {

struct Glyph {
    FT_Face source;
    uint character;
    int advance;  // pixels
};

int Advance(FT_Face face, uint character) {
    FT_Fixed advance = 0;
    FT_Get_Advance(face, FT_Get_Char_Index(face, character), FT_LOAD_NO_HINTING, &advance);
    return static_cast<int>((advance + 0x8000) >> 16);
}

}  // namespace

QImage FacePreviews::Render(const std::string& file, const QString& text, int pixelHeight,
                            int maxWidth, Overflow overflow) {
    if (library_ == nullptr) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0) {
            return {};
        }
        library_ = library;
    }
    if (text.isEmpty() || pixelHeight <= 0 || maxWidth <= 0) {
        return {};
    }
    // The fallback's own file is already open.
    const bool ownFace = file != fallbackFile_ || !OpenFallback();
    FT_Face face = ownFace ? nullptr : static_cast<FT_Face>(fallback_);
    if (ownFace && FT_New_Face(static_cast<FT_Library>(library_), file.c_str(), 0, &face) != 0) {
        return {};
    }
    const auto size = static_cast<FT_UInt>(pixelHeight);
    bool complete = FT_Set_Pixel_Sizes(face, 0, size) == 0;
    bool fallbackSized = !ownFace;
    // Each character from the face when it has it, else from the fallback.
    const auto sourceOf = [&](uint character) -> FT_Face {
        if (FT_Get_Char_Index(face, character) != 0) {
            return face;
        }
        if (OpenFallback() && FT_Get_Char_Index(static_cast<FT_Face>(fallback_), character) != 0) {
            if (!fallbackSized) {
                fallbackSized = FT_Set_Pixel_Sizes(static_cast<FT_Face>(fallback_), 0, size) == 0;
            }
            return fallbackSized ? static_cast<FT_Face>(fallback_) : nullptr;
        }
        return nullptr;
    };
    std::vector<Glyph> glyphs;
    int width = 0;
    for (uint character : text.toUcs4()) {
        const FT_Face source = complete ? sourceOf(character) : nullptr;
        if (source == nullptr) {
            complete = false;
            break;
        }
        glyphs.push_back({source, character, Advance(source, character)});
        width += glyphs.back().advance;
    }
    if (complete && overflow == Overflow::kEllipsis && width > maxWidth) {
        // As the desktop elides: as many characters as fit before a trailing ellipsis.
        constexpr uint kEllipsis = 0x2026;
        if (const FT_Face source = sourceOf(kEllipsis); source != nullptr) {
            const int ellipsis = Advance(source, kEllipsis);
            while (!glyphs.empty() && width + ellipsis > maxWidth) {
                width -= glyphs.back().advance;
                glyphs.pop_back();
            }
            glyphs.push_back({source, kEllipsis, ellipsis});
        }
    }
    QImage image;
    if (complete) {
        const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
        const int descender = static_cast<int>(-(face->size->metrics.descender >> 6));
        image = QImage(maxWidth, std::max(1, ascender + descender), QImage::Format_Alpha8);
        image.fill(0);
        int penX = 0;
        int inkedWidth = 1;
        for (const Glyph& each : glyphs) {
            if (penX >= maxWidth || FT_Load_Char(each.source, each.character,
                                                 FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) {
                continue;
            }
            const FT_GlyphSlot glyph = each.source->glyph;
            const FT_Bitmap& bitmap = glyph->bitmap;
            // Small sizes of many CJK fonts come as embedded one-bit bitmaps, drawn as they are.
            const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
            if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
                penX += static_cast<int>(glyph->advance.x >> 6);
                continue;
            }
            const int left = penX + glyph->bitmap_left;
            const int top = ascender - glyph->bitmap_top;
            for (unsigned y = 0; y < bitmap.rows; ++y) {
                const int row = top + static_cast<int>(y);
                if (row < 0 || row >= image.height()) {
                    continue;
                }
                uchar* out = image.scanLine(row);
                const unsigned char* in =
                    bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
                for (unsigned x = 0; x < bitmap.width; ++x) {
                    const int column = left + static_cast<int>(x);
                    const int coverage =
                        mono ? ((in[x / 8] >> (7 - x % 8)) & 1) * 255 : static_cast<int>(in[x]);
                    if (column < 0 || column >= maxWidth || coverage == 0) {
                        continue;
                    }
                    out[column] = static_cast<uchar>(std::max<int>(out[column], coverage));
                    inkedWidth = std::max(inkedWidth, column + 1);
                }
            }
            penX += static_cast<int>(glyph->advance.x >> 6);
        }
        image = image.copy(0, 0, inkedWidth, image.height());  // names rarely fill the cell
    }
    if (ownFace) {
        FT_Done_Face(face);
    }
    return image;
}

}  // namespace glyphwell::ui
