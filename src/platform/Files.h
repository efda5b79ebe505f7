#pragma once
// The file operations the program needs, with the results its callers expect: plain success
// flags, no exceptions.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace glyphwell::platform {

bool FileExists(const std::filesystem::path& path);
bool FolderExists(const std::filesystem::path& path);

// Creates one folder; true when it exists afterwards.
bool CreateFolder(const std::filesystem::path& path);

// The names of the regular files directly in `folder` (hidden ones included; sub-folders, links
// and other entries skipped), in byte order of their names. Empty when the folder cannot be
// read.
std::vector<std::string> ListFiles(const std::filesystem::path& folder);

// Copies `from` to `to`, replacing `to` when `overwrite` is set. The copy goes to a temporary
// file beside `to` and onto the disk first, so a failed copy or a crash never leaves a torn
// target nor costs the file it replaces. `error`, when given, says why a copy failed.
bool CopyFile(const std::filesystem::path& from, const std::filesystem::path& to, bool overwrite,
              std::error_code* error = nullptr);

bool DeleteFile(const std::filesystem::path& path);

// Read-only means the owner's write permission bit is clear.
bool IsReadOnly(const std::filesystem::path& path);
bool SetReadOnly(const std::filesystem::path& path, bool readOnly);

// The file's creation time in nanoseconds since the epoch: the birth time where the file system
// keeps one, else the modification time. None when the file cannot be examined.
std::optional<std::int64_t> CreationTime(const std::filesystem::path& path);

std::optional<std::int64_t> FileSize(const std::filesystem::path& path);

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// The whole of a regular file of at most `maxBytes`; none for anything else (a folder, a pipe,
// a device, a larger file) or when it cannot be read. Never blocks on a special file.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// A fresh name in the folder of `target` for a file that later takes its place or goes:
// "." + the target's name + "." + 16 random hex digits + ".tmp". The leading dot keeps it out
// of every font listing (fontconfig skips dot files).
std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target);
// True when `name` is a name TemporaryPathBeside gives (or earlier versions gave, without the
// dot) for a target named `targetName`: the leftover of a write killed before its rename.
bool IsTemporaryNameFor(std::string_view name, std::string_view targetName);
// The same for any target.
bool IsTemporaryName(std::string_view name);

// Deletes the leftovers of killed writes directly in `folder`: regular files with a temporary
// name (or one that starts with any of `prefixes`) that no running writer holds. Returns how
// many went.
int RemoveLeftoverTemporaryFiles(const std::filesystem::path& folder,
                                 const std::vector<std::string>& prefixes = {});
// Only the leftovers of writes of `target`: for a folder that is not the program's own.
int RemoveLeftoverTemporaryFilesOf(const std::filesystem::path& target);

// Writes `bytes` to a temporary file beside `path`, then renames it over `path`. `error`, when
// given, says why it failed.
bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes,
                    std::error_code* error = nullptr);

// True when `name` is one plain file name inside a folder: not empty, "." or "..", and no '/',
// NUL or other control character. For names that come from outside.
bool IsPlainFileName(std::string_view name);

// Creates `path`, which must not exist yet, with `bytes` and flushes it to disk before
// returning. On failure nothing is left at `path`.
bool WriteNewFileDurably(const std::filesystem::path& path, std::string_view bytes,
                         std::error_code* error = nullptr);

// Renames `from` over `to` in one step (both in one folder) and flushes the folder, so that `to`
// is the old file or the new one whole, never a mix, whenever the process ends. `error`, when
// given, says why the rename failed.
bool MoveFileOver(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::error_code* error = nullptr);

// Renames `from` to `to` (both in one folder, or on one file system) only when nothing has the
// name `to`; false with file_exists when something does. The folder is flushed.
bool MoveFileNoReplace(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code* error = nullptr);

// What a folder entry is, the entry itself (a link is a link, wherever it points).
enum class EntryKind { kMissing, kRegularFile, kLink, kFolder, kOther };
EntryKind KindOf(const std::filesystem::path& path);

// True when both regular files hold the same bytes.
bool SameContents(const std::filesystem::path& a, const std::filesystem::path& b);

// A text that changes whenever any of `paths` is created, replaced, written or deleted (its
// modification time to the nanosecond, size and inode; a folder's changes with its entries).
std::string ModificationStamp(const std::vector<std::filesystem::path>& paths);

// Why a write failed, in the words the user reads: "磁盘空间不足", "没有写入权限", ...
std::string WriteErrorText(const std::error_code& error);

// A UTF-8 file name as a path, and back.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace glyphwell::platform
