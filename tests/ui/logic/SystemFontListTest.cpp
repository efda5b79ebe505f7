#include "ui/logic/SystemFontList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "fonts/FontFixtures.h"
#include "fonts/FontconfigFontSystem.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace glyphwell::ui {
namespace {

TEST(SystemFontList, TwoFontsARow) {
    GridData grid(6);
    grid.SetRowCount(3);
    const std::vector<std::string> five = {"甲", "乙", "丙", "丁", "戊"};
    EXPECT_EQ(FillSystemList(grid, five), 5);
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Text(0, 0), "甲");
    EXPECT_EQ(grid.Text(0, 4), "乙");
    EXPECT_EQ(grid.FaceName(1, 3), "丁");
    EXPECT_EQ(grid.Text(2, 1), "戊");
    EXPECT_EQ(grid.Text(2, 3), "");  // the last row's right half stays empty
    EXPECT_EQ(grid.Text(2, 4), "");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(grid.FontHeight(row, 0), 20);
        EXPECT_EQ(grid.FontHeight(row, 3), 20);
    }

    // One font fewer after a reload: no ghost of the removed font in the last row.
    EXPECT_EQ(FillSystemList(grid, {"甲", "乙", "丙", "丁"}), 4);
    EXPECT_EQ(FillSystemList(grid, {"甲", "乙", "丙"}), 3);
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Text(1, 3), "");
    EXPECT_EQ(grid.Text(1, 4), "");
    EXPECT_EQ(grid.FaceName(1, 3), "");

    EXPECT_EQ(FillSystemList(grid, {}), 0);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Text(0, 0), "");
    EXPECT_EQ(grid.Text(0, 1), "");
    EXPECT_EQ(FontCountCaption(5), "系统字体数:5");
}

TEST(SystemFontList, MarksStayWithTheirFontsWhateverMovesIntoTheirCells) {
    GridData grid(6);
    FillSystemList(grid, {"甲", "乙", "丙", "丁", "戊"});
    grid.SetChecked(0, 2, true);  // 甲
    grid.SetChecked(1, 5, true);  // 丁
    grid.SetChecked(2, 5, true);  // the empty half of the last row
    EXPECT_EQ(TickedFontNames(grid, false), (std::vector<std::string>{"甲", "丁"}));
    // 甲 uninstalled: every font moves up a place, the marks do not move with the cells.
    FillSystemList(grid, {"乙", "丙", "丁", "戊"});
    EXPECT_EQ(TickedFontNames(grid, false), std::vector<std::string>{"丁"});
    EXPECT_TRUE(grid.Checked(1, 2));
    EXPECT_FALSE(grid.Checked(0, 2));
    // A font that comes back does not find its old mark.
    FillSystemList(grid, {"甲", "乙"});
    EXPECT_TRUE(TickedFontNames(grid, false).empty());

    GridData results(3);
    FillSearchResults(results, {"Alpha", "Beta", "Gamma"}, "a", false, 734);
    results.SetChecked(0, 2, true);
    results.SetChecked(2, 2, true);
    FillSearchResults(results, {"Beta", "Gamma"}, "a", false, 734);
    EXPECT_EQ(TickedFontNames(results, true), std::vector<std::string>{"Gamma"});
    EXPECT_TRUE(results.Checked(1, 2));
}

TEST(SystemFontList, SearchResultsCaseAndWidths) {
    GridData grid(3);
    const std::vector<std::string> names = {"DejaVu Sans", "dejavu serif", "文泉驿微米黑"};
    EXPECT_EQ(FillSearchResults(grid, names, "DEJAVU", false, 734), 2);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Text(1, 1), "dejavu serif");
    EXPECT_EQ(grid.FaceName(1, 0), "dejavu serif");
    EXPECT_EQ(grid.FontHeight(1, 0), 25);
    EXPECT_EQ(FillSearchResults(grid, names, "DEJAVU", true, 734), 0);
    EXPECT_EQ(FillSearchResults(grid, names, "微米", true, 734), 1);

    // 18 matches leave a third minus 52 for the name column, 19 a third minus 70.
    const std::vector<std::string> many(19, "Font");
    EXPECT_EQ(FillSearchResults(grid, {many.begin(), many.begin() + 18}, "F", true, 900), 18);
    EXPECT_EQ(grid.ColumnWidth(0), 600);
    EXPECT_EQ(grid.ColumnWidth(1), 248);
    EXPECT_EQ(FillSearchResults(grid, many, "F", true, 900), 19);
    EXPECT_EQ(grid.ColumnWidth(1), 230);
}

TEST(SystemFontList, MenuCaptionCarriesTheClickedFont) {
    for (const std::string name : {"DejaVu Sans", "文泉驿微米黑", ""}) {
        const std::string caption = MenuFontCaption(name);
        EXPECT_EQ(caption, "删除字体  (  " + name + "  )");
    }

    GridData grid(6);
    FillSystemList(grid, {"Left", "Right"});
    EXPECT_EQ(ClickedFontName(grid, 100), "");  // no current row
    grid.SetCurrentRow(0);
    EXPECT_EQ(ClickedFontName(grid, 334), "Left");
    EXPECT_EQ(ClickedFontName(grid, 335), "Right");
    EXPECT_EQ(NameToCopy(grid, "Left"), "Left");
    EXPECT_EQ(NameToCopy(grid, "Right"), "Right");
}

void SetTicks(GridData& grid) {
    for (int row = 0; row < grid.RowCount(); ++row) {
        grid.SetChecked(row, 2, true);
    }
}

// Installed fonts on a private fontconfig setup, and a recycle bin.
class BatchUninstallTest : public ::testing::Test {
  protected:
    void Install(const std::vector<std::string>& families) {
        for (const std::string& family : families) {
            const std::filesystem::path source = sources_ / (family + ".ttf");
            test::WriteRenamedFont(source, family);
            std::string target;
            ASSERT_EQ(fonts::InstallFont(system_, source.string(), target), 1) << family;
        }
        registry_.LoadFontTable();
    }
    std::string InstalledFile(const std::string& family) const {
        return registry_.FilePath(registry_.FindFontEntry(family));
    }
    std::vector<std::string> RecycleBin() const {
        auto files = platform::ListFiles(recycleBin_);
        std::sort(files.begin(), files.end());
        return files;
    }

    test::FontconfigSandbox sandbox_;
    test::TempDir sources_;
    test::TempDir work_;
    std::filesystem::path recycleBin_ = work_ / "字体回收站";
    fonts::FontconfigFontSystem system_{sandbox_.Paths()};
    fonts::FontRegistry registry_{system_};
    std::vector<std::string> progress_;
    std::function<void(const std::string&)> record_ = [this](const std::string& text) {
        progress_.push_back(text);
    };
};

TEST_F(BatchUninstallTest, TickedFontsGoToTheRecycleBinUnderTheirFileNames) {
    std::filesystem::create_directories(sandbox_.FontsFolder());
    std::filesystem::create_directories(recycleBin_);
    Install({"Alpha", "Bravo", "Charlie", "Delta", "Echo"});
    ASSERT_EQ(registry_.Count(), 5);
    GridData grid(6);
    FillSystemList(grid, {"Alpha", "Bravo", "Charlie", "Delta", "Echo"});
    // A preview text in the sample columns does not change which fonts go.
    for (int row = 0; row < grid.RowCount(); ++row) {
        grid.SetText(row, 3, "预览");
    }
    grid.SetChecked(0, 2, true);
    grid.SetChecked(1, 5, true);
    grid.SetChecked(2, 5, true);  // the empty right half of the last row
    const std::string alphaFile = InstalledFile("Alpha");
    const std::string deltaFile = InstalledFile("Delta");

    const UninstallOutcome outcome = BatchUninstall(registry_, grid, false, recycleBin_, record_);
    EXPECT_TRUE(outcome.keptFonts.empty());
    // Row index over the number of installed fonts.
    EXPECT_EQ(progress_, (std::vector<std::string>{"卸载Alpha.完成:0%", "卸载Delta.完成:20%"}));
    EXPECT_FALSE(platform::FileExists(alphaFile));
    EXPECT_FALSE(platform::FileExists(deltaFile));
    const std::string alphaName = std::filesystem::path(alphaFile).filename().string();
    const std::string deltaName = std::filesystem::path(deltaFile).filename().string();
    EXPECT_EQ(RecycleBin(), (std::vector<std::string>{alphaName, deltaName}));
    registry_.LoadFontTable();
    EXPECT_EQ(registry_.Count(), 3);
    EXPECT_EQ(registry_.FindFontEntry("Alpha"), 0);
    EXPECT_NE(registry_.FindFontEntry("Bravo"), 0);

    // Nothing ticked: nothing goes and nothing is reported.
    progress_.clear();
    GridData none(6);
    FillSystemList(none, registry_.DisplayNames());
    EXPECT_TRUE(BatchUninstall(registry_, none, false, recycleBin_, record_).keptFonts.empty());
    EXPECT_TRUE(progress_.empty());
    EXPECT_EQ(registry_.Count(), 3);
}

TEST_F(BatchUninstallTest, SearchResultsPercentAndAFailedCopyKeepsTheFont) {
    std::filesystem::create_directories(sandbox_.FontsFolder());
    Install({"Alpha", "Bravo", "Charlie"});
    GridData results(3);
    FillSearchResults(results, registry_.DisplayNames(), "a", false, 734);
    ASSERT_EQ(results.RowCount(), 3);
    SetTicks(results);
    // The recycle bin cannot be written: a plain file stands where the folder should be.
    ASSERT_TRUE(platform::WriteWholeFile(recycleBin_, "not a folder"));
    const std::string bravoFile = InstalledFile("Bravo");
    const UninstallOutcome kept = BatchUninstall(registry_, results, true, recycleBin_, record_);
    EXPECT_EQ(kept.keptFonts, (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));
    EXPECT_TRUE(platform::FileExists(bravoFile));
    registry_.LoadFontTable();
    EXPECT_EQ(registry_.Count(), 3);

    std::filesystem::remove(recycleBin_);
    std::filesystem::create_directories(recycleBin_);
    progress_.clear();
    EXPECT_TRUE(BatchUninstall(registry_, results, true, recycleBin_, record_).keptFonts.empty());
    // Row index over the search grid's rows: it ends at (rows - 1) / rows.
    ASSERT_EQ(progress_.size(), 3u);
    EXPECT_EQ(progress_[2].substr(progress_[2].find(".完成:")), ".完成:66%");
    EXPECT_FALSE(platform::FileExists(bravoFile));
}

TEST_F(BatchUninstallTest, SameFileNameFromTwoFoldersKeepsBothAndNeitherOriginalIsDeleted) {
    std::filesystem::create_directories(sandbox_.FontsFolder());
    std::filesystem::create_directories(recycleBin_);
    std::filesystem::create_directories(sandbox_.SystemFolder() / "a");
    std::filesystem::create_directories(sandbox_.SystemFolder() / "b");
    test::WriteRenamedFont(sandbox_.SystemFolder() / "a" / "same.ttf", "First Same");
    test::WriteRenamedFont(sandbox_.SystemFolder() / "b" / "same.ttf", "Second Same");
    system_.AnnounceFontChange();
    registry_.LoadFontTable();
    const std::vector<std::string> listed = {"First Same", "Second Same"};
    ASSERT_NE(registry_.FindFontEntry(listed[0]), 0);
    ASSERT_NE(registry_.FindFontEntry(listed[1]), 0);
    const auto firstBytes = platform::ReadWholeFile(InstalledFile(listed[0]));
    const auto secondBytes = platform::ReadWholeFile(InstalledFile(listed[1]));
    GridData grid(6);
    FillSystemList(grid, listed);
    grid.SetChecked(0, 2, true);
    grid.SetChecked(0, 5, true);
    BatchUninstall(registry_, grid, false, recycleBin_, record_);
    EXPECT_EQ(RecycleBin(), (std::vector<std::string>{"same (2).ttf", "same.ttf"}));
    EXPECT_EQ(platform::ReadWholeFile(recycleBin_ / "same.ttf"), firstBytes);
    EXPECT_EQ(platform::ReadWholeFile(recycleBin_ / "same (2).ttf"), secondBytes);
    // Not the program's files: hidden for this user, left where they are.
    EXPECT_TRUE(std::filesystem::exists(sandbox_.SystemFolder() / "a" / "same.ttf"));
    registry_.LoadFontTable();
    EXPECT_EQ(registry_.FindFontEntry(listed[0]), 0);
}

TEST_F(BatchUninstallTest, SingleDeleteNamesItsCopyAfterTheFont) {
    std::filesystem::create_directories(sandbox_.FontsFolder());
    std::filesystem::create_directories(recycleBin_);
    std::string target;
    ASSERT_EQ(fonts::InstallFont(system_, test::kUMing.string(), target), 1);
    registry_.LoadFontTable();
    const std::string name = registry_.DisplayName(1);
    ASSERT_FALSE(name.empty());
    bool kept = true;
    EXPECT_FALSE(DeleteSearchResultFont(registry_, "no such font", recycleBin_, kept));
    EXPECT_FALSE(DeleteSearchResultFont(registry_, "", recycleBin_, kept));
    EXPECT_TRUE(DeleteSearchResultFont(registry_, name, recycleBin_, kept));
    EXPECT_FALSE(kept);
    EXPECT_EQ(RecycleBin(), std::vector<std::string>{name + ".ttf"});
    EXPECT_EQ(platform::FileSize(recycleBin_ / (name + ".ttf")), platform::FileSize(test::kUMing));
    registry_.LoadFontTable();
    EXPECT_EQ(registry_.FindFontEntry(name), 0);

    // A name from the font that would lead out of the bin gives the file's own name instead.
    const std::filesystem::path source = sources_ / "plain.ttf";
    test::WriteRenamedFont(source, "../../escape");
    target.clear();
    ASSERT_EQ(fonts::InstallFont(system_, source.string(), target), 1);
    registry_.LoadFontTable();
    EXPECT_TRUE(DeleteSearchResultFont(registry_, "../../escape", recycleBin_, kept));
    EXPECT_FALSE(kept);
    std::vector<std::string> expected = {name + ".ttf", "plain.ttf"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(RecycleBin(), expected);
    EXPECT_FALSE(std::filesystem::exists(recycleBin_.parent_path().parent_path() / "escape.ttf"));
}

}  // namespace
}  // namespace glyphwell::ui
