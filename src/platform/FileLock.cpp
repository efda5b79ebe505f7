#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <system_error>

namespace glyphwell::platform {
namespace {

struct HeldFile {
    int fd = -1;
    int depth = 0;
};

// A flock belongs to an open file, not a thread: the process keeps one open file per lock and
// a mutex that makes its threads take turns.
std::recursive_mutex& ProcessMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

std::map<std::filesystem::path, HeldFile>& HeldFiles() {
    static std::map<std::filesystem::path, HeldFile> files;
    return files;
}

}  // namespace

ExclusiveFileLock::ExclusiveFileLock(const std::filesystem::path& path) : path_(path) {
    ProcessMutex().lock();
    locked_ = true;
    HeldFile& held = HeldFiles()[path_];
    if (held.depth++ == 0 && !path_.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(path_.parent_path(), ec);
        held.fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (held.fd >= 0) {
            int result;
            do {
                result = ::flock(held.fd, LOCK_EX);
            } while (result != 0 && errno == EINTR);
            if (result != 0) {
                ::close(held.fd);
                held.fd = -1;
            }
        }
    }
}

ExclusiveFileLock::~ExclusiveFileLock() {
    if (!locked_) {
        return;
    }
    auto found = HeldFiles().find(path_);
    if (found != HeldFiles().end() && --found->second.depth == 0) {
        if (found->second.fd >= 0) {
            ::close(found->second.fd);  // releases the flock
        }
        HeldFiles().erase(found);
    }
    ProcessMutex().unlock();
}

}  // namespace glyphwell::platform
