#pragma once
// Whole-file reads and writes for the service (it shares no code with the program but the
// container format).

#include <filesystem>
#include <optional>
#include <string>

namespace glyphwell::server {

// The file's bytes; none when it is not a readable regular file.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Writes `bytes`, creating the parent folders.
bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace glyphwell::server
