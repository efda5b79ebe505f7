#pragma once
// The system-font page: the installed fonts in their three orders, the name filter, the custom
// preview, the two grids' menus and select marks, and removing ticked fonts. It owns its
// controls; its state lives in SystemFontPageState and the widgets show it. Runs on the
// interface thread; other threads ask for a rebuild through PostBuildSystemList.

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>

#include "fonts/FontRegistry.h"
#include "ui/PageControlFactory.h"
#include "ui/PageDialogs.h"
#include "ui/logic/FrameLayout.h"
#include "ui/logic/SystemFontPageState.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QWebEngineView;

namespace glyphwell::ui {

class GraphicButton;
class Grid;
class InstalledFontsWatch;

class SystemFontPage : public QObject {
    Q_OBJECT
  public:
    static constexpr int kPageIndex = 0;

    SystemFontPage(QWidget& page, const PageContext& context);

    // The installed fonts the page lists and changes; until they are given its operations do
    // nothing.
    void UseFonts(fonts::FontRegistry& registry, std::filesystem::path recycleBin);
    void SetDialogs(PageDialogs dialogs) { dialogs_ = std::move(dialogs); }
    // Runs after each change to the installed fonts made here, once the list is rebuilt (the
    // catalogue's installed marks follow).
    void SetFontsChangedHook(std::function<void()> hook) { fontsChanged_ = std::move(hook); }

    // The grids' column kinds, and what follows the window's size.
    void PrepareGridColumns();
    void ApplyLayout(const FrameLayout& layout);

    void BuildSystemList();
    // From any thread: the rebuild runs on the interface thread and this returns after it.
    void PostBuildSystemList();
    void SearchSystemFonts();
    void ChooseListMode(fonts::ListMode listMode);
    void Refresh();
    void BatchUninstall();
    void DeleteSearchResultFont();
    // The main list menu's "删除字体" and "导出字体文件(&W)", on the font the menu was opened on.
    void MoveFontToRecycleBin();
    void ExportFontFile();
    // A menu's delete or export is running off the interface thread.
    bool MenuWorkRunning() const { return menuWorkRunning_ > 0; }
    // After a change to the installed fonts made elsewhere (the folder pages): tell the desktop,
    // reload the table and list again; the catalogue's marks follow.
    void RefreshInstalledFontViews();
    // Shows one of the page's lists and hides the others.
    void ShowList(ShownFontList list);

    SystemFontPageState& State() { return state_; }
    const SystemFontPageState& State() const { return state_; }
    Grid& FontGrid() { return *fontGrid_; }
    Grid& SearchResultGrid() { return *searchResultGrid_; }
    QMenu& FontGridMenu() { return *fontGridMenu_; }
    QMenu& SearchResultMenu() { return *searchResultMenu_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Runs `work` off the interface thread and `done(result)` here, counted in MenuWorkRunning.
    template <typename Work, typename Done>
    void RunMenuWork(Work work, Done done);
    void CreateMenus(QWidget& window);
    void ConnectControls();
    void ShowMenu(FontMenu menu, QPoint at);
    void CopyFontName(FontMenu menu);
    void SelectAllFonts(bool checked);
    // After any change to the installed fonts: tell the desktop, reload and list again.
    void AfterFontsChanged(bool searchAgain);
    // The installed fonts' files by display name, for the grids' samples; read again only
    // after the table was reloaded.
    void RememberFaceFiles();

    SystemFontPageState state_;
    bool filterFocusedBefore_ = false;
    fonts::FontRegistry* registry_ = nullptr;
    std::filesystem::path recycleBin_;
    PageDialogs dialogs_;
    std::function<void()> fontsChanged_;

    GraphicButton* sortByTimeButton_;
    GraphicButton* sortByLanguageButton_;
    GraphicButton* sortByInitialButton_;
    GraphicButton* refreshButton_;
    GraphicButton* uninstallButton_;
    QLabel* fontCountLabel_;
    QCheckBox* selectAllBox_;
    Grid* searchResultGrid_;
    Grid* fontGrid_;
    QLabel* uninstallProgress_;
    QLabel* noSearchResultLabel_;
    QCheckBox* matchCaseBox_;
    QLineEdit* fontFilterBox_;
    QLineEdit* customPreviewBox_;
    QGroupBox* advertisementGroup_;
    QMenu* fontGridMenu_ = nullptr;
    QMenu* searchResultMenu_ = nullptr;
    QAction* fontGridDeleteItem_ = nullptr;
    QAction* searchResultDeleteItem_ = nullptr;

    static constexpr int kReturnFreedMemoryDelayMs = 1000;
    QTimer returnFreedMemory_;
    InstalledFontsWatch* installedFontsWatch_ = nullptr;
    int menuWorkRunning_ = 0;
    std::unordered_map<std::string, std::string> faceFiles_;
    std::uint64_t faceFilesGeneration_ = 0;
};

}  // namespace glyphwell::ui
