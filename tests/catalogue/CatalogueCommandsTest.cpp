// The command-line contracts of pack, unpack and catalogue.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "catalogue/PackedData.h"
#include "jet/JetWriter.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace glyphwell::catalogue {
namespace {

using jet::ColumnType;
using jet::JetRow;

std::string Cli(const std::string& arguments, int* exitCode = nullptr) {
    const test::CommandResult result = test::RunCliCommand(arguments + " 2>/dev/null");
    if (exitCode) {
        *exitCode = result.exitCode;
    }
    return result.output;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(CatalogueCommands, PackAndUnpack) {
    test::TempDir dir;
    const std::string content = std::string("字体\0\x01\xFF", 9) + std::string(5000, 'z');
    std::ofstream(dir / "in.ttf", std::ios::binary) << content;
    const std::string in = test::ShellQuote((dir / "in.ttf").string());
    const std::string packed = test::ShellQuote((dir / "p.tmp").string());
    const std::string out = test::ShellQuote((dir / "out.ttf").string());
    int code = -1;
    Cli("pack " + in + " " + packed, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(UnpackData(ReadAll(dir / "p.tmp")), content);
    Cli("unpack " + packed + " " + out, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadAll(dir / "out.ttf"), content);

    // Not a container: exit 1 and no output file.
    Cli("unpack " + in + " " + test::ShellQuote((dir / "bad").string()), &code);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad"));
}

TEST(CatalogueCommands, CatalogueOutputFormats) {
    test::TempDir dir;
    jet::JetTable dl{"dl", {{"中文字体", ColumnType::Text}, {"英文字体", ColumnType::Text}}, {}};
    dl.rows = {{std::string("宋体类"), std::nullopt},
               {std::nullopt, std::nullopt},
               {std::string("黑体类"), std::string("Serif")}};
    jet::JetTable fonts{"宋体类",
                        {{"字体名", ColumnType::Text},
                         {"字体地址", ColumnType::Text},
                         {"图片", ColumnType::LongBinary}},
                        {}};
    for (int i = 1; i <= 8; ++i) {
        const std::string picture = i % 2 ? "GIF89a" + std::string(i, 'g') : "\x89PNG";
        fonts.rows.push_back({"方正" + std::to_string(i), "f/" + std::to_string(i),
                              i == 8 ? std::nullopt : std::optional(PackData(picture))});
    }
    ASSERT_TRUE(jet::WriteJetDatabase(dir / "ztdata.mdb", {dl, fonts}));
    const std::string home = "--home " + test::ShellQuote(dir.Path().string());
    const std::string db = "--db " + test::ShellQuote((dir / "ztdata.mdb").string());

    const std::pair<std::string, std::string> cases[] = {
        {home + " catalogue categories 0", "宋体类\n黑体类\n"},
        {"catalogue " + db + " categories 1", "Serif\n"},
        {"catalogue " + db + " categories 9", ""},
        {home + " catalogue count 宋体类", "8\n"},
        {home + " catalogue count 没有", "-1\n"},
        {home + " catalogue page 宋体类 2", "2\n方正7\tf/7\t13\tgif\n方正8\tf/8\t0\tnone\n"},
        {home + " catalogue page 宋体类 1",
         "8\n方正1\tf/1\t7\tgif\n方正2\tf/2\t4\tnone\n方正3\tf/3\t9\tgif\n"
         "方正4\tf/4\t4\tnone\n方正5\tf/5\t11\tgif\n方正6\tf/6\t4\tnone\n"},
        {home + " catalogue page 没有 1", "-1\n"},
        {home + " catalogue page 没有 2", "-7\n"},
        {"--home " + test::ShellQuote((dir / "empty").string()) + " catalogue count 宋体类",
         "-1\n"},
    };
    for (const auto& [arguments, expected] : cases) {
        int code = -1;
        EXPECT_EQ(Cli(arguments, &code), expected) << arguments;
        EXPECT_EQ(code, 0) << arguments;
    }
    int code = 0;
    Cli(home + " catalogue page 宋体类", &code);
    EXPECT_EQ(code, 2);
}

// Files found by fuzzing on which the program died opening the catalogue. They go through the
// program itself: there its reads outside a row ran off the end of the main thread's stack,
// while on a thread of the test they could pass unnoticed.
TEST(CatalogueCommands, FilesThatOnceCrashedTheReaderShowNoCategories) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GLYPHWELL_DAMAGED_CATALOGUES)) {
        int code = -1;
        EXPECT_EQ(Cli("catalogue --db " + test::ShellQuote(entry.path().string()) + " categories 0",
                      &code),
                  "")
            << entry.path();
        EXPECT_EQ(code, 0) << entry.path();
        ++files;
    }
    EXPECT_GT(files, 0u);
}

}  // namespace
}  // namespace glyphwell::catalogue
