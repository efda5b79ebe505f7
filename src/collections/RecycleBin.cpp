#include "collections/RecycleBin.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/FileLock.h"
#include "platform/Files.h"

namespace glyphwell::collections {
namespace fs = std::filesystem;
namespace {

// Free variants tried before giving up: a bin never holds that many copies of one name.
constexpr int kMostVariants = 10000;
// The partial copies of earlier versions, left in the bin by a kill.
constexpr const char* kEarlierPartialCopyPrefix = ".glyphwell-partial-";
// Beside the records while a font of ours goes into the bin: the installed file's path, so that
// a killed move is finished and nothing else is.
constexpr const char* kMoveIntoBinRecord = "moving-into-bin";

fs::path MoveIntoBinRecord(fonts::FontSystem& system) {
    const fs::path lockFile = system.WriteLockFile();
    return lockFile.empty() ? fs::path() : lockFile.parent_path() / kMoveIntoBinRecord;
}

// "stem (k)" + extension: "font.ttf" -> "font (2).ttf".
std::string Variant(const std::string& wanted, int k) {
    const std::size_t dot = wanted.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    const std::string stem = hasExtension ? wanted.substr(0, dot) : wanted;
    const std::string extension = hasExtension ? wanted.substr(dot) : std::string();
    return stem + " (" + std::to_string(k) + ")" + extension;
}

// Deletes the row's entry (a link or special file itself), counting it done or kept.
void DeleteEntryCounted(const fs::path& file, const std::string& name, CollectionOutcome& outcome) {
    std::error_code ec;
    const platform::EntryKind kind = platform::KindOf(file);
    if (kind == platform::EntryKind::kMissing) {
        outcome.Kept.push_back({name, "文件不存在"});
    } else if (kind == platform::EntryKind::kFolder) {
        outcome.Kept.push_back({name, "是文件夹,不作处理"});
    } else if (fs::remove(file, ec) && !ec) {
        ++outcome.Done;
    } else {
        outcome.Kept.push_back({name, "未能删除:" + platform::WriteErrorText(ec)});
    }
}

// A hidden font outside the Fonts folder whose file holds the same bytes as `copy`.
std::optional<std::string> HiddenOriginalOf(fonts::FontSystem& system, const fs::path& copy) {
    for (const std::string& file : system.HiddenFiles()) {
        // Sizes first (SameContents starts there), the program's records only for a match.
        if (platform::SameContents(platform::PathFromUtf8(file), copy) && !system.OwnsFile(file)) {
            return file;
        }
    }
    return std::nullopt;
}

// Renames `from` to the first free variant of `wanted` in `folder`; another process may claim a
// name meanwhile, so the rename never replaces and the next variant is tried. `error` says why
// none could be taken.
std::optional<fs::path> RenameToFreeName(const fs::path& from, const fs::path& folder,
                                         const std::string& wanted, std::error_code& error) {
    for (int attempt = 0; attempt < kMostVariants; ++attempt) {
        const fs::path target = FreeNameIn(folder, wanted);
        if (platform::MoveFileNoReplace(from, target, &error)) {
            return target;
        }
        if (error != std::errc::file_exists) {
            break;
        }
    }
    return std::nullopt;
}

}  // namespace

fs::path FreeNameIn(const fs::path& folder, const std::string& wanted) {
    fs::path candidate = folder / platform::PathFromUtf8(wanted);
    for (int k = 2;
         k < kMostVariants && platform::KindOf(candidate) != platform::EntryKind::kMissing; ++k) {
        candidate = folder / platform::PathFromUtf8(Variant(wanted, k));
    }
    return candidate;
}

std::optional<fs::path> CopyUnderFreeName(const fs::path& from, const fs::path& folder,
                                          const std::string& wanted, std::string& reason) {
    platform::CreateFolder(folder);
    const fs::path temporary =
        platform::TemporaryPathBeside(folder / platform::PathFromUtf8(wanted));
    if (!CopyWhole(from, temporary, &reason)) {
        platform::DeleteFile(temporary);
        return std::nullopt;
    }
    std::error_code ec;
    if (std::optional<fs::path> copy = RenameToFreeName(temporary, folder, wanted, ec)) {
        return copy;
    }
    platform::DeleteFile(temporary);
    reason = platform::WriteErrorText(ec);
    return std::nullopt;
}

std::optional<fs::path> MoveUnderFreeName(const fs::path& file, const fs::path& folder,
                                          std::string& reason) {
    platform::CreateFolder(folder);
    const std::string wanted = platform::PathToUtf8(file.filename());
    std::error_code ec;
    if (std::optional<fs::path> moved = RenameToFreeName(file, folder, wanted, ec)) {
        return moved;
    }
    if (ec != std::errc::cross_device_link) {
        reason = platform::WriteErrorText(ec);
        return std::nullopt;
    }
    // Another file system: a whole copy first, then the original goes.
    std::optional<fs::path> copy = CopyUnderFreeName(file, folder, wanted, reason);
    if (copy && !platform::DeleteFile(file)) {
        platform::DeleteFile(*copy);
        reason = "未能移动文件";
        return std::nullopt;
    }
    return copy;
}

CollectionOutcome RecycleInstalledFont(fonts::FontRegistry& registry,
                                       const std::string& displayName, const fs::path& recycleBin,
                                       const RecyclePolicy& policy) {
    CollectionOutcome outcome;
    if (displayName.empty()) {
        return outcome;
    }
    fonts::FontSystem& system = registry.System();
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    const std::optional<fonts::FontEntry> entry = registry.FindEntry(displayName);
    if (!entry) {
        return outcome;
    }
    const fs::path installed = platform::PathFromUtf8(entry->FilePath);
    const std::string fileName = platform::PathToUtf8(installed.filename());
    std::string wanted = fileName;
    // A display name comes from the font file: one that would not stay a plain file name in
    // the bin gives the installed file's own name instead.
    if (policy.copyName == BinCopyName::kDisplayNameWithTtf &&
        platform::IsPlainFileName(displayName + ".ttf")) {
        wanted = displayName + ".ttf";
    }
    if (!platform::IsPlainFileName(wanted)) {
        outcome.Kept.push_back({displayName, "不是文件夹里的文件名"});
        return outcome;
    }
    // The whole copy is in the bin before anything else changes.
    std::string reason;
    const std::optional<fs::path> copy = CopyUnderFreeName(installed, recycleBin, wanted, reason);
    if (!copy) {
        outcome.Kept.push_back({displayName, reason});
        return outcome;
    }
    const bool ours = system.OwnsFile(entry->FilePath);
    const fs::path moveRecord = ours ? MoveIntoBinRecord(system) : fs::path();
    std::error_code recordError;
    if (!moveRecord.empty() &&
        !platform::WriteWholeFile(moveRecord, entry->FilePath, &recordError)) {
        platform::DeleteFile(*copy);
        outcome.Kept.push_back(
            {displayName, "未能写入记录:" + platform::WriteErrorText(recordError)});
        return outcome;
    }
    // Whatever happens next, the record goes with this call.
    struct Forget {
        const fs::path& record;
        ~Forget() { platform::DeleteFile(record); }
    } forget{moveRecord};
    std::error_code writeError;
    const bool uninstalled = fonts::UninstallFont(system, *entry, &writeError);
    if (!uninstalled) {
        if (writeError) {
            platform::DeleteFile(*copy);
            outcome.Kept.push_back(
                {displayName, "未能卸载:" + platform::WriteErrorText(writeError)});
            return outcome;
        }
        if (policy.ifStillRunning == IfStillRunning::kKeepInstalled) {
            platform::DeleteFile(*copy);
            return outcome;
        }
        if (policy.ifStillRunning == IfStillRunning::kKeepCopy) {
            ++outcome.Done;
            return outcome;
        }
        fonts::ReleaseFontFile(system, entry->FilePath);
    }
    // A font the program did not put there stays where it is, hidden for this user.
    if (ours && !platform::DeleteFile(installed)) {
        outcome.Kept.push_back({displayName, "已卸载,但未能删除字体文件夹里的文件"});
        return outcome;
    }
    ++outcome.Done;
    return outcome;
}

CollectionOutcome RestoreRecycledFonts(fonts::FontSystem& system, const fs::path& recycleBin,
                                       const FolderRows& rows, const ProgressHook& progress) {
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    CollectionOutcome outcome;
    ForEachCheckedRow(rows, progress, [&](const FolderRow& row) {
        std::string reason;
        const std::optional<fs::path> file = RegularFileInFolder(recycleBin, row.FileName, reason);
        if (!file) {
            outcome.Kept.push_back({row.FileName, reason});
            return;
        }
        if (const std::optional<std::string> original = HiddenOriginalOf(system, *file)) {
            // The font was never moved: showing it again is the whole restore.
            system.ForgetWriteErrors();
            system.AddFontResource(*original);
            if (const std::error_code error = system.LastWriteError()) {
                outcome.Kept.push_back(
                    {row.FileName, "未能恢复:" + platform::WriteErrorText(error)});
                return;
            }
        } else {
            std::string targetName = row.FileName;
            if (fonts::InstallFont(system, platform::PathToUtf8(*file), targetName, &reason) == 0) {
                outcome.Kept.push_back({row.FileName, reason});
                return;
            }
            if (platform::FileSize(platform::PathFromUtf8(system.FontsFolder() + targetName)) !=
                platform::FileSize(*file)) {
                outcome.Kept.push_back({row.FileName, "未能复制到字体文件夹"});
                return;
            }
        }
        // The bin's file may be the font's only copy: it goes only once the font is back.
        std::error_code ec;
        if (!fs::remove(*file, ec) || ec) {
            outcome.Kept.push_back(
                {row.FileName, "已安装,但未能从回收站移出:" + platform::WriteErrorText(ec)});
            return;
        }
        ++outcome.Done;
    });
    return outcome;
}

CollectionOutcome PurgeRecycledFonts(fonts::FontSystem& system, const fs::path& recycleBin,
                                     const FolderRows& rows, const ProgressHook& progress) {
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    CollectionOutcome outcome;
    ForEachCheckedRow(rows, progress, [&](const FolderRow& row) {
        if (!platform::IsPlainFileName(row.FileName)) {
            outcome.Kept.push_back({row.FileName, "不是文件夹里的文件名"});
            return;
        }
        const fs::path file = recycleBin / platform::PathFromUtf8(row.FileName);
        // Write permission is cleared on a read-only file of ours, never through a link.
        if (platform::KindOf(file) == platform::EntryKind::kRegularFile) {
            platform::SetReadOnly(file, false);
        }
        DeleteEntryCounted(file, row.FileName, outcome);
    });
    return outcome;
}

int RepairAfterInterruption(fonts::FontSystem& system, const ProgramFolders& folders) {
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    const fs::path& bin = folders.recycleBin;
    int removed = 0;
    const fs::path fontsFolder = platform::PathFromUtf8(system.FontsFolder());
    for (const fs::path& folder : {fontsFolder, bin, folders.downloads, folders.backup,
                                   folders.runDirectory, system.WriteLockFile().parent_path()}) {
        if (!folder.empty()) {
            removed += platform::RemoveLeftoverTemporaryFiles(
                folder, folder == bin ? std::vector<std::string>{kEarlierPartialCopyPrefix}
                                      : std::vector<std::string>{});
        }
    }
    // A move into the bin killed between hiding the font and deleting its file: finished when
    // the font is hidden and its whole copy is in the bin; a font not yet hidden stays installed.
    const fs::path moveRecord = MoveIntoBinRecord(system);
    if (const std::optional<std::string> moving =
            moveRecord.empty() ? std::nullopt : platform::ReadRegularFile(moveRecord, 64 * 1024)) {
        const fs::path file = platform::PathFromUtf8(*moving);
        const std::vector<std::string> hidden = system.HiddenFiles();
        if (system.OwnsFile(*moving) &&
            std::find(hidden.begin(), hidden.end(), *moving) != hidden.end()) {
            for (const std::string& name : platform::ListFiles(bin)) {
                if (platform::SameContents(bin / platform::PathFromUtf8(name), file) &&
                    platform::DeleteFile(file)) {
                    ++removed;
                    // Its key line and rule name a file that is gone now.
                    system.TidyRecords();
                    break;
                }
            }
        }
        platform::DeleteFile(moveRecord);
    }
    return removed;
}

}  // namespace glyphwell::collections
