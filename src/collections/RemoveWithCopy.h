#pragma once
// Taking an installed font out while keeping its file: the copy is made and verified first,
// so no font file is ever lost when the copy fails.

#include <filesystem>
#include <string>

#include "fonts/FontRegistry.h"

namespace glyphwell::collections {

// True when `to` is a complete copy of `from` (as long as its source), written under a
// temporary name, flushed and renamed into place. `reason` (when given) says why not.
bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to,
               std::string* reason = nullptr);

// What happens when the font cannot be taken out of the running fonts.
enum class IfStillRunning {
    kKeepInstalled,     // the copy is dropped, the font stays as it was
    kKeepCopy,          // the copy stays, and so does the installed font
    kRemoveFileAnyway,  // the copy stays, and the installed file is released and deleted
};

// Removes the installed font `entry`, its file kept as `copy`. The copy is made under a passing
// name and takes its own name only once the font is out (or `ifStillRunning` keeps it), so a
// failed copy or a refused uninstall never costs an older file of that name; the installed file
// is deleted only once the copy has its name. False when the font stays installed because the
// copy failed (`reason` says why).
bool RemoveWithCopy(fonts::FontSystem& system, const fonts::FontEntry& entry,
                    const std::filesystem::path& copy, IfStillRunning ifStillRunning,
                    std::string* reason = nullptr);

}  // namespace glyphwell::collections
