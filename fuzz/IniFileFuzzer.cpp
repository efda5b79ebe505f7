// Settings files are edited by hand and by other programs: any bytes must read safely, and a
// write must keep every other line as it was.

#include <cstddef>
#include <cstdint>

#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!glyphwell::fuzz::ReadAndWriteIniFile({data, size})) {
        __builtin_trap();
    }
    return 0;
}
