#include "collections/FontFolders.h"

#include <unordered_set>

#include "collections/RecycleBin.h"
#include "fonts/FontDisplayName.h"
#include "platform/FileLock.h"
#include "platform/Files.h"

namespace glyphwell::collections {
namespace fs = std::filesystem;
namespace {

constexpr const char* kNotAFileNameReason = "不是文件夹里的文件名";
constexpr const char* kNotARegularFileReason = "不是普通文件(链接或特殊文件),不作处理";
constexpr const char* kNoSuchFileReason = "文件不存在";

// The row's file in `folder`, or none when its name would lead out of the folder.
std::optional<fs::path> FileInFolder(const fs::path& folder, const std::string& fileName) {
    if (!platform::IsPlainFileName(fileName)) {
        return std::nullopt;
    }
    return folder / platform::PathFromUtf8(fileName);
}

void SetReason(std::string* reason, std::string text) {
    if (reason != nullptr) {
        *reason = std::move(text);
    }
}

std::string FileNameOf(const std::string& filePath) {
    return platform::PathToUtf8(platform::PathFromUtf8(filePath).filename());
}

// Installs `source` as `targetName` (its own name when empty); true once the copy in the Fonts
// folder is whole.
bool InstallWhole(fonts::FontSystem& system, const fs::path& source, std::string targetName,
                  std::string& reason) {
    if (fonts::InstallFont(system, platform::PathToUtf8(source), targetName, &reason) == 0) {
        return false;
    }
    const auto size = platform::FileSize(source);
    if (!size ||
        platform::FileSize(platform::PathFromUtf8(system.FontsFolder() + targetName)) != size) {
        reason = "未能复制到字体文件夹";
        return false;
    }
    return true;
}

// Installs the row's file of `folder` as `targetName` (its own name when empty); true once its
// copy in the Fonts folder is whole, else the row is kept with the reason.
bool InstallRowFile(fonts::FontSystem& system, const fs::path& folder, const std::string& fileName,
                    const std::string& targetName, CollectionOutcome& outcome) {
    std::string reason;
    const std::optional<fs::path> file = RegularFileInFolder(folder, fileName, reason);
    if (file && InstallWhole(system, *file, targetName, reason)) {
        return true;
    }
    outcome.Kept.push_back({fileName, reason});
    return false;
}

}  // namespace

bool CopyWhole(const fs::path& from, const fs::path& to, std::string* reason) {
    if (!platform::FileExists(from)) {
        SetReason(reason, "字体文件不存在");
        return false;
    }
    std::error_code error;
    if (!platform::CopyFile(from, to, true, &error)) {
        SetReason(reason, platform::WriteErrorText(error));
        return false;
    }
    const auto source = platform::FileSize(from);
    if (!source.has_value() || platform::FileSize(to) != source) {
        SetReason(reason, "复制不完整");
        return false;
    }
    return true;
}

std::optional<fs::path> RegularFileInFolder(const fs::path& folder, const std::string& fileName,
                                            std::string& reason) {
    std::optional<fs::path> file = FileInFolder(folder, fileName);
    if (!file) {
        reason = kNotAFileNameReason;
        return std::nullopt;
    }
    switch (platform::KindOf(*file)) {
        case platform::EntryKind::kRegularFile:
            return file;
        case platform::EntryKind::kMissing:
            reason = kNoSuchFileReason;
            return std::nullopt;
        default:
            reason = kNotARegularFileReason;
            return std::nullopt;
    }
}

std::vector<FolderFont> FontFolderListing(const fs::path& folder) {
    std::vector<FolderFont> fonts;
    for (std::string& name : platform::ListFiles(folder)) {
        if (platform::IsTemporaryName(name)) {
            continue;
        }
        std::string displayName =
            fonts::ReadFaceName(platform::PathToUtf8(folder / platform::PathFromUtf8(name)));
        if (!displayName.empty()) {
            fonts.push_back({std::move(name), std::move(displayName)});
        }
    }
    return fonts;
}

void ForEachCheckedRow(const FolderRows& rows, const ProgressHook& progress,
                       const std::function<void(const FolderRow&)>& action) {
    const int count = rows.RowCount();
    for (int i = 1; i <= count; ++i) {
        if (progress) {
            progress(ProgressPercent(i, rows.RowCount()));
        }
        const FolderRow row = rows.Row(i - 1);
        if (row.Checked) {
            action(row);
        }
    }
}

FolderRow CheckedFiles::Row(int row) const {
    if (row < 0 || row >= RowCount()) {
        return {};
    }
    return {fileNames_[static_cast<std::size_t>(row)], {}, true};
}

int ProgressPercent(int i, int count) {
    if (count <= 0) {
        return 100;
    }
    return static_cast<int>(static_cast<double>(i) / static_cast<double>(count) * 100.0);
}

CollectionOutcome UninstallDownloadedFonts(fonts::FontRegistry& registry,
                                           const fs::path& downloadFolder,
                                           const fs::path& recycleBin, const FolderRows& rows) {
    fonts::FontSystem& system = registry.System();
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    CollectionOutcome outcome;
    const int count = rows.RowCount();
    for (int r = 0; r < count; ++r) {
        const FolderRow row = rows.Row(r);
        if (!row.Checked) {
            continue;
        }
        std::string reason;
        const std::optional<fs::path> file =
            RegularFileInFolder(downloadFolder, row.FileName, reason);
        if (!file) {
            outcome.Kept.push_back({row.FileName, reason});
            continue;
        }
        const std::string displayName = row.DisplayName.empty()
                                            ? fonts::ReadFaceName(platform::PathToUtf8(*file))
                                            : row.DisplayName;
        // Only the font installed from this file: a font of the same name from elsewhere is
        // not the user's choice.
        const std::optional<fonts::FontEntry> entry = registry.FindEntry(displayName);
        if (entry && entry->FilePath == system.FontsFolder() + fonts::RemoveSpaces(row.FileName) &&
            system.OwnsFile(entry->FilePath)) {
            std::error_code writeError;
            if (!fonts::UninstallFont(system, *entry, &writeError) && writeError) {
                outcome.Kept.push_back(
                    {row.FileName, "未能卸载:" + platform::WriteErrorText(writeError)});
                continue;
            }
            fonts::ReleaseFontFile(system, entry->FilePath);
        }
        if (MoveUnderFreeName(*file, recycleBin, reason)) {
            ++outcome.Done;
        } else {
            outcome.Kept.push_back({row.FileName, reason});
        }
    }
    return outcome;
}

CollectionOutcome ReinstallDownloadedFonts(fonts::FontSystem& system,
                                           const fs::path& downloadFolder, const FolderRows& rows,
                                           const ProgressHook& progress) {
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    CollectionOutcome outcome;
    ForEachCheckedRow(rows, progress, [&](const FolderRow& row) {
        if (InstallRowFile(system, downloadFolder, row.FileName, row.FileName, outcome)) {
            ++outcome.Done;
        }
    });
    return outcome;
}

CollectionOutcome BackupInstalledFonts(fonts::FontSystem& system, const fs::path& backupFolder,
                                       const ProgressHook& progress) {
    // Every installed file, not only the first file of each display name: a family's bold and
    // italic files share its name and would be missing from the backup.
    std::vector<std::string> files;
    std::unordered_set<std::string> seen;
    const std::string fontsFolder = system.FontsFolder();
    for (fonts::FontsKeyValue& value : system.EnumerateFontsKey()) {
        std::string path = fonts::AbsoluteFontPath(std::move(value.data), fontsFolder);
        if (seen.insert(path).second) {
            files.push_back(std::move(path));
        }
    }
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    CollectionOutcome outcome;
    platform::CreateFolder(backupFolder);
    const int count = static_cast<int>(files.size());
    for (int i = 1; i <= count; ++i) {
        const std::string& filePath = files[static_cast<std::size_t>(i) - 1];
        const std::string fileName = FileNameOf(filePath);
        std::string reason = kNotAFileNameReason;
        const std::optional<fs::path> copy = FileInFolder(backupFolder, fileName);
        if (copy && CopyWhole(platform::PathFromUtf8(filePath), *copy, &reason)) {
            ++outcome.Done;
        } else {
            outcome.Kept.push_back({fileName.empty() ? filePath : fileName, reason});
        }
        if (progress) {
            progress(ProgressPercent(i, count));
        }
    }
    return outcome;
}

CollectionOutcome RestoreBackedUpFonts(fonts::FontSystem& system, const fs::path& backupFolder,
                                       const FolderRows& rows, const ProgressHook& progress) {
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    CollectionOutcome outcome;
    const int count = rows.RowCount();
    for (int i = 1; i <= count; ++i) {
        const FolderRow row = rows.Row(i - 1);
        if (row.Checked && InstallRowFile(system, backupFolder, row.FileName, {}, outcome)) {
            ++outcome.Done;
        }
        if (progress) {
            progress(ProgressPercent(i - 1, rows.RowCount()));
        }
    }
    return outcome;
}

CollectionOutcome ExportFontFile(const fonts::FontRegistry& registry,
                                 const std::string& displayName, const fs::path& folder) {
    CollectionOutcome outcome;
    const std::optional<fonts::FontEntry> entry =
        displayName.empty() ? std::nullopt : registry.FindEntry(displayName);
    if (!entry) {
        return outcome;
    }
    std::string reason = kNotAFileNameReason;
    const std::optional<fs::path> copy = FileInFolder(folder, FileNameOf(entry->FilePath));
    if (copy) {
        // A killed export of this file left its partial copy here: the user's folder, not ours.
        platform::RemoveLeftoverTemporaryFilesOf(*copy);
    }
    if (copy && CopyWhole(platform::PathFromUtf8(entry->FilePath), *copy, &reason)) {
        ++outcome.Done;
    } else {
        outcome.Kept.push_back({displayName, reason});
    }
    return outcome;
}

}  // namespace glyphwell::collections
