#pragma once
// The display name of a font file: the face name under which the desktop lists the font.

#include <cstddef>
#include <string>
#include <string_view>

namespace glyphwell::fonts {

// Display names are kept to this many GBK bytes.
inline constexpr std::size_t kDisplayNameMaxBytes = 100;

// The face name read from the font itself (legacy family, name ID 1), cut to
// kDisplayNameMaxBytes GBK bytes; empty for a bitmap-only font, a non-font or an unreadable
// file. The path is used as given. Kept for the rest of the process while the file stays the
// same file, unchanged (see DisplayNameCache.h).
std::string ReadFaceName(const std::string& path);
// The same, read from the file every time.
std::string ReadFaceNameFromFile(const std::string& path);

// True when `path` needs no Fonts-folder prefix.
bool IsAbsoluteFontPath(std::string_view path);

// `path` as an absolute path: prefixed with `fontsFolder` (which ends with '/') unless it is.
std::string AbsoluteFontPath(std::string path, std::string_view fontsFolder);

// `path` made absolute first (prefixed with `fontsFolder`, which ends with '/'), so the
// caller keeps the absolute form; then its face name.
std::string ReadFontDisplayName(std::string& path, std::string_view fontsFolder);

// The text with every ASCII blank and ideographic space (GBK A1A1) removed.
std::string RemoveSpaces(std::string_view text);

}  // namespace glyphwell::fonts
