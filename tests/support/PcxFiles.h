#pragma once
// Small PCX files put together byte by byte, for the decoder's tests and its fuzz seeds.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace glyphwell::test {

// The scan lines' bytes, plane after plane within each line, as run-length codes. Runs go on
// across line ends, as writers' runs do; a single byte of 0xC0 or more goes as a run of one.
inline std::string RunLengthEncode(const std::vector<std::uint8_t>& raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size();) {
        std::size_t run = 1;
        while (i + run < raw.size() && run < 63 && raw[i + run] == raw[i]) {
            ++run;
        }
        if (run > 1 || raw[i] >= 0xC0) {
            out.push_back(static_cast<char>(0xC0 | run));
        }
        out.push_back(static_cast<char>(raw[i]));
        i += run;
    }
    return out;
}

// The 256-colour palette at the end of a file: entry i is (i, i ^ 0x5A, 255 - i).
inline std::string TrailingPalette() {
    std::string out(1, '\x0C');
    for (int i = 0; i < 256; ++i) {
        out.push_back(static_cast<char>(i));
        out.push_back(static_cast<char>(i ^ 0x5A));
        out.push_back(static_cast<char>(255 - i));
    }
    return out;
}

struct PcxFile {
    int version = 5;
    int encoding = 1;
    int bits = 8;
    int planes = 1;
    int xMin = 0;
    int yMin = 0;
    int xMax = 0;
    int yMax = 0;
    int bytesPerLine = 0;
    std::array<std::uint8_t, 48> headerPalette{};
    std::string data;     // the encoded scan lines
    std::string trailer;  // what follows them, such as TrailingPalette()

    std::string Bytes() const {
        std::string out(128, '\0');
        const auto word = [&](std::size_t at, int value) {
            out[at] = static_cast<char>(value & 0xFF);
            out[at + 1] = static_cast<char>(value >> 8 & 0xFF);
        };
        out[0] = '\x0A';
        out[1] = static_cast<char>(version);
        out[2] = static_cast<char>(encoding);
        out[3] = static_cast<char>(bits);
        word(4, xMin);
        word(6, yMin);
        word(8, xMax);
        word(10, yMax);
        word(12, 72);
        word(14, 72);
        for (std::size_t i = 0; i < headerPalette.size(); ++i) {
            out[16 + i] = static_cast<char>(headerPalette[i]);
        }
        out[65] = static_cast<char>(planes);
        word(66, bytesPerLine);
        word(68, 1);
        return out + data + trailer;
    }
};

// A `width` x `height` picture of the given layout whose scan lines are `raw`, encoded; the
// 256-colour palette is appended for one plane of 8 bits.
inline PcxFile MakePcx(int bits, int planes, int width, int height, int bytesPerLine,
                       const std::vector<std::uint8_t>& raw) {
    PcxFile file;
    file.bits = bits;
    file.planes = planes;
    file.xMax = width - 1;
    file.yMax = height - 1;
    file.bytesPerLine = bytesPerLine;
    file.data = RunLengthEncode(raw);
    if (bits == 8 && planes == 1) {
        file.trailer = TrailingPalette();
    }
    return file;
}

}  // namespace glyphwell::test
