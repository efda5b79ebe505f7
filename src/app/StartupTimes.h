#pragma once
// Start-up milestones for the start-up measurement (bench/measure-startup.sh). Printed only
// when GLYPHWELL_STARTUP_TIMES is set, so the console stays quiet otherwise.

namespace glyphwell::app {

inline constexpr const char* kStartupTimesVariable = "GLYPHWELL_STARTUP_TIMES";

// Prints "glyphwell-startup MILESTONE SECONDS" to the standard error, SECONDS being the
// wall-clock time since the epoch, the first time each milestone is reached. Any thread.
void MarkStartup(const char* milestone);

}  // namespace glyphwell::app
