// The local collections as the pages work on them: the downloaded fonts, the recycle bin and
// the backup, and the system list's export and delete.

#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "app/WorkingFolders.h"
#include "collections/FontFolders.h"
#include "collections/RecycleBin.h"
#include "fonts/DisplayNameCache.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"
#include "platform/Files.h"

namespace glyphwell::cli {
namespace {

using app::ProgramState;
namespace fs = std::filesystem;

constexpr const char* kFolderUsage =
    "folder downloads|bin|backup\n"
    "                           list a collection: file name, tab, display name, a line each";
constexpr const char* kRecycleUsage =
    "recycle NAME             move the installed font NAME into the recycle bin";
constexpr const char* kRestoreUsage =
    "restore bin|backup FILE...\n"
    "                           install files of the recycle bin (taking them out of it) or of\n"
    "                           the backup";
constexpr const char* kPurgeUsage = "purge FILE...            delete files of the recycle bin";
constexpr const char* kBackupUsage =
    "backup                   copy every installed font file into the backup; prints how many";
constexpr const char* kExportUsage =
    "export NAME DIR          copy the installed font NAME's file into DIR";
constexpr const char* kReinstallUsage =
    "reinstall FILE...        install downloaded font files again";
constexpr const char* kRemoveDownloadedUsage =
    "remove-downloaded FILE...\n"
    "                           uninstall downloaded fonts and move their files into the\n"
    "                           recycle bin";

// Tells what was kept and why; the exit code of the operation.
int Report(const collections::CollectionOutcome& outcome) {
    for (const collections::KeptFile& kept : outcome.Kept) {
        std::fprintf(stderr, "glyphwell-cli: %s: %s\n", kept.Name.c_str(), kept.Reason.c_str());
    }
    return outcome.Kept.empty() ? 0 : 1;
}

// The same for an operation on one installed font, which does nothing and keeps nothing when
// no font has that name.
int ReportOnFont(const std::string& name, const collections::CollectionOutcome& outcome) {
    if (outcome.Done == 0 && outcome.Kept.empty()) {
        std::fprintf(stderr, "glyphwell-cli: no installed font named %s\n", name.c_str());
        return 1;
    }
    return Report(outcome);
}

// The installed fonts as a command that changes them sees them: repaired first.
struct Fonts {
    fonts::FontconfigFontSystem system;
    fonts::FontRegistry registry{system, fonts::UserDisplayNameCache()};
    explicit Fonts(const ProgramState& state) {
        RepairLeftovers(state, system);
        registry.LoadFontTable();
    }
};

int ListFolder(ProgramState& state, const Arguments& arguments) {
    if (arguments.size() != 1) {
        return PrintUsage(kFolderUsage);
    }
    fs::path folder;
    if (arguments[0] == "downloads") {
        folder = app::DownloadFolder(state.runDirectory);
    } else if (arguments[0] == "bin") {
        folder = app::RecycleBinFolder(state.runDirectory);
    } else if (arguments[0] == "backup") {
        folder = app::BackupFolder(state.runDirectory);
    } else {
        return PrintUsage(kFolderUsage);
    }
    if (!platform::FolderExists(folder)) {
        std::fprintf(stderr, "glyphwell-cli: %s: %s\n", platform::PathToUtf8(folder).c_str(),
                     platform::KindOf(folder) == platform::EntryKind::kMissing ? "文件夹不存在"
                                                                               : "不是文件夹");
        return 1;
    }
    for (const collections::FolderFont& font : collections::FontFolderListing(folder)) {
        std::printf("%s\t%s\n", font.FileName.c_str(), font.DisplayName.c_str());
    }
    return 0;
}

int Recycle(ProgramState& state, const Arguments& arguments) {
    if (arguments.size() != 1 || arguments[0].empty()) {
        return PrintUsage(kRecycleUsage);
    }
    Fonts fonts(state);
    const collections::CollectionOutcome outcome = collections::MoveFontToRecycleBin(
        fonts.registry, arguments[0], app::RecycleBinFolder(state.runDirectory));
    if (outcome.Done > 0) {
        fonts.system.AnnounceFontChange();
    }
    return ReportOnFont(arguments[0], outcome);
}

int Restore(ProgramState& state, const Arguments& arguments) {
    if (arguments.size() < 2 || (arguments[0] != "bin" && arguments[0] != "backup")) {
        return PrintUsage(kRestoreUsage);
    }
    const collections::CheckedFiles files({arguments.begin() + 1, arguments.end()});
    fonts::FontconfigFontSystem system;
    RepairLeftovers(state, system);
    const collections::CollectionOutcome outcome =
        arguments[0] == "bin" ? collections::RestoreRecycledFonts(
                                    system, app::RecycleBinFolder(state.runDirectory), files, {})
                              : collections::RestoreBackedUpFonts(
                                    system, app::BackupFolder(state.runDirectory), files, {});
    system.AnnounceFontChange();
    return Report(outcome);
}

int Purge(ProgramState& state, const Arguments& arguments) {
    if (arguments.empty()) {
        return PrintUsage(kPurgeUsage);
    }
    fonts::FontconfigFontSystem system;
    RepairLeftovers(state, system);
    return Report(collections::PurgeRecycledFonts(system, app::RecycleBinFolder(state.runDirectory),
                                                  collections::CheckedFiles(arguments), {}));
}

int Backup(ProgramState& state, const Arguments& arguments) {
    if (!arguments.empty()) {
        return PrintUsage(kBackupUsage);
    }
    // The installed files only: no font table, no names.
    fonts::FontconfigFontSystem system;
    RepairLeftovers(state, system);
    const collections::CollectionOutcome outcome =
        collections::BackupInstalledFonts(system, app::BackupFolder(state.runDirectory), {});
    std::printf("%d\n", outcome.Done);
    return Report(outcome);
}

int Export(ProgramState& state, const Arguments& arguments) {
    if (arguments.size() != 2 || arguments[0].empty() || arguments[1].empty()) {
        return PrintUsage(kExportUsage);
    }
    Fonts fonts(state);
    return ReportOnFont(arguments[0],
                        collections::ExportFontFile(fonts.registry, arguments[0],
                                                    platform::PathFromUtf8(arguments[1])));
}

int Reinstall(ProgramState& state, const Arguments& arguments) {
    if (arguments.empty()) {
        return PrintUsage(kReinstallUsage);
    }
    fonts::FontconfigFontSystem system;
    RepairLeftovers(state, system);
    const collections::CollectionOutcome outcome = collections::ReinstallDownloadedFonts(
        system, app::DownloadFolder(state.runDirectory), collections::CheckedFiles(arguments), {});
    system.AnnounceFontChange();
    return Report(outcome);
}

int RemoveDownloaded(ProgramState& state, const Arguments& arguments) {
    if (arguments.empty()) {
        return PrintUsage(kRemoveDownloadedUsage);
    }
    Fonts fonts(state);
    const collections::CollectionOutcome outcome = collections::UninstallDownloadedFonts(
        fonts.registry, app::DownloadFolder(state.runDirectory),
        app::RecycleBinFolder(state.runDirectory), collections::CheckedFiles(arguments));
    fonts.system.AnnounceFontChange();
    return Report(outcome);
}

}  // namespace

void RepairLeftovers(const ProgramState& state, fonts::FontSystem& system) {
    collections::RepairAfterInterruption(
        system, {state.runDirectory, app::DownloadFolder(state.runDirectory),
                 app::RecycleBinFolder(state.runDirectory), app::BackupFolder(state.runDirectory)});
}

std::vector<Command> CollectionCommands() {
    return {
        {"folder", kFolderUsage, ListFolder},
        {"recycle", kRecycleUsage, Recycle},
        {"restore", kRestoreUsage, Restore},
        {"purge", kPurgeUsage, Purge},
        {"backup", kBackupUsage, Backup},
        {"export", kExportUsage, Export},
        {"reinstall", kReinstallUsage, Reinstall},
        {"remove-downloaded", kRemoveDownloadedUsage, RemoveDownloaded},
    };
}

}  // namespace glyphwell::cli
