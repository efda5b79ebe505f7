#include "Imaging.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace glyphwell::server {
namespace {

struct FreeTypeLibrary {
    FT_Library library = nullptr;
    FreeTypeLibrary() { FT_Init_FreeType(&library); }
    ~FreeTypeLibrary() { FT_Done_FreeType(library); }
};

struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

std::vector<char32_t> DecodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        int length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? byte : byte & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.push_back(code);
        i += length;
    }
    return out;
}

void AppendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void AppendPngChunk(std::string& out, const char* type, const std::string& data) {
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    AppendBigEndian(out,
                    static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                     static_cast<uInt>(body.size()))));
}

}  // namespace

std::optional<GreyImage> RenderText(const std::filesystem::path& fontFile, std::string_view text,
                                    const TextStyle& style) {
    // One FreeType library per thread: the service renders on several worker threads.
    thread_local FreeTypeLibrary freeType;
    FT_Face rawFace = nullptr;
    if (freeType.library == nullptr ||
        FT_New_Face(freeType.library, fontFile.c_str(), 0, &rawFace) != 0) {
        return std::nullopt;
    }
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face(rawFace);
    if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(style.pixelSize)) != 0) {
        return std::nullopt;
    }
    FT_Matrix shear{0x10000,
                    static_cast<FT_Fixed>(std::tan(style.slantDegrees * M_PI / 180.0) * 0x10000), 0,
                    0x10000};
    FT_Set_Transform(face.get(), &shear, nullptr);

    const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
    const int descender = static_cast<int>(-(face->size->metrics.descender >> 6));
    std::vector<char32_t> codes = DecodeUtf8(text);
    if (style.maxCharacters > 0 && codes.size() > style.maxCharacters) {
        codes.resize(style.maxCharacters);
    }

    // First pass measures, second pass draws.
    int penWidth = 0;
    for (char32_t code : codes) {
        if (FT_Load_Char(face.get(), code, FT_LOAD_DEFAULT) == 0) {
            penWidth += static_cast<int>(face->glyph->advance.x >> 6);
        }
    }
    const int slantRoom = static_cast<int>(
        std::ceil(std::tan(style.slantDegrees * M_PI / 180.0) * (ascender + descender)));
    GreyImage image;
    image.width = std::max(1, penWidth + slantRoom + 2 * style.padding);
    if (style.maxWidth > 0) {
        image.width = std::min(image.width, style.maxWidth);
    }
    image.height = std::max(style.minimumHeight, ascender + descender + 2 * style.padding);
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
    const int baseline = (image.height - ascender - descender) / 2 + ascender;

    int penX = style.padding;
    for (char32_t code : codes) {
        if (penX >= image.width) {
            break;  // the rest is cut off
        }
        if (FT_Load_Char(face.get(), code, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            int y = baseline - glyph->bitmap_top + static_cast<int>(row);
            if (y < 0 || y >= image.height) {
                continue;
            }
            for (unsigned column = 0; column < bitmap.width; ++column) {
                int x = penX + glyph->bitmap_left + static_cast<int>(column);
                if (x < 0 || x >= image.width) {
                    continue;
                }
                std::uint8_t coverage =
                    bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                        ? ((bitmap.buffer[row * bitmap.pitch + column / 8] >> (7 - column % 8)) &
                           1) *
                              255
                        : bitmap.buffer[row * bitmap.pitch + column];
                std::uint8_t& pixel = image.pixels[static_cast<std::size_t>(y) * image.width + x];
                pixel = std::min<int>(pixel, 255 - coverage);
            }
        }
        penX += static_cast<int>(glyph->advance.x >> 6);
    }
    return image;
}

std::string EncodePng(const GreyImage& image) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    AppendBigEndian(header, static_cast<std::uint32_t>(image.width));
    AppendBigEndian(header, static_cast<std::uint32_t>(image.height));
    header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, no interlace
    AppendPngChunk(png, "IHDR", header);

    std::string raw;
    raw.reserve(static_cast<std::size_t>(image.width + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw += '\0';  // no filter
        raw.append(
            reinterpret_cast<const char*>(&image.pixels[static_cast<std::size_t>(y) * image.width]),
            static_cast<std::size_t>(image.width));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);
    AppendPngChunk(png, "IDAT", packed);
    AppendPngChunk(png, "IEND", "");
    return png;
}

std::string EncodeJpeg(const GreyImage& image, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            &image.pixels[static_cast<std::size_t>(info.next_scanline) * image.width]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return out;
}

}  // namespace glyphwell::server
