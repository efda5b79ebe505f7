#pragma once
// The font recycle bin: installed fonts go in with their files kept, come back out installed,
// or are deleted for good. It never overwrites a file: a name that is taken gets a free variant
// ("font (2).ttf"). Only files the program put into the Fonts folder are ever deleted or moved;
// a font anywhere else is hidden for this user and its file left alone (its copy still goes
// into the bin, and restoring the copy shows the font again).

#include <filesystem>
#include <string>

#include "collections/FontFolders.h"
#include "fonts/FontRegistry.h"

namespace glyphwell::collections {

// What happens when the font cannot be taken out of the running fonts.
enum class IfStillRunning {
    kKeepInstalled,     // the copy is dropped, the font stays as it was
    kKeepCopy,          // the copy stays, and so does the installed font
    kRemoveFileAnyway,  // the copy stays, and the installed file (when ours) is deleted
};

// The name of the copy in the bin, before a taken name is varied.
enum class BinCopyName {
    kFileName,            // the installed file's own name
    kDisplayNameWithTtf,  // display name + ".ttf" (the file's own name when not plain)
};

struct RecyclePolicy {
    BinCopyName copyName;
    IfStillRunning ifStillRunning;
};

// "删除字体" in the installed list's menu, "卸载" of the ticked fonts, "删除字体" in the search
// results' menu.
inline constexpr RecyclePolicy kDeleteFromList{BinCopyName::kFileName,
                                               IfStillRunning::kRemoveFileAnyway};
inline constexpr RecyclePolicy kUninstallTicked{BinCopyName::kFileName,
                                                IfStillRunning::kKeepInstalled};
inline constexpr RecyclePolicy kDeleteSearchResult{BinCopyName::kDisplayNameWithTtf,
                                                   IfStillRunning::kKeepCopy};

// `wanted` in `folder` when no entry has that name, else "stem (k)" + extension with the
// smallest free k from 2.
std::filesystem::path FreeNameIn(const std::filesystem::path& folder, const std::string& wanted);

// Copies `from` into `folder` under the free variant of `wanted`, claimed without replacing
// anything even when another process picks names at the same time. The copy's path, or none
// with `reason` set.
std::optional<std::filesystem::path> CopyUnderFreeName(const std::filesystem::path& from,
                                                       const std::filesystem::path& folder,
                                                       const std::string& wanted,
                                                       std::string& reason);

// Moves `file` (a regular file in one of the program's folders) into `folder` under a free
// variant of its name; copied and deleted when the two are on different file systems.
std::optional<std::filesystem::path> MoveUnderFreeName(const std::filesystem::path& file,
                                                       const std::filesystem::path& folder,
                                                       std::string& reason);

// The installed font `displayName` into the bin: its file copied in whole first, then the font
// uninstalled, then its file deleted when it is the program's. A kill at any step leaves the
// font installed, or its whole copy in the bin (see RepairAfterInterruption). Nothing happens
// for an empty or unknown name (Done 0, nothing kept).
CollectionOutcome RecycleInstalledFont(fonts::FontRegistry& registry,
                                       const std::string& displayName,
                                       const std::filesystem::path& recycleBin,
                                       const RecyclePolicy& policy);

// "删除字体" of the installed list's menu.
inline CollectionOutcome MoveFontToRecycleBin(fonts::FontRegistry& registry,
                                              const std::string& displayName,
                                              const std::filesystem::path& recycleBin) {
    return RecycleInstalledFont(registry, displayName, recycleBin, kDeleteFromList);
}

// "还原" in the bin: each checked file installed under its own name and, once its copy in the
// Fonts folder is whole, taken out of the bin; a file whose install fails stays in the bin. A
// copy of a hidden font outside the Fonts folder shows that font again instead. Links and other
// entries that are not regular files are refused.
CollectionOutcome RestoreRecycledFonts(fonts::FontSystem& system,
                                       const std::filesystem::path& recycleBin,
                                       const FolderRows& rows, const ProgressHook& progress);

// "清空": each checked entry deleted (a link itself, never what it points to).
CollectionOutcome PurgeRecycledFonts(fonts::FontSystem& system,
                                     const std::filesystem::path& recycleBin,
                                     const FolderRows& rows, const ProgressHook& progress);

// The program's own folders, where its leftovers may lie.
struct ProgramFolders {
    std::filesystem::path runDirectory;
    std::filesystem::path downloads;
    std::filesystem::path recycleBin;
    std::filesystem::path backup;
};

// Run at every start of the window and of every command that writes, under the write lock:
// deletes the program's own leftovers of killed writes (temporary names, in its own folders
// only), finishes a move into the bin that was killed after the font was hidden (its file, of
// ours, is deleted once its whole copy is found in the bin, and the records of files that are
// gone are dropped then). Returns how many files went.
int RepairAfterInterruption(fonts::FontSystem& system, const ProgramFolders& folders);

}  // namespace glyphwell::collections
