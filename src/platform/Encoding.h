#pragma once
// Conversion between the UTF-8 text the program keeps and the GBK bytes that its files,
// byte limits and byte-level text rules are stated in. Everything GBK goes through here.

#include <cstddef>
#include <string>
#include <string_view>

namespace glyphwell::platform {

// UTF-8 to GBK. A character GBK cannot hold becomes '?', as the ANSI conversion does.
std::string Utf8ToGbk(std::string_view utf8);

// GBK to UTF-8. A byte sequence that is not GBK becomes U+FFFD; never fails.
std::string GbkToUtf8(std::string_view gbk);

// True for the first byte of a double-byte GBK character (0x81..0xFE).
constexpr bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// True for a byte that may follow a lead byte (0x40..0xFE except 0x7F).
constexpr bool IsGbkTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Length in bytes of the character that starts at `pos`: 2 for a lead byte with a byte after
// it, else 1. `pos` must be inside `gbk`.
std::size_t GbkCharLength(std::string_view gbk, std::size_t pos);

// The longest prefix of `gbk` of at most `maxBytes` bytes that ends on a character boundary.
std::string_view CutGbk(std::string_view gbk, std::size_t maxBytes);

// The UTF-8 text whose GBK form is the longest prefix of at most `maxBytes` bytes that ends on
// a character boundary.
std::string CutUtf8ToGbkBytes(std::string_view utf8, std::size_t maxBytes);

// Length of the GBK form of a UTF-8 text.
std::size_t GbkLength(std::string_view utf8);

}  // namespace glyphwell::platform
