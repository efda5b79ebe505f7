#include "catalogue/PcxImage.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

namespace glyphwell::catalogue {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kHeaderPaletteOffset = 16;
constexpr std::size_t kTrailingPaletteSize = 1 + 256 * 3;  // marker, then 256 RGB triples
constexpr std::uint8_t kTrailingPaletteMarker = 0x0C;
constexpr std::uint8_t kVersionWithoutPalette = 3;
constexpr unsigned kLongestRun = 63;

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return 0xFF000000u | r << 16 | g << 8 | b;
}

// What version 3 writers meant, having left the header palette out.
constexpr std::array<std::uint32_t, 16> kStandardColours = {
    Rgb(0x00, 0x00, 0x00), Rgb(0x00, 0x00, 0xAA), Rgb(0x00, 0xAA, 0x00), Rgb(0x00, 0xAA, 0xAA),
    Rgb(0xAA, 0x00, 0x00), Rgb(0xAA, 0x00, 0xAA), Rgb(0xAA, 0x55, 0x00), Rgb(0xAA, 0xAA, 0xAA),
    Rgb(0x55, 0x55, 0x55), Rgb(0x55, 0x55, 0xFF), Rgb(0x55, 0xFF, 0x55), Rgb(0x55, 0xFF, 0xFF),
    Rgb(0xFF, 0x55, 0x55), Rgb(0xFF, 0x55, 0xFF), Rgb(0xFF, 0xFF, 0x55), Rgb(0xFF, 0xFF, 0xFF)};

enum class Layout { kIndexed256, kRgb, kIndexedPlanes };

using Palette = std::array<std::uint32_t, 256>;

std::uint8_t ByteAt(std::string_view bytes, std::size_t i) {
    return static_cast<std::uint8_t>(bytes[i]);
}

int WordAt(std::string_view bytes, std::size_t i) {
    return ByteAt(bytes, i) | ByteAt(bytes, i + 1) << 8;
}

Palette ReadPalette(std::string_view bytes, std::size_t offset, std::size_t colours) {
    Palette palette{};
    for (std::size_t i = 0; i < colours; ++i) {
        const std::size_t at = offset + 3 * i;
        palette[i] = Rgb(ByteAt(bytes, at), ByteAt(bytes, at + 1), ByteAt(bytes, at + 2));
    }
    return palette;
}

// The run-length stream as one sequence of bytes: runs carry over from one scan line to the
// next, and whatever is left of a run after the last line is dropped.
class RunReader {
  public:
    explicit RunReader(std::string_view data) : data_(data) {}

    // False when the data ends before `out` is full.
    bool Fill(std::span<std::uint8_t> out) {
        std::size_t filled = 0;
        while (filled < out.size()) {
            if (runLeft_ > 0) {
                const std::size_t take = std::min<std::size_t>(runLeft_, out.size() - filled);
                std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(filled), take, runValue_);
                filled += take;
                runLeft_ -= static_cast<unsigned>(take);
                continue;
            }
            if (next_ >= data_.size()) {
                return false;
            }
            const std::uint8_t code = ByteAt(data_, next_++);
            if ((code & 0xC0) != 0xC0) {
                out[filled++] = code;
                continue;
            }
            if (next_ >= data_.size()) {
                return false;
            }
            runLeft_ = code & 0x3Fu;
            runValue_ = ByteAt(data_, next_++);
        }
        return true;
    }

  private:
    std::string_view data_;
    std::size_t next_ = 0;
    unsigned runLeft_ = 0;
    std::uint8_t runValue_ = 0;
};

}  // namespace

std::optional<DecodedPicture> DecodePcx(std::string_view bytes) {
    if (bytes.size() < kHeaderSize) {
        return std::nullopt;
    }
    const std::uint8_t version = ByteAt(bytes, 1);
    if (ByteAt(bytes, 0) != 0x0A || version > 5 || ByteAt(bytes, 2) != 1) {
        return std::nullopt;
    }
    const int bits = ByteAt(bytes, 3);
    const int planes = ByteAt(bytes, 65);
    Layout layout;
    if (bits == 8 && planes == 1) {
        layout = Layout::kIndexed256;
    } else if (bits == 8 && planes == 3) {
        layout = Layout::kRgb;
    } else if ((bits == 1 && planes >= 1 && planes <= 4) ||
               ((bits == 2 || bits == 4) && planes == 1)) {
        layout = Layout::kIndexedPlanes;
    } else {
        return std::nullopt;
    }

    const int xMin = WordAt(bytes, 4);
    const int yMin = WordAt(bytes, 6);
    const int xMax = WordAt(bytes, 8);
    const int yMax = WordAt(bytes, 10);
    if (xMax < xMin || yMax < yMin) {
        return std::nullopt;
    }
    const int width = xMax - xMin + 1;
    const int height = yMax - yMin + 1;
    if (width > kPcxMaxSide || height > kPcxMaxSide ||
        std::int64_t{width} * height > kPcxMaxPixels) {
        return std::nullopt;
    }
    const std::size_t bytesPerLine = static_cast<std::size_t>(WordAt(bytes, 66));
    if (bytesPerLine < (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 7) / 8) {
        return std::nullopt;
    }

    Palette palette{};
    std::size_t streamEnd = bytes.size();
    if (layout == Layout::kIndexed256) {
        if (bytes.size() < kHeaderSize + kTrailingPaletteSize) {
            return std::nullopt;
        }
        streamEnd = bytes.size() - kTrailingPaletteSize;
        if (ByteAt(bytes, streamEnd) != kTrailingPaletteMarker) {
            return std::nullopt;
        }
        palette = ReadPalette(bytes, streamEnd + 1, 256);
    } else if (layout == Layout::kIndexedPlanes) {
        if (bits == 1 && planes == 1) {
            // Two-colour writers often leave the header palette zeroed.
            palette[0] = Rgb(0, 0, 0);
            palette[1] = Rgb(0xFF, 0xFF, 0xFF);
        } else if (version == kVersionWithoutPalette) {
            std::copy(kStandardColours.begin(), kStandardColours.end(), palette.begin());
        } else {
            palette = ReadPalette(bytes, kHeaderPaletteOffset, 16);
        }
    }

    // Even in runs of the longest length the data could not fill the picture: refuse it before
    // allocating, so that a few bytes cannot ask for megabytes.
    const std::string_view stream = bytes.substr(kHeaderSize, streamEnd - kHeaderSize);
    const std::size_t lineSize = static_cast<std::size_t>(planes) * bytesPerLine;
    const std::uint64_t needed = std::uint64_t{lineSize} * static_cast<std::uint64_t>(height);
    const std::uint64_t mostDecoded = stream.size() / 2 * kLongestRun + stream.size() % 2;
    if (needed > mostDecoded) {
        return std::nullopt;
    }

    DecodedPicture picture;
    picture.width = width;
    picture.height = height;
    const auto columns = static_cast<std::size_t>(width);
    picture.pixels.resize(columns * static_cast<std::size_t>(height));
    std::vector<std::uint8_t> line(lineSize);
    RunReader reader(stream);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        if (!reader.Fill(line)) {
            return std::nullopt;
        }
        std::uint32_t* row = picture.pixels.data() + y * columns;
        switch (layout) {
            case Layout::kIndexed256:
                for (std::size_t x = 0; x < columns; ++x) {
                    row[x] = palette[line[x]];
                }
                break;
            case Layout::kRgb:
                for (std::size_t x = 0; x < columns; ++x) {
                    row[x] = Rgb(line[x], line[bytesPerLine + x], line[2 * bytesPerLine + x]);
                }
                break;
            case Layout::kIndexedPlanes: {
                // Each plane gives `bits` bits of the colour index, the first plane the lowest.
                const unsigned mask = (1u << bits) - 1;
                for (std::size_t x = 0; x < columns; ++x) {
                    const std::size_t bit = x * static_cast<std::size_t>(bits);
                    const unsigned shift = 8 - static_cast<unsigned>(bits) - bit % 8;
                    unsigned index = 0;
                    for (int plane = 0; plane < planes; ++plane) {
                        const std::uint8_t packed =
                            line[static_cast<std::size_t>(plane) * bytesPerLine + bit / 8];
                        index |= (packed >> shift & mask) << (plane * bits);
                    }
                    row[x] = palette[index];
                }
                break;
            }
        }
    }
    return picture;
}

}  // namespace glyphwell::catalogue
