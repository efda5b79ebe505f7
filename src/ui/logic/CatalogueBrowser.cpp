#include "ui/logic/CatalogueBrowser.h"

#include <algorithm>
#include <cmath>

#include "fonts/FontRegistry.h"
#include "ui/logic/PageControls.h"

namespace glyphwell::ui {
namespace {

// Columns of a sub-category button's line (10 buttons) and the gap rules of the hit test.
constexpr int kButtonsPerLine = 10;
constexpr double kColumnGapFraction = 0.86;
constexpr double kLineGapFraction = 0.66;

// Where a row's download button is drawn, and the columns its hover and pressed looks answer
// in: the drawn button's own, so the looks show on the button the pointer is on.
constexpr int kStateButtonWidth = 63;

int BackCanvasWidth() {
    return PageControl(ControlId::kBackCanvas).rect.width;
}

int StateButtonLeft() {
    return BackCanvasWidth() - kStateButtonLeftFromRight;
}

bool InStateButtonColumn(int x) {
    return x >= StateButtonLeft() && x < StateButtonLeft() + kStateButtonWidth;
}

}  // namespace

int SubcategoryIndexAt(double x, double y) {
    const double column = x / kSubcategoryPitch;
    const double line = (y - kSubcategoryFirstTop) / kSubcategoryLinePitch;
    double wholeColumn = 0;
    double wholeLine = 0;
    const double columnFraction = std::modf(column, &wholeColumn);
    const double lineFraction = std::modf(line, &wholeLine);
    if (columnFraction > kColumnGapFraction || lineFraction > kLineGapFraction) {
        return 0;
    }
    // Above the first line counts as line 0.
    return static_cast<int>(wholeColumn) +
           kButtonsPerLine * std::max(0, static_cast<int>(wholeLine)) + 1;
}

int SubcategoryLineTop(int index) {
    return index / 11 * kSubcategoryLinePitch + kSubcategoryFirstTop;
}

CatalogueBrowser::CatalogueBrowser(CatalogueView& view, CatalogueSource source,
                                   std::function<void(const CatalogueItem&)> startDownload)
    : view_(view), source_(std::move(source)), startDownload_(std::move(startDownload)) {}

void CatalogueBrowser::ShowCategory(int categoryIndex) {
    categoryIndex_ = categoryIndex;
    view_.ClearList();
    fontCount_ = 0;
    pageCount_ = 0;
    pageNumber_ = 0;
    itemsOnPage_ = 0;
    hoverRow_ = 0;
    buttonHoverRow_ = 0;
    view_.SetPageLabel("");
    view_.HideRowButtons();

    view_.ClearSubcategories();
    subcategoryNames_.clear();
    subcategoryLefts_.clear();
    selectedSubcategory_ = 0;
    hoveredSubcategory_ = 0;

    const std::vector<std::string> names = source_.readSubcategoryNames
                                               ? source_.readSubcategoryNames(categoryIndex)
                                               : std::vector<std::string>();
    const int lineEnd = PageControl(ControlId::kCategoryCanvas).rect.width - 50;
    int x = kSubcategoryFirstLeft;
    int y = kSubcategoryFirstTop;
    for (const std::string& name : names) {
        subcategoryNames_.push_back(name);
        subcategoryLefts_.push_back(x);
        view_.DrawSubcategoryButton(x, y, SubcategoryLook::kNormal, name, x + 8);
        x += kSubcategoryPitch;
        if (x > lineEnd) {
            x = kSubcategoryFirstLeft;
            y += kSubcategoryLinePitch;
        }
    }
    if (!subcategoryNames_.empty()) {
        SubcategoryRelease(10, 10);  // selects the first button
    } else {
        view_.SetPreviewControlsVisible(false);
    }
}

void CatalogueBrowser::DrawSubcategory(int index, SubcategoryLook look) {
    const int left = subcategoryLefts_[static_cast<std::size_t>(index - 1)];
    // A normal button's name sits one pixel further right than a hovered or selected one's.
    const int textLeft = left + (look == SubcategoryLook::kNormal ? 9 : 8);
    view_.DrawSubcategoryButton(left, SubcategoryLineTop(index), look,
                                subcategoryNames_[static_cast<std::size_t>(index - 1)], textLeft);
}

void CatalogueBrowser::SubcategoryRelease(int x, int y) {
    const int index = SubcategoryIndexAt(x, y);
    const int count = static_cast<int>(subcategoryNames_.size());
    if (index == 0 || index == selectedSubcategory_ || index > count) {
        return;
    }
    if (selectedSubcategory_ != 0) {
        DrawSubcategory(selectedSubcategory_, SubcategoryLook::kNormal);
    }
    DrawSubcategory(index, SubcategoryLook::kSelected);
    SelectSubcategory(index);
    selectedSubcategory_ = index;
}

void CatalogueBrowser::SubcategoryMove(int x, int y) {
    const int index = SubcategoryIndexAt(x, y);
    const int count = static_cast<int>(subcategoryNames_.size());
    if (index == 0) {
        if (hoveredSubcategory_ != 0 && hoveredSubcategory_ != selectedSubcategory_) {
            DrawSubcategory(hoveredSubcategory_, SubcategoryLook::kNormal);
        }
        hoveredSubcategory_ = 0;
        return;
    }
    if (index == hoveredSubcategory_ || index == selectedSubcategory_ || index > count) {
        return;
    }
    if (hoveredSubcategory_ != 0 && hoveredSubcategory_ != selectedSubcategory_) {
        DrawSubcategory(hoveredSubcategory_, SubcategoryLook::kNormal);
    }
    DrawSubcategory(index, SubcategoryLook::kHover);
    hoveredSubcategory_ = index;
}

void CatalogueBrowser::SelectSubcategory(int index) {
    if (categoryIndex_ == kRecognitionCategory) {
        view_.OpenRecognitionWindow();
    }
    view_.SetSharedFontsBoxVisible(categoryIndex_ == kSharedFontsCategory);
    view_.ClearList();
    view_.SetPageLabel("");
    pageNumber_ = 1;
    currentSubcategory_ = subcategoryNames_[static_cast<std::size_t>(index - 1)];
    fontCount_ =
        source_.countCatalogueFonts ? source_.countCatalogueFonts(currentSubcategory_) : -1;
    pageCount_ = catalogue::PageCount(fontCount_);
    FillCataloguePage();
}

void CatalogueBrowser::FillCataloguePage() {
    view_.SetPageLabel(std::to_string(pageNumber_) + "/" + std::to_string(pageCount_));
    if (pageCount_ == 0) {
        view_.SetPreviewControlsVisible(false);
        view_.SetPageLabel("");
    }
    if (currentSubcategory_.empty()) {
        return;
    }
    const catalogue::CataloguePage page =
        source_.readCataloguePage ? source_.readCataloguePage(currentSubcategory_, pageNumber_)
                                  : catalogue::CataloguePage{};
    buttonHoverRow_ = 0;
    hoverRow_ = 0;
    view_.HideRowButtons();
    if (page.Remaining != 0) {
        view_.SetPreviewControlsVisible(true);
    }
    int row = 1;
    for (const catalogue::CatalogueFont& font : page.Fonts) {
        if (row > kCatalogueRowCount) {
            break;
        }
        CatalogueItem& item = rows_[Slot(row)];
        item.SamplePicture = font.SamplePicture;
        item.FontName = font.FontName;
        item.FontAddress = font.FontAddress;
        item.ButtonState = DownloadButtonLook::kNormal;
        item.State = source_.installedMark && source_.installedMark(font.FontName) == 3
                         ? CatalogueItemState::kInstalled
                         : CatalogueItemState::kNotInstalled;
        DrawCatalogueRow(row, false);
        ++row;
    }
    itemsOnPage_ = page.Remaining > 5 ? kCatalogueRowCount : page.Remaining;
}

void CatalogueBrowser::DrawCatalogueRow(int row, bool highlighted) {
    if (row < 1 || row > kCatalogueRowCount) {
        return;
    }
    CatalogueItem& item = rows_[Slot(row)];
    if (item.State == CatalogueItemState::kDownloading && item.AnimationFrame == 0) {
        item.AnimationFrame = 1;
    }
    view_.DrawRow(row, item, highlighted);
}

int CatalogueBrowser::ListRowAt(int y) const {
    if (y < 0) {
        return 0;
    }
    const int row = y / kCatalogueRowHeight + 1;
    return row <= itemsOnPage_ && row <= kCatalogueRowCount ? row : 0;
}

void CatalogueBrowser::SetButtonLooks(int row, DownloadButtonLook look) {
    for (int other = 1; other <= kCatalogueRowCount; ++other) {
        rows_[Slot(other)].ButtonState = other == row ? look : DownloadButtonLook::kNormal;
    }
}

void CatalogueBrowser::ListMove(int x, int y) {
    const int row = ListRowAt(y);
    if (row == 0) {
        return;
    }
    const int top = kButtonTops[Slot(row)];
    if (row != buttonHoverRow_ && InStateButtonColumn(x) && y > top &&
        y < top + kButtonZoneHeight) {
        SetButtonLooks(row, DownloadButtonLook::kHover);
        buttonHoverRow_ = row;
        DrawCatalogueRow(row, true);
    }
    if (row != hoverRow_) {
        DrawCatalogueRow(row, true);
        if (hoverRow_ != 0) {
            DrawCatalogueRow(hoverRow_, false);
        }
        hoverRow_ = row;
    }
}

void CatalogueBrowser::ListPress(int x, int y) {
    const int row = ListRowAt(y);
    if (row == 0 || !InStateButtonColumn(x)) {
        return;
    }
    const int top = kButtonTops[Slot(row)];
    if (y > top && y < top + kButtonZoneHeight) {
        SetButtonLooks(row, DownloadButtonLook::kPressed);
        DrawCatalogueRow(row, true);
    }
    if (row != pressedRow_) {
        DrawCatalogueRow(row, true);
        if (pressedRow_ != 0) {
            DrawCatalogueRow(pressedRow_, false);
        }
        pressedRow_ = row;
    }
}

void CatalogueBrowser::ListRelease(int x, int y) {
    for (CatalogueItem& item : rows_) {
        item.ButtonState = DownloadButtonLook::kNormal;
    }
    const int row = ListRowAt(y);
    if (row == 0) {
        return;
    }
    const int top = kButtonTops[Slot(row)];
    if (x >= kReleaseZoneLeft && x <= kReleaseZoneRight && y > top &&
        y < top + kReleaseZoneHeight) {
        rows_[Slot(row)].ButtonState = DownloadButtonLook::kHover;
        StartFontDownload(row);
        DrawCatalogueRow(row, true);
    }
}

void CatalogueBrowser::FirstPage() {
    if (pageCount_ != 0) {
        pageNumber_ = 1;
        FillCataloguePage();
    }
}

void CatalogueBrowser::PreviousPage() {
    pageNumber_ -= 1;
    if (pageNumber_ >= 1) {
        FillCataloguePage();
    } else {
        pageNumber_ = 1;
    }
}

void CatalogueBrowser::NextPage() {
    // Only "next" and "last" can reach a page of fewer rows, so only they clear the back canvas.
    if (pageNumber_ < pageCount_) {
        pageNumber_ += 1;
        view_.ClearBackCanvas();
        FillCataloguePage();
    }
}

void CatalogueBrowser::LastPage() {
    if (pageCount_ != 0) {
        pageNumber_ = pageCount_;
        view_.ClearBackCanvas();
        FillCataloguePage();
    }
}

void CatalogueBrowser::AnimationTick() {
    // Rows beyond the page's items are not on screen: their spinners are left alone.
    for (int row = 1; row <= kCatalogueRowCount; ++row) {
        CatalogueItem& item = rows_[Slot(row)];
        if (row > itemsOnPage_ || item.FontName.empty() ||
            item.State != CatalogueItemState::kDownloading) {
            continue;
        }
        item.AnimationFrame += 2;
        if (item.AnimationFrame > 12) {
            item.AnimationFrame = 1;
        }
        DrawCatalogueRow(row, false);
    }
}

void CatalogueBrowser::RefreshCatalogueMarks() {
    if (!source_.installedMark) {
        return;
    }
    for (int row = 1; row <= std::min(itemsOnPage_, kCatalogueRowCount); ++row) {
        CatalogueItem& item = rows_[Slot(row)];
        const auto mark = static_cast<CatalogueItemState>(source_.installedMark(item.FontName));
        if (mark != item.State) {
            item.State = mark;
            DrawCatalogueRow(row, false);
        }
    }
}

void CatalogueBrowser::StartFontDownload(int row) {
    CatalogueItem& item = rows_[Slot(row)];
    if (item.State != CatalogueItemState::kNotInstalled) {
        return;
    }
    item.State = CatalogueItemState::kDownloading;
    if (startDownload_) {
        startDownload_(item);
    }
}

void CatalogueBrowser::DownloadProgress(const std::string& fontName, int percent) {
    for (CatalogueItem& item : rows_) {
        if (item.FontName == fontName) {
            item.Percent = percent;
        }
    }
}

void CatalogueBrowser::DownloadEnded(const std::string& fontName, bool installed) {
    for (int row = 1; row <= kCatalogueRowCount; ++row) {
        CatalogueItem& item = rows_[Slot(row)];
        if (item.FontName != fontName) {
            continue;
        }
        item.State = installed ? CatalogueItemState::kInstalled : CatalogueItemState::kNotInstalled;
        if (row <= itemsOnPage_) {
            DrawCatalogueRow(row, false);
        }
        return;
    }
}

}  // namespace glyphwell::ui

namespace glyphwell::ui {

CatalogueSource CatalogueSourceOf(catalogue::CatalogueDatabase& database,
                                  const fonts::FontRegistry& registry) {
    CatalogueSource source;
    source.readSubcategoryNames = [&database](int categoryIndex) {
        return database.ReadSubcategoryNames(categoryIndex);
    };
    source.countCatalogueFonts = [&database](const std::string& table) {
        return database.CountCatalogueFonts(table);
    };
    source.readCataloguePage = [&database](const std::string& table, int page) {
        return database.ReadCataloguePage(table, page);
    };
    source.installedMark = [&registry](const std::string& fontName) {
        return registry.InstalledMark(fontName);
    };
    return source;
}

}  // namespace glyphwell::ui
