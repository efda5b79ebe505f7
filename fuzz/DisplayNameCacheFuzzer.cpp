// The display-name cache is read whole at every start from the user's cache folder, where
// anything may have been left: any bytes must be refused or read within the caps.

#include <cstddef>
#include <cstdint>

#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!glyphwell::fuzz::ReadDisplayNameCache({data, size})) {
        __builtin_trap();
    }
    return 0;
}
