#include "collections/RemoveWithCopy.h"

#include "platform/Files.h"

namespace glyphwell::collections {
namespace {

constexpr const char* kPartialCopyPrefix = ".glyphwell-partial-";

}  // namespace

bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!platform::CopyFile(from, to, true)) {
        return false;
    }
    const auto source = platform::FileSize(from);
    return source.has_value() && platform::FileSize(to) == source;
}

bool RemoveWithCopy(fonts::FontRegistry& registry, int n, const std::filesystem::path& copy,
                    bool keepCopy) {
    const fonts::FontEntry entry = registry.Entry(n);
    const std::filesystem::path installed = platform::PathFromUtf8(entry.FilePath);
    std::filesystem::path partial = copy;
    partial.replace_filename(kPartialCopyPrefix + copy.filename().string());
    if (!CopyWhole(installed, partial)) {
        platform::DeleteFile(partial);
        return false;
    }
    const bool uninstalled = fonts::UninstallFont(registry, n);
    std::error_code error;
    if (uninstalled || keepCopy) {
        std::filesystem::rename(partial, copy, error);
    } else {
        platform::DeleteFile(partial);
    }
    if (uninstalled && !error) {
        platform::DeleteFile(installed);
    }
    return true;
}

}  // namespace glyphwell::collections
