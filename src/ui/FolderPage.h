#pragma once
// The three folder pages, "我的字体", "回收站" and "备份": a checked list of font files with
// a count, two buttons, a select-all box, an empty-state label and a progress label. One class
// for the three, each made from its own rows of the controls table. The folder operations come
// with the local collections; until then the page announces the buttons through its signals.

#include <QObject>

#include "ui/PageControlFactory.h"
#include "ui/logic/FrameLayout.h"

class QCheckBox;
class QLabel;

namespace glyphwell::ui {

class GraphicButton;
class Grid;

enum class FolderKind { kDownloadedFonts, kRecycleBin, kBackup };

// The two buttons of each folder page.
enum class FolderAction {
    kReinstallDownloaded,  // "重装"
    kRemoveDownloaded,     // "卸载"
    kRestoreFromBin,       // "还原"
    kEmptyBin,             // "清空"
    kBackUpAll,            // "一键备份"
    kRestoreAll,           // "一键还原"
};

class FolderPage : public QObject {
    Q_OBJECT
  public:
    FolderPage(QWidget& page, FolderKind kind, const PageContext& context);

    static int PageIndexOf(FolderKind kind);

    void PrepareGridColumns();
    void ApplyLayout(const FrameLayout& layout);

    FolderKind Kind() const { return kind_; }
    Grid& FolderGrid() { return *grid_; }

  signals:
    void ActionRequested(FolderAction action);
    // The downloaded fonts' select-all box; the other two tick their lists themselves.
    void SelectAllDownloadedRequested(bool checked);

  private:
    FolderKind kind_;
    QLabel* countLabel_;
    GraphicButton* firstButton_;
    GraphicButton* secondButton_;
    QCheckBox* selectAllBox_;
    Grid* grid_;
    QLabel* emptyLabel_;
    QLabel* progressLabel_ = nullptr;  // none on "我的字体"
};

}  // namespace glyphwell::ui
