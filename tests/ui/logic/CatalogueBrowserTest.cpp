#include "ui/logic/CatalogueBrowser.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace glyphwell::ui {
namespace {

// Records what the browser asks the page to draw.
class RecordingView : public CatalogueView {
  public:
    struct Button {
        int left, top;
        SubcategoryLook look;
        std::string name;
        int textLeft;
    };
    std::vector<Button> buttons;
    std::vector<std::pair<int, bool>> rows;  // row, highlighted
    std::vector<CatalogueItem> drawnItems;
    std::string pageLabel = "-";
    bool previewControls = true;
    int listClears = 0;
    int backClears = 0;
    int recognitionOpened = 0;
    bool sharedBox = true;

  private:
    void ClearList() override { ++listClears; }
    void ClearBackCanvas() override { ++backClears; }
    void ClearSubcategories() override { buttons.clear(); }
    void DrawSubcategoryButton(int left, int top, SubcategoryLook look, const std::string& name,
                               int textLeft) override {
        buttons.push_back({left, top, look, name, textLeft});
    }
    void DrawRow(int row, const CatalogueItem& item, bool highlighted) override {
        rows.emplace_back(row, highlighted);
        drawnItems.push_back(item);
    }
    void SetPageLabel(const std::string& text) override { pageLabel = text; }
    void SetPreviewControlsVisible(bool visible) override { previewControls = visible; }
    void HideRowButtons() override {}
    void SetSharedFontsBoxVisible(bool visible) override { sharedBox = visible; }
    void OpenRecognitionWindow() override { ++recognitionOpened; }
};

class CatalogueBrowserTest : public ::testing::Test {
  protected:
    CatalogueBrowserTest() {
        for (int i = 1; i <= 11; ++i) {
            subcategories_.push_back("分类" + std::to_string(i));
        }
        AddFonts("分类1", 13);
        AddFonts("分类2", 2);
    }
    void AddFonts(const std::string& table, int count) {
        for (int i = 1; i <= count; ++i) {
            tables_[table].push_back(
                {table + "字体" + std::to_string(i), "a" + std::to_string(i), ""});
        }
    }
    CatalogueSource Source() {
        CatalogueSource source;
        source.readSubcategoryNames = [this](int) { return subcategories_; };
        source.countCatalogueFonts = [this](const std::string& table) {
            const auto found = tables_.find(table);
            return found == tables_.end() ? -1 : static_cast<int>(found->second.size());
        };
        source.readCataloguePage = [this](const std::string& table, int page) {
            catalogue::CataloguePage result;
            const auto& fonts = tables_[table];
            result.Remaining = static_cast<int>(fonts.size()) - (page - 1) * 6;
            for (int i = (page - 1) * 6; i < std::min<int>(page * 6, fonts.size()); ++i) {
                result.Fonts.push_back(fonts[static_cast<std::size_t>(i)]);
            }
            return result;
        };
        source.installedMark = [this](const std::string& name) {
            return installed_.count(name) ? 3 : 1;
        };
        return source;
    }

    std::vector<std::string> subcategories_;
    std::map<std::string, std::vector<catalogue::CatalogueFont>> tables_;
    std::set<std::string> installed_;
    RecordingView view_;
    std::vector<std::string> started_;
    CatalogueBrowser browser_{
        view_, Source(), [this](const CatalogueItem& item) { started_.push_back(item.FontName); }};
};

TEST(SubcategoryHitTest, ButtonsGapsAndLines) {
    const struct {
        double x, y;
        int index;
    } cases[] = {
        {10, 10, 1}, {63, 20, 1},   {64, 20, 0},  // 64 / 74 = 0.865: the gap after button 1
        {73, 20, 0}, {80, 20, 2},   {80, 50, 12},
        {1, 43, 11}, {10, 31, 1},   {10, 32, 0},  // 22 / 33 = 0.667: below the button
        {10, 5, 1},  {700, 20, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SubcategoryIndexAt(c.x, c.y), c.index) << c.x << "," << c.y;
    }
    EXPECT_EQ(SubcategoryLineTop(10), 10);
    EXPECT_EQ(SubcategoryLineTop(11), 43);
}

TEST_F(CatalogueBrowserTest, ElevenSubcategoriesOnTwoLinesAndTheFirstSelected) {
    browser_.ShowCategory(0);
    ASSERT_EQ(view_.buttons.size(), 12u);  // eleven drawn, then the first redrawn selected
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(view_.buttons[static_cast<std::size_t>(i)].left, 1 + 74 * i);
        EXPECT_EQ(view_.buttons[static_cast<std::size_t>(i)].top, 10);
        EXPECT_EQ(view_.buttons[static_cast<std::size_t>(i)].textLeft, 9 + 74 * i);
    }
    EXPECT_EQ(view_.buttons[10].left, 1);
    EXPECT_EQ(view_.buttons[10].top, 43);
    EXPECT_EQ(view_.buttons.back().look, SubcategoryLook::kSelected);
    EXPECT_EQ(view_.buttons.back().textLeft, 9);
    EXPECT_EQ(browser_.SelectedSubcategory(), 1);
    EXPECT_EQ(view_.pageLabel, "1/3");
    EXPECT_FALSE(view_.sharedBox);

    // Button 12 does not exist; the selected one and gaps do nothing.
    const std::size_t drawn = view_.buttons.size();
    browser_.SubcategoryRelease(80, 50);
    browser_.SubcategoryRelease(10, 10);
    browser_.SubcategoryRelease(70, 20);
    browser_.SubcategoryMove(10, 10);  // hovering the selected button keeps its look
    EXPECT_EQ(view_.buttons.size(), drawn);
    browser_.SubcategoryMove(80, 20);
    EXPECT_EQ(view_.buttons.back().look, SubcategoryLook::kHover);
    EXPECT_EQ(view_.buttons.back().textLeft, 83);
    browser_.SubcategoryRelease(80, 20);
    EXPECT_EQ(browser_.SelectedSubcategory(), 2);
    EXPECT_EQ(browser_.CurrentSubcategory(), "分类2");
    EXPECT_EQ(view_.pageLabel, "1/1");
}

TEST_F(CatalogueBrowserTest, PagingThroughThirteenFonts) {
    browser_.ShowCategory(0);
    EXPECT_EQ(browser_.ItemsOnPage(), 6);
    view_.rows.clear();
    browser_.PreviousPage();  // from page 1: stays, nothing redrawn
    EXPECT_EQ(browser_.PageNumber(), 1);
    EXPECT_TRUE(view_.rows.empty());
    browser_.NextPage();
    browser_.NextPage();
    EXPECT_EQ(view_.pageLabel, "3/3");
    EXPECT_EQ(browser_.ItemsOnPage(), 1);
    EXPECT_EQ(view_.backClears, 2);
    EXPECT_EQ(browser_.Item(1).FontName, "分类1字体13");
    EXPECT_EQ(browser_.Item(2).FontName, "分类1字体8");  // slots keep their old content
    browser_.NextPage();                                 // past the last page: nothing
    EXPECT_EQ(browser_.PageNumber(), 3);
    browser_.FirstPage();
    EXPECT_EQ(view_.pageLabel, "1/3");

    browser_.SubcategoryRelease(80, 20);  // two fonts, one page
    view_.rows.clear();
    browser_.LastPage();
    EXPECT_EQ(view_.rows.size(), 2u);  // page 1 redrawn
}

TEST_F(CatalogueBrowserTest, ReleaseOnTheDownloadButtonStartsOnlyNotInstalledRows) {
    installed_.insert("分类2字体2");
    browser_.ShowCategory(0);
    browser_.SubcategoryRelease(80, 20);  // two rows
    browser_.ListRelease(700, 10);        // above row 1's zone (its top is 11)
    browser_.ListRelease(700, 180);       // row 4 does not count on this page
    browser_.ListRelease(700, 80);        // row 2 is installed
    EXPECT_TRUE(started_.empty());
    browser_.ListRelease(700, 30);
    EXPECT_EQ(started_, std::vector<std::string>{"分类2字体1"});
    EXPECT_EQ(browser_.Item(1).State, CatalogueItemState::kDownloading);
    EXPECT_EQ(view_.drawnItems.back().AnimationFrame, 1);  // the spinner shows at once
    browser_.ListRelease(700, 30);                         // downloading: nothing new
    EXPECT_EQ(started_.size(), 1u);

    std::vector<int> frames;
    for (int tick = 0; tick < 7; ++tick) {
        browser_.AnimationTick();
        frames.push_back(browser_.Item(1).AnimationFrame);
    }
    EXPECT_EQ(frames, (std::vector<int>{3, 5, 7, 9, 11, 1, 3}));
}

TEST_F(CatalogueBrowserTest, MouseOverTheListHighlightsCountedRowsOnly) {
    browser_.ShowCategory(0);
    browser_.SubcategoryRelease(80, 20);  // two rows
    view_.rows.clear();
    browser_.ListMove(100, 160);  // row 4
    browser_.ListPress(680, 170);
    EXPECT_TRUE(view_.rows.empty());
    browser_.ListMove(680, 20);  // on row 1's drawn button: hover look, highlighted
    EXPECT_EQ(browser_.Item(1).ButtonState, DownloadButtonLook::kHover);
    EXPECT_EQ(view_.rows.front(), (std::pair<int, bool>{1, true}));
    browser_.ListMove(100, 70);  // row 2: row 1 drawn plain again
    EXPECT_EQ(view_.rows.back(), (std::pair<int, bool>{1, false}));
    browser_.ListPress(680, 70);
    EXPECT_EQ(browser_.Item(2).ButtonState, DownloadButtonLook::kPressed);
    EXPECT_EQ(browser_.Item(1).ButtonState, DownloadButtonLook::kNormal);
}

TEST_F(CatalogueBrowserTest, DownloadNewsAndMarksReachRowsByName) {
    tables_["分类1"][1].FontName = "分类1字体1";  // the same font twice on the page
    browser_.ShowCategory(0);
    browser_.ListRelease(700, 30);
    browser_.DownloadProgress("分类1字体1", 42);
    EXPECT_EQ(browser_.Item(1).Percent, 42);
    EXPECT_EQ(browser_.Item(2).Percent, 42);
    browser_.DownloadEnded("分类1字体1", true);
    EXPECT_EQ(browser_.Item(1).State, CatalogueItemState::kInstalled);
    EXPECT_EQ(browser_.Item(2).State, CatalogueItemState::kNotInstalled);

    // The installed table does not list it (another display name): the mark puts it back.
    view_.rows.clear();
    browser_.RefreshCatalogueMarks();
    EXPECT_EQ(browser_.Item(1).State, CatalogueItemState::kNotInstalled);
    EXPECT_EQ(view_.rows, (std::vector<std::pair<int, bool>>{{1, false}}));
    installed_.insert("分类1字体3");
    view_.rows.clear();
    browser_.RefreshCatalogueMarks();
    EXPECT_EQ(view_.rows, (std::vector<std::pair<int, bool>>{{3, false}}));
}

TEST_F(CatalogueBrowserTest, SpecialTabsAndAnEmptyCatalogue) {
    browser_.ShowCategory(kRecognitionCategory);
    EXPECT_EQ(view_.recognitionOpened, 1);
    browser_.ShowCategory(kSharedFontsCategory);
    EXPECT_TRUE(view_.sharedBox);
    subcategories_.clear();
    browser_.ShowCategory(0);
    EXPECT_FALSE(view_.previewControls);
    EXPECT_EQ(view_.pageLabel, "");
    EXPECT_EQ(browser_.SelectedSubcategory(), 0);
}

}  // namespace
}  // namespace glyphwell::ui
