#include "app/StartupTimes.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>

namespace glyphwell::app {

void MarkStartup(const char* milestone) {
    static const bool enabled = std::getenv(kStartupTimesVariable) != nullptr;
    if (!enabled) {
        return;
    }
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    static std::mutex mutex;
    static std::set<std::string> reached;
    std::lock_guard lock(mutex);
    if (reached.insert(milestone).second) {
        std::fprintf(stderr, "glyphwell-startup %s %lld.%09ld\n", milestone,
                     static_cast<long long>(now.tv_sec), now.tv_nsec);
    }
}

}  // namespace glyphwell::app
