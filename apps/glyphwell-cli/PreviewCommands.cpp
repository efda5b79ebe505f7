// The remote preview as the catalogue page asks for it, written to a BMP file.

#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "app/CatalogueServerBase.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "preview/PreviewRenderer.h"

namespace glyphwell::cli {
namespace {

constexpr const char* kPreviewUsage =
    "preview [--row K] FONTNAME TEXT SIZE OUT\n"
    "                           ask the catalogue server to set TEXT at SIZE (6-30) in catalogue\n"
    "                           font FONTNAME as catalogue row K (1-6, default 1) does, and\n"
    "                           write the picture to OUT as BMP";

int Usage() {
    return PrintUsage(kPreviewUsage);
}

int Preview(app::ProgramState& state, const Arguments& arguments) {
    int row = 1;
    Arguments rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--row" && i + 1 < arguments.size()) {
            const std::string& value = arguments[++i];
            row = platform::LeadingInteger(value);
            if (row < 1 || row > 6 || std::to_string(row) != value) {
                return Usage();
            }
        } else {
            rest.push_back(arguments[i]);
        }
    }
    if (rest.size() != 4) {
        return Usage();
    }
    const std::string& fontName = rest[0];
    const std::string& text = rest[1];
    const std::string& size = rest[2];
    if (preview::HasAmpersand(text)) {
        std::fprintf(stderr,
                     "glyphwell-cli: the sample text holds \"&\", which the request cannot carry; "
                     "nothing was sent\n");
        return 2;
    }
    if (!preview::SizeAllowed(size)) {
        std::fprintf(stderr, "%s\n", preview::kSizeMessage);
        return 2;
    }
    const std::string base = app::FetchCatalogueServerBase(state.http, state.addresses.site);
    const std::string bmp =
        preview::RequestPreviewPicture(state.http, base, row, text, size, fontName);
    if (bmp.empty()) {
        std::fprintf(stderr, "%s\n", preview::kFetchFailedCaption);
        return 1;
    }
    if (!platform::WriteWholeFile(platform::PathFromUtf8(rest[3]), bmp)) {
        std::fprintf(stderr, "glyphwell-cli: cannot write %s\n", rest[3].c_str());
        return 1;
    }
    return 0;
}

}  // namespace

std::vector<Command> PreviewCommands() {
    return {{"preview", kPreviewUsage, Preview}};
}

}  // namespace glyphwell::cli
