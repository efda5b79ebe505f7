#pragma once
// The catalogue page's rules without widgets: the sub-category buttons and their hit test, the
// six rows of a page with their states, paging, the list's mouse rules, the download spinner
// and the installed marks. The page implements CatalogueView to draw; this class decides.
// Everything here runs on the interface thread.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/CatalogueDatabase.h"

namespace glyphwell::ui {

inline constexpr int kCatalogueRowCount = 6;
inline constexpr int kCatalogueRowHeight = 50;
// The upper edge of each row's download-button zone; not an arithmetic series.
inline constexpr std::array<int, kCatalogueRowCount> kButtonTops = {11, 62, 111, 161, 211, 271};

// Sub-category buttons on the category canvas.
inline constexpr int kSubcategoryButtonWidth = 64;
inline constexpr int kSubcategoryButtonHeight = 23;
inline constexpr int kSubcategoryPitch = 74;  // the button and a gap of 10
inline constexpr int kSubcategoryLinePitch = 33;
inline constexpr int kSubcategoryFirstLeft = 1;
inline constexpr int kSubcategoryFirstTop = 10;

// The drawn state button of a row and its release zone.
inline constexpr int kStateButtonLeftFromRight = 75;  // x = back canvas width - 75
inline constexpr int kReleaseZoneLeft = 666;
inline constexpr int kReleaseZoneRight = 726;
inline constexpr int kReleaseZoneHeight = 64;
inline constexpr int kButtonZoneHeight = 23;

inline constexpr int kCategoryCount = 9;
// The category tabs' captions, blanks included; tab 6 also opens the recognition window, tab 7
// shows the shared-fonts box.
inline constexpr const char* kCategoryTabCaptions[kCategoryCount] = {
    "  中文字体  ", "  英文字体  ", "  精品推荐  ", " 专题字体 ",    " 名人字体 ",
    " 商业字体 ",   "  字体识别",   "  网友分享",   "  安卓手机字体"};
inline constexpr int kRecognitionCategory = 6;
inline constexpr int kSharedFontsCategory = 7;

// One byte, the values of the installed mark: not installed, downloading, installed.
enum class CatalogueItemState : unsigned char {
    kNotInstalled = 1,
    kDownloading = 2,
    kInstalled = 3
};

// The look of a row's download button.
enum class DownloadButtonLook { kNormal = 0, kHover = 1, kPressed = 2 };

enum class SubcategoryLook { kNormal, kHover, kSelected };

struct CatalogueItem {
    std::string SamplePicture;
    std::string FontName;
    std::string FontAddress;
    DownloadButtonLook ButtonState = DownloadButtonLook::kNormal;
    int AnimationFrame = 0;  // 1-12, 0 = not started
    int Percent = 0;
    CatalogueItemState State = CatalogueItemState::kNotInstalled;
};

// The 1-based button index under (x, y) on the category canvas, 0 in a gap. Points above the
// first line count as line 0.
int SubcategoryIndexAt(double x, double y);
// The top of button `index`'s line, for redrawing it.
int SubcategoryLineTop(int index);

// What the catalogue page is asked to draw and show.
class CatalogueView {
  public:
    virtual ~CatalogueView() = default;
    virtual void ClearList() = 0;        // both list canvases
    virtual void ClearBackCanvas() = 0;  // the off-screen one only
    virtual void ClearSubcategories() = 0;
    // A button at (left, top) in `look`, its name written from x = textLeft.
    virtual void DrawSubcategoryButton(int left, int top, SubcategoryLook look,
                                       const std::string& name, int textLeft) = 0;
    // Row 1-6 drawn on the back canvas, copied to the front one, and its preview button shown.
    virtual void DrawRow(int row, const CatalogueItem& item, bool highlighted) = 0;
    virtual void SetPageLabel(const std::string& text) = 0;
    virtual void SetPreviewControlsVisible(bool visible) = 0;
    virtual void HideRowButtons() = 0;
    virtual void SetSharedFontsBoxVisible(bool visible) = 0;
    virtual void OpenRecognitionWindow() = 0;
};

// Where the browser reads its catalogue and the installed marks.
struct CatalogueSource {
    std::function<std::vector<std::string>(int categoryIndex)> readSubcategoryNames;
    std::function<int(const std::string& table)> countCatalogueFonts;
    std::function<catalogue::CataloguePage(const std::string& table, int page)> readCataloguePage;
    // 3 installed, 1 not.
    std::function<int(const std::string& fontName)> installedMark;
};

class CatalogueBrowser {
  public:
    // `startDownload` is asked to begin the download of a row's font.
    CatalogueBrowser(CatalogueView& view, CatalogueSource source,
                     std::function<void(const CatalogueItem&)> startDownload);

    // Where the catalogue is read from now on.
    void SetSource(CatalogueSource source) { source_ = std::move(source); }

    // Tab changed, or the catalogue (re)opened: everything below the tabs starts again.
    void ShowCategory(int categoryIndex);
    void SelectSubcategory(int index);
    void FillCataloguePage();
    void DrawCatalogueRow(int row, bool highlighted);

    // The category canvas's mouse.
    void SubcategoryMove(int x, int y);
    void SubcategoryRelease(int x, int y);

    // The font list's mouse, in the front canvas's coordinates.
    void ListMove(int x, int y);
    void ListPress(int x, int y);
    void ListRelease(int x, int y);

    void FirstPage();
    void PreviousPage();
    void NextPage();
    void LastPage();

    void AnimationTick();
    // After the installed fonts changed: rows whose mark differs from their state are redrawn.
    void RefreshCatalogueMarks();

    // Acts only on a row whose font is not installed and not downloading.
    void StartFontDownload(int row);
    // A download's news, matched to the rows shown by font name: progress reaches every row
    // of that name, the end only the first.
    void DownloadProgress(const std::string& fontName, int percent);
    void DownloadEnded(const std::string& fontName, bool installed);

    int CategoryIndex() const { return categoryIndex_; }
    const std::vector<std::string>& SubcategoryNames() const { return subcategoryNames_; }
    int SelectedSubcategory() const { return selectedSubcategory_; }
    int HoveredSubcategory() const { return hoveredSubcategory_; }
    // The row under the mouse, drawn highlighted; 0 for none.
    int HoveredRow() const { return hoverRow_; }
    const std::string& CurrentSubcategory() const { return currentSubcategory_; }
    int FontCount() const { return fontCount_; }
    int PageCount() const { return pageCount_; }
    int PageNumber() const { return pageNumber_; }
    int ItemsOnPage() const { return itemsOnPage_; }
    const CatalogueItem& Item(int row) const { return rows_[Slot(row)]; }

  private:
    static std::size_t Slot(int row) { return static_cast<std::size_t>(row - 1); }
    // The list row under y, 0 when it does not count.
    int ListRowAt(int y) const;
    void DrawSubcategory(int index, SubcategoryLook look);
    void SetButtonLooks(int row, DownloadButtonLook look);

    CatalogueView& view_;
    CatalogueSource source_;
    std::function<void(const CatalogueItem&)> startDownload_;

    int categoryIndex_ = 0;
    std::vector<std::string> subcategoryNames_;
    std::vector<int> subcategoryLefts_;
    int selectedSubcategory_ = 0;
    int hoveredSubcategory_ = 0;
    std::string currentSubcategory_;
    int fontCount_ = 0;
    int pageCount_ = 0;
    int pageNumber_ = 0;
    int itemsOnPage_ = 0;
    std::array<CatalogueItem, kCatalogueRowCount> rows_{};
    int hoverRow_ = 0;
    int buttonHoverRow_ = 0;
    int pressedRow_ = 0;
};

}  // namespace glyphwell::ui

namespace glyphwell::fonts {
class FontRegistry;
}

namespace glyphwell::ui {

// The catalogue file and the installed fonts as the browser reads them.
CatalogueSource CatalogueSourceOf(catalogue::CatalogueDatabase& database,
                                  const fonts::FontRegistry& registry);

}  // namespace glyphwell::ui
