// Sample pictures come from a downloaded catalogue: any bytes must decode or be refused without
// a fault, and a decoded picture must be whole. Start from fuzz/corpus/pcx_image.

#include <cstddef>
#include <cstdint>

#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!glyphwell::fuzz::DecodePcxPicture({data, size})) {
        __builtin_trap();
    }
    return 0;
}
