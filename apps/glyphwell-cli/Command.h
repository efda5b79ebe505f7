#pragma once
// One entry of the command table: its name, its line of help text and what it runs.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/Startup.h"

namespace glyphwell::fonts {
class FontSystem;
}

namespace glyphwell::cli {

// A command's arguments, after its name.
using Arguments = std::vector<std::string>;

struct Command {
    const char* name;
    const char* usage;
    std::function<int(app::ProgramState&, const Arguments&)> run;
};

// "pack", "unpack" and "catalogue".
std::vector<Command> CatalogueCommands();

// The installed-font commands: fonts, name, install, uninstall.
std::vector<Command> FontCommands();

// "download": one catalogue font fetched, unpacked and installed.
std::vector<Command> DownloadCommands();

// The local collections: folder, recycle, restore, purge, backup, export, reinstall,
// remove-downloaded.
std::vector<Command> CollectionCommands();

// "preview".
std::vector<Command> PreviewCommands();

// "update": the catalogue version check and update.
std::vector<Command> UpdateCommands();

// Before a command changes anything: what a killed run of the program left is repaired
// (collections::RepairAfterInterruption).
void RepairLeftovers(const app::ProgramState& state, fonts::FontSystem& system);

// Prints "usage: glyphwell-cli " + `usage` on standard error; the exit code of bad arguments.
inline int PrintUsage(const char* usage) {
    std::fprintf(stderr, "usage: glyphwell-cli %s\n", usage);
    return 2;
}

inline std::vector<Command> Concat(std::vector<Command> first, std::vector<Command> second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

}  // namespace glyphwell::cli
