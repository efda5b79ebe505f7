#include "ui/FolderPage.h"

#include <QCheckBox>
#include <QLabel>

#include "ui/GraphicButton.h"
#include "ui/Grid.h"
#include "ui/logic/GridRules.h"

namespace glyphwell::ui {
namespace {

// The folder lists are plain text, five rows before anything is listed.
constexpr int kFolderGridRowHeight = 24;
constexpr int kFolderGridFirstRows = 5;

// Each folder page's controls and what its two buttons ask for.
struct FolderControls {
    int pageIndex;
    ControlId count;
    ControlId firstButton;
    FolderAction firstAction;
    ControlId secondButton;
    FolderAction secondAction;
    ControlId selectAll;
    ControlId grid;
    ControlId emptyLabel;
    ControlId progressLabel;
};

const FolderControls& ControlsOf(FolderKind kind) {
    static const FolderControls kDownloaded{2,
                                            ControlId::kDownloadedCountLabel,
                                            ControlId::kReinstallButton,
                                            FolderAction::kReinstallDownloaded,
                                            ControlId::kRemoveDownloadedButton,
                                            FolderAction::kRemoveDownloaded,
                                            ControlId::kSelectAllDownloadedBox,
                                            ControlId::kDownloadedFontsGrid,
                                            ControlId::kNoDownloadsLabel,
                                            ControlId::kNone};
    static const FolderControls kRecycleBin{3,
                                            ControlId::kRecycleBinCountLabel,
                                            ControlId::kEmptyRecycleBinButton,
                                            FolderAction::kEmptyBin,
                                            ControlId::kRestoreFromBinButton,
                                            FolderAction::kRestoreFromBin,
                                            ControlId::kSelectAllRecycledBox,
                                            ControlId::kRecycleBinGrid,
                                            ControlId::kEmptyRecycleBinLabel,
                                            ControlId::kRecycleBinProgressLabel};
    static const FolderControls kBackup{4,
                                        ControlId::kBackupCountLabel,
                                        ControlId::kBackUpAllButton,
                                        FolderAction::kBackUpAll,
                                        ControlId::kRestoreAllButton,
                                        FolderAction::kRestoreAll,
                                        ControlId::kSelectAllBackupBox,
                                        ControlId::kBackupGrid,
                                        ControlId::kNoBackupLabel,
                                        ControlId::kBackupProgressLabel};
    switch (kind) {
        case FolderKind::kDownloadedFonts:
            return kDownloaded;
        case FolderKind::kRecycleBin:
            return kRecycleBin;
        case FolderKind::kBackup:
            break;
    }
    return kBackup;
}

}  // namespace

int FolderPage::PageIndexOf(FolderKind kind) {
    return ControlsOf(kind).pageIndex;
}

FolderPage::FolderPage(QWidget& page, FolderKind kind, const PageContext& context)
    : QObject(&page), kind_(kind) {
    const FolderControls& ids = ControlsOf(kind);
    const PageControlSet made(ids.pageIndex, page, context.addresses);
    countLabel_ = &made.Get<QLabel>(ids.count);
    firstButton_ = &made.Get<GraphicButton>(ids.firstButton);
    secondButton_ = &made.Get<GraphicButton>(ids.secondButton);
    selectAllBox_ = &made.Get<QCheckBox>(ids.selectAll);
    grid_ = &made.Get<Grid>(ids.grid);
    emptyLabel_ = &made.Get<QLabel>(ids.emptyLabel);
    if (ids.progressLabel != ControlId::kNone) {
        progressLabel_ = &made.Get<QLabel>(ids.progressLabel);
    }
    grid_->SetRowHeight(kFolderGridRowHeight);
    grid_->Data().SetRowCount(kFolderGridFirstRows);

    connect(firstButton_, &QAbstractButton::clicked, this,
            [this, action = ids.firstAction] { emit ActionRequested(action); });
    connect(secondButton_, &QAbstractButton::clicked, this,
            [this, action = ids.secondAction] { emit ActionRequested(action); });
    // The three lists toggle their check column the same way.
    connect(grid_, &Grid::LeftReleased, this, [this](QPoint at) {
        if (InsideCheckColumn(grid_->Data(), at.x())) {
            ToggleCurrentRowCheck(grid_->Data(), 2);
        }
    });
    connect(selectAllBox_, &QCheckBox::clicked, this, [this](bool checked) {
        if (kind_ == FolderKind::kDownloadedFonts) {
            emit SelectAllDownloadedRequested(checked);
        } else {
            SetColumnsChecked(grid_->Data(), {2}, checked);
        }
    });
}

void FolderPage::PrepareGridColumns() {
    GridData& data = grid_->Data();
    if (kind_ == FolderKind::kBackup) {
        data.SetColumnKind(0, CellKind::kText);
        data.SetColumnKind(1, CellKind::kText);
        data.SetColumnKind(2, CellKind::kCheckBox);
        return;
    }
    data.SetColumnKind(2, CellKind::kCheckBox);
    data.SetColumnWidth(0, 400);
    data.SetColumnWidth(1, 192);
}

void FolderPage::ApplyLayout(const FrameLayout& layout) {
    grid_->resize(layout.gridWidth, grid_->height());
    grid_->Data().SetColumnWidth(0, layout.folderGridColumns[0]);
    grid_->Data().SetColumnWidth(1, layout.folderGridColumns[1]);
}

}  // namespace glyphwell::ui
