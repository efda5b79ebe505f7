// Commands over the container format and the local catalogue file. Their output is read by
// scripts: keep the formats exactly.

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/PackedData.h"
#include "platform/Files.h"

namespace glyphwell::cli {
namespace {

using app::ProgramState;

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

int Fail(const char* message, const std::string& detail) {
    std::fprintf(stderr, "glyphwell-cli: %s%s\n", message, detail.c_str());
    return 1;
}

int Usage(const char* usage) {
    std::fprintf(stderr, "usage: glyphwell-cli %s\n", usage);
    return 2;
}

constexpr const char* kPackUsage = "pack IN OUT              pack a file as a container";
constexpr const char* kUnpackUsage =
    "unpack IN OUT            unpack a container (exit 1 and no OUT when it is not valid)";
constexpr const char* kCatalogueUsage =
    "catalogue [--db FILE] categories N | count NAME | page NAME P\n"
    "                           read the catalogue (default: RUNDIR/ztdata.mdb)";

// Reads IN, converts it and writes OUT; nothing is written when the conversion gives nothing.
int ConvertFile(const Arguments& args, const char* usage, std::string (*convert)(std::string_view),
                const char* refusal) {
    if (args.size() != 2) {
        return Usage(usage);
    }
    const std::optional<std::string> input =
        platform::ReadWholeFile(platform::PathFromUtf8(args[0]));
    if (!input) {
        return Fail("cannot read ", args[0]);
    }
    const std::string output = convert(*input);
    if (output.empty()) {
        return Fail(refusal, args[0]);
    }
    if (!platform::WriteWholeFile(platform::PathFromUtf8(args[1]), output)) {
        return Fail("cannot write ", args[1]);
    }
    return 0;
}

int Pack(ProgramState&, const Arguments& args) {
    return ConvertFile(args, kPackUsage, catalogue::PackData, "too large to pack: ");
}

int Unpack(ProgramState&, const Arguments& args) {
    return ConvertFile(args, kUnpackUsage, catalogue::UnpackData, "not a valid container: ");
}

int Catalogue(ProgramState& state, const Arguments& allArgs) {
    Arguments args = allArgs;
    std::filesystem::path file = state.runDirectory / "ztdata.mdb";
    if (args.size() >= 2 && args[0] == "--db") {
        file = platform::PathFromUtf8(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) {
        return Usage(kCatalogueUsage);
    }
    catalogue::CatalogueDatabase db(file);
    db.OpenCatalogue();
    if (args[0] == "categories" && args.size() == 2 && ParseInt(args[1])) {
        for (const std::string& name : db.ReadSubcategoryNames(*ParseInt(args[1]))) {
            std::printf("%s\n", name.c_str());
        }
        return 0;
    }
    if (args[0] == "count" && args.size() == 2) {
        std::printf("%d\n", db.CountCatalogueFonts(args[1]));
        return 0;
    }
    if (args[0] == "page" && args.size() == 3 && ParseInt(args[2])) {
        const catalogue::CataloguePage page = db.ReadCataloguePage(args[1], *ParseInt(args[2]));
        std::printf("%d\n", page.Remaining);
        for (const catalogue::CatalogueFont& font : page.Fonts) {
            const char* kind =
                catalogue::PictureKindName(catalogue::DetectPictureKind(font.SamplePicture));
            std::printf("%s\t%s\t%zu\t%s\n", font.FontName.c_str(), font.FontAddress.c_str(),
                        font.SamplePicture.size(), kind);
        }
        return 0;
    }
    return Usage(kCatalogueUsage);
}

}  // namespace

std::vector<Command> CatalogueCommands() {
    return {
        {"pack", kPackUsage, Pack},
        {"unpack", kUnpackUsage, Unpack},
        {"catalogue", kCatalogueUsage, Catalogue},
    };
}

}  // namespace glyphwell::cli
