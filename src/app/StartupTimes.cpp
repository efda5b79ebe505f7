#include "app/StartupTimes.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace glyphwell::app {

void MarkStartup(const char* milestone) {
    static const bool enabled = std::getenv(kStartupTimesVariable) != nullptr;
    if (!enabled) {
        return;
    }
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    // Each milestone is passed once a process; a line to stderr is written whole.
    std::fprintf(stderr, "glyphwell-startup %s %lld.%09ld\n", milestone,
                 static_cast<long long>(now.tv_sec), now.tv_nsec);
}

}  // namespace glyphwell::app
