#pragma once
// The controls of the main window's eight pages: where each sits, whether it shows at start
// and its first text. Each page creates its own controls from its rows; tests check the
// window against the table. The design name of a control is written here and nowhere else.

#include <span>

#include "ui/logic/FrameLayout.h"

namespace glyphwell::ui {

enum class ControlKind {
    kGraphicButton,
    kLabel,
    kCheckBox,
    kEditBox,
    kGrid,
    kGroupBox,
    kTabStrip,
    kCanvas,
    kBrowserBox,
};

// One value per control, in the table's order (later ones lie above earlier ones).
enum class ControlId : int {
    kNone = -1,
    kSortByTimeButton,         // 图形按钮3
    kSortByLanguageButton,     // 图形按钮4
    kSortByInitialButton,      // 图形按钮5
    kRefreshButton,            // 图形按钮25
    kUninstallButton,          // 图形按钮17
    kFontCountLabel,           // 标签2
    kSelectAllFontsBox,        // 选择框4
    kSearchResultGrid,         // 系统字体表格2
    kSystemFontGrid,           // 系统字体表格
    kUninstallProgressLabel,   // 标签18
    kNoSearchResultLabel,      // 标签20
    kFilterBackLabel,          // 标签10
    kPreviewBackLabel,         // 标签12
    kCustomPreviewLabel,       // 标签13
    kMatchCaseBox,             // 选择框5
    kFontFilterBox,            // 编辑框1
    kMagnifierButton,          // 图形按钮23
    kCustomPreviewBox,         // 编辑框2
    kAdvertisementGroup,       // 分组框6
    kAdvertisementBox,         // 超文本浏览框1
    kCategoryTabs,             // 高级选择夹2
    kCategoryCanvas,           // 分类画板
    kSharedFontsBox,           // 超文本浏览框5
    kPreviewPictureLabel,      // 标签14
    kPreviewTextBackLabel,     // 标签15
    kWebSearchButton,          // 图形按钮9
    kFontSizeCaptionLabel,     // 标签17
    kFontSizeBackLabel,        // 标签16
    kPreviewTextBox,           // 编辑框4
    kPreviewSizeBox,           // 编辑框5
    kFontCanvas,               // 前台画板
    kBackCanvas,               // 后台画板
    kPreviewRow1Button,        // 图形按钮28
    kPreviewRow2Button,        // 图形按钮18
    kPreviewRow3Button,        // 图形按钮19
    kPreviewRow4Button,        // 图形按钮20
    kPreviewRow5Button,        // 图形按钮21
    kPreviewRow6Button,        // 图形按钮22
    kFirstPageButton,          // 图形按钮2
    kPreviousPageButton,       // 图形按钮6
    kNextPageButton,           // 图形按钮7
    kLastPageButton,           // 图形按钮8
    kPageNumberLabel,          // 标签1
    kDownloadedCountLabel,     // 标签3
    kReinstallButton,          // 图形按钮27
    kRemoveDownloadedButton,   // 图形按钮14
    kSelectAllDownloadedBox,   // 选择框2
    kDownloadedFontsGrid,      // 我的字体表格
    kNoDownloadsLabel,         // 标签6
    kRecycleBinCountLabel,     // 标签4
    kEmptyRecycleBinButton,    // 图形按钮15
    kRestoreFromBinButton,     // 图形按钮16
    kSelectAllRecycledBox,     // 选择框1
    kRecycleBinGrid,           // 回收站表格
    kEmptyRecycleBinLabel,     // 标签5
    kRecycleBinProgressLabel,  // 标签9
    kBackUpAllButton,          // 图形按钮1
    kRestoreAllButton,         // 图形按钮10
    kBackupCountLabel,         // 标签19
    kSelectAllBackupBox,       // 选择框3
    kBackupGrid,               // 备份表格
    kNoBackupLabel,            // 标签7
    kBackupProgressLabel,      // 标签8
    kDesignSoftwareLink,       // 图形按钮29
    kFontSitesLink,            // 图形按钮30
    kCloudResourcesLink,       // 图形按钮31
    kSiteDirectoryLink,        // 图形按钮32
    kDesignResourcesBox,       // 超文本浏览框3
    kDesignShopBox,            // 超文本浏览框2
    kGalleryBox,               // 超文本浏览框4
    kCount
};

struct ControlInfo {
    ControlId id;
    const char* name;  // the control's objectName
    ControlKind kind;
    int page;             // index in the page container, or -1 inside `container`
    ControlId container;  // for page -1: the control it sits in
    Rect rect;            // relative to its page or container
    bool shownAtStart;
    const char* text;  // first text, or the caption in a graphic button's images
};

// Every page control, in the order of ControlId.
std::span<const ControlInfo> PageControls();

// The row of `id`.
const ControlInfo& PageControl(ControlId id);

// The design names of the window's other named objects.
inline constexpr const char* kMainWindowName = "启动窗口";
inline constexpr const char* kPageContainerName = "选择夹1";
inline constexpr const char* kFadeTimerName = "时钟1";
inline constexpr const char* kAnimationTimerName = "时钟2";
inline constexpr const char* kFontGridMenuName = "系统表格";
inline constexpr const char* kSearchResultMenuName = "系统表格2";
inline constexpr const char* kControlMenuName = "控制菜单";
inline constexpr const char* kInstallPathBoxName = "编辑框1";  // of the install-path window

// Container page names, index 0 to 7.
extern const char* const kPageNames[kPageBarItemCount];

}  // namespace glyphwell::ui
