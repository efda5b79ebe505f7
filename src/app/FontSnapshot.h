#pragma once
// "xtzt.data": the installed font names as they were at the first start.

#include <filesystem>
#include <string>
#include <vector>

namespace glyphwell::app {

inline constexpr const char* kFontSnapshotFileName = "xtzt.data";

// "," followed by every name and a comma after each.
std::string ComposeFontSnapshot(const std::vector<std::string>& fontNames);

// The snapshot's text: read whole from `file` when it exists, else composed from `fontNames`
// and written there (GBK, no line end).
std::string LoadOrWriteFontSnapshot(const std::filesystem::path& file,
                                    const std::vector<std::string>& fontNames);

}  // namespace glyphwell::app
