#include "ui/logic/MainFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace glyphwell::ui {
namespace {

// Records what the frame asks of its window, one text per call.
class RecordingView : public MainFrameView {
  public:
    void RedrawTitleButton(int button, int alpha, bool fading) override {
        Record("title " + std::to_string(button) + " " + std::to_string(alpha) +
               (fading ? " fading" : ""));
    }
    void RedrawPageBarItem(int item) override { Record("item " + std::to_string(item)); }
    void RedrawPaletteButton() override { Record("palette"); }
    void RepaintWindow() override { Record("repaint"); }
    void StartFadeTimer(int intervalMs) override {
        Record("start timer " + std::to_string(intervalMs));
    }
    void StopFadeTimer() override { Record("stop timer"); }
    void StartWindowDrag() override { Record("drag"); }
    void OpenPalette() override { Record("open palette"); }
    void ClosePalette() override { Record("close palette"); }
    void RunTitleButtonAction(int button) override { Record("action " + std::to_string(button)); }
    void ShowPage(int pageIndex) override { Record("page " + std::to_string(pageIndex)); }
    void DrawStatusLine() override { Record("status"); }

    std::vector<std::string> Take() { return std::exchange(calls_, {}); }

  private:
    void Record(std::string call) { calls_.push_back(std::move(call)); }
    std::vector<std::string> calls_;
};

using Calls = std::vector<std::string>;

class MainFrameTest : public ::testing::Test {
  protected:
    MainFrameTest() : frame_(view_) {
        frame_.MarkFirstItemSelected();
        frame_.SetPageFillHooks({[this] { ++downloadedRefills_; }, [this] { ++recycleRefills_; },
                                 [this] { ++backupFills_; }});
    }
    Point Centre(const Rect& r) const { return {r.x + r.width / 2, r.y + r.height / 2}; }
    void Click(Point p) {
        frame_.LeftPress(p.x, p.y);
        frame_.LeftRelease(p.x, p.y);
    }
    void ClickItem(int item) { Click(Centre(PageBarItemRect(item))); }
    Point TitleCentre(int button) const { return Centre(frame_.TitleButtonRectOf(button)); }

    // A point on the window surface that hits no element.
    static constexpr Point kFreeSpot{300, 12};

    RecordingView view_;
    MainFrame frame_;
    int downloadedRefills_ = 0;
    int recycleRefills_ = 0;
    int backupFills_ = 0;
};

TEST(FrameLayoutTest, HitTestIncludesBothEdgesAndHoverLooksOnePixelLeft) {
    const Rect r{10, 20, 30, 40};
    struct Case {
        int px, py;
        bool press, hover;
    } cases[] = {
        {10, 20, true, true},   {40, 60, true, false},  {39, 60, true, true},
        {9, 20, false, true},   {8, 20, false, false},  {41, 30, false, false},
        {20, 19, false, false}, {20, 61, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Contains(r, c.px, c.py), c.press) << c.px << "," << c.py;
        EXPECT_EQ(Contains(HoverRect(r), c.px, c.py), c.hover) << c.px << "," << c.py;
    }
}

TEST(FrameLayoutTest, RectanglesFollowTheWindowWidth) {
    struct Case {
        int button;
        Rect at744;
    } cases[] = {
        {1, {696, 3, 37, 19}}, {2, {671, 3, 25, 19}}, {3, {646, 3, 25, 19}},
        {4, {621, 3, 25, 19}}, {5, {596, 3, 25, 19}}, {6, {709, 80, 27, 22}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TitleButtonRect(c.button, 744), c.at744) << c.button;
        Rect wider = c.at744;
        wider.x += 100;
        EXPECT_EQ(TitleButtonRect(c.button, 844), wider) << c.button;
    }
    EXPECT_EQ(PageBarItemRect(1), (Rect{9, 31, 76, 48}));
    EXPECT_EQ(PageBarItemRect(8), (Rect{541, 31, 76, 48}));
    const FrameLayout layout = LayoutFrame(744, 620);
    EXPECT_EQ(layout.region, (Rect{2, 2, 741, 615}));
    EXPECT_EQ(layout.pageContainer, (Rect{5, 104, 736, 490}));
}

TEST(FrameLayoutTest, PageControlsFollowTheWindowSize) {
    struct Case {
        int width;
        int gridWidth;
        std::array<int, 2> folderColumns;
        int firstPagingLeft;
        std::array<int, 2> system2Columns;
    } cases[] = {
        {744, 734, {489, 175}, 152, {489, 178}},
        // 2q/3 = 490.67 and q/3 - 70 = 175.33 round to the nearest.
        {746, 736, {491, 175}, 153, {491, 178}},
        // Halves round up: (q - 430)/2 = 152.5, and q/2 = 367.5 makes q2 = 736.
        {745, 735, {490, 175}, 153, {491, 178}},
        {400, 390, {260, 60}, -20, {260, 63}},
    };
    for (const Case& c : cases) {
        const FrameLayout layout = LayoutFrame(c.width, 620);
        EXPECT_EQ(layout.gridWidth, c.gridWidth) << c.width;
        EXPECT_EQ(layout.folderGridColumns, c.folderColumns) << c.width;
        EXPECT_EQ(layout.pagingButtonLefts,
                  (std::array<int, 4>{c.firstPagingLeft, c.firstPagingLeft + 100,
                                      c.firstPagingLeft + 200, c.firstPagingLeft + 300}))
            << c.width;
        EXPECT_EQ(layout.pageLabelLeft, c.firstPagingLeft + 400) << c.width;
        EXPECT_EQ(layout.systemGrid2Columns, c.system2Columns) << c.width;
        EXPECT_EQ(layout.systemGridWidth, c.width - 8) << c.width;
        EXPECT_EQ(layout.systemGridColumns, (std::array<int, 6>{210, 120, 27, 210, 120, 27}));
    }
}

TEST(FrameLayoutTest, MoveButtonGoesToTheCornerThenToTheMiddle) {
    const Size window{744, 620};
    const Size screen{1280, 1024};
    EXPECT_EQ(MoveButtonTarget({200, 150}, window, screen), (Point{0, 0}));
    EXPECT_EQ(MoveButtonTarget({-5, 0}, window, screen), (Point{0, 0}));
    EXPECT_EQ(MoveButtonTarget({0, 0}, window, screen), (Point{268, 202}));
    EXPECT_EQ(MoveButtonTarget({0, 300}, window, {1281, 1025}), (Point{268, 202}));
}

TEST(FrameLayoutTest, TitleAreaFill) {
    struct Case {
        int kind, skinNumber;
        app::Colour background;
        TitleAreaFill fill;
        int kindAfter;
    } cases[] = {
        {2, 8, 0, TitleAreaFill::kPicture, 2}, {2, 1, 0xDEA64D, TitleAreaFill::kColour, 1},
        {2, 1, 0, TitleAreaFill::kColour, 1},  {1, 4, 0x123456, TitleAreaFill::kColour, 1},
        {1, 4, 0, TitleAreaFill::kNothing, 1}, {0, 4, 0x123456, TitleAreaFill::kNothing, 0},
    };
    for (const Case& c : cases) {
        app::SkinState skin;
        skin.BackgroundKind = c.kind;
        skin.SkinNumber = c.skinNumber;
        skin.skin.BackgroundColour = c.background;
        SettleBackgroundKind(skin);
        EXPECT_EQ(TitleAreaFillOf(skin), c.fill) << c.kind << " " << c.skinNumber;
        EXPECT_EQ(skin.BackgroundKind, c.kindAfter) << c.kind << " " << c.skinNumber;
    }
}

TEST_F(MainFrameTest, FadeClimbsByFiveEveryTickAndStopsPastOpaque) {
    const Point p = TitleCentre(kMaximiseButton);
    frame_.MouseMove(p.x, p.y);
    EXPECT_EQ(frame_.TitleButtonState(kMaximiseButton), ButtonState::kHover);
    // Buttons 1 to 3 are not redrawn on entry: the fade shows them.
    EXPECT_EQ(view_.Take(), (Calls{"start timer 20"}));
    for (int step = 1; step <= 51; ++step) {
        frame_.FadeTick();
        EXPECT_EQ(view_.Take(), (Calls{"title 2 " + std::to_string(5 * step) + " fading"}));
    }
    EXPECT_EQ(frame_.FadeValue(), 255);
    frame_.FadeTick();
    EXPECT_EQ(view_.Take(), (Calls{"title 2 260 fading"}));
    EXPECT_TRUE(frame_.FadeRunning());
    frame_.FadeTick();
    EXPECT_EQ(view_.Take(), (Calls{"stop timer", "title 2 265 fading"}));
    EXPECT_FALSE(frame_.FadeRunning());

    frame_.MouseMove(kFreeSpot.x, kFreeSpot.y);
    EXPECT_EQ(frame_.TitleButtonState(kMaximiseButton), ButtonState::kNormal);
    EXPECT_EQ(view_.Take(), (Calls{"title 2 255"}));
}

TEST_F(MainFrameTest, LeavingDuringAFadeSnapsBackAndTheIdleTimerStops) {
    const Point p = TitleCentre(kCloseButton);
    frame_.MouseMove(p.x, p.y);
    frame_.FadeTick();
    frame_.FadeTick();
    view_.Take();
    frame_.MouseLeave();
    EXPECT_EQ(view_.Take(), (Calls{"title 1 255"}));
    frame_.FadeTick();
    EXPECT_EQ(view_.Take(), (Calls{"stop timer"}));
    // A new hover starts the fade from nothing.
    frame_.MouseMove(p.x, p.y);
    frame_.FadeTick();
    EXPECT_EQ(view_.Take(), (Calls{"start timer 20", "title 1 5 fading"}));
}

TEST_F(MainFrameTest, ButtonsFourAndFiveSwitchAtOnce) {
    for (int button : {kMoveButton, kMenuButton}) {
        const Point p = TitleCentre(button);
        frame_.MouseMove(p.x, p.y);
        const std::string redraw = "title " + std::to_string(button) + " 255";
        // Leaving the previous button (if any) comes first.
        Calls calls = view_.Take();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[calls.size() - 2], redraw);
        EXPECT_EQ(calls.back(), "start timer 20");
        // The tick only fades buttons 1 to 3.
        frame_.FadeTick();
        EXPECT_EQ(view_.Take(), (Calls{"stop timer"}));
    }
}

TEST_F(MainFrameTest, HoverReachesOnePixelFurtherLeftThanPresses) {
    const Rect r = frame_.TitleButtonRectOf(kMenuButton);
    frame_.MouseMove(r.x - 1, r.y);
    EXPECT_EQ(frame_.TitleButtonState(kMenuButton), ButtonState::kHover);
    frame_.MouseMove(r.x + r.width, r.y);  // inside for presses, outside for hover
    EXPECT_EQ(frame_.TitleButtonState(kMenuButton), ButtonState::kNormal);
    view_.Take();
    frame_.LeftPress(r.x - 1, r.y);
    EXPECT_EQ(frame_.TitleButtonState(kMenuButton), ButtonState::kNormal);
    EXPECT_EQ(view_.Take(), (Calls{"drag"}));
    frame_.LeftPress(r.x, r.y + r.height);
    EXPECT_EQ(frame_.TitleButtonState(kMenuButton), ButtonState::kPressed);
    // The right edge is shared with button 4, which is looked at first.
    frame_.LeftRelease(kFreeSpot.x, kFreeSpot.y);
    frame_.LeftPress(r.x + r.width, r.y);
    EXPECT_EQ(frame_.TitleButtonState(kMoveButton), ButtonState::kPressed);
    EXPECT_EQ(frame_.TitleButtonState(kMenuButton), ButtonState::kNormal);

    const Rect item = PageBarItemRect(8);
    frame_.MouseMove(item.x - 1, item.y + item.height);
    EXPECT_EQ(frame_.PageBarItemState(8), ItemState::kHover);
    frame_.MouseMove(item.x + item.width, item.y);
    EXPECT_EQ(frame_.PageBarItemState(8), ItemState::kNormal);
}

TEST_F(MainFrameTest, ActionRunsOnlyWhenReleasedOverThePressedButton) {
    struct Case {
        int button;
        Point release;
        Calls expected;
    } cases[] = {
        {kCloseButton, TitleCentre(kCloseButton), {"title 1 255", "action 1"}},
        {kMaximiseButton, TitleCentre(kMaximiseButton), {"title 2 255", "action 2"}},
        {kCloseButton, kFreeSpot, {"title 1 255"}},
        // Released over another button: still only the pressed one goes back to normal.
        {kMinimiseButton, TitleCentre(kMoveButton), {"title 3 255"}},
    };
    for (const Case& c : cases) {
        const Point press = TitleCentre(c.button);
        frame_.LeftPress(press.x, press.y);
        EXPECT_EQ(frame_.TitleButtonState(c.button), ButtonState::kPressed);
        EXPECT_EQ(view_.Take(), (Calls{"title " + std::to_string(c.button) + " 255"}));
        frame_.MouseMove(c.release.x, c.release.y);
        view_.Take();
        frame_.LeftRelease(c.release.x, c.release.y);
        EXPECT_EQ(view_.Take(), c.expected) << c.button;
        EXPECT_EQ(frame_.TitleButtonState(c.button), ButtonState::kNormal);
    }
    // A release with nothing pressed does nothing.
    frame_.LeftRelease(TitleCentre(kCloseButton).x, TitleCentre(kCloseButton).y);
    EXPECT_EQ(view_.Take(), Calls{});
}

TEST_F(MainFrameTest, PressOnAFreePartDragsTheWindow) {
    frame_.LeftPress(kFreeSpot.x, kFreeSpot.y);
    EXPECT_EQ(view_.Take(), (Calls{"drag"}));
    frame_.LeftPress(400, 300);  // the page area below the bar
    EXPECT_EQ(view_.Take(), (Calls{"drag"}));
    const Point p = TitleCentre(kMenuButton);
    frame_.LeftPress(p.x, p.y);
    EXPECT_EQ(view_.Take(), (Calls{"title 5 255"}));
    // Already pressed: a second press neither redraws nor drags.
    frame_.LeftPress(p.x, p.y);
    EXPECT_EQ(view_.Take(), Calls{});
}

TEST_F(MainFrameTest, EachItemShowsItsPage) {
    const int pages[] = {1, 0, 2, 3, 4, 5, 6, 7};
    for (int item : {2, 3, 4, 5, 6, 7, 8, 1}) {
        ClickItem(item);
        Calls calls = view_.Take();
        // Selected item redrawn, the page shown, the status line drawn, all others cleared.
        ASSERT_EQ(calls.size(), 10u) << item;
        EXPECT_EQ(calls[0], "item " + std::to_string(item));
        EXPECT_EQ(calls[1], "page " + std::to_string(pages[item - 1]));
        EXPECT_EQ(calls[2], "status");
        for (int other = 1; other <= kPageBarItemCount; ++other) {
            EXPECT_EQ(frame_.PageBarItemState(other),
                      other == item ? ItemState::kSelected : ItemState::kNormal);
        }
        EXPECT_EQ(frame_.SelectedItem(), item);
    }
}

TEST_F(MainFrameTest, RefillRulesOfThePages) {
    ClickItem(4);
    ClickItem(4);  // already selected: no second refill, no page switch
    EXPECT_EQ(recycleRefills_, 1);
    ClickItem(3);
    ClickItem(1);
    ClickItem(3);
    EXPECT_EQ(downloadedRefills_, 2);
    ClickItem(5);
    ClickItem(1);
    ClickItem(5);
    EXPECT_EQ(backupFills_, 1);
    ClickItem(4);
    EXPECT_EQ(recycleRefills_, 2);
    view_.Take();
    ClickItem(4);
    Calls calls = view_.Take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "page 3"), 0);
}

TEST_F(MainFrameTest, OpenPaletteSuspendsPageBarHover) {
    const Point palette = TitleCentre(kPaletteButton);
    frame_.MouseMove(palette.x, palette.y);
    EXPECT_EQ(frame_.TitleButtonState(kPaletteButton), ButtonState::kHover);
    view_.Take();
    frame_.LeftPress(palette.x, palette.y);
    EXPECT_EQ(view_.Take(), (Calls{"palette", "open palette"}));
    EXPECT_EQ(frame_.TitleButtonState(kPaletteButton), ButtonState::kPressed);
    for (int item = 2; item <= kPageBarItemCount; ++item) {
        EXPECT_EQ(frame_.PageBarItemState(item), ItemState::kHoverSuspended);
    }
    EXPECT_EQ(frame_.PageBarItemState(1), ItemState::kSelected);
    // Hover changes nothing on the bar now; a second press on the button neither.
    const Point item3 = Centre(PageBarItemRect(3));
    frame_.MouseMove(item3.x, item3.y);
    frame_.MouseLeave();
    frame_.LeftPress(palette.x, palette.y);
    EXPECT_EQ(view_.Take(), Calls{});
    EXPECT_EQ(frame_.PageBarItemState(3), ItemState::kHoverSuspended);

    // A press on a free part closes the palette, restores hover and still drags.
    frame_.LeftPress(kFreeSpot.x, kFreeSpot.y);
    EXPECT_EQ(view_.Take(), (Calls{"close palette", "repaint", "drag"}));
    EXPECT_EQ(frame_.TitleButtonState(kPaletteButton), ButtonState::kNormal);
    EXPECT_EQ(frame_.PageBarItemState(3), ItemState::kNormal);
    frame_.MouseMove(item3.x, item3.y);
    EXPECT_EQ(frame_.PageBarItemState(3), ItemState::kHover);
}

TEST_F(MainFrameTest, PressOnAnItemWhilePaletteOpenSelectsItAndClosesThePalette) {
    const Point palette = TitleCentre(kPaletteButton);
    frame_.LeftPress(palette.x, palette.y);
    ClickItem(6);
    EXPECT_EQ(frame_.SelectedItem(), 6);
    EXPECT_EQ(frame_.TitleButtonState(kPaletteButton), ButtonState::kNormal);
    for (int item : {1, 2, 3, 4, 5, 7, 8}) {
        EXPECT_EQ(frame_.PageBarItemState(item), ItemState::kNormal);
    }
}

TEST_F(MainFrameTest, PressOnThePageContainerClosesAnOpenPalette) {
    frame_.PageContainerPressed(false);
    EXPECT_EQ(view_.Take(), Calls{});
    const Point palette = TitleCentre(kPaletteButton);
    frame_.LeftPress(palette.x, palette.y);
    view_.Take();
    frame_.PageContainerPressed(true);
    EXPECT_EQ(view_.Take(), (Calls{"close palette", "repaint"}));
    EXPECT_EQ(frame_.TitleButtonState(kPaletteButton), ButtonState::kNormal);
    EXPECT_EQ(frame_.PageBarItemState(2), ItemState::kNormal);
}

TEST_F(MainFrameTest, MouseLeaveClearsEveryHover) {
    const Point item2 = Centre(PageBarItemRect(2));
    frame_.MouseMove(item2.x, item2.y);
    frame_.MouseLeave();
    EXPECT_EQ(frame_.PageBarItemState(2), ItemState::kNormal);
    const Point palette = TitleCentre(kPaletteButton);
    frame_.MouseMove(palette.x, palette.y);
    view_.Take();
    frame_.MouseLeave();
    EXPECT_EQ(view_.Take(), (Calls{"palette"}));
    // The selected item keeps its state through hover and leave.
    const Point item1 = Centre(PageBarItemRect(1));
    frame_.MouseMove(item1.x, item1.y);
    frame_.MouseLeave();
    EXPECT_EQ(frame_.PageBarItemState(1), ItemState::kSelected);
    EXPECT_EQ(view_.Take(), Calls{});
}

}  // namespace
}  // namespace glyphwell::ui
