#pragma once
// Text set in a font file, and the picture encodings the service sends.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyphwell::server {

// An 8-bit grey picture, 0 = black, 255 = white.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

struct TextStyle {
    int pixelSize = 20;
    double slantDegrees = 0;  // leans the glyphs to the right
    int padding = 4;
    int minimumHeight = 0;  // the picture is at least this tall, text centred
    // Limits for text from the network; zero is none. Characters past the first
    // `maxCharacters` are dropped, and the picture is cut at `maxWidth` pixels.
    std::size_t maxCharacters = 0;
    int maxWidth = 0;
};

// `text` (UTF-8) set in the first face of `fontFile`, black on white. None when the font cannot
// be opened or sized.
std::optional<GreyImage> RenderText(const std::filesystem::path& fontFile, std::string_view text,
                                    const TextStyle& style);

std::string EncodePng(const GreyImage& image);
std::string EncodeJpeg(const GreyImage& image, int quality = 90);

}  // namespace glyphwell::server
