#pragma once
// One writer at a time across processes: an exclusive flock on a lock file, held for the
// lifetime of the guard. Within one process the guard nests: the thread that holds it may take
// it again, other threads wait for it.

#include <filesystem>

namespace glyphwell::platform {

class ExclusiveFileLock {
  public:
    // Waits for the lock on `path` (created when missing). With an empty path, or a lock file
    // that cannot be created, only the threads of this process take turns.
    explicit ExclusiveFileLock(const std::filesystem::path& path);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

  private:
    std::filesystem::path path_;
    bool locked_ = false;  // this guard holds the process's mutex
};

}  // namespace glyphwell::platform
