#pragma once
// Taking an installed font out while keeping its file: the copy is made and verified first,
// so no font file is ever lost when the copy fails.

#include <filesystem>

#include "fonts/FontRegistry.h"

namespace glyphwell::collections {

// True when `to` is a complete copy of `from` (as long as its source).
bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes installed font `n` (1-based in `registry`), its file kept as `copy`. The copy is made
// under a passing name and takes its own name only once the font is out, so a failed copy or a
// refused uninstall never costs an older file of that name. False when the font stays
// installed because the copy failed; with `keepCopy` a refused uninstall still leaves the copy.
bool RemoveWithCopy(fonts::FontRegistry& registry, int n, const std::filesystem::path& copy,
                    bool keepCopy);

}  // namespace glyphwell::collections
