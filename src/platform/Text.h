#pragma once
#include <string_view>

namespace glyphwell::platform {

// A text read as an integer the way the program reads settings and typed numbers: its leading
// decimal digits, 0 when there are none. Saturates instead of overflowing.
int LeadingInteger(std::string_view text);

}  // namespace glyphwell::platform
