#include "fonts/DisplayNameCache.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <unordered_set>

#include "fonts/FontDisplayName.h"
#include "platform/Files.h"
#include "platform/RunDirectory.h"
#include "platform/Text.h"
#include "platform/WorkerThreads.h"

namespace glyphwell::fonts {
namespace {

// Layout, all numbers little-endian:
//   header: magic (8 bytes), version (u32), record count (u32), body size (u64),
//           FNV-1a 64 of the body (u64)
//   record: device, inode (u64), size, modified, changed (i64), path size, name size (u32),
//           path bytes, name bytes
constexpr std::string_view kMagic = "GWDNAMES";
constexpr std::size_t kHeaderBytes = 8 + 4 + 4 + 8 + 8;
constexpr std::size_t kRecordFixedBytes = 5 * 8 + 2 * 4;

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

void PutNumber(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// Reads numbers and byte runs off the front of a text, failing once anything runs short.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    bool Number(std::uint64_t& value, int bytes) {
        if (rest_.size() < static_cast<std::size_t>(bytes)) {
            return false;
        }
        value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(rest_[i])) << (8 * i);
        }
        rest_.remove_prefix(static_cast<std::size_t>(bytes));
        return true;
    }
    bool Signed(std::int64_t& value) {
        std::uint64_t bits = 0;
        if (!Number(bits, 8)) {
            return false;
        }
        value = static_cast<std::int64_t>(bits);
        return true;
    }
    bool Bytes(std::string_view& out, std::size_t size) {
        if (rest_.size() < size) {
            return false;
        }
        out = rest_.substr(0, size);
        rest_.remove_prefix(size);
        return true;
    }
    bool AtEnd() const { return rest_.empty(); }

  private:
    std::string_view rest_;
};

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::int64_t>(info.st_size), Nanoseconds(info.st_mtim),
                        Nanoseconds(info.st_ctim)};
}

bool HasSettled(const FileIdentity& identity, std::chrono::nanoseconds settleTime) {
    // File times come from the coarse clock, so a change after now is stamped later than now.
    // Every change moves the change time; the modification time can be set at will.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return identity.changed < Nanoseconds(now) - settleTime.count();
}

std::vector<std::optional<FileIdentity>> IdentifyFiles(const std::vector<std::string>& paths) {
    std::vector<std::optional<FileIdentity>> identities(paths.size());
    const auto identify = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) {
            identities[k] = IdentifyFile(paths[k]);
        }
    };
    constexpr std::size_t kWorthASecondThread = 512;
    const std::size_t half = paths.size() / 2;
    if (paths.size() < kWorthASecondThread) {
        identify(0, paths.size());
    } else {
        platform::RunAlongside([&] { identify(half, paths.size()); }, [&] { identify(0, half); });
    }
    return identities;
}

std::string SerialiseDisplayNames(const std::vector<CachedName>& names) {
    std::string body;
    for (const CachedName& each : names) {
        PutNumber(body, each.identity.device, 8);
        PutNumber(body, each.identity.inode, 8);
        PutNumber(body, static_cast<std::uint64_t>(each.identity.size), 8);
        PutNumber(body, static_cast<std::uint64_t>(each.identity.modified), 8);
        PutNumber(body, static_cast<std::uint64_t>(each.identity.changed), 8);
        PutNumber(body, each.path.size(), 4);
        PutNumber(body, each.name.size(), 4);
        body += each.path;
        body += each.name;
    }
    std::string out(kMagic);
    PutNumber(out, kDisplayNameCacheVersion, 4);
    PutNumber(out, names.size(), 4);
    PutNumber(out, body.size(), 8);
    PutNumber(out, Fnv1a(body), 8);
    return out + body;
}

std::optional<std::vector<CachedName>> ParseDisplayNames(std::string_view bytes) {
    if (bytes.size() > kDisplayNameCacheMaxBytes || bytes.size() < kHeaderBytes ||
        bytes.substr(0, kMagic.size()) != kMagic) {
        return std::nullopt;
    }
    Reader header(bytes.substr(kMagic.size(), kHeaderBytes - kMagic.size()));
    std::uint64_t version = 0;
    std::uint64_t count = 0;
    std::uint64_t bodySize = 0;
    std::uint64_t checksum = 0;
    header.Number(version, 4);
    header.Number(count, 4);
    header.Number(bodySize, 8);
    header.Number(checksum, 8);
    const std::string_view body = bytes.substr(kHeaderBytes);
    if (version != kDisplayNameCacheVersion || bodySize != body.size() ||
        count > body.size() / kRecordFixedBytes || Fnv1a(body) != checksum) {
        return std::nullopt;
    }
    std::vector<CachedName> names;
    names.reserve(static_cast<std::size_t>(count));
    std::unordered_set<std::string_view> paths;
    paths.reserve(static_cast<std::size_t>(count));
    Reader reader(body);
    for (std::uint64_t k = 0; k < count; ++k) {
        CachedName each;
        std::uint64_t pathSize = 0;
        std::uint64_t nameSize = 0;
        std::string_view path;
        std::string_view name;
        if (!reader.Number(each.identity.device, 8) || !reader.Number(each.identity.inode, 8) ||
            !reader.Signed(each.identity.size) || !reader.Signed(each.identity.modified) ||
            !reader.Signed(each.identity.changed) || !reader.Number(pathSize, 4) ||
            !reader.Number(nameSize, 4) || pathSize == 0 || pathSize > kCachedPathMaxBytes ||
            nameSize > kCachedNameMaxBytes || !reader.Bytes(path, pathSize) ||
            !reader.Bytes(name, nameSize)) {
            return std::nullopt;
        }
        // Only what a load could have written: an absolute path of one file, named once, and
        // a name that is text and holds no zero.
        if (each.identity.size < 0 || path.front() != '/' ||
            path.find('\0') != std::string_view::npos ||
            name.find('\0') != std::string_view::npos || !platform::IsValidUtf8(name) ||
            !paths.insert(path).second) {
            return std::nullopt;
        }
        each.path = path;
        each.name = name;
        names.push_back(std::move(each));
    }
    if (!reader.AtEnd()) {
        return std::nullopt;
    }
    return names;
}

std::filesystem::path DefaultDisplayNameCacheFile() {
    return platform::UserCacheHome() / "glyphwell" / "display-names";
}

DisplayNameCache::DisplayNameCache(std::filesystem::path file, std::chrono::nanoseconds settleTime)
    : file_(std::move(file)), settleTime_(settleTime) {}

void DisplayNameCache::ReadFile() {
    std::lock_guard lock(mutex_);
    ReadFileOnce();
}

void DisplayNameCache::ReadFileOnce() {
    if (fileRead_) {
        return;
    }
    fileRead_ = true;
    if (file_.empty()) {
        return;
    }
    std::optional<std::string> bytes = platform::ReadRegularFile(file_, kDisplayNameCacheMaxBytes);
    std::optional<std::vector<CachedName>> names = bytes ? ParseDisplayNames(*bytes) : std::nullopt;
    if (!names) {
        dirty_ = true;  // written anew after the load
        return;
    }
    names_.reserve(names->size());
    for (CachedName& each : *names) {
        names_.emplace(std::move(each.path), Known{each.identity, std::move(each.name)});
    }
}

std::string DisplayNameCache::Name(const std::string& path,
                                   const std::optional<FileIdentity>& identity) {
    if (!identity) {
        return {};  // gone, or not a regular file: no name, as reading it would give
    }
    {
        std::lock_guard lock(mutex_);
        ReadFileOnce();
        const auto found = names_.find(path);
        if (found != names_.end() && found->second.identity == *identity) {
            return found->second.name;
        }
    }
    std::string name = ReadFaceNameFromFile(path);
    std::lock_guard lock(mutex_);
    if (HasSettled(*identity, settleTime_)) {
        names_.insert_or_assign(path, Known{*identity, name});
        dirty_ = true;
    } else if (names_.erase(path) > 0) {
        dirty_ = true;
    }
    return name;
}

void DisplayNameCache::EndLoad(const std::vector<std::string>& paths) {
    std::lock_guard lock(mutex_);
    ReadFileOnce();  // a load without fonts still prunes the file
    const bool allKnown = std::all_of(paths.begin(), paths.end(), [this](const std::string& path) {
        return names_.contains(path);
    });
    if (!allKnown || paths.size() != names_.size()) {
        // Names of files that are no longer installed go, and so do unsettled files'.
        std::unordered_map<std::string, Known> kept;
        kept.reserve(paths.size());
        for (const std::string& path : paths) {
            if (const auto found = names_.find(path); found != names_.end()) {
                kept.emplace(path, found->second);
            }
        }
        dirty_ = dirty_ || kept.size() != names_.size();
        names_ = std::move(kept);
    }
    if (file_.empty() || !dirty_) {
        return;
    }
    std::vector<CachedName> names;
    names.reserve(names_.size());
    for (const auto& [path, known] : names_) {
        names.push_back({path, known.identity, known.name});
    }
    std::sort(names.begin(), names.end(),
              [](const CachedName& a, const CachedName& b) { return a.path < b.path; });
    std::error_code ignored;
    std::filesystem::create_directories(file_.parent_path(), ignored);
    if (platform::WriteWholeFile(file_, SerialiseDisplayNames(names))) {
        dirty_ = false;
    }
}

std::unique_ptr<DisplayNameCache> UserDisplayNameCache() {
    return std::make_unique<DisplayNameCache>(DefaultDisplayNameCacheFile());
}

}  // namespace glyphwell::fonts
