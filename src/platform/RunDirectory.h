#pragma once
// Where the program keeps its working folders and settings.

#include <filesystem>
#include <optional>

namespace glyphwell::platform {

// The folder that holds the running program file.
std::filesystem::path ProgramDirectory();

// True when the program was installed (its data folder, share/glyphwell, sits beside its bin
// folder): a writable /usr/bin (root) must not fill with working folders.
bool IsInstalledProgramDirectory(const std::filesystem::path& programDirectory);

// The program's own folder when it is not installed and the user can write to it (a portable
// copy), else $XDG_DATA_HOME/glyphwell (by default ~/.local/share/glyphwell). `homeOverride`
// wins over both.
// The folder is created when missing.
std::filesystem::path ResolveRunDirectory(const std::filesystem::path& programDirectory,
                                          const std::optional<std::filesystem::path>& homeOverride);

// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path UserDataHome();

// $XDG_CACHE_HOME, else ~/.cache.
std::filesystem::path UserCacheHome();

}  // namespace glyphwell::platform
