#include "collections/FontFolders.h"

#include <unordered_set>

#include "collections/RemoveWithCopy.h"
#include "fonts/FontDisplayName.h"
#include "platform/Files.h"

namespace glyphwell::collections {
namespace fs = std::filesystem;
namespace {

constexpr const char* kNotAFileNameReason = "不是文件夹里的文件名";

// The row's file in `folder`, or none when its name would lead out of the folder.
std::optional<fs::path> FileInFolder(const fs::path& folder, const std::string& fileName) {
    if (!platform::IsPlainFileName(fileName)) {
        return std::nullopt;
    }
    return folder / platform::PathFromUtf8(fileName);
}

std::string FileNameOf(const std::string& filePath) {
    return platform::PathToUtf8(platform::PathFromUtf8(filePath).filename());
}

// Installs `source` as `targetName` (its own name when empty); true once the copy in the Fonts
// folder is whole.
bool InstallWhole(fonts::FontSystem& system, const fs::path& source, std::string targetName,
                  std::string& reason) {
    if (fonts::InstallFont(system, platform::PathToUtf8(source), targetName) == 0) {
        reason = platform::FileExists(source) ? "不是可以安装的字体文件" : "文件不存在";
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
    std::string reason = kNotAFileNameReason;
    const std::optional<fs::path> file = FileInFolder(folder, fileName);
    if (file && InstallWhole(system, *file, targetName, reason)) {
        return true;
    }
    outcome.Kept.push_back({fileName, reason});
    return false;
}

// Deletes the row's file, counting it done or kept with the reason.
void DeleteCounted(const fs::path& file, const std::string& name, CollectionOutcome& outcome) {
    if (platform::DeleteFile(file)) {
        ++outcome.Done;
    } else {
        outcome.Kept.push_back({name, platform::FileExists(file) ? "未能删除" : "文件不存在"});
    }
}

// Each row from the first to the count read now, with the progress told before the row.
template <typename Action>
void ForEachRowAfterProgress(const FolderRows& rows, const ProgressHook& progress, Action action) {
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

}  // namespace

std::vector<FolderFont> FontFolderListing(const fs::path& folder) {
    std::vector<FolderFont> fonts;
    for (std::string& name : platform::ListFiles(folder)) {
        std::string displayName =
            fonts::ReadFaceName(platform::PathToUtf8(folder / platform::PathFromUtf8(name)));
        if (!displayName.empty()) {
            fonts.push_back({std::move(name), std::move(displayName)});
        }
    }
    return fonts;
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
                                           const fs::path& downloadFolder, const FolderRows& rows) {
    CollectionOutcome outcome;
    const int count = rows.RowCount();
    for (int r = 0; r < count; ++r) {
        const FolderRow row = rows.Row(r);
        if (!row.Checked) {
            continue;
        }
        const std::optional<fs::path> file = FileInFolder(downloadFolder, row.FileName);
        if (!file) {
            outcome.Kept.push_back({row.FileName, kNotAFileNameReason});
            continue;
        }
        const std::string displayName = row.DisplayName.empty()
                                            ? fonts::ReadFaceName(platform::PathToUtf8(*file))
                                            : row.DisplayName;
        if (const std::optional<fonts::FontEntry> entry = registry.FindEntry(displayName)) {
            fonts::UninstallFont(registry.System(), *entry);
            fonts::ReleaseFontFile(registry.System(), entry->FilePath);
        }
        DeleteCounted(*file, row.FileName, outcome);
    }
    return outcome;
}

CollectionOutcome ReinstallDownloadedFonts(fonts::FontSystem& system,
                                           const fs::path& downloadFolder, const FolderRows& rows,
                                           const ProgressHook& progress) {
    CollectionOutcome outcome;
    ForEachRowAfterProgress(rows, progress, [&](const FolderRow& row) {
        if (InstallRowFile(system, downloadFolder, row.FileName, row.FileName, outcome)) {
            ++outcome.Done;
        }
    });
    return outcome;
}

CollectionOutcome MoveFontToRecycleBin(fonts::FontRegistry& registry,
                                       const std::string& displayName, const fs::path& recycleBin) {
    CollectionOutcome outcome;
    if (displayName.empty()) {
        return outcome;
    }
    const std::optional<fonts::FontEntry> entry = registry.FindEntry(displayName);
    if (!entry) {
        return outcome;
    }
    const std::string fileName = FileNameOf(entry->FilePath);
    const std::optional<fs::path> copy = FileInFolder(recycleBin, fileName);
    if (!copy) {
        outcome.Kept.push_back({displayName, kNotAFileNameReason});
        return outcome;
    }
    platform::CreateFolder(recycleBin);
    std::string reason;
    if (!RemoveWithCopy(registry.System(), *entry, *copy, IfStillRunning::kRemoveFileAnyway,
                        &reason)) {
        outcome.Kept.push_back({displayName, reason});
        return outcome;
    }
    ++outcome.Done;
    return outcome;
}

CollectionOutcome RestoreRecycledFonts(fonts::FontSystem& system, const fs::path& recycleBin,
                                       const FolderRows& rows, const ProgressHook& progress) {
    CollectionOutcome outcome;
    ForEachRowAfterProgress(rows, progress, [&](const FolderRow& row) {
        // The bin's file may be the font's only copy: it goes only once the install is whole.
        if (InstallRowFile(system, recycleBin, row.FileName, row.FileName, outcome)) {
            platform::DeleteFile(recycleBin / platform::PathFromUtf8(row.FileName));
            ++outcome.Done;
        }
    });
    return outcome;
}

CollectionOutcome PurgeRecycledFonts(const fs::path& recycleBin, const FolderRows& rows,
                                     const ProgressHook& progress) {
    CollectionOutcome outcome;
    ForEachRowAfterProgress(rows, progress, [&](const FolderRow& row) {
        const std::optional<fs::path> file = FileInFolder(recycleBin, row.FileName);
        if (!file) {
            outcome.Kept.push_back({row.FileName, kNotAFileNameReason});
            return;
        }
        platform::SetReadOnly(*file, false);
        DeleteCounted(*file, row.FileName, outcome);
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
    if (copy && CopyWhole(platform::PathFromUtf8(entry->FilePath), *copy, &reason)) {
        ++outcome.Done;
    } else {
        outcome.Kept.push_back({displayName, reason});
    }
    return outcome;
}

}  // namespace glyphwell::collections
