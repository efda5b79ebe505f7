#include <cstdio>

#include "Command.h"
#include "app/StartupTimes.h"
#include "fonts/FontDisplayName.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"
#include "fonts/SystemFontOrder.h"
#include "platform/Files.h"

namespace glyphwell::cli {
namespace {

using app::ProgramState;

constexpr const char* kFontsUsage = "usage: glyphwell-cli fonts [--order language|initial|time]\n";

// The list mode named by an --order value; none for an unknown one.
std::optional<fonts::ListMode> ListModeNamed(const std::string& order) {
    if (order == "language") {
        return fonts::ListMode::ByLanguage;
    }
    if (order == "initial") {
        return fonts::ListMode::ByInitial;
    }
    if (order == "time") {
        return fonts::ListMode::ByTime;
    }
    return std::nullopt;
}

int ListFonts(ProgramState&, const Arguments& arguments) {
    std::optional<fonts::ListMode> listMode;
    if (arguments.size() == 2 && arguments[0] == "--order") {
        listMode = ListModeNamed(arguments[1]);
    } else if (arguments.size() == 1 && arguments[0].starts_with("--order=")) {
        listMode = ListModeNamed(arguments[0].substr(std::string_view("--order=").size()));
    }
    if (!arguments.empty() && !listMode) {
        std::fprintf(stderr, "%s", kFontsUsage);
        return 2;
    }
    app::MarkStartup("font-table-load");
    fonts::FontconfigFontSystem system;
    fonts::FontRegistry registry(system, fonts::UserDisplayNameCache());
    registry.LoadFontTable();
    app::MarkStartup("font-table-loaded");
    if (listMode) {
        for (const std::string& name : fonts::ListedFontNames(registry, *listMode)) {
            std::printf("%s\n", name.c_str());
        }
        return 0;
    }
    for (int n = 1; n <= registry.Count(); ++n) {
        fonts::FontEntry entry = registry.Entry(n);
        std::printf("%s\t%s\t%s\n", entry.DisplayName.c_str(), entry.FilePath.c_str(),
                    entry.ValueName.c_str());
    }
    return 0;
}

int PrintNames(ProgramState&, const Arguments& files) {
    std::string fontsFolder = fonts::DefaultFontconfigPaths().fontsFolder;
    // A file without a name still gets its (empty) line, so lines and files stay paired.
    int status = 0;
    for (std::string path : files) {
        const std::string name = fonts::ReadFontDisplayName(path, fontsFolder);
        std::printf("%s\n", name.c_str());
        if (name.empty()) {
            status = 1;
        }
    }
    return status;
}

int Install(ProgramState& state, const Arguments& arguments) {
    if (arguments.empty() || arguments.size() > 2) {
        std::fprintf(stderr, "usage: glyphwell-cli install FILE [TARGET]\n");
        return 2;
    }
    fonts::FontconfigFontSystem system;
    RepairLeftovers(state, system);
    std::string target = arguments.size() == 2 ? arguments[1] : std::string();
    std::string reason;
    if (fonts::InstallTargetName(system, arguments[0], target, &reason).empty()) {
        std::fprintf(stderr,
                     "glyphwell-cli: \"%s\" is not a file name a font may take in the Fonts "
                     "folder (%s)\n",
                     target.empty() ? arguments[0].c_str() : target.c_str(), reason.c_str());
        return 1;
    }
    std::string displayName = fonts::ReadFaceName(arguments[0]);
    if (displayName.empty()) {
        std::fprintf(stderr, "glyphwell-cli: %s has no display name\n", arguments[0].c_str());
        return 1;
    }
    if (fonts::InstallFont(system, arguments[0], target, &reason) == 0) {
        std::fprintf(stderr, "glyphwell-cli: %s: %s\n", arguments[0].c_str(), reason.c_str());
        return 1;
    }
    system.AnnounceFontChange();
    fonts::FontRegistry registry(system, fonts::UserDisplayNameCache());
    registry.LoadFontTable();
    std::printf("display name: %s\nfile in the Fonts folder: %s\n", displayName.c_str(),
                target.c_str());
    return 0;
}

int Uninstall(ProgramState& state, const Arguments& arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: glyphwell-cli uninstall NAME\n");
        return 2;
    }
    fonts::FontconfigFontSystem system;
    RepairLeftovers(state, system);
    fonts::FontRegistry registry(system, fonts::UserDisplayNameCache());
    registry.LoadFontTable();
    int n = registry.FindFontEntry(arguments[0]);
    if (n == 0) {
        std::fprintf(stderr, "glyphwell-cli: no installed font named %s\n", arguments[0].c_str());
        return 1;
    }
    std::error_code error;
    if (!fonts::UninstallFont(registry, n, &error)) {
        std::fprintf(stderr, "glyphwell-cli: %s could not be removed%s\n", arguments[0].c_str(),
                     error ? (" (" + platform::WriteErrorText(error) + ")").c_str() : "");
        return 1;
    }
    system.AnnounceFontChange();
    return 0;
}

}  // namespace

std::vector<Command> FontCommands() {
    return {
        {"fonts",
         "fonts [--order language|initial|time]\n"
         "                           list the installed fonts: name, file, value name; with\n"
         "                           --order only the names, as the installed-font list orders "
         "them",
         ListFonts},
        {"name",
         "name FILE...             print each font file's display name, an empty line for a\n"
         "                           file without one (and exit 1)",
         PrintNames},
        {"install", "install FILE [TARGET]    install a font file into the Fonts folder", Install},
        {"uninstall",
         "uninstall NAME           uninstall the font with this display name: it is hidden from\n"
         "                           every application for this user; its file stays",
         Uninstall},
    };
}

}  // namespace glyphwell::cli
