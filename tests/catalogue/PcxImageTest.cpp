#include "catalogue/PcxImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/CatalogueDatabase.h"
#include "support/PcxFiles.h"

namespace glyphwell::catalogue {
namespace {

using test::MakePcx;
using test::PcxFile;
using Pixels = std::vector<std::uint32_t>;

// Header palette entry i is (16 i, 16 i + 1, 255 - i).
std::array<std::uint8_t, 48> HeaderPalette() {
    std::array<std::uint8_t, 48> palette{};
    for (int i = 0; i < 16; ++i) {
        palette[3 * i] = static_cast<std::uint8_t>(16 * i);
        palette[3 * i + 1] = static_cast<std::uint8_t>(16 * i + 1);
        palette[3 * i + 2] = static_cast<std::uint8_t>(255 - i);
    }
    return palette;
}

// Entry i of test::TrailingPalette().
std::uint32_t TrailingColour(std::uint32_t i) {
    return 0xFF000000u | i << 16 | (i ^ 0x5Au) << 8 | (255 - i);
}

// Hex colours, a line per row, so that a failure shows which pixel is wrong.
std::string Rows(const Pixels& pixels, int width) {
    std::string out;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        char colour[10];
        std::snprintf(colour, sizeof colour, "%08X", pixels[i]);
        out += colour;
        out += (i + 1) % static_cast<std::size_t>(width) == 0 ? '\n' : ' ';
    }
    return out;
}

void ExpectPicture(const std::string& file, int width, int height, const Pixels& expected) {
    const std::optional<DecodedPicture> picture = DecodePcx(file);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, width);
    EXPECT_EQ(picture->height, height);
    EXPECT_EQ(Rows(picture->pixels, width), Rows(expected, width));
}

// The same picture placed elsewhere: only the extent counts.
PcxFile MovedTo(PcxFile file, int x, int y) {
    file.xMin += x;
    file.xMax += x;
    file.yMin += y;
    file.yMax += y;
    return file;
}

PcxFile WithVersion(PcxFile file, int version) {
    file.version = version;
    return file;
}

// Four planes, 4 x 2, one byte of every line's planes padding: indices 0 5 10 15 / 1 2 4 8.
PcxFile SixteenColours() {
    return MakePcx(1, 4, 4, 2, 2,
                   {0x50, 0xAA, 0x30, 0xAA, 0x50, 0xAA, 0x30, 0xAA,  //
                    0x80, 0xAA, 0x40, 0xAA, 0x20, 0xAA, 0x10, 0xAA});
}

TEST(PcxImage, DecodesEachLayoutToExactColours) {
    const std::uint32_t black = 0xFF000000;
    const std::uint32_t white = 0xFFFFFFFF;
    struct Case {
        const char* name;
        PcxFile file;
        int width;
        int height;
        Pixels expected;
    };
    const Case cases[] = {
        {"8 bits, 256-colour palette, padded lines, origin not at 0",
         MovedTo(MakePcx(8, 1, 3, 2, 4, {0x00, 0x01, 0xC5, 0x77, 0xFF, 0x00, 0x01, 0x77}), 100, 7),
         3,
         2,
         {0xFF005AFF, 0xFF015BFE, 0xFFC59F3A, 0xFFFFA500, 0xFF005AFF, 0xFF015BFE}},
        {"24 bits in three padded planes",
         MakePcx(8, 3, 2, 2, 3,
                 {0x10, 0x20, 0xEE, 0x30, 0x40, 0xEE, 0x50, 0x60, 0xEE,  //
                  0x11, 0x21, 0xEE, 0x31, 0x41, 0xEE, 0x51, 0x61, 0xEE}),
         2,
         2,
         {0xFF103050, 0xFF204060, 0xFF113151, 0xFF214161}},
        {"1 bit is black and white whatever the header palette, version 0",
         WithVersion(MakePcx(1, 1, 10, 2, 2, {0xB0, 0x40, 0x00, 0xFF}), 0),
         10,
         2,
         {white, black, white, white, black, black, black, black, black, white,  //
          black, black, black, black, black, black, black, black, white, white}},
        {"4 planes of 1 bit from the header palette",
         SixteenColours(),
         4,
         2,
         {0xFF0001FF, 0xFF5051FA, 0xFFA0A1F5, 0xFFF0F1F0,  //
          0xFF1011FE, 0xFF2021FD, 0xFF4041FB, 0xFF8081F7}},
        {"version 3 carries no palette: the standard 16 colours",
         WithVersion(SixteenColours(), 3),
         4,
         2,
         {black, 0xFFAA00AA, 0xFF55FF55, white,  //
          0xFF0000AA, 0xFF00AA00, 0xFFAA0000, 0xFF555555}},
        {"3 planes of 1 bit",
         MakePcx(1, 3, 3, 1, 1, {0xA0, 0x60, 0x60}),
         3,
         1,
         {0xFF1011FE, 0xFF6061F9, 0xFF7071F8}},
        {"2 bits, a pixel split off into the next byte",
         MakePcx(2, 1, 5, 1, 2, {0xE4, 0xC0}),
         5,
         1,
         {0xFF3031FC, 0xFF2021FD, 0xFF1011FE, 0xFF0001FF, 0xFF3031FC}},
        {"4 bits",
         MakePcx(4, 1, 3, 1, 2, {0xA5, 0xF0}),
         3,
         1,
         {0xFFA0A1F5, 0xFF5051FA, 0xFFF0F1F0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PcxFile file = c.file;
        file.headerPalette = HeaderPalette();
        const std::string bytes = file.Bytes();
        EXPECT_EQ(DetectPictureKind(bytes), PictureKind::Pcx);
        ExpectPicture(bytes, c.width, c.height, c.expected);
    }
}

TEST(PcxImage, RunsCarryAcrossLineEndsAndStopAtThePictureEnd) {
    // 3 x 2 at 8 bits, four bytes a line: the fourth is padding.
    struct Case {
        const char* name;
        std::string data;
        std::vector<std::uint32_t> indices;
    };
    const Case cases[] = {
        {"a run over the padding into the next line", "\x01\xC5\x02\x03\x03", {1, 2, 2, 2, 2, 3}},
        {"one run for both lines", "\xC8\x07", {7, 7, 7, 7, 7, 7}},
        {"the rest of a run after the last line is dropped",
         "\x01\x02\x03\x04\x05\x06\x07\xC9\x08",
         {1, 2, 3, 5, 6, 7}},
        {"a run of none gives nothing",
         std::string("\xC0\x09\x01\x02\x03\x04\x05\x06\x07\x08", 10),
         {1, 2, 3, 5, 6, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PcxFile file = MakePcx(8, 1, 3, 2, 4, {});
        file.data = c.data;
        Pixels expected;
        for (std::uint32_t index : c.indices) {
            expected.push_back(TrailingColour(index));
        }
        ExpectPicture(file.Bytes(), 3, 2, expected);
    }
}

// A black one-bit picture, its data all there.
PcxFile Blank(int width, int height) {
    const int bytesPerLine = (width + 7) / 8;
    return MakePcx(1, 1, width, height, bytesPerLine,
                   std::vector<std::uint8_t>(static_cast<std::size_t>(bytesPerLine) *
                                             static_cast<std::size_t>(height)));
}

TEST(PcxImage, PicturesUpToTheCapsDecode) {
    for (const auto& [width, height] :
         {std::pair{kPcxMaxSide, 1}, std::pair{1, kPcxMaxSide}, std::pair{kPcxMaxSide, 2048}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const std::optional<DecodedPicture> picture = DecodePcx(Blank(width, height).Bytes());
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->width, width);
        EXPECT_EQ(picture->height, height);
        ASSERT_EQ(picture->pixels.size(), static_cast<std::size_t>(width) * height);
        EXPECT_EQ(picture->pixels.back(), 0xFF000000u);
    }
}

TEST(PcxImage, DamagedOrForeignBytesGiveNone) {
    // Each case changes one thing of a good 3 x 2 picture at 8 bits.
    const auto good = [] {
        return MakePcx(8, 1, 3, 2, 4, {0x00, 0x01, 0xC5, 0x77, 0xFF, 0x00, 0x01, 0x77});
    };
    ASSERT_TRUE(DecodePcx(good().Bytes()).has_value());
    const auto changed = [&](const std::function<void(PcxFile&)>& change) {
        PcxFile file = good();
        change(file);
        return file.Bytes();
    };
    const auto byteChanged = [&](std::size_t at, char value) {
        std::string bytes = good().Bytes();
        bytes[at] = value;
        return bytes;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"no bytes", ""},
        {"a file of zeros", std::string(2000, '\0')},
        {"header cut short", good().Bytes().substr(0, 127)},
        {"other maker byte", byteChanged(0, '\x0B')},
        {"version 6", changed([](PcxFile& f) { f.version = 6; })},
        {"not run-length encoded", changed([](PcxFile& f) { f.encoding = 0; })},
        {"8 bits in 2 planes", changed([](PcxFile& f) { f.planes = 2; })},
        {"16 bits", changed([](PcxFile& f) { f.bits = 16; })},
        {"no planes", changed([](PcxFile& f) { f.planes = 0; })},
        {"2 bits in 2 planes", changed([](PcxFile& f) {
             f.bits = 2;
             f.planes = 2;
         })},
        {"Xmax before Xmin", changed([](PcxFile& f) {
             f.xMin = 5;
             f.xMax = 4;
         })},
        {"Ymax before Ymin", changed([](PcxFile& f) {
             f.yMin = 1;
             f.yMax = 0;
         })},
        {"largest extent", changed([](PcxFile& f) {
             f.xMax = 0xFFFF;
             f.yMax = 0xFFFF;
         })},
        {"wider than the cap", Blank(kPcxMaxSide + 1, 1).Bytes()},
        {"taller than the cap", Blank(1, kPcxMaxSide + 1).Bytes()},
        {"more pixels than the cap", Blank(kPcxMaxSide, 2049).Bytes()},
        {"lines shorter than the width", changed([](PcxFile& f) { f.bytesPerLine = 2; })},
        {"no bytes a line", changed([](PcxFile& f) { f.bytesPerLine = 0; })},
        {"no 256-colour palette", changed([](PcxFile& f) { f.trailer.clear(); })},
        {"palette marker wrong", changed([](PcxFile& f) { f.trailer[0] = '\x0B'; })},
        {"palette cut short", changed([](PcxFile& f) { f.trailer.pop_back(); })},
        {"pixel data ends before the last line", changed([](PcxFile& f) { f.data.pop_back(); })},
        {"pixel data ends early and the palette would fill it",
         changed([](PcxFile& f) { f.data = "\x01\x02\x03\x04\x05"; })},
        {"last run without its value",
         changed([](PcxFile& f) { f.data = std::string("\x01\x02\x03\x04\x05\x06\x07\xC1"); })},
        {"too little data even in the longest runs",
         [] {
             PcxFile file = Blank(4096, 4096);
             file.data.resize(100);
             return file.Bytes();
         }()},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(DecodePcx(bytes).has_value());
    }
}

}  // namespace
}  // namespace glyphwell::catalogue
