#include "platform/RunDirectory.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace glyphwell::platform {
namespace fs = std::filesystem;

fs::path ProgramDirectory() {
    std::error_code ec;
    fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : program.parent_path();
}

fs::path UserDataHome() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return dataHome;
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "/tmp") / ".local" / "share";
}

bool IsInstalledProgramDirectory(const fs::path& programDirectory) {
    std::error_code ec;
    return fs::is_directory(programDirectory / GLYPHWELL_DATA_FROM_BIN, ec);
}

fs::path ResolveRunDirectory(const fs::path& programDirectory,
                             const std::optional<fs::path>& homeOverride) {
    std::error_code ec;
    fs::path chosen;
    if (homeOverride) {
        chosen = fs::absolute(*homeOverride, ec);
    } else if (!IsInstalledProgramDirectory(programDirectory) &&
               ::access(programDirectory.c_str(), W_OK) == 0) {
        chosen = programDirectory;
    } else {
        chosen = UserDataHome() / "glyphwell";
    }
    fs::create_directories(chosen, ec);
    return chosen.lexically_normal();
}

}  // namespace glyphwell::platform
