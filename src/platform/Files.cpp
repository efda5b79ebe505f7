#include "platform/Files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

#include "platform/Text.h"

namespace glyphwell::platform {
namespace fs = std::filesystem;

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

fs::path TemporaryPathBeside(const fs::path& target) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
    fs::path temporary = target;
    temporary.replace_filename("." + target.filename().string() + suffix);
    return temporary;
}

namespace {

constexpr std::size_t kTemporarySuffixBytes = 1 + 16 + 4;  // "." + 16 hex digits + ".tmp"

// The target name inside a temporary name, with its leading dot if any; none for another name.
std::optional<std::string_view> TemporaryTarget(std::string_view name) {
    if (name.size() <= kTemporarySuffixBytes || !name.ends_with(".tmp")) {
        return std::nullopt;
    }
    const std::size_t dot = name.size() - kTemporarySuffixBytes;
    if (name[dot] != '.' ||
        name.substr(dot + 1, 16).find_first_not_of("0123456789abcdef") != std::string_view::npos) {
        return std::nullopt;
    }
    return name.substr(0, dot);
}

// The folder holding `file` onto the disk, with the renames in it.
void FlushFolderOf(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Holds the file's lock while it is written, so that a cleaner sees it is in use.
void MarkBeingWritten(int fd) {
    ::flock(fd, LOCK_EX | LOCK_NB);
}

}  // namespace

bool IsTemporaryNameFor(std::string_view name, std::string_view targetName) {
    const std::optional<std::string_view> target = TemporaryTarget(name);
    return target &&
           (*target == targetName || (target->starts_with('.') && target->substr(1) == targetName));
}

bool IsTemporaryName(std::string_view name) {
    return TemporaryTarget(name).has_value();
}

namespace {

template <typename IsLeftover>
int RemoveDeadFiles(const fs::path& folder, IsLeftover isLeftover) {
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const bool leftover = isLeftover(name);
        if (!leftover || KindOf(it->path()) != EntryKind::kRegularFile) {
            continue;
        }
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        // A writer still at work holds the lock; a killed one holds nothing.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(it->path().c_str()) == 0) {
            ++removed;
        }
        ::close(fd);
    }
    return removed;
}

}  // namespace

int RemoveLeftoverTemporaryFiles(const fs::path& folder, const std::vector<std::string>& prefixes) {
    return RemoveDeadFiles(folder, [&](const std::string& name) {
        return IsTemporaryName(name) ||
               std::any_of(prefixes.begin(), prefixes.end(),
                           [&](const std::string& prefix) { return name.starts_with(prefix); });
    });
}

int RemoveLeftoverTemporaryFilesOf(const fs::path& target) {
    const std::string targetName = target.filename().string();
    return RemoveDeadFiles(target.parent_path(), [&](const std::string& name) {
        return IsTemporaryNameFor(name, targetName);
    });
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && !HasControlCharacter(name);
}

bool FileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool FolderExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool CreateFolder(const fs::path& path) {
    std::error_code ec;
    fs::create_directory(path, ec);
    return FolderExists(path);
}

std::vector<std::string> ListFiles(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        // The entry itself: a link is not a file of the folder, wherever it points.
        std::error_code typeError;
        if (it->symlink_status(typeError).type() == fs::file_type::regular) {
            names.push_back(PathToUtf8(it->path().filename()));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool CopyFile(const fs::path& from, const fs::path& to, bool overwrite, std::error_code* error) {
    std::error_code ec;
    auto fail = [&](std::error_code why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    if (!FileExists(from)) {
        return fail(std::make_error_code(std::errc::no_such_file_or_directory));
    }
    if (!overwrite && fs::exists(to, ec)) {
        return fail(std::make_error_code(std::errc::file_exists));
    }
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat sourceInfo {};
    if (source < 0 || ::fstat(source, &sourceInfo) != 0) {
        const std::error_code why(errno, std::generic_category());
        if (source >= 0) {
            ::close(source);
        }
        return fail(why);
    }
    const fs::path temporary = TemporaryPathBeside(to);
    const int target = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              sourceInfo.st_mode & 0777);
    if (target < 0) {
        const std::error_code why(errno, std::generic_category());
        ::close(source);
        return fail(why);
    }
    MarkBeingWritten(target);
    // Read and write ourselves: the library's copy reports a full disk as a plain I/O error.
    std::vector<char> buffer(256 * 1024);
    int copyError = 0;
    for (;;) {
        const ssize_t got = ::read(source, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            copyError = got < 0 ? errno : 0;
            break;
        }
        if (!WriteAll(target, {buffer.data(), static_cast<std::size_t>(got)})) {
            copyError = errno;
            break;
        }
    }
    // On disk before it takes the name, so a crash leaves the old file or the whole new one.
    if (copyError == 0 && ::fsync(target) != 0) {
        copyError = errno;
    }
    ::close(source);
    // Renamed while still held, so that no cleaner takes it for a leftover in between.
    if (copyError == 0 && !MoveFileOver(temporary, to, &ec)) {
        copyError = ec.value();
    }
    if (::close(target) != 0 && copyError == 0) {
        copyError = errno;
    }
    std::error_code removeError;
    if (copyError != 0) {
        fs::remove(temporary, removeError);
        return fail(std::error_code(copyError, std::generic_category()));
    }
    if (error != nullptr) {
        error->clear();
    }
    return true;
}

bool DeleteFile(const fs::path& path) {
    std::error_code ec;
    return FileExists(path) && fs::remove(path, ec);
}

bool IsReadOnly(const fs::path& path) {
    std::error_code ec;
    fs::perms perms = fs::status(path, ec).permissions();
    return !ec && (perms & fs::perms::owner_write) == fs::perms::none;
}

bool SetReadOnly(const fs::path& path, bool readOnly) {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
    return !ec;
}

std::optional<std::int64_t> CreationTime(const fs::path& path) {
    struct statx info {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info) != 0) {
        return std::nullopt;
    }
    const struct statx_timestamp& time =
        (info.stx_mask & STATX_BTIME) ? info.stx_btime : info.stx_mtime;
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::optional<std::int64_t> FileSize(const fs::path& path) {
    std::error_code ec;
    auto size = fs::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(size);
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in || !FileExists(path)) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

namespace {

// Reads exactly `size` bytes and then finds the end, so that a file that grew or shrank
// while read is refused.
bool ReadExactly(int fd, char* at, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, at + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    char extra;
    ssize_t got;
    do {
        got = ::read(fd, &extra, 1);
    } while (got < 0 && errno == EINTR);
    return got == 0;
}

}  // namespace

std::optional<std::string> ReadRegularFile(const fs::path& path, std::size_t maxBytes) {
    // Opened without waiting, so that a pipe put in the file's place cannot hold us up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
        static_cast<std::uintmax_t>(info.st_size) <= maxBytes) {
        bytes.emplace(static_cast<std::size_t>(info.st_size), '\0');
        if (!ReadExactly(fd, bytes->data(), bytes->size())) {
            bytes.reset();
        }
    }
    ::close(fd);
    return bytes;
}

bool WriteWholeFile(const fs::path& path, std::string_view bytes, std::error_code* error) {
    const fs::path temporary = TemporaryPathBeside(path);
    if (!WriteNewFileDurably(temporary, bytes, error)) {
        return false;
    }
    if (!MoveFileOver(temporary, path, error)) {
        std::error_code ec;
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

bool WriteNewFileDurably(const fs::path& path, std::string_view bytes, std::error_code* error) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    int failure = fd < 0 ? errno : 0;
    if (fd >= 0) {
        MarkBeingWritten(fd);
        if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
            failure = errno;
        }
        if (::close(fd) != 0 && failure == 0) {
            failure = errno;
        }
        if (failure != 0) {
            std::error_code ec;
            fs::remove(path, ec);
        }
    }
    if (failure != 0 && error != nullptr) {
        *error = std::error_code(failure, std::generic_category());
    }
    return failure == 0;
}

bool MoveFileOver(const fs::path& from, const fs::path& to, std::error_code* error) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (error != nullptr) {
        *error = ec;
    }
    if (ec) {
        return false;
    }
    // The rename itself reaches the disk with its folder.
    FlushFolderOf(to);
    return true;
}

bool MoveFileNoReplace(const fs::path& from, const fs::path& to, std::error_code* error) {
    int result = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (result != 0 && errno == EINVAL) {
        // A file system without the flag: a new link fails when the name is taken.
        result = ::link(from.c_str(), to.c_str());
        if (result == 0) {
            ::unlink(from.c_str());
        }
    }
    if (result != 0) {
        if (error != nullptr) {
            *error = std::error_code(errno, std::generic_category());
        }
        return false;
    }
    FlushFolderOf(to);
    if (error != nullptr) {
        error->clear();
    }
    return true;
}

EntryKind KindOf(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return EntryKind::kMissing;
    }
    if (S_ISREG(info.st_mode)) {
        return EntryKind::kRegularFile;
    }
    if (S_ISLNK(info.st_mode)) {
        return EntryKind::kLink;
    }
    return S_ISDIR(info.st_mode) ? EntryKind::kFolder : EntryKind::kOther;
}

bool SameContents(const fs::path& a, const fs::path& b) {
    const std::optional<std::int64_t> size = FileSize(a);
    if (!size || FileSize(b) != size) {
        return false;
    }
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    std::vector<char> one(64 * 1024);
    std::vector<char> two(one.size());
    while (first && second) {
        first.read(one.data(), static_cast<std::streamsize>(one.size()));
        second.read(two.data(), static_cast<std::streamsize>(two.size()));
        if (first.gcount() != second.gcount() ||
            !std::equal(one.begin(), one.begin() + first.gcount(), two.begin())) {
            return false;
        }
    }
    return !first.bad() && !second.bad() && first.eof() && second.eof();
}

std::string ModificationStamp(const std::vector<fs::path>& paths) {
    std::string stamp;
    for (const fs::path& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            stamp += "-;";
            continue;
        }
        stamp += std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) +
                 "," + std::to_string(info.st_size) + "," + std::to_string(info.st_ino) + ";";
    }
    return stamp;
}

std::string WriteErrorText(const std::error_code& error) {
    switch (error.value()) {
        case ENOSPC:
        case EDQUOT:
            return "磁盘空间不足";
        case EACCES:
        case EPERM:
        case EROFS:
            return "没有写入权限";
        case ENOTDIR:
        case EISDIR:
            return "目标文件夹不可用";
        case ENOENT:
            return "目标文件夹不存在";
        default:
            break;
    }
    return "写入失败(" + error.message() + ")";
}

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const fs::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace glyphwell::platform
