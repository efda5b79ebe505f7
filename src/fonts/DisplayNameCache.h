#pragma once
// Display names kept between runs. Naming every installed file means opening it, which with
// thousands of fonts takes seconds, so the names of the last load are written to a file of
// our own beside fontconfig's cache and read back whole on the next start. A name is used
// only while its file is the same file, unchanged: same path, device, inode, size,
// modification and change time; any other file is read again.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace glyphwell::fonts {

// What tells one state of a file from another.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch
    std::int64_t changed = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the regular file at `path` (symbolic links followed); none for anything
// else or a file that cannot be examined.
std::optional<FileIdentity> IdentifyFile(const std::string& path);
// The identities of many files, in their order. Each look-up is a system call that mostly
// waits, so half of them run on a second thread.
std::vector<std::optional<FileIdentity>> IdentifyFiles(const std::vector<std::string>& paths);

// Changes younger than this are not trusted to show in a file's times: a file changed twice
// within the file system's time step would keep its identity.
inline constexpr std::chrono::milliseconds kSettleTime{2000};

// True when the file's last change lies at least `settleTime` in the past, so that any later
// change gives it another identity.
bool HasSettled(const FileIdentity& identity, std::chrono::nanoseconds settleTime = kSettleTime);

struct CachedName {
    std::string path;
    FileIdentity identity;
    std::string name;  // empty: the file yields no display name
    bool operator==(const CachedName&) const = default;
};

// The cache file's layout. Bump the version whenever the layout or the way names are read
// from font files changes: a file of another version is ignored and written anew.
inline constexpr std::uint32_t kDisplayNameCacheVersion = 1;
// Far above what any collection needs (about 130 bytes a font), so a damaged or planted file
// cannot make us read without end.
inline constexpr std::size_t kDisplayNameCacheMaxBytes = 64u << 20;
inline constexpr std::size_t kCachedPathMaxBytes = 4096;
// A display name is at most 100 GBK bytes, which is at most 400 UTF-8 bytes.
inline constexpr std::size_t kCachedNameMaxBytes = 400;

std::string SerialiseDisplayNames(const std::vector<CachedName>& names);
// The names a cache file holds; none when it is damaged in any way, of another version, or
// breaks a cap.
std::optional<std::vector<CachedName>> ParseDisplayNames(std::string_view bytes);

// $XDG_CACHE_HOME/glyphwell/display-names.
std::filesystem::path DefaultDisplayNameCacheFile();

// Shared by every table load of the process; loads on different threads may use it at once.
class DisplayNameCache {
  public:
    // `file` empty: names are kept for this process only. A file that has not settled is
    // read again until it has.
    explicit DisplayNameCache(std::filesystem::path file = {},
                              std::chrono::nanoseconds settleTime = kSettleTime);

    // The display name of the font file at `path` (absolute): from the cache when the file is
    // still the one named there, else read from the file. `identity` is the file's, taken
    // before anything is read. The first call reads the cache file.
    std::string Name(const std::string& path, const std::optional<FileIdentity>& identity);

    // Reads the cache file unless it has been read; Name does so on its first call.
    void ReadFile();

    // After a load: keeps the names of exactly the files the load named (those that have
    // settled), and writes them out when they differ from what the cache file holds.
    void EndLoad(const std::vector<std::string>& paths);

    // The file the cache is kept in (empty: none).
    const std::filesystem::path& File() const { return file_; }

  private:
    struct Known {
        FileIdentity identity;
        std::string name;
    };
    void ReadFileOnce();  // expects mutex_ held

    std::filesystem::path file_;
    std::chrono::nanoseconds settleTime_;
    std::mutex mutex_;
    bool fileRead_ = false;
    // The names differ from what the cache file holds, as far as this process knows.
    bool dirty_ = false;
    std::unordered_map<std::string, Known> names_;
};

// The cache in DefaultDisplayNameCacheFile(), which the programs share.
std::unique_ptr<DisplayNameCache> UserDisplayNameCache();

}  // namespace glyphwell::fonts
