#include "ui/logic/FrameLayout.h"

#include <cmath>

namespace glyphwell::ui {
namespace {

// Pixel counts are computed in floating point and stored rounded to the nearest.
int Round(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

const std::array<PageBarItemInfo, kPageBarItemCount> kPageBarItems = {{
    {"字体下载", 9, 20, 1},
    {"系统字体", 85, 96, 0},
    {"我的字体", 161, 173, 2},
    {" 回收站 ", 237, 247, 3},
    {"字体备份", 313, 322, 4},
    {"设计资源", 389, 399, 5},
    {"设计商城", 465, 476, 6},
    {"作品欣赏", 541, 553, 7},
}};

Rect PageBarItemRect(int item) {
    return {kPageBarItems[static_cast<std::size_t>(item - 1)].x, kPageBarTop, kPageBarItemWidth,
            kPageBarItemHeight};
}

Rect TitleButtonRect(int button, int width) {
    switch (button) {
        case kCloseButton:
            return {width - 48, 3, 37, 19};
        case kMaximiseButton:
            return {width - 73, 3, 25, 19};
        case kMinimiseButton:
            return {width - 98, 3, 25, 19};
        case kMoveButton:
            return {width - 123, 3, 25, 19};
        case kMenuButton:
            return {width - 148, 3, 25, 19};
        case kPaletteButton:
            return {width - 35, 80, 27, 22};
        default:
            return {};
    }
}

FrameLayout LayoutFrame(int width, int height) {
    FrameLayout layout;
    // The region runs from (2, 2) to (W - 1, H - 3), right and bottom edges excluded.
    layout.region = {2, 2, width - 3, height - 5};
    layout.pageContainer = {5, 104, width - 8, height - 130};
    const int q = width - 10;
    const double dq = q;
    layout.gridWidth = q;
    layout.folderGridColumns = {Round(2 * dq / 3), Round(dq / 3 - 70)};
    const int firstLeft = Round((dq - 430) / 2);
    for (std::size_t i = 0; i < layout.pagingButtonLefts.size(); ++i) {
        layout.pagingButtonLefts[i] = firstLeft + 100 * static_cast<int>(i);
    }
    layout.pageLabelLeft = layout.pagingButtonLefts.back() + 100;
    layout.systemGridColumns = {210, 120, 27, 210, 120, 27};
    layout.systemGridWidth = layout.pageContainer.width;
    const int q2 = 2 * Round(dq / 2);
    const int first = Round(2.0 * q2 / 3);
    layout.systemGrid2Columns = {first, q2 - first - 67};
    return layout;
}

Point MoveButtonTarget(Point windowTopLeft, Size window, Size screen) {
    if (windowTopLeft.x != 0) {
        return {0, 0};
    }
    return {(screen.width - window.width) / 2, (screen.height - window.height) / 2};
}

void SettleBackgroundKind(app::SkinState& skin) {
    if (skin.BackgroundKind == app::kSkinPictureBackground && skin.SkinNumber == 1) {
        skin.BackgroundKind = app::kPlainColourBackground;
    }
}

TitleAreaFill TitleAreaFillOf(const app::SkinState& skin) {
    if (skin.BackgroundKind == app::kSkinPictureBackground && skin.SkinNumber != 1) {
        return TitleAreaFill::kPicture;
    }
    const bool plainColour = skin.BackgroundKind == app::kPlainColourBackground ||
                             skin.BackgroundKind == app::kSkinPictureBackground;
    if (plainColour && (skin.skin.BackgroundColour != 0 || skin.SkinNumber == 1)) {
        return TitleAreaFill::kColour;
    }
    return TitleAreaFill::kNothing;
}

}  // namespace glyphwell::ui
