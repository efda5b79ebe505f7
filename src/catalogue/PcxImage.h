#pragma once
// Sample pictures in PCX form, which Qt has no reader for. The bytes come from a downloaded
// catalogue, so the decoder trusts nothing in them.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace glyphwell::catalogue {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, row-major, alpha 0xFF
};

// Larger pictures are refused before anything is allocated. A side may be long, for wide
// sample strips; the area stays at 64 MiB of pixels.
inline constexpr int kPcxMaxSide = 8192;
inline constexpr std::int64_t kPcxMaxPixels = std::int64_t{4096} * 4096;

// A PCX picture (version 0-5, RLE encoding 1) decoded; none for anything else or any damage.
// Layouts: 1 plane of 8 bits with the 256-colour palette at the end, 3 planes of 8 bits (RGB),
// 1 to 4 planes of 1 bit, 1 plane of 2 or 4 bits (the header's palette; version 3 files carry
// none and get the standard 16 colours; one plane of 1 bit is always black and white).
// Pixel data that ends early, or a last run without its value, gives none, not a partial
// picture: the bytes come out of the checked container, so short data is a damaged file rather
// than a cut-off download, and a few bytes cannot claim megabytes of pixels.
std::optional<DecodedPicture> DecodePcx(std::string_view bytes);

}  // namespace glyphwell::catalogue
