#pragma once
// Geometry of the main window's custom-drawn frame: the element tables, the hit test, the
// layout on size change and which fill the title area gets. No widget code, so it tests alone.

#include <array>

#include "app/Skin.h"

namespace glyphwell::ui {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
};

// Both edges count as inside.
constexpr bool Contains(const Rect& r, int px, int py) {
    return r.x <= px && px <= r.x + r.width && r.y <= py && py <= r.y + r.height;
}

// Hover is tested one pixel further left than presses and releases.
constexpr Rect HoverRect(const Rect& r) {
    return {r.x - 1, r.y, r.width, r.height};
}

inline constexpr int kCreatedWidth = 744;
inline constexpr int kCreatedHeight = 620;
// The program's name in the title bar, the window list and the about box.
inline constexpr const char* kProgramTitle = "Glyphwell2014";

inline constexpr int kTitleAreaHeight = 103;

// Title buttons 1 to 5 sit in the top row; 6 is the palette button below them.
inline constexpr int kTitleButtonCount = 6;
inline constexpr int kFadingButtonCount = 3;  // buttons 1 to 3 fade their hover image in
inline constexpr int kPaletteButton = 6;
inline constexpr int kCloseButton = 1;
inline constexpr int kMaximiseButton = 2;
inline constexpr int kMinimiseButton = 3;
inline constexpr int kMoveButton = 4;
inline constexpr int kMenuButton = 5;

inline constexpr int kPageBarItemCount = 8;
inline constexpr int kPageBarTop = 31;
inline constexpr int kPageBarItemWidth = 76;
inline constexpr int kPageBarItemHeight = 48;
inline constexpr int kPageBarLabelTop = 82;
inline constexpr int kPageBarOverlayTop = 28;
inline constexpr int kPageBarOverlayHeight = 71;

struct PageBarItemInfo {
    const char* label;
    int x;
    int labelX;
    int page;  // index in the page container
};

// Index 0 = item 1.
extern const std::array<PageBarItemInfo, kPageBarItemCount> kPageBarItems;

// (x, 31, 76, 48) of item 1 to 8.
Rect PageBarItemRect(int item);

// The rectangle of title button 1 to 6 in a window `width` wide.
Rect TitleButtonRect(int button, int width);

// Where the pages' controls go for a window size; the pages apply what they hold.
struct FrameLayout {
    Rect region;  // the rounded window region, 3 x 3 corner ellipses
    Rect pageContainer;
    int gridWidth = 0;                       // the folder grids and the advertisement box
    std::array<int, 2> folderGridColumns{};  // backup, recycle-bin and my-fonts grids
    std::array<int, 4> pagingButtonLefts{};  // first, previous, next, last page
    int pageLabelLeft = 0;
    std::array<int, 6> systemGridColumns{};   // the main system font grid
    int systemGridWidth = 0;                  // as wide as the page container
    std::array<int, 2> systemGrid2Columns{};  // the second system font grid
};

FrameLayout LayoutFrame(int width, int height);

// Where title button 4 moves the window: to the top-left corner unless it is already at the
// left edge, then to the middle of the screen.
Point MoveButtonTarget(Point windowTopLeft, Size window, Size screen);

enum class TitleAreaFill { kNothing, kPicture, kColour };

// Skin 1 has no picture, so a picture background on skin 1 turns into the plain colour for
// good. Applied wherever the skin changes, before the window repaints.
void SettleBackgroundKind(app::SkinState& skin);

// The fill of the title area for painting.
TitleAreaFill TitleAreaFillOf(const app::SkinState& skin);

}  // namespace glyphwell::ui
