#include "ui/logic/PaletteChooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace glyphwell::ui {
namespace {

// Records what the chooser asks of its window, one text per call.
class RecordingView : public PaletteView {
  public:
    void RedrawThumbnail(int thumbnail) override {
        Record("thumbnail " + std::to_string(thumbnail));
    }
    void RedrawSwatch(int swatch) override { Record("swatch " + std::to_string(swatch)); }
    void RedrawTab(int tab) override { Record("tab " + std::to_string(tab)); }
    void RepaintPalette() override { Record("repaint"); }
    void ApplySkin(int skinNumber, bool applySkin, app::Colour colour, bool applyColour) override {
        Record("apply " + std::to_string(skinNumber) + (applySkin ? " skin " : " - ") +
               std::to_string(colour) + (applyColour ? " colour" : " -"));
    }

    std::vector<std::string> Take() { return std::exchange(calls_, {}); }

  private:
    void Record(std::string call) { calls_.push_back(std::move(call)); }
    std::vector<std::string> calls_;
};

using Calls = std::vector<std::string>;

Point Centre(const Rect& r) {
    return {r.x + r.width / 2, r.y + r.height / 2};
}

// One run's chooser and a window that records, with the pointer moves a person makes.
struct Session {
    // As after start-up with PaletteSkinNumber = `paletteSkinNumber`.
    void Open(int paletteSkinNumber) {
        skin.PaletteSkinNumber = paletteSkinNumber;
        chooser.Opened(view);
    }
    void Move(Point p) { chooser.MouseMove(p.x, p.y); }
    void Press(Point p) { chooser.LeftPress(p.x, p.y); }
    // Hover first, as a real pointer does, then press.
    void Click(Point p) {
        Move(p);
        Press(p);
    }
    void ClickTab(int tab) {
        Click(Centre(PaletteTabRect(tab)));
        chooser.AfterPaint();
    }

    app::SkinState skin;
    RecordingView view;
    PaletteChooser chooser{skin};
};

class PaletteChooserTest : public ::testing::Test, protected Session {};

constexpr Point kBlankSpot{3, 100};  // left of the thumbnails and swatches

TEST(PaletteGeometryTest, ElementRectanglesAndColours) {
    EXPECT_EQ(PaletteTabRect(0), (Rect{0, 0, 40, 30}));
    EXPECT_EQ(PaletteTabRect(1), (Rect{40, 0, 40, 30}));
    struct Case {
        int number;
        Rect rect;
    } thumbnails[] = {{1, {6, 33, 67, 42}},   {2, {74, 33, 67, 42}},  {3, {142, 33, 67, 42}},
                      {4, {6, 76, 67, 42}},   {6, {142, 76, 67, 42}}, {8, {74, 119, 67, 42}},
                      {9, {142, 119, 67, 42}}},
      swatches[] = {{1, {6, 34, 16, 17}},    {2, {23, 34, 16, 17}},  {12, {193, 34, 16, 17}},
                    {13, {6, 52, 16, 17}},   {30, {91, 70, 16, 17}}, {73, {6, 142, 16, 17}},
                    {84, {193, 142, 16, 17}}};
    for (const Case& c : thumbnails) {
        EXPECT_EQ(ThumbnailRect(c.number), c.rect) << "thumbnail " << c.number;
    }
    for (const Case& c : swatches) {
        EXPECT_EQ(SwatchRect(c.number), c.rect) << "swatch " << c.number;
    }
    // The table's corners and a middle entry, read row by row.
    EXPECT_EQ(SwatchColour(1), 0x00007Eu);
    EXPECT_EQ(SwatchColour(12), 0x202020u);
    EXPECT_EQ(SwatchColour(30), 0xAA7400u);
    EXPECT_EQ(SwatchColour(73), 0x759BF2u);
    EXPECT_EQ(SwatchColour(84), 0xC6C6C6u);
    // The last column is the greys, lightening down the rows.
    for (int row = 0; row < kSwatchRows; ++row) {
        const app::Colour grey = SwatchColour(12 * row + 12);
        EXPECT_EQ(app::RedOf(grey), app::GreenOf(grey)) << row;
        EXPECT_EQ(app::GreenOf(grey), app::BlueOf(grey)) << row;
        if (row > 0) {
            EXPECT_GT(app::RedOf(grey), app::RedOf(SwatchColour(12 * row))) << row;
        }
    }
}

TEST_F(PaletteChooserTest, OpeningPicksTheTabOfTheCurrentChoice) {
    Open(8);
    EXPECT_EQ(chooser.ActiveTab(), kSkinsTab);
    EXPECT_EQ(chooser.TabState(kSkinsTab), kTabActive);
    EXPECT_EQ(chooser.TabState(kColoursTab), kTabNormal);
    EXPECT_EQ(view.Take(), Calls{});
    chooser.AfterPaint();
    EXPECT_EQ(chooser.ThumbnailState(8), kThumbnailChosen);
    EXPECT_EQ(view.Take(), (Calls{"thumbnail 8"}));

    // No skin applied yet (or a colour is current): the colours tab, nothing framed.
    chooser.Closed();
    Open(0);
    EXPECT_EQ(chooser.ActiveTab(), kColoursTab);
    EXPECT_EQ(chooser.TabState(kSkinsTab), kTabNormal);
    chooser.AfterPaint();
    EXPECT_EQ(view.Take(), Calls{});

    // A "pf" outside 1 to 9 still opens on the skins tab but outlines nothing.
    chooser.Closed();
    Open(12);
    EXPECT_EQ(chooser.ActiveTab(), kSkinsTab);
    chooser.AfterPaint();
    EXPECT_EQ(view.Take(), Calls{});
}

TEST_F(PaletteChooserTest, ClickingAThumbnailAppliesItsSkinOnce) {
    Open(8);
    chooser.AfterPaint();
    view.Take();
    const Point one = Centre(ThumbnailRect(1));
    Move(one);
    EXPECT_EQ(chooser.ThumbnailState(1), kThumbnailHover);
    EXPECT_EQ(view.Take(), (Calls{"thumbnail 1"}));
    Press(one);
    EXPECT_EQ(view.Take(), (Calls{"thumbnail 1", "apply 1 skin 0 -", "thumbnail 8"}));
    EXPECT_EQ(chooser.PaletteSkinNumber(), 1);
    EXPECT_EQ(skin.PaletteSkinNumber, 1);
    EXPECT_EQ(chooser.SelectedColourIndex(), 0);
    EXPECT_EQ(chooser.ThumbnailState(1), kThumbnailChosenHover);
    EXPECT_EQ(chooser.ThumbnailState(8), kThumbnailNormal);

    // The chosen thumbnail again: nothing happens.
    Press(one);
    Move({one.x + 1, one.y});
    EXPECT_EQ(view.Take(), Calls{});

    // Off it and back: outline alone, then outline under the pointer.
    Move(Centre(ThumbnailRect(5)));
    EXPECT_EQ(chooser.ThumbnailState(1), kThumbnailChosen);
    EXPECT_EQ(view.Take(), (Calls{"thumbnail 1", "thumbnail 5"}));
    Move(one);
    EXPECT_EQ(chooser.ThumbnailState(1), kThumbnailChosenHover);
    EXPECT_EQ(view.Take(), (Calls{"thumbnail 1", "thumbnail 5"}));
}

TEST(PaletteChooserPressTest, ThumbnailsAreHitEdgeToEdge) {
    struct Case {
        Point p;
        int applied;  // 0: nothing applied
    } cases[] = {
        {{6, 33}, 1},   {{73, 75}, 1},   {{74, 33}, 2},   {{141, 75}, 2},
        {{142, 76}, 6}, {{209, 161}, 9}, {{208, 50}, 3},  {{5, 40}, 0},
        {{100, 32}, 0}, {{210, 120}, 0}, {{100, 162}, 0},
    };
    for (const Case& c : cases) {
        Session s;
        s.Open(4);
        s.chooser.AfterPaint();
        s.view.Take();
        s.Press(c.p);
        const Calls calls = s.view.Take();
        const std::string apply = "apply " + std::to_string(c.applied) + " skin 0 -";
        EXPECT_EQ(std::find(calls.begin(), calls.end(), apply) != calls.end(), c.applied != 0)
            << c.p.x << "," << c.p.y;
        EXPECT_EQ(s.skin.PaletteSkinNumber, c.applied != 0 ? c.applied : 4)
            << c.p.x << "," << c.p.y;
        // A press on another thumbnail inside the area takes the old outline away; the
        // thumbnails' right edge lies past the area, so a press there leaves it.
        EXPECT_EQ(s.chooser.ThumbnailState(4),
                  Contains(kThumbnailArea, c.p.x, c.p.y) ? kThumbnailNormal : kThumbnailChosen)
            << c.p.x << "," << c.p.y;
    }
}

TEST_F(PaletteChooserTest, TabsHoverAndSwitch) {
    Open(8);
    chooser.AfterPaint();
    view.Take();
    const Point colours = Centre(PaletteTabRect(kColoursTab));
    const Point skins = Centre(PaletteTabRect(kSkinsTab));
    Move(colours);
    EXPECT_EQ(chooser.TabState(kColoursTab), kTabHover);
    EXPECT_EQ(view.Take(), (Calls{"tab 1"}));
    Move(skins);  // the active tab keeps its look
    EXPECT_EQ(chooser.TabState(kSkinsTab), kTabActive);
    EXPECT_EQ(view.Take(), (Calls{"tab 1"}));
    Press(skins);
    EXPECT_EQ(view.Take(), Calls{});

    Click(colours);
    EXPECT_EQ(chooser.ActiveTab(), kColoursTab);
    EXPECT_EQ(chooser.TabState(kSkinsTab), kTabNormal);
    EXPECT_EQ(view.Take(), (Calls{"tab 1", "repaint"}));
    chooser.AfterPaint();
    EXPECT_EQ(view.Take(), Calls{});  // no colour chosen yet
    // Thumbnails take no mouse on the colours tab (the swatches start a row lower).
    Click({100, 33});
    EXPECT_EQ(view.Take(), Calls{});
    EXPECT_EQ(skin.PaletteSkinNumber, 8);
}

TEST(PaletteChooserSwatchTest, ClickingASwatchAppliesItsColourAndTheNextOpeningShowsIt) {
    for (int j : {1, 30, 84}) {
        Session s;
        s.Open(8);
        s.chooser.AfterPaint();
        s.ClickTab(kColoursTab);
        s.view.Take();
        const Point p = Centre(SwatchRect(j));
        const std::string swatch = "swatch " + std::to_string(j);
        s.Move(p);
        EXPECT_EQ(s.chooser.SwatchState(j), kSwatchHover) << j;
        s.Press(p);
        EXPECT_EQ(
            s.view.Take(),
            (Calls{swatch, swatch, "apply 0 - " + std::to_string(SwatchColour(j)) + " colour"}))
            << j;
        EXPECT_EQ(s.skin.PaletteSkinNumber, 0) << j;
        EXPECT_EQ(s.chooser.SelectedColourIndex(), j);
        EXPECT_EQ(s.chooser.SwatchState(j), kSwatchChosen);
        s.Press(p);  // already chosen
        EXPECT_EQ(s.view.Take(), Calls{}) << j;

        s.chooser.Closed();
        s.chooser.Opened(s.view);
        EXPECT_EQ(s.chooser.ActiveTab(), kColoursTab) << j;
        s.chooser.AfterPaint();
        EXPECT_EQ(s.chooser.SwatchState(j), kSwatchChosen) << j;
        EXPECT_EQ(s.view.Take(), (Calls{swatch})) << j;
    }
}

TEST_F(PaletteChooserTest, ChoosingAnotherSwatchMovesTheFrame) {
    Open(0);
    chooser.AfterPaint();
    Click(Centre(SwatchRect(5)));
    view.Take();
    Click(Centre(SwatchRect(6)));
    EXPECT_EQ(view.Take(), (Calls{"swatch 6", "swatch 5", "swatch 6",
                                  "apply 0 - " + std::to_string(SwatchColour(6)) + " colour"}));
    EXPECT_EQ(chooser.SwatchState(5), kSwatchNormal);
    EXPECT_EQ(chooser.SelectedColourIndex(), 6);
    // A press between swatches drops the frame; the choice stays and the next paint shows it.
    Press(kBlankSpot);
    EXPECT_EQ(view.Take(), (Calls{"swatch 6"}));
    EXPECT_EQ(chooser.SelectedColourIndex(), 6);
    chooser.AfterPaint();
    EXPECT_EQ(chooser.SwatchState(6), kSwatchChosen);
}

TEST_F(PaletteChooserTest, AfterAColourAnOldSkinOutlineIsNotShownAsCurrent) {
    Open(3);
    chooser.AfterPaint();
    Click(Centre(ThumbnailRect(3)));  // the current skin: nothing applied
    ClickTab(kColoursTab);
    Click(Centre(SwatchRect(40)));
    ClickTab(kSkinsTab);
    view.Take();
    EXPECT_EQ(skin.PaletteSkinNumber, 0);
    // Over the old skin's thumbnail: plain hover, then plain again.
    Move(Centre(ThumbnailRect(3)));
    EXPECT_EQ(chooser.ThumbnailState(3), kThumbnailHover);
    Move(kBlankSpot);
    EXPECT_EQ(chooser.ThumbnailState(3), kThumbnailNormal);
    EXPECT_EQ(view.Take(), (Calls{"thumbnail 3", "thumbnail 3"}));
    // Choosing a skin again ends the colour.
    Click(Centre(ThumbnailRect(3)));
    EXPECT_EQ(view.Take(), (Calls{"thumbnail 3", "thumbnail 3", "apply 3 skin 0 -"}));
    EXPECT_EQ(chooser.SelectedColourIndex(), 0);
    EXPECT_EQ(skin.PaletteSkinNumber, 3);
}

TEST_F(PaletteChooserTest, StatesSurviveClosingAndNothingIsDrawnWhileClosed) {
    Open(0);
    chooser.AfterPaint();
    Move(Centre(SwatchRect(20)));
    chooser.Closed();
    view.Take();
    EXPECT_FALSE(chooser.IsOpen());
    Move(Centre(SwatchRect(21)));
    Press(Centre(SwatchRect(21)));
    chooser.AfterPaint();
    EXPECT_EQ(view.Take(), Calls{});
    EXPECT_EQ(chooser.SelectedColourIndex(), 0);
    chooser.Opened(view);
    EXPECT_EQ(chooser.SwatchState(20), kSwatchHover);
    Move(kBlankSpot);
    EXPECT_EQ(view.Take(), (Calls{"swatch 20"}));
}

}  // namespace
}  // namespace glyphwell::ui
