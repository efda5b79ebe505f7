#pragma once
// The lines of the install records ("fonts-key") and of the list of the program's own files:
// "data<TAB>name", escaped so that any file name gets through, line breaks and tabs included.

#include <string>
#include <string_view>
#include <vector>

#include "fonts/FontSystem.h"

namespace glyphwell::fonts {

std::string EscapeKeyText(std::string_view text);
std::string UnescapeKeyText(std::string_view text);

// `unescape` is false for the old key, which kept names as they were.
std::vector<FontsKeyValue> ParseKeyText(std::string_view text, bool unescape);

}  // namespace glyphwell::fonts
