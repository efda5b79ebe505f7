#pragma once
// The eight pages of the main window's page container, their controls, the pop-up menus and
// which control event runs which operation. The small rules that belong to no page's own
// work (check marks, select-all boxes, the custom preview, the web links) are handled here;
// everything else goes out through PageEvents, which the pages' owners fill in.

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <map>
#include <string>

#include "platform/ServiceAddresses.h"
#include "ui/logic/FrameLayout.h"

class QMenu;
class QStackedWidget;
class QTabBar;
class QTimer;
class QWebEngineView;
class QWidget;

namespace glyphwell::ui {

class Canvas;
class Grid;

// Entry points of the pages' operations; an empty one does nothing.
struct PageEvents {
    // System fonts.
    std::function<void(int listMode)> listModeChosen;  // the three order buttons
    std::function<void()> refreshSystemFonts;
    std::function<void()> uninstallCheckedSystemFonts;
    std::function<void()> searchSystemFonts;         // the name filter changed
    std::function<void(QPoint)> systemGridMenu;      // right release on the main list
    std::function<void(QPoint)> searchGridMenu;      // right release on the search results
    std::function<void()> copyFontName;              // "系统表格"
    std::function<void()> exportFontFile;            // "系统表格"
    std::function<void()> deleteInstalledFont;       // "系统表格"
    std::function<void()> copySearchResultFontName;  // "系统表格2"
    std::function<void()> deleteSearchResultFont;    // "系统表格2"
    std::function<void()> offerCatalogueUpdate;      // raised on the interface thread
    // Font download.
    std::function<void(int tab)> categoryChosen;
    std::function<void(int row)> previewRow;  // row buttons, rows 1 to 6
    std::function<void()> firstPage;
    std::function<void()> previousPage;
    std::function<void()> nextPage;
    std::function<void()> lastPage;
    std::function<void()> downloadAnimationTick;
    // My fonts.
    std::function<void()> reinstallDownloadedFonts;
    std::function<void()> deleteDownloadedFonts;
    std::function<void(bool checked)> selectAllDownloadedFonts;
    // Recycle bin and backup.
    std::function<void()> restoreFromRecycleBin;
    std::function<void()> emptyRecycleBin;
    std::function<void()> backUpAllFonts;
    std::function<void()> restoreAllFonts;
    // The control menu.
    std::function<void()> checkForUpdate;
};

// The page controls' and pop-up menus' own names.
inline constexpr const char* kSystemGridMenuName = "系统表格";
inline constexpr const char* kSearchGridMenuName = "系统表格2";
inline constexpr const char* kControlMenuName = "控制菜单";

class MainPages : public QObject {
    Q_OBJECT
  public:
    // Builds the pages into `container`; menus and the recognition window belong to `window`.
    MainPages(QStackedWidget& container, QWidget& window,
              const platform::ServiceAddresses& addresses);
    ~MainPages() override;

    PageEvents& Events() { return events_; }
    // Where links open; the desktop's default browser unless replaced.
    void SetBrowserOpener(std::function<void(const QString&)> open) { open_ = std::move(open); }

    // The column kinds and first widths of the five grids.
    void PrepareGridColumns();
    // Sizes and columns that follow the window's size.
    void ApplyLayout(const FrameLayout& layout);

    // Points a browser box at an address.
    void NavigateBox(const char* boxName, const QString& address);
    void OpenInDefaultBrowser(const QString& address);

    // The recognition window: created hidden, owned by the main window, shown modally over
    // it; it keeps its page between showings.
    void CreateRecognitionWindow();
    void ShowRecognitionWindow();
    QWidget* RecognitionWindow() { return recognitionWindow_; }
    // The shared-fonts box of the font-download page.
    void SetShareBoxVisible(bool visible);

    // Runs the update offer on the interface thread; callable from any thread.
    void PostUpdateOffer();

    // The system font list's display mode (2 by language, 3 by initial, 4 by time).
    int SystemListMode() const { return systemListMode_; }
    void SetSystemListMode(int mode) { systemListMode_ = mode; }

    QWidget& Page(int index);
    Grid& SystemFontGrid() { return *systemGrid_; }
    Grid& SearchResultGrid() { return *searchGrid_; }
    Grid& MyFontsGrid() { return *myFontsGrid_; }
    Grid& RecycleBinGrid() { return *recycleBinGrid_; }
    Grid& BackupGrid() { return *backupGrid_; }
    Canvas& CategoryCanvas() { return *categoryCanvas_; }
    Canvas& FontCanvas() { return *fontCanvas_; }
    Canvas& BackCanvas() { return *backCanvas_; }
    QTabBar& CategoryTabs() { return *categoryTabs_; }
    QMenu& SystemGridMenu() { return *systemGridMenu_; }
    QMenu& SearchGridMenu() { return *searchGridMenu_; }
    QMenu& ControlMenu() { return *controlMenu_; }
    // Any page control by its name, nullptr when there is none.
    QWidget* Control(const std::string& name) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void CreateMenus(QWidget& window);
    void ConnectEvents();
    void SelectAllSystemFonts(bool checked);
    void ShowAboutBox();
    void OpenInstallPathWindow();
    template <typename T>
    T& Named(const char* name) const;

    QStackedWidget& container_;
    QWidget& window_;
    const platform::ServiceAddresses& addresses_;
    PageEvents events_;
    std::function<void(const QString&)> open_;
    std::map<std::string, QWidget*> controls_;
    int systemListMode_ = 2;
    Grid* systemGrid_ = nullptr;
    Grid* searchGrid_ = nullptr;
    Grid* myFontsGrid_ = nullptr;
    Grid* recycleBinGrid_ = nullptr;
    Grid* backupGrid_ = nullptr;
    Canvas* categoryCanvas_ = nullptr;
    Canvas* fontCanvas_ = nullptr;
    Canvas* backCanvas_ = nullptr;
    QTabBar* categoryTabs_ = nullptr;
    QMenu* systemGridMenu_ = nullptr;
    QMenu* searchGridMenu_ = nullptr;
    QMenu* controlMenu_ = nullptr;
    QTimer* animationTimer_ = nullptr;
    QWidget* recognitionWindow_ = nullptr;
};

}  // namespace glyphwell::ui
