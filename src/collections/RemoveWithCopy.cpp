#include "collections/RemoveWithCopy.h"

#include <cerrno>
#include <system_error>

#include "platform/Files.h"

namespace glyphwell::collections {
namespace {

constexpr const char* kPartialCopyPrefix = ".glyphwell-partial-";

void SetReason(std::string* reason, std::string text) {
    if (reason != nullptr) {
        *reason = std::move(text);
    }
}

// Why a copy failed, in the words the user reads.
std::string FailureReason(const std::error_code& error) {
    switch (error.value()) {
        case ENOSPC:
        case EDQUOT:
            return "磁盘空间不足";
        case EACCES:
        case EPERM:
        case EROFS:
            return "没有写入权限";
        case ENOTDIR:
        case EISDIR:
            return "目标文件夹不可用";
        case ENOENT:
            return "目标文件夹不存在";
        default:
            break;
    }
    return "复制失败(" + error.message() + ")";
}

}  // namespace

bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to,
               std::string* reason) {
    if (!platform::FileExists(from)) {
        SetReason(reason, "字体文件不存在");
        return false;
    }
    std::error_code error;
    if (!platform::CopyFile(from, to, true, &error)) {
        SetReason(reason, FailureReason(error));
        return false;
    }
    const auto source = platform::FileSize(from);
    if (!source.has_value() || platform::FileSize(to) != source) {
        SetReason(reason, "复制不完整");
        return false;
    }
    return true;
}

bool RemoveWithCopy(fonts::FontSystem& system, const fonts::FontEntry& entry,
                    const std::filesystem::path& copy, IfStillRunning ifStillRunning,
                    std::string* reason) {
    const std::filesystem::path installed = platform::PathFromUtf8(entry.FilePath);
    std::filesystem::path partial = copy;
    partial.replace_filename(kPartialCopyPrefix + copy.filename().string());
    if (!CopyWhole(installed, partial, reason)) {
        platform::DeleteFile(partial);
        return false;
    }
    const bool uninstalled = fonts::UninstallFont(system, entry);
    if (!uninstalled && ifStillRunning == IfStillRunning::kKeepInstalled) {
        platform::DeleteFile(partial);
        return true;
    }
    if (!platform::MoveFileOver(partial, copy) ||
        (!uninstalled && ifStillRunning == IfStillRunning::kKeepCopy)) {
        return true;
    }
    if (!uninstalled) {
        fonts::ReleaseFontFile(system, entry.FilePath);
    }
    platform::DeleteFile(installed);
    return true;
}

}  // namespace glyphwell::collections
