#pragma once
#include <string_view>

namespace glyphwell::platform {

// A text read as an integer the way the program reads settings and typed numbers: its leading
// decimal digits, 0 when there are none. Saturates instead of overflowing.
int LeadingInteger(std::string_view text);

// True when the UTF-8 text holds a control character: C0, DEL, or C1 (U+0080..U+009F, which
// UTF-8 writes as C2 80..C2 9F).
bool HasControlCharacter(std::string_view text);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsValidUtf8(std::string_view text);

}  // namespace glyphwell::platform
