// Settings files are edited by hand and by other programs: any bytes must read safely, and a
// write must keep every other line as it was.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Files.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string file = "/tmp/glyphwell-fuzz-" + std::to_string(getpid()) + ".ini";
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!glyphwell::platform::WriteWholeFile(file, bytes)) {
        return 0;
    }
    glyphwell::platform::ReadIniString(file, "potpz", "pf", "8");
    glyphwell::platform::ReadIniString(file, "mulu", "mulu", "");
    if (glyphwell::platform::WriteIniString(file, "potpz", "pf", "3") &&
        glyphwell::platform::ReadIniString(file, "potpz", "pf", "") != "3") {
        std::abort();  // a write that does not read back
    }
    unlink(file.c_str());
    return 0;
}
