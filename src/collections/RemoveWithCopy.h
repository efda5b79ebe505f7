#pragma once
// Taking an installed font out while keeping its file: the copy is made and verified first,
// so no font file is ever lost when the copy fails.

#include <filesystem>
#include <string>
#include <system_error>

#include "fonts/FontRegistry.h"

namespace glyphwell::collections {

// Why a copy or an install failed, in the words the user reads.
std::string FailureReason(const std::error_code& error);

// True when `to` is a complete copy of `from` (as long as its source), written under a
// temporary name, flushed and renamed into place. `reason` (when given) says why not.
bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to,
               std::string* reason = nullptr);

// Removes the installed font `entry`, its file kept as `copy`. The copy is made under a passing
// name and takes its own name only once the font is out, so a failed copy or a refused
// uninstall never costs an older file of that name. False when the font stays installed because
// the copy failed (`reason` says why); with `keepCopy` a refused uninstall still leaves the copy.
bool RemoveWithCopy(fonts::FontSystem& system, const fonts::FontEntry& entry,
                    const std::filesystem::path& copy, bool keepCopy,
                    std::string* reason = nullptr);

}  // namespace glyphwell::collections
