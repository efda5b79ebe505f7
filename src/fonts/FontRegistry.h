#pragma once
// The table of installed fonts, keyed by display name, and the primitives that change the
// installed fonts.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "fonts/DisplayNameCache.h"
#include "fonts/FontSystem.h"

namespace glyphwell::fonts {

struct FontEntry {
    std::string DisplayName;
    std::string FilePath;
    std::string ValueName;
};

inline constexpr int kInstalledMark = 3;
inline constexpr int kNotInstalledMark = 1;

// Read from the loader, the UI and download workers at once: a reload swaps the whole table
// under the exclusive lock, so readers see the old table or the new one, never a mix.
class FontRegistry {
  public:
    // `names` keeps display names between loads (and runs, when it has a file); by default
    // they are kept for this process only.
    explicit FontRegistry(FontSystem& system, std::unique_ptr<DisplayNameCache> names = {});

    void LoadFontTable();
    // True when a place where fonts are installed or recorded changed since the last load (the
    // program's own changes are seen by the load that follows them).
    bool ChangedSinceLoad() const;
    // Changes with every load, so readers know when what they derived from the table is old.
    // Sorts in place keep it: they change the order, not the entries.
    std::uint64_t Generation() const { return generation_.load(); }

    // 1-based position of the entry named exactly `displayName`; 0 when none.
    int FindFontEntry(std::string_view displayName) const;
    int InstalledMark(std::string_view displayName) const;
    // The entry named exactly `displayName`, looked up and copied under one lock, so a reload
    // by another thread cannot put another font in its place; none when there is no such entry.
    std::optional<FontEntry> FindEntry(std::string_view displayName) const;

    int Count() const;
    // Position n is 1-based; out of range gives an empty text.
    std::string DisplayName(int n) const;
    std::string FilePath(int n) const;
    std::string ValueName(int n) const;
    FontEntry Entry(int n) const;

    // The display names in table order.
    std::vector<std::string> DisplayNames() const;

    // Runs `change` on the table with every reader and reload held off (in-place sorts).
    void WithTable(const std::function<void(std::vector<FontEntry>&)>& change);

    FontSystem& System() const { return system_; }

  private:
    FontSystem& system_;
    std::unique_ptr<DisplayNameCache> names_;
    mutable std::shared_mutex mutex_;
    std::vector<FontEntry> entries_;
    std::atomic<std::uint64_t> generation_{0};
    std::string stampAtLoad_;  // under mutex_
};

// The file name InstallFont gives the copy of `sourcePath`: `targetName` with its spaces
// removed, or the source's own file name when that is empty. Empty when the name is refused:
// it must be one plain file name (not "." or "..", no '/', at most 200 bytes) in UTF-8, not
// starting with "." (fontconfig would never list it), that the system does not keep for
// itself. A given name, which may come from the network, must also hold no control character
// and no '*' or '?' (the reject rules match file names as globs); the source's own name is a
// real file's and stays as it is. `reason`, when given, says why a name is refused.
std::string InstallTargetName(FontSystem& system, const std::string& sourcePath,
                              const std::string& targetName, std::string* reason = nullptr);

// Copies the font into the Fonts folder, adds it and records it. `targetName` (in/out) is the
// copy's file name, spaces removed, or empty for the source's own file name. 1 when the font
// was installed, 0 when the source yields no display name, the name is refused (see
// InstallTargetName), or the copy or its record could not be written; `failure`, when given,
// then says why in the words the user reads. Holds the system's write lock.
int InstallFont(FontSystem& system, const std::string& sourcePath, std::string& targetName,
                std::string* failure = nullptr);

// Takes entry n (1-based) out of the running fonts and deletes its value; false when the font
// was not in the running fonts or its records could not be written (then it stays as it was,
// and `writeError`, when given, says why). The file stays.
bool UninstallFont(const FontRegistry& registry, int n, std::error_code* writeError = nullptr);
// The same for an entry already read from the table.
bool UninstallFont(FontSystem& system, const FontEntry& entry,
                   std::error_code* writeError = nullptr);

// Takes the file out of the running fonts once more; on true every program has been told.
bool ReleaseFontFile(FontSystem& system, const std::string& filePath);

// The start-up loader's font-table step: loads the table and returns its names in order.
std::function<std::vector<std::string>()> LoadFontTableStep(FontRegistry& registry);

}  // namespace glyphwell::fonts
