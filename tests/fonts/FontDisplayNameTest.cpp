#include "fonts/FontDisplayName.h"

#include <gtest/gtest.h>

#include "fonts/FontFixtures.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace glyphwell::fonts {
namespace {

using test::FamilyNames;

TEST(FontDisplayName, RealFontsGiveTheirLegacyFamilyName) {
    // Expected names as fc-scan shows the fonts' naming tables.
    struct Case {
        std::filesystem::path file;
        std::string name;
    } cases[] = {
        {test::kMicroHei, "文泉驿微米黑"},  // Chinese (PRC) record of the first face
        {test::kUMing, "AR PL UMing CN"},   // first face of the collection, US English only
        {test::kDejaVuFolder / "DejaVuSans.ttf", "DejaVu Sans"},
        {test::kDejaVuFolder / "DejaVuSans-Bold.ttf", "DejaVu Sans"},
        {test::kDejaVuFolder / "DejaVuSans-ExtraLight.ttf", "DejaVu Sans Light"},
        {test::kDejaVuFolder / "DejaVuSansCondensed-Oblique.ttf", "DejaVu Sans Condensed"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadFaceName(c.file.string()), c.name) << c.file;
    }
}

TEST(FontDisplayName, PrefersChineseLocalesThenUsEnglishThenAnyWindowsRecord) {
    struct Case {
        FamilyNames families;
        std::string name;
    } cases[] = {
        {{{0x0409, "English"}, {0x0404, "繁體"}, {0x0804, "简体"}}, "简体"},
        {{{0x0409, "English"}, {0x0404, "繁體"}, {0x0C04, "香港"}}, "繁體"},
        {{{0x0409, "English"}, {0x1404, "澳門"}}, "澳門"},
        {{{0x0409, "English"}, {0x0407, "Deutsch"}}, "English"},
        {{{0x0407, "Deutsch"}}, "Deutsch"},
        {{{0x0409, "Astral 𝔸"}}, "Astral 𝔸"},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        std::filesystem::path file = dir / "f.ttf";
        test::WriteRenamedFont(file, c.families);
        EXPECT_EQ(ReadFaceName(file.string()), c.name);
    }
}

TEST(FontDisplayName, NamesAreCutToOneHundredGbkBytesOnACharacterBoundary) {
    std::string sixtyHanzi;
    for (int i = 0; i < 60; ++i) {
        sixtyHanzi += "字";
    }
    test::TempDir dir;
    struct Case {
        std::string family;
        std::size_t gbkBytes;
    } cases[] = {
        {sixtyHanzi, 100},
        {"A" + sixtyHanzi, 99},  // the 50th Hanzi would straddle byte 100
        {std::string(100, 'x'), 100},
        {std::string(101, 'x'), 100},
    };
    for (const Case& c : cases) {
        test::WriteRenamedFont(dir / "long.ttf", c.family);
        std::string name = ReadFaceName((dir / "long.ttf").string());
        EXPECT_EQ(platform::GbkLength(name), c.gbkBytes);
        EXPECT_TRUE(c.family.starts_with(name));
    }
}

TEST(FontDisplayName, FilesWithoutAFontGiveAnEmptyName) {
    test::TempDir dir;
    ASSERT_TRUE(platform::WriteWholeFile(dir / "notes.ttf", "not a font at all"));
    ASSERT_TRUE(platform::WriteWholeFile(dir / "empty.ttf", ""));
    for (const auto& file :
         {dir / "notes.ttf", dir / "empty.ttf", dir / "missing.ttf", dir.Path()}) {
        EXPECT_EQ(ReadFaceName(file.string()), "") << file;
    }
}

TEST(FontDisplayName, RelativePathsArePrefixedWithTheFontsFolder) {
    std::string folder = test::kDejaVuFolder.string() + "/";
    std::string path = "DejaVuSans.ttf";
    EXPECT_EQ(ReadFontDisplayName(path, folder), "DejaVu Sans");
    EXPECT_EQ(path, folder + "DejaVuSans.ttf");

    std::string absolute = test::kMicroHei.string();
    EXPECT_EQ(ReadFontDisplayName(absolute, folder), "文泉驿微米黑");
    EXPECT_EQ(absolute, test::kMicroHei.string());

    std::string dotted = "./DejaVuSans.ttf";
    ReadFontDisplayName(dotted, "/no/such/folder/");
    EXPECT_EQ(dotted, "/no/such/folder/./DejaVuSans.ttf");
}

TEST(FontDisplayName, RemoveSpacesDropsAsciiAndIdeographicBlanksOnly) {
    EXPECT_EQ(RemoveSpaces(" AR PL\u3000UMing  CN "), "ARPLUMingCN");
    // U+3000 is E3 80 80; neighbours sharing its lead bytes stay.
    EXPECT_EQ(RemoveSpaces("\u3001\u3000\u3080"), "\u3001\u3080");
    EXPECT_EQ(RemoveSpaces("\t字\n"), "\t字\n");
}

}  // namespace
}  // namespace glyphwell::fonts
