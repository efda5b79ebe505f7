#include "FileBytes.h"

#include <fstream>
#include <sstream>

namespace glyphwell::server {
namespace fs = std::filesystem;

std::optional<std::string> ReadFileBytes(const fs::path& path) {
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? std::optional(bytes.str()) : std::nullopt;
}

bool WriteFileBytes(const fs::path& path, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace glyphwell::server
