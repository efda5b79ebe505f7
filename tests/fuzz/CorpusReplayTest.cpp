// Every file of each fuzz target's corpus, fed to the code the target fuzzes, outside libFuzzer:
// the crashes once found stay fixed and the promises hold for every input kept.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "FuzzInputs.h"

namespace glyphwell::fuzz {
namespace {

struct Target {
    const char* corpus;
    bool (*run)(Input);
};

void PrintTo(const Target& target, std::ostream* out) {
    *out << target.corpus;
}

class CorpusReplay : public ::testing::TestWithParam<Target> {};

TEST_P(CorpusReplay, EveryFileKeepsThePromises) {
    const std::filesystem::path folder =
        std::filesystem::path(GLYPHWELL_FUZZ_CORPUS) / GetParam().corpus;
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        EXPECT_TRUE(GetParam().run(bytes)) << entry.path();
        ++files;
    }
    EXPECT_GT(files, 0u) << folder;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay,
                         ::testing::Values(Target{"catalogue_file", ReadCatalogueFile},
                                           Target{"unpack_data", UnpackData},
                                           Target{"ini_file", ReadAndWriteIniFile},
                                           Target{"pcx_image", DecodePcxPicture},
                                           Target{"display_names", ReadDisplayNameCache}),
                         [](const ::testing::TestParamInfo<Target>& param) {
                             return std::string(param.param.corpus);
                         });

}  // namespace
}  // namespace glyphwell::fuzz
