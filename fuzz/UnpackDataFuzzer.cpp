// UnpackData takes whatever the network delivers.

#include <cstddef>
#include <cstdint>

#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!glyphwell::fuzz::UnpackData({data, size})) {
        __builtin_trap();
    }
    return 0;
}
