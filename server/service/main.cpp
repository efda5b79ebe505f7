// glyphwell-server: the local web site and catalogue server, and the catalogue builder.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "CatalogueBuilder.h"
#include "FileBytes.h"
#include "Manifest.h"
#include "SiteServer.h"

namespace {

using namespace glyphwell::server;

const char kUsage[] =
    "usage:\n"
    "  glyphwell-server serve --root DIR [--bind ADDR] [--port N] [--no-content-length]\n"
    "  glyphwell-server build --manifest FILE --out DIR [--pages DIR] [--base URL]\n";

SiteServer* runningServer = nullptr;

void StopOnSignal(int) {
    if (runningServer != nullptr) {
        runningServer->Stop();
    }
}

// Looks up "--name VALUE"; marks flags it has seen.
struct Arguments {
    std::vector<std::string> words;
    std::string error;

    std::string Value(const char* name, const std::string& fallback = "") {
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (words[i] == name) {
                if (i + 1 >= words.size()) {
                    error = std::string(name) + " needs a value";
                    return fallback;
                }
                return words[i + 1];
            }
        }
        return fallback;
    }
    bool Flag(const char* name) {
        return std::find(words.begin(), words.end(), name) != words.end();
    }
};

int Serve(Arguments& arguments) {
    ServeOptions options;
    options.root = arguments.Value("--root");
    options.bind = arguments.Value("--bind", options.bind);
    std::string port = arguments.Value("--port", std::to_string(options.port));
    options.sendContentLength = !arguments.Flag("--no-content-length");
    if (!arguments.error.empty() || options.root.empty() ||
        port.find_first_not_of("0123456789") != std::string::npos || port.size() > 5) {
        std::fprintf(stderr, "%s%s\n", kUsage, arguments.error.c_str());
        return 2;
    }
    options.port = std::stoi(port);
    if (!std::filesystem::is_directory(options.root)) {
        std::fprintf(stderr, "glyphwell-server: %s is not a folder\n", options.root.c_str());
        return 1;
    }
    SiteServer server(options);
    if (!server.Bind()) {
        std::fprintf(stderr, "glyphwell-server: cannot listen on %s:%s\n", options.bind.c_str(),
                     port.c_str());
        return 1;
    }
    runningServer = &server;
    std::signal(SIGINT, StopOnSignal);
    std::signal(SIGTERM, StopOnSignal);
    std::printf("serving %s at %s\n", options.root.c_str(), server.BaseAddress().c_str());
    std::fflush(stdout);
    server.Run();
    return 0;
}

bool IsPublicBaseAddress(const std::string& base) {
    std::size_t hostStart = base.starts_with("http://") ? 7 : base.starts_with("https://") ? 8 : 0;
    if (hostStart == 0 || base.size() == hostStart || base.size() > 200) {
        return false;
    }
    return base.find_first_not_of(
               "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
               "0123456789.-:[]",
               hostStart) == std::string::npos;
}

// The site's pages: installed beside the program, else (a build tree) the sources.
std::string DefaultPagesFolder() {
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::filesystem::path installed = program.parent_path() / GLYPHWELL_DATA_FROM_BIN / "site";
    if (!ec && std::filesystem::is_directory(installed, ec)) {
        return installed.lexically_normal().string();
    }
    return GLYPHWELL_SITE_PAGES;
}

int Build(Arguments& arguments) {
    std::string manifestFile = arguments.Value("--manifest");
    std::string out = arguments.Value("--out");
    std::string pages = arguments.Value("--pages", DefaultPagesFolder());
    // The catalogue server's public address for "/ztym.txt": the program takes the whole body,
    // so a slash or line break at the end would spoil every catalogue request.
    std::string base = arguments.Value("--base");
    if (!base.empty() && !IsPublicBaseAddress(base)) {
        arguments.error = "--base needs http://HOST[:PORT] or https://HOST[:PORT] with no path";
    }
    if (!arguments.error.empty() || manifestFile.empty() || out.empty()) {
        std::fprintf(stderr, "%s%s\n", kUsage, arguments.error.c_str());
        return 2;
    }
    Manifest manifest;
    std::string error;
    BuildSummary summary;
    if (!ParseManifest(manifestFile, manifest, error) ||
        !BuildCatalogue(manifest, out, pages, summary, error)) {
        std::fprintf(stderr, "glyphwell-server: %s\n", error.c_str());
        return 1;
    }
    // Static web servers answer it as a plain file; our own server answers it itself.
    if (!base.empty() && !WriteFileBytes(std::filesystem::path(out) / "ztym.txt", base)) {
        std::fprintf(stderr, "glyphwell-server: cannot write %s/ztym.txt\n", out.c_str());
        return 1;
    }
    std::printf("built %s: %d sub-categories, %d fonts, version %s\n", out.c_str(),
                summary.subcategories, summary.fonts, manifest.version.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    Arguments arguments{{argv + 2, argv + argc}, {}};
    std::string command = argv[1];
    if (command == "serve") {
        return Serve(arguments);
    }
    if (command == "build") {
        return Build(arguments);
    }
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
