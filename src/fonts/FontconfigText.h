#pragma once
// Text in and out of fontconfig: the XML of our rule files and the strings of its patterns.

#include <string>
#include <string_view>

struct _FcPattern;

namespace glyphwell::fonts {

std::string XmlEscape(std::string_view text);
std::string XmlUnescape(std::string_view text);

// The rule file is XML: a path that is no UTF-8 or holds another control character than a tab
// or a line break cannot be written in it, and would spoil every other rule.
bool FitsInRule(const std::string& filePath);

// The first string of `object` in the pattern; empty when it has none.
std::string PatternText(_FcPattern* pattern, const char* object);

// Family names compared as fontconfig compares them (case ignored).
bool SameFamily(const std::string& a, const std::string& b);

}  // namespace glyphwell::fonts
