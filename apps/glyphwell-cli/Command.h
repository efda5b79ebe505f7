#pragma once
// One glyphwell-cli command: its name, its line in --help and what it runs.

#include <functional>
#include <string>
#include <vector>

#include "app/Startup.h"

namespace glyphwell::cli {

struct Command {
    const char* name;
    const char* usage;
    std::function<int(app::ProgramState&, const std::vector<std::string>&)> run;
};

// The installed-font commands: fonts, name, install, uninstall.
std::vector<Command> FontCommands();

}  // namespace glyphwell::cli
