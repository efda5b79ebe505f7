#pragma once
// The three local collections: the downloaded fonts, the recycle bin and the backup. Each is a
// plain folder of font files; a list of it is its font files with their display names. The
// operations work on rows read when they are reached, so a page may let the window work between
// rows and a list may change under them.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fonts/FontRegistry.h"

namespace glyphwell::collections {

struct FolderFont {
    std::string FileName;     // inside the folder, no path
    std::string DisplayName;  // never empty
};

// The font files directly in `folder`: regular files (not links), hidden ones included, that
// yield a display name; sub-folders, other files and the leftovers of killed writes are left
// out. Empty when the folder cannot be read.
std::vector<FolderFont> FontFolderListing(const std::filesystem::path& folder);

struct FolderRow {
    std::string FileName;
    std::string DisplayName;
    bool Checked = false;
};

// A list as the operations read it. A row outside the list reads as unchecked.
class FolderRows {
  public:
    virtual ~FolderRows() = default;
    virtual int RowCount() const = 0;
    virtual FolderRow Row(int row) const = 0;
};

// Fixed rows, every one checked: the command line's file arguments.
class CheckedFiles : public FolderRows {
  public:
    explicit CheckedFiles(std::vector<std::string> fileNames) : fileNames_(std::move(fileNames)) {}
    int RowCount() const override { return static_cast<int>(fileNames_.size()); }
    FolderRow Row(int row) const override;

  private:
    std::vector<std::string> fileNames_;
};

// Rows read once, as they were when the operation started: what work off the interface thread
// reads instead of a grid.
class FixedRows : public FolderRows {
  public:
    explicit FixedRows(std::vector<FolderRow> rows) : rows_(std::move(rows)) {}
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    FolderRow Row(int row) const override {
        return row >= 0 && row < RowCount() ? rows_[static_cast<std::size_t>(row)] : FolderRow{};
    }

  private:
    std::vector<FolderRow> rows_;
};

struct KeptFile {
    std::string Name;    // a file name in the folder, or a font's display name
    std::string Reason;  // in the words the user reads
};

struct CollectionOutcome {
    int Done = 0;                // files copied, installed or removed as asked
    std::vector<KeptFile> Kept;  // files left where they were, or not copied, and why
};

// True when `to` is a complete copy of `from` (as long as its source), written under a
// temporary name, flushed and renamed into place. `reason` (when given) says why not.
bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to,
               std::string* reason = nullptr);

// The row's file in `folder` when it is a plain name of a regular file there (never a link);
// else none, with `reason` set.
std::optional<std::filesystem::path> RegularFileInFolder(const std::filesystem::path& folder,
                                                         const std::string& fileName,
                                                         std::string& reason);

// Told before or after each row as its operation defines; may let the window process events.
using ProgressHook = std::function<void(int percent)>;

// Each checked row from the first to the count read now (rows may go meanwhile), with the
// progress i / rows told before row i.
void ForEachCheckedRow(const FolderRows& rows, const ProgressHook& progress,
                       const std::function<void(const FolderRow&)>& action);

// i of `count` as a whole percentage: i / count x 100 in floating point, truncated toward zero;
// 100 when the count has dropped to 0.
int ProgressPercent(int i, int count);

// "卸载" on the downloaded fonts: each checked row's font is uninstalled when the installed font
// of its display name was installed from that file (the installed file stays, hidden), and the
// row's file goes into the recycle bin, from where "还原" brings the font back.
CollectionOutcome UninstallDownloadedFonts(fonts::FontRegistry& registry,
                                           const std::filesystem::path& downloadFolder,
                                           const std::filesystem::path& recycleBin,
                                           const FolderRows& rows);

// "重装": installs each checked row's file under its own name. Progress i / rows before row i.
CollectionOutcome ReinstallDownloadedFonts(fonts::FontSystem& system,
                                           const std::filesystem::path& downloadFolder,
                                           const FolderRows& rows, const ProgressHook& progress);

// "一键备份": every installed font file (each style's file too) copied into the backup under its
// file's name, replacing an older copy of that name only once the new one is whole. Progress
// i / files after each.
CollectionOutcome BackupInstalledFonts(fonts::FontSystem& system,
                                       const std::filesystem::path& backupFolder,
                                       const ProgressHook& progress);

// "一键还原": each checked file installed under its own name; it stays in the backup. Progress
// (i - 1) / rows after row i.
CollectionOutcome RestoreBackedUpFonts(fonts::FontSystem& system,
                                       const std::filesystem::path& backupFolder,
                                       const FolderRows& rows, const ProgressHook& progress);

// "导出字体文件": the installed font `displayName`'s file copied into `folder` under its own
// name. Nothing happens for an empty or unknown name (Done stays 0, nothing kept).
CollectionOutcome ExportFontFile(const fonts::FontRegistry& registry,
                                 const std::string& displayName,
                                 const std::filesystem::path& folder);

}  // namespace glyphwell::collections
