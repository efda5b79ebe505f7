#include "ui/logic/SystemFontPageState.h"

#include <gtest/gtest.h>

namespace glyphwell::ui {
namespace {

TEST(SystemFontPageState, SearchOutcomeDecidesTheShownList) {
    const struct {
        bool filterEmpty;
        int matches;
        ShownFontList shown;
    } cases[] = {
        {false, 3, ShownFontList::kSearchResults},
        {false, 0, ShownFontList::kNoSearchResult},
        {true, 0, ShownFontList::kAllFonts},
        {true, 5, ShownFontList::kAllFonts},  // an emptied filter lists every font again
    };
    SystemFontPageState state;
    EXPECT_EQ(state.Shown(), ShownFontList::kAllFonts);
    EXPECT_EQ(state.ListMode(), fonts::ListMode::ByLanguage);
    for (const auto& c : cases) {
        state.ShowSearchOutcome(c.filterEmpty, c.matches);
        EXPECT_EQ(state.Shown(), c.shown) << c.filterEmpty << " " << c.matches;
        EXPECT_EQ(state.SearchResultsShown(), c.shown == ShownFontList::kSearchResults);
    }
}

TEST(SystemFontPageState, UninstallRunsOnceAtATime) {
    SystemFontPageState state;
    EXPECT_TRUE(state.BeginUninstall());
    EXPECT_FALSE(state.BeginUninstall());
    EXPECT_TRUE(state.Uninstalling());
    state.EndUninstall();
    EXPECT_TRUE(state.BeginUninstall());
}

TEST(SystemFontPageState, EachMenuKeepsItsOwnFont) {
    SystemFontPageState state;
    state.SetMenuFont(FontMenu::kFontList, "文泉驿微米黑");
    state.SetMenuFont(FontMenu::kSearchResults, "DejaVu Sans");
    EXPECT_EQ(state.MenuFont(FontMenu::kFontList), "文泉驿微米黑");
    EXPECT_EQ(state.MenuCaption(FontMenu::kFontList), "删除字体  (  文泉驿微米黑  )");
    EXPECT_EQ(state.MenuCaption(FontMenu::kSearchResults), "删除字体  (  DejaVu Sans  )");
}

}  // namespace
}  // namespace glyphwell::ui
