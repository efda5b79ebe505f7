#include "support/TempDir.h"

#include <stdlib.h>

#include <string>
#include <system_error>

namespace glyphwell::test {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "glyphwell-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Read-only files inside must not stop the clean-up.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
}

}  // namespace glyphwell::test
