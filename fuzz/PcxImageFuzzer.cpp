// Sample pictures come from a downloaded catalogue: any bytes must decode or be refused without
// a fault, and a decoded picture must be whole.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/PcxImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyphwell::catalogue;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto picture = DecodePcx(input);
    if (!picture) {
        return 0;
    }
    if (picture->width < 1 || picture->height < 1 || picture->width > kPcxMaxSide ||
        picture->height > kPcxMaxSide ||
        picture->pixels.size() !=
            static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height) ||
        picture->pixels.size() > static_cast<std::size_t>(kPcxMaxPixels)) {
        __builtin_trap();
    }
    for (const std::uint32_t pixel : picture->pixels) {
        if (pixel >> 24 != 0xFF) {
            __builtin_trap();  // every pixel opaque
        }
    }
    return 0;
}
