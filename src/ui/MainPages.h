#pragma once
// The main window's page container with its eight pages, the control menu and the page
// switch. Each page is a class that owns its controls; this class makes them and hands each
// what the window passes on (the layout, the grids' columns).

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>

#include "fonts/FontRegistry.h"
#include "platform/ServiceAddresses.h"
#include "ui/PageControlFactory.h"
#include "ui/logic/FrameLayout.h"

class QAction;
class QMenu;
class QStackedWidget;
class QWidget;

namespace glyphwell::ui {

class CataloguePage;
class FolderPage;
class SystemFontPage;
class WebPages;

class MainPages : public QObject {
    Q_OBJECT
  public:
    // Builds the pages into `container`; menus and the recognition window belong to `window`.
    MainPages(QStackedWidget& container, QWidget& window,
              const platform::ServiceAddresses& addresses);
    ~MainPages() override;

    // Where links open; the desktop's default browser unless replaced.
    void SetBrowserOpener(LinkOpener open) { openLink_ = std::move(open); }
    void OpenInDefaultBrowser(const QString& address);

    // The folder pages' folders in `runDirectory`; after their operations the system font
    // page lists the installed fonts again.
    void UseFontCollections(fonts::FontRegistry& registry,
                            const std::filesystem::path& runDirectory);

    // The column kinds and first widths of the five grids.
    void PrepareGridColumns();
    // Sizes and columns that follow the window's size.
    void ApplyLayout(const FrameLayout& layout);
    void ShowPage(int pageIndex);

    // The recognition window: created hidden, owned by the main window, shown modally over
    // it; it keeps its page between showings.
    void CreateRecognitionWindow();
    void ShowRecognitionWindow();
    QWidget* RecognitionWindow() { return recognitionWindow_; }

    // Raises UpdateOffered on the interface thread; callable from any thread.
    void PostUpdateOffer();

    QWidget& Page(int index);
    SystemFontPage& SystemFonts() { return *systemFonts_; }
    CataloguePage& Catalogue() { return *catalogue_; }
    FolderPage& DownloadedFonts() { return *downloadedFonts_; }
    FolderPage& RecycleBin() { return *recycleBin_; }
    FolderPage& Backup() { return *backup_; }
    QMenu& ControlMenu() { return *controlMenu_; }
    // "检测更新" of the control menu.
    QAction& UpdateCheckItem() { return *updateCheckItem_; }

  signals:
    // "检测更新" of the control menu.
    void UpdateCheckRequested();
    // The update prompt's turn on the interface thread.
    void UpdateOffered();

  private:
    void CreateControlMenu(QWidget& window);
    void ShowAboutBox();
    void OpenInstallPathWindow();

    QStackedWidget& container_;
    QWidget& window_;
    const platform::ServiceAddresses& addresses_;
    LinkOpener openLink_;
    PageContext context_;
    SystemFontPage* systemFonts_ = nullptr;
    CataloguePage* catalogue_ = nullptr;
    FolderPage* downloadedFonts_ = nullptr;
    FolderPage* recycleBin_ = nullptr;
    FolderPage* backup_ = nullptr;
    WebPages* webPages_ = nullptr;
    QMenu* controlMenu_ = nullptr;
    QAction* updateCheckItem_ = nullptr;
    QWidget* recognitionWindow_ = nullptr;
};

}  // namespace glyphwell::ui
