// The catalogue font download as the program does it, on the calling thread.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "app/CatalogueServerBase.h"
#include "app/WorkingFolders.h"
#include "downloads/FontDownloads.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"

namespace glyphwell::cli {
namespace {

using app::ProgramState;

constexpr const char* kDownloadUsage =
    "download NAME ADDRESS [--base URL]\n"
    "                           download catalogue font ADDRESS into the download folder as\n"
    "                           NAME.ttf and install it (default base: the site's /ztym.txt)";

int Usage() {
    return PrintUsage(kDownloadUsage);
}

int Download(ProgramState& state, const Arguments& arguments) {
    std::optional<std::string> base;
    Arguments names;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--base" || argument.starts_with("--base=")) {
            if (base || (argument == "--base" && i + 1 == arguments.size())) {
                return Usage();
            }
            base = argument == "--base" ? arguments[++i] : argument.substr(7);
        } else {
            names.push_back(argument);
        }
    }
    if (names.size() != 2) {
        return Usage();
    }
    fonts::FontconfigFontSystem system;
    RepairLeftovers(state, system);
    fonts::FontRegistry registry(system, fonts::UserDisplayNameCache());
    downloads::FontDownloads downloads(
        state.http, registry, app::DownloadFolder(state.runDirectory),
        [&] {
            return base ? *base : app::FetchCatalogueServerBase(state.http, state.addresses.site);
        },
        {});
    const downloads::FontDownloadResult result = downloads.DownloadFont(names[0], names[1]);
    if (!result.installed) {
        std::fprintf(stderr, "%s\n", result.message.c_str());
        return 1;
    }
    // The download unpacked, but to no font: nothing was installed.
    if (result.displayName.empty()) {
        std::fprintf(stderr, "%s\n", std::string(downloads::kDataErrorMessage).c_str());
        return 1;
    }
    std::printf("%s\n", result.displayName.c_str());
    return 0;
}

}  // namespace

std::vector<Command> DownloadCommands() {
    return {{"download", kDownloadUsage, Download}};
}

}  // namespace glyphwell::cli
