// UnpackData takes whatever the network delivers.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/PackedData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string unpacked = glyphwell::catalogue::UnpackData(input);
    // A result never exceeds the bound of twice the recorded size.
    if (!unpacked.empty() && unpacked.size() > glyphwell::catalogue::kPackedDataMaxBound) {
        __builtin_trap();
    }
    return 0;
}
