#pragma once
// INI settings files as the program has always used them: section and key names match without
// regard to ASCII case, values come back through a fixed 10240-byte buffer, an absent file,
// section or key gives the default, and a write touches only its own line. Files are GBK.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace glyphwell::platform {

inline constexpr std::size_t kIniValueBufferSize = 10240;

// The value of `key` in `section`, blanks around it removed and one pair of enclosing quotes
// dropped; `defaultValue` when the file, section or key is absent. At most
// kIniValueBufferSize - 1 GBK bytes come back, cut on a character boundary.
std::string ReadIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view defaultValue);

// Sets `key` in `section` to `value`, creating file, section and key as needed and leaving all
// other lines as they were. The file is replaced atomically. False when it cannot be written.
bool WriteIniString(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value);

}  // namespace glyphwell::platform
