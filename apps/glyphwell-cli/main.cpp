// The command-line front end over the same libraries as the desktop program.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Command.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "platform/RunDirectory.h"

namespace {

using glyphwell::app::ProgramState;
using glyphwell::cli::Command;

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"run-directory",
         "run-directory            print the folder for settings and working folders",
         [](ProgramState& state, const std::vector<std::string>&) {
             std::printf("%s\n", state.runDirectory.c_str());
             return 0;
         }},
    };
    return commands;
}

// The table above and the entries that other files contribute.
const std::vector<Command>& AllCommands() {
    using glyphwell::cli::Concat;
    static const std::vector<Command> all =
        Concat(Concat(Concat(Concat(Concat(Concat(Commands(), glyphwell::cli::FontCommands()),
                                           glyphwell::cli::CollectionCommands()),
                                    glyphwell::cli::CatalogueCommands()),
                             glyphwell::cli::DownloadCommands()),
                      glyphwell::cli::PreviewCommands()),
               glyphwell::cli::UpdateCommands());
    return all;
}

void PrintHelp() {
    std::printf(
        "usage: glyphwell-cli [--home DIR] [--site URL] COMMAND [ARGUMENTS]\n"
        "\n"
        "Options:\n"
        "  --home DIR    use DIR as the folder for settings and working folders\n"
        "  --site URL    the web site (default: the local catalogue service)\n"
        "  --help        show this text\n"
        "  --version     show the program version\n");
    if (!AllCommands().empty()) {
        std::printf("\nCommands:\n");
        for (const Command& command : AllCommands()) {
            std::printf("  %s\n", command.usage);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace glyphwell;
    app::CommonOptions options = app::ParseCommonOptions({argv + 1, argv + argc});
    if (!options.error.empty()) {
        std::fprintf(stderr, "glyphwell-cli: %s\n", options.error.c_str());
        return 2;
    }
    if (options.rest.empty() || options.rest[0] == "--help" || options.rest[0] == "-h") {
        PrintHelp();
        return options.rest.empty() ? 2 : 0;
    }
    if (options.rest[0] == "--version") {
        std::printf("glyphwell %s\n", app::kProgramVersion);
        return 0;
    }
    for (const Command& command : AllCommands()) {
        if (options.rest[0] == command.name) {
            ProgramState state(
                platform::ResolveRunDirectory(platform::ProgramDirectory(), options.home),
                platform::ResolveServiceAddresses(options.addresses, platform::ProcessEnvironment));
            return command.run(state, {options.rest.begin() + 1, options.rest.end()});
        }
    }
    std::fprintf(stderr, "glyphwell-cli: unknown command '%s' (see --help)\n",
                 options.rest[0].c_str());
    return 2;
}
