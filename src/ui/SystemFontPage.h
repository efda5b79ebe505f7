#pragma once
// The system-font page at work: the list in its three orders, the name filter, the two grids'
// menus, select marks and removing ticked fonts. Runs on the interface thread; other threads
// ask for a rebuild through PostBuildSystemList.

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>

#include "fonts/FontRegistry.h"

class QLabel;

namespace glyphwell::ui {

class MainPages;

// The page's questions and messages; standard message boxes unless replaced.
struct SystemFontDialogs {
    std::function<bool(const QString& question)> askYesNo;
    std::function<void(const QString& message)> tell;
};

class SystemFontPage : public QObject {
    Q_OBJECT
  public:
    SystemFontPage(MainPages& pages, fonts::FontRegistry& registry,
                   std::filesystem::path recycleBin, QWidget& window);

    void SetDialogs(SystemFontDialogs dialogs) { dialogs_ = std::move(dialogs); }

    void BuildSystemList();
    // From any thread: the rebuild runs on the interface thread and this returns after it.
    void PostBuildSystemList();
    void SearchSystemFonts();
    void ChooseListMode(int listMode);
    void Refresh();
    void BatchUninstall();
    void DeleteSearchResultFont();

  private:
    void ShowMenu(bool searchResults, QPoint at);
    void CopyFontName(bool searchResults);
    // After any change to the installed fonts: tell the desktop, reload and list again.
    void AfterFontsChanged(bool searchAgain);
    QLabel& Label(const char* name) const;
    // The installed fonts' files by display name, for the grids' samples; read again only
    // after the table was reloaded.
    void RememberFaceFiles();

    MainPages& pages_;
    fonts::FontRegistry& registry_;
    std::filesystem::path recycleBin_;
    QWidget& window_;
    SystemFontDialogs dialogs_;
    static constexpr int kReturnFreedMemoryDelayMs = 1000;
    QTimer returnFreedMemory_;
    std::unordered_map<std::string, std::string> faceFiles_;
    std::uint64_t faceFilesGeneration_ = 0;
};

}  // namespace glyphwell::ui
