#include "fonts/SystemFontOrder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "fonts/FontFixtures.h"
#include "fonts/FontconfigFontSystem.h"
#include "fonts/PinyinInitials.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace glyphwell::fonts {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// The UTF-8 text of a GBK byte string, checked to convert back to the same bytes.
std::string FromGbk(std::string_view gbk) {
    std::string utf8 = platform::GbkToUtf8(gbk);
    EXPECT_EQ(platform::Utf8ToGbk(utf8), gbk) << "not a round trip";
    return utf8;
}

TEST(ChineseInitialTest, FollowsTheLeadAndTrailByteTable) {
    struct Case {
        std::string gbk;
        bool chinese;
    } cases[] = {
        {"\x81\x40", true},   // first lead, first trail
        {"\x81\xFE", true},   // first lead, last trail
        {"\xA0\xFE", true},   // last lead of the first block
        {"\xA1\xA1", false},  // ideographic space
        {"\xA3\xC1", false},  // full-width A
        {"\xA3\xA8", false},  // full-width parenthesis
        {"\xA8\x40", false},  // a symbol with a low trail
        {"\xAA\x40", true},   // first lead of the second block
        {"\xB0\xA0", true},   // hanzi lead, trail below the GB2312 range
        {"\xB0\xA1", true},   // first GB2312 hanzi
        {"\xF7\xFE", true},   // last GB2312 hanzi
        {"\xFE\x40", true},   // last lead
        {"A", false},        {"AB", false},
        {"", false},         {"@\xCB\xCE", false},  // vertical face of a hanzi name
    };
    for (const Case& c : cases) {
        std::string name = FromGbk(c.gbk) + (c.gbk.size() > 1 ? "x" : "");
        EXPECT_EQ(IsChineseInitial(name), c.chinese) << name;
    }
}

TEST(InitialKeyTest, DigitsLettersHanziAndTheRest) {
    struct Case {
        std::string text;
        int key;
    } letterCases[] = {
        {"1", 'Y'}, {"2", 'E'}, {"3", 'S'}, {"4", 'S'}, {"5", 'W'}, {"6", 'L'},
        {"7", 'Q'}, {"8", 'B'}, {"9", 'J'}, {"0", 'S'}, {"A", 65},  {"Z", 90},
        {"a", 0},   {"", 0},    {"_", 0},   {"@", 0},
    };
    for (const Case& c : letterCases) {
        EXPECT_EQ(InitialLetterKey(c.text), c.key) << c.text;
    }

    Case nameCases[] = {
        {"1Hao", 'Y'},   {"8bit", 'B'},      {"0ling", 'S'}, {"arial", 'A'}, {"Zapf", 'Z'},
        {"宋体", 'S'},   {"黑体", 'H'},      {"楷体", 'K'},  {"仿宋", 'F'},  {"微软", 'W'},
        {"文泉驿", 'W'}, {"方正", 'F'},      {"阿", 'A'},    {"万", 'W'},    {"乾", 'Q'},
        {"Ａrial", 0},   {"（括号", 0},      {"丂", 0},      {"_x", 0},      {"", 0},
        {"@宋体", 255},  {"@Vertical", 255},
    };
    for (const Case& c : nameCases) {
        EXPECT_EQ(InitialSortKey(c.text), c.key) << c.text;
    }
}

TEST(PinyinInitialsTest, CoverExactlyTheGb2312Hanzi) {
    EXPECT_EQ(PinyinInitial(0xB0, 0xA1), 'A');  // 啊, the first
    EXPECT_EQ(PinyinInitial(0xF7, 0xFE), 'Z');  // 齄, the last
    EXPECT_EQ(PinyinInitial(0xD7, 0xF9), 'Z');  // the last of the short row 55
    EXPECT_EQ(PinyinInitial(0xD7, 0xFA), 0);    // no character there
    EXPECT_EQ(PinyinInitial(0xAF, 0xA1), 0);
    EXPECT_EQ(PinyinInitial(0xF8, 0xA1), 0);
    EXPECT_EQ(PinyinInitial(0xB0, 0xA0), 0);
    int letters = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            char letter =
                PinyinInitial(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
            letters += letter >= 'A' && letter <= 'Z' ? 1 : 0;
        }
    }
    EXPECT_EQ(letters, 6763);
}

// A table set up directly, files in a temporary Fonts folder.
class ListOrderTest : public ::testing::Test {
  protected:
    void SetTable(std::vector<FontEntry> entries) {
        registry_.WithTable([&](std::vector<FontEntry>& table) { table = std::move(entries); });
    }
    FontEntry Entry(std::string name) {
        return {name, (fonts_ / "none.ttf").string(), name + " (TrueType)"};
    }
    std::string FontsFolder() const { return fonts_.Path().string() + "/"; }

    test::TempDir fonts_;
    FontconfigFontSystem system_{{FontsFolder(), fonts_ / "reject.conf", fonts_ / "key"}};
    FontRegistry registry_{system_};
};

TEST_F(ListOrderTest, ByLanguageListsChineseNamesFirstAndKeepsTheTable) {
    Names table = {"Beta", "宋体", "@宋体", "", "（括号", "@Vertical", "黑体", "Alpha", "丂"};
    std::vector<FontEntry> entries;
    for (const std::string& name : table) {
        entries.push_back(Entry(name));
    }
    SetTable(entries);
    EXPECT_EQ(ListedFontNames(registry_, ListMode::ByLanguage),
              (Names{"宋体", "黑体", "丂", "Beta", "（括号", "Alpha"}));
    EXPECT_EQ(registry_.DisplayNames(), table);
}

TEST_F(ListOrderTest, ByInitialSortsTheTableStablyAndLeavesOutVerticalFaces) {
    Names table = {"bravo",  "宋体",  "@Vertical", "Beta",  "8bit", "",    "1Hao",
                   "（括号", "arial", "Ａ",        "0ling", "黑体", "Zed", "Sans"};
    std::vector<FontEntry> entries;
    for (const std::string& name : table) {
        entries.push_back(Entry(name));
        entries.back().FilePath = name + ".ttf";
    }
    SetTable(entries);
    Names sorted = {"",     "（括号", "Ａ",    "arial", "bravo", "Beta", "8bit",
                    "黑体", "宋体",   "0ling", "Sans",  "1Hao",  "Zed",  "@Vertical"};
    EXPECT_EQ(ListedFontNames(registry_, ListMode::ByInitial),
              (Names{"（括号", "Ａ", "arial", "bravo", "Beta", "8bit", "黑体", "宋体", "0ling",
                     "Sans", "1Hao", "Zed"}));
    EXPECT_EQ(registry_.DisplayNames(), sorted);
    // The path and value name move with their name.
    for (int n = 1; n <= registry_.Count(); ++n) {
        EXPECT_EQ(registry_.FilePath(n), registry_.DisplayName(n) + ".ttf");
        EXPECT_EQ(registry_.ValueName(n), registry_.DisplayName(n) + " (TrueType)");
    }
    // Sorting again keeps ties in the order they now have.
    registry_.WithTable([](std::vector<FontEntry>& e) { std::swap(e[4], e[6]); });
    ListedFontNames(registry_, ListMode::ByInitial);
    EXPECT_EQ(registry_.DisplayName(5), "8bit");
    EXPECT_EQ(registry_.DisplayName(6), "Beta");
    EXPECT_EQ(registry_.DisplayName(7), "bravo");
}

TEST_F(ListOrderTest, ByTimeIsNewestFirstAndUnreadableFilesGoLast) {
    // Written oldest first; the modification times agree with the creation order, so the
    // order holds whichever of the two the file system gives.
    auto start = fs::file_time_type::clock::now() - std::chrono::hours(1);
    int written = 0;
    auto write = [&](const std::string& file) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(platform::WriteWholeFile(fonts_ / file, "font"));
        fs::last_write_time(fonts_ / file, start + std::chrono::minutes(++written));
    };
    write("old.ttf");
    write("vertical.ttf");
    write("middle.ttf");
    write("new.ttf");
    SetTable({
        {"Middle", FontsFolder() + "middle.ttf", "m"},
        {"Gone", FontsFolder() + "gone.ttf", "g"},
        {"Old", "old.ttf", "o"},  // relative to the Fonts folder
        {"", FontsFolder() + "new.ttf", "e"},
        {"@Vertical", FontsFolder() + "vertical.ttf", "v"},
        {"Lost", "/nonexistent/lost.ttf", "l"},
        {"New", FontsFolder() + "new.ttf", "n"},
    });
    EXPECT_EQ(ListedFontNames(registry_, ListMode::ByTime),
              (Names{"New", "Middle", "@Vertical", "Old", "Gone", "Lost"}));
    EXPECT_EQ(registry_.DisplayNames(),
              (Names{"", "New", "Middle", "@Vertical", "Old", "Gone", "Lost"}));
    EXPECT_EQ(registry_.ValueName(1), "e");
}

TEST_F(ListOrderTest, UnknownModeListsNothing) {
    SetTable({Entry("Alpha")});
    EXPECT_TRUE(ListedFontNames(registry_, static_cast<ListMode>(0)).empty());
    EXPECT_TRUE(ListedFontNames(registry_, static_cast<ListMode>(5)).empty());
}

TEST(SearchTest, MatchesOnCharacterBoundariesOnly) {
    std::string hanziThenTrailA = FromGbk("\x81\x61");   // trail byte 'a'
    std::string hanziThenTrailAt = FromGbk("\x81\x40");  // trail byte '@'
    std::string quote = FromGbk("\xA1\xB0");             // “
    // 啊啊 is B0A1 B0A1: its middle bytes A1 B0 are the bytes of “.
    ASSERT_EQ(platform::Utf8ToGbk("啊啊").substr(1, 2), platform::Utf8ToGbk(quote));
    struct Case {
        std::string name;
        std::string text;
        bool caseSensitive;
        bool matches;
    } cases[] = {
        {"Noto Sans song", "SONG", false, true},
        {"Noto Sans song", "SONG", true, false},
        {"Noto Sans SONG", "song", false, true},
        {"Noto Sans song", "song", true, true},
        {"Noto Sans", "Sans Mono", false, false},
        {"文泉驿微米黑", "微米", true, true},
        {"文泉驿微米黑", "米黑", false, true},
        {"啊啊", quote, true, false},
        {"啊" + quote, quote, true, true},
        {hanziThenTrailA, "a", true, false},
        {hanziThenTrailA, "A", false, false},
        {hanziThenTrailAt, "@", true, false},
        {"@" + hanziThenTrailAt, "@", true, true},
        {"@Vertical", "vert", false, true},
        {"Ａrial", "ａ", false, false},  // full-width letters keep their case
        {"Ａrial", "Ａ", false, true},
        {"Any", "", true, true},
        {"", "a", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SearchMatches(c.name, c.text, c.caseSensitive), c.matches)
            << c.name << " / " << c.text << " / " << c.caseSensitive;
    }
}

// glyphwell-cli fonts --order against a private fontconfig setup, in another process.
class OrderCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Written in this order, so that by time the list runs the other way round.
        struct Font {
            const char* file;
            const char* family;
        } fonts[] = {
            {"e.ttf", "Zeta"},        {"c.ttf", "宋体Fixture"}, {"a.ttf", "8Bit"},
            {"f.ttf", "（Paren"},     {"b.ttf", "@Vertical"},   {"d.ttf", "alpha"},
            {"g.ttf", "黑体Fixture"},
        };
        auto start = fs::file_time_type::clock::now() - std::chrono::hours(1);
        int written = 0;
        for (const Font& font : fonts) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            fs::path path = sandbox_.FontsFolder() / font.file;
            test::WriteRenamedFont(path, font.family);
            fs::last_write_time(path, start + std::chrono::minutes(++written));
        }
    }

    std::string Cli(const std::string& arguments, int* exitCode = nullptr) {
        return test::RunCli(home_ / "home", arguments, exitCode);
    }

    test::FontconfigSandbox sandbox_;
    test::TempDir home_;
};

TEST_F(OrderCliTest, PrintsTheNamesInListedOrder) {
    // The table is in path order: a.ttf to g.ttf.
    struct Case {
        std::string order;
        std::string listing;
    } cases[] = {
        {"language", "宋体Fixture\n黑体Fixture\n8Bit\nalpha\nZeta\n（Paren\n"},
        {"initial", "（Paren\nalpha\n8Bit\n黑体Fixture\n宋体Fixture\nZeta\n"},
        {"time", "黑体Fixture\nalpha\n@Vertical\n（Paren\n8Bit\n宋体Fixture\nZeta\n"},
    };
    for (const Case& c : cases) {
        int code = -1;
        EXPECT_EQ(Cli("fonts --order " + c.order, &code), c.listing) << c.order;
        EXPECT_EQ(code, 0);
        EXPECT_EQ(Cli("fonts --order=" + c.order), c.listing) << c.order;
    }
}

TEST_F(OrderCliTest, BadOrderIsAUsageError) {
    for (const char* arguments : {"--order size", "--order", "--order=", "--sort time"}) {
        int code = -1;
        std::string stderrText = Cli(std::string("fonts ") + arguments + " 2>&1 >/dev/null", &code);
        EXPECT_EQ(code, 2) << arguments;
        EXPECT_NE(stderrText.find("usage: glyphwell-cli fonts"), std::string::npos) << arguments;
    }
    // Plain "fonts" still lists name, file and value name.
    std::string listing = Cli("fonts");
    EXPECT_NE(listing.find("Zeta\t" + sandbox_.FontsFolder().string() + "/e.ttf\t"),
              std::string::npos)
        << listing;
}

}  // namespace
}  // namespace glyphwell::fonts
