#pragma once
// The three folder pages, "我的字体", "回收站" and "备份": a checked list of font files with
// a count, two buttons, a select-all box, an empty-state label and a progress label. One class
// for the three, each made from its own rows of the controls table. The work on the files is
// the collections' (collections/FontFolders); the page lists, shows progress and tells.

#include <QObject>

#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>

#include "collections/FontFolders.h"
#include "fonts/FontRegistry.h"
#include "ui/PageControlFactory.h"
#include "ui/PageDialogs.h"
#include "ui/logic/FrameLayout.h"

class QCheckBox;
class QLabel;

namespace glyphwell::ui {

class GraphicButton;
class Grid;

enum class FolderKind { kDownloadedFonts, kRecycleBin, kBackup };

class FolderPage : public QObject {
    Q_OBJECT
  public:
    FolderPage(QWidget& page, FolderKind kind, const PageContext& context);

    static int PageIndexOf(FolderKind kind);

    void PrepareGridColumns();
    void ApplyLayout(const FrameLayout& layout);

    // The folder the page lists and the installed fonts its operations change; `fontsChanged`
    // refreshes the views of the installed fonts. Until given, the operations do nothing.
    void UseFolder(fonts::FontRegistry& registry, std::filesystem::path folder,
                   std::function<void()> fontsChanged);
    // Where "我的字体" "卸载" puts the files it takes out.
    void UseRecycleBin(std::filesystem::path recycleBin) { recycleBin_ = std::move(recycleBin); }
    void SetDialogs(PageDialogs dialogs) { dialogs_ = std::move(dialogs); }

    // Lists the folder into the grid, every row checked.
    void ListFolder();
    // From any thread: the folder is read on the calling thread and shown on the interface
    // thread, queued.
    void PostListFolder();

    // "我的字体": "重装" and "卸载" (the files go into the recycle bin).
    void ReinstallDownloadedFonts();
    void UninstallDownloadedFonts();
    // "回收站": "还原" and "清空".
    void RestoreRecycledFonts();
    void PurgeRecycledFonts();
    // "备份": "一键备份" and "一键还原".
    void BackupInstalledFonts();
    void RestoreBackedUpFonts();

    FolderKind Kind() const { return kind_; }
    Grid& FolderGrid() { return *grid_; }
    // An operation of this page is running off the interface thread.
    bool Running() const { return running_; }

  signals:
    // Each progress caption as it is shown.
    void ProgressShown(const QString& caption);

  private:
    void ShowListing(const std::vector<collections::FolderFont>& fonts);
    // The label that shows progress; visible means an operation of this page is running.
    QLabel& ProgressLabel();
    bool Busy();
    // Shows `caption` in the progress label, with no sad face, and lets the window work.
    void ShowProgress(const QString& caption);
    void ShowSadFace(bool shown);
    void ShowCaption(const QString& caption);
    // Runs `operation(progress)` off the interface thread, the progress shown as `prefix` + p +
    // "%", then `finish(outcome)` here.
    void RunOperation(
        const QString& prefix,
        std::function<collections::CollectionOutcome(const collections::ProgressHook&)> operation,
        std::function<void(const collections::CollectionOutcome&)> finish);
    // The same for an operation of the collections on the page's folder and `rows`.
    using RowsOperation = collections::CollectionOutcome (*)(fonts::FontSystem&,
                                                             const std::filesystem::path&,
                                                             const collections::FolderRows&,
                                                             const collections::ProgressHook&);
    void RunOnRows(const QString& prefix, RowsOperation operation, collections::FixedRows rows,
                   std::function<void(const collections::CollectionOutcome&)> finish);
    void FontsChanged();

    FolderKind kind_;
    fonts::FontRegistry* registry_ = nullptr;
    std::filesystem::path folder_;
    std::filesystem::path recycleBin_;
    std::function<void()> fontsChanged_;
    PageDialogs dialogs_;
    // The listed downloads' files by display name, for their names' faces.
    std::unordered_map<std::string, std::string> faceFiles_;

    QLabel* countLabel_;
    GraphicButton* firstButton_;
    GraphicButton* secondButton_;
    QCheckBox* selectAllBox_;
    Grid* grid_;
    QLabel* emptyLabel_;
    QLabel* sadFace_;
    QLabel* progressLabel_ = nullptr;  // "我的字体" shows progress in its empty-state label
    bool running_ = false;
};

}  // namespace glyphwell::ui
