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

namespace {

// An XDG folder variable; relative values are invalid and fall back to the default under $HOME.
fs::path XdgFolder(const char* variable, const fs::path& underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "/tmp") / underHome;
}

}  // namespace

fs::path UserDataHome() {
    return XdgFolder("XDG_DATA_HOME", fs::path(".local") / "share");
}

fs::path UserCacheHome() {
    return XdgFolder("XDG_CACHE_HOME", ".cache");
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
