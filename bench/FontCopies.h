#pragma once
// The installed fonts the system-list measurements run on: renamed copies of DejaVu Sans, one
// in ten with a Chinese name, so every list order and search path has work to do.

#include <filesystem>
#include <string>

namespace glyphwell::bench {

inline constexpr int kFontCopyCount = 10000;

// The family name of copy `k`; the English one for a copy that also has a Chinese name.
std::string CopyFamilyName(int k);
// The Chinese family name of copy `k`, empty when it has none.
std::string CopyChineseName(int k);

// Writes copies 0 .. count-1 into `folder` as "copyK.ttf".
void WriteFontCopies(const std::filesystem::path& folder, int count);

// Links the interface font the program is installed with into `folder`, as on the desktop
// the copies stand for.
void LinkInterfaceFont(const std::filesystem::path& folder);

}  // namespace glyphwell::bench
