#pragma once
// Finding the file of an installed face, for drawing text straight from font files.

#include <string>

namespace glyphwell::fonts {

// The file of the desktop's font named `family` (matched as fontconfig spells it, case
// ignored), or empty when no installed font has that family.
std::string FontFileOfFamily(const std::string& family);

}  // namespace glyphwell::fonts
