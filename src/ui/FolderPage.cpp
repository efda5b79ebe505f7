#include "ui/FolderPage.h"

#include "collections/RecycleBin.h"
#include "ui/logic/SystemFontList.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>

#include <algorithm>

#include "collections/RecycleBin.h"
#include "platform/Files.h"
#include "ui/Artwork.h"
#include "ui/GraphicButton.h"
#include "ui/Grid.h"
#include "ui/QtConversions.h"
#include "ui/Tasks.h"
#include "ui/logic/FolderGrid.h"
#include "ui/logic/GridRules.h"

namespace glyphwell::ui {
namespace {

// The folder lists are plain text, five rows before anything is listed.
constexpr int kFolderGridRowHeight = 24;
constexpr int kFolderGridFirstRows = 5;
constexpr int kSadFaceSize = 32;
constexpr const char* kNoDownloadsCaption = "你还没下载过呢,或本地清单还未刷新请稍后在试!";

// Progress shows over the list: in a framed box of its own, so it reads.
void ShowAsProgressBox(QLabel& label, bool box) {
    label.setAutoFillBackground(box);
    label.setFrameShape(box ? QFrame::Box : QFrame::NoFrame);
}

// The pixel size (em) at which `font` is `cellHeight` pixels from ascent to descent.
int EmForCellHeight(QFont font, int cellHeight) {
    font.setPixelSize(cellHeight);
    const int lineHeight = QFontMetrics(font).height();
    return lineHeight > 0 ? std::max(1, (cellHeight * cellHeight + lineHeight / 2) / lineHeight)
                          : cellHeight;
}

// Each folder page's controls.
struct FolderControls {
    int pageIndex;
    ControlId count;
    ControlId firstButton;
    ControlId secondButton;
    ControlId selectAll;
    ControlId grid;
    ControlId emptyLabel;
    ControlId progressLabel;
};

const FolderControls& ControlsOf(FolderKind kind) {
    static const FolderControls kDownloaded{2,
                                            ControlId::kDownloadedCountLabel,
                                            ControlId::kReinstallButton,
                                            ControlId::kRemoveDownloadedButton,
                                            ControlId::kSelectAllDownloadedBox,
                                            ControlId::kDownloadedFontsGrid,
                                            ControlId::kNoDownloadsLabel,
                                            ControlId::kNone};
    static const FolderControls kRecycleBin{3,
                                            ControlId::kRecycleBinCountLabel,
                                            ControlId::kEmptyRecycleBinButton,
                                            ControlId::kRestoreFromBinButton,
                                            ControlId::kSelectAllRecycledBox,
                                            ControlId::kRecycleBinGrid,
                                            ControlId::kEmptyRecycleBinLabel,
                                            ControlId::kRecycleBinProgressLabel};
    static const FolderControls kBackup{4,
                                        ControlId::kBackupCountLabel,
                                        ControlId::kBackUpAllButton,
                                        ControlId::kRestoreAllButton,
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
    : QObject(&page), kind_(kind), dialogs_(StandardDialogs(context.window)) {
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
    if (progressLabel_ != nullptr) {
        ShowAsProgressBox(*progressLabel_, true);
    }

    // The sad face sits at the empty-state label's left, the text beside it.
    sadFace_ = new QLabel(emptyLabel_);
    sadFace_->setPixmap(QPixmap::fromImage(DrawSadFace(kSadFaceSize)));
    sadFace_->setGeometry(0, (emptyLabel_->height() - kSadFaceSize) / 2, kSadFaceSize,
                          kSadFaceSize);
    ShowSadFace(true);

    switch (kind) {
        case FolderKind::kDownloadedFonts:
            connect(firstButton_, &QAbstractButton::clicked, this,
                    &FolderPage::ReinstallDownloadedFonts);
            connect(secondButton_, &QAbstractButton::clicked, this,
                    &FolderPage::UninstallDownloadedFonts);
            break;
        case FolderKind::kRecycleBin:
            connect(firstButton_, &QAbstractButton::clicked, this, &FolderPage::PurgeRecycledFonts);
            connect(secondButton_, &QAbstractButton::clicked, this,
                    &FolderPage::RestoreRecycledFonts);
            break;
        case FolderKind::kBackup:
            connect(firstButton_, &QAbstractButton::clicked, this,
                    &FolderPage::BackupInstalledFonts);
            connect(secondButton_, &QAbstractButton::clicked, this,
                    &FolderPage::RestoreBackedUpFonts);
            break;
    }
    // The three lists toggle their check column the same way.
    connect(grid_, &Grid::LeftReleased, this, [this](QPoint at) {
        if (InsideCheckColumn(grid_->Data(), at.x())) {
            ToggleCurrentRowCheck(grid_->Data(), 2);
        }
    });
    connect(selectAllBox_, &QCheckBox::clicked, this,
            [this](bool checked) { SetColumnsChecked(grid_->Data(), {2}, checked); });
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

void FolderPage::UseFolder(fonts::FontRegistry& registry, std::filesystem::path folder,
                           std::function<void()> fontsChanged) {
    registry_ = &registry;
    folder_ = std::move(folder);
    fontsChanged_ = std::move(fontsChanged);
    if (kind_ == FolderKind::kDownloadedFonts) {
        // The display names show in their own faces, drawn from the listed files.
        grid_->SetFaceFiles([this](const std::string& face) -> std::string {
            const auto found = faceFiles_.find(face);
            return found == faceFiles_.end() ? std::string() : found->second;
        });
    }
}

void FolderPage::ListFolder() {
    ShowListing(collections::FontFolderListing(folder_));
}

void FolderPage::PostListFolder() {
    PostTo(*this, [this, fonts = collections::FontFolderListing(folder_)] { ShowListing(fonts); });
}

void FolderPage::ShowListing(const std::vector<collections::FolderFont>& fonts) {
    const bool downloads = kind_ == FolderKind::kDownloadedFonts;
    if (downloads) {
        faceFiles_.clear();
        for (const collections::FolderFont& font : fonts) {
            faceFiles_.emplace(
                font.DisplayName,
                platform::PathToUtf8(folder_ / platform::PathFromUtf8(font.FileName)));
        }
    }
    const int listed =
        FillFolderGrid(grid_->Data(), fonts, grid_->width(),
                       downloads ? EmForCellHeight(grid_->font(), kFolderNameHeight) : 0);
    if (downloads) {
        countLabel_->setText("已下载字体数:" + QString::number(listed));
    } else if (kind_ == FolderKind::kBackup && listed > 0) {
        countLabel_->setText("已备份字体数:" + QString::number(listed));
    }
    const bool empty = listed == 0;
    if (downloads && empty) {
        emptyLabel_->setText(kNoDownloadsCaption);
    }
    ShowSadFace(true);
    if (progressLabel_ == nullptr) {
        ShowAsProgressBox(*emptyLabel_, false);
    }
    emptyLabel_->setVisible(empty);
    grid_->setVisible(!empty);
    selectAllBox_->setVisible(!empty);
    if (kind_ == FolderKind::kBackup) {
        secondButton_->setEnabled(!empty);  // "一键备份" stays
    } else {
        firstButton_->setVisible(!empty);
        secondButton_->setVisible(!empty);
    }
}

QLabel& FolderPage::ProgressLabel() {
    return progressLabel_ != nullptr ? *progressLabel_ : *emptyLabel_;
}

bool FolderPage::Busy() {
    // Hidden, not visible: the page need not be the one that shows.
    return !ProgressLabel().isHidden();
}

void FolderPage::FontsChanged() {
    if (fontsChanged_) {
        fontsChanged_();
    }
}

void FolderPage::ShowSadFace(bool shown) {
    sadFace_->setVisible(shown);
    emptyLabel_->setContentsMargins(shown ? kSadFaceSize + 4 : 0, 0, 0, 0);
}

void FolderPage::ShowProgress(const QString& caption) {
    if (progressLabel_ == nullptr) {
        ShowSadFace(false);
        ShowAsProgressBox(*emptyLabel_, true);
    }
    ProgressLabel().setText(caption);
    ProgressLabel().show();
    ProgressLabel().raise();
}

void FolderPage::ShowCaption(const QString& caption) {
    ProgressLabel().setText(caption);
    emit ProgressShown(caption);
}

void FolderPage::RunOperation(
    const QString& prefix,
    std::function<collections::CollectionOutcome(const collections::ProgressHook&)> operation,
    std::function<void(const collections::CollectionOutcome&)> finish) {
    running_ = true;
    RunTask(
        *this,
        [this, prefix, operation](const TaskReport& report) {
            return operation([this, prefix, report](int percent) {
                report.Post([this, caption = prefix + QString::number(percent) + "%"] {
                    ShowCaption(caption);
                });
            });
        },
        [this, finish](const collections::CollectionOutcome& outcome) {
            running_ = false;
            finish(outcome);
        });
}

void FolderPage::RunOnRows(const QString& prefix, RowsOperation operation,
                           collections::FixedRows rows,
                           std::function<void(const collections::CollectionOutcome&)> finish) {
    RunOperation(
        prefix,
        [operation, system = &registry_->System(), folder = folder_,
         rows = std::move(rows)](const collections::ProgressHook& progress) {
            return operation(*system, folder, rows, progress);
        },
        std::move(finish));
}

void FolderPage::ReinstallDownloadedFonts() {
    // Visible: an earlier run is going on, or the list is empty and says so.
    if (registry_ == nullptr || Busy()) {
        return;
    }
    ShowProgress("字体重装中....");
    RunOnRows("字体重装中:", collections::ReinstallDownloadedFonts, SnapshotRows(grid_->Data()),
              [this](const collections::CollectionOutcome&) {
                  ProgressLabel().hide();
                  ListFolder();
                  FontsChanged();
              });
}

void FolderPage::UninstallDownloadedFonts() {
    if (registry_ == nullptr || recycleBin_.empty() || running_) {
        return;
    }
    fonts::FontRegistry* registry = registry_;
    RunOperation(
        {},
        [registry, folder = folder_, bin = recycleBin_,
         rows = SnapshotRows(grid_->Data())](const auto&) {
            return collections::UninstallDownloadedFonts(*registry, folder, bin, rows);
        },
        [this](const collections::CollectionOutcome& outcome) {
            ListFolder();
            FontsChanged();
            if (!outcome.Kept.empty()) {
                dialogs_.tell(kMessageCaption,
                              "以下字体未能卸载：" + Q(KeptFilesText(outcome.Kept)));
            }
        });
}

void FolderPage::RestoreRecycledFonts() {
    if (registry_ == nullptr || Busy()) {
        return;
    }
    ShowProgress("还原字体中:");
    RunOnRows("还原字体中:", collections::RestoreRecycledFonts, SnapshotRows(grid_->Data()),
              [this](const collections::CollectionOutcome& outcome) {
                  ProgressLabel().hide();
                  ListFolder();
                  FontsChanged();
                  if (!outcome.Kept.empty()) {
                      dialogs_.tell(kMessageCaption, "以下字体未能还原，仍留在字体回收站：" +
                                                         Q(KeptFilesText(outcome.Kept)));
                  }
              });
}

void FolderPage::PurgeRecycledFonts() {
    if (registry_ == nullptr || Busy()) {
        return;
    }
    // What the question names is what is deleted.
    collections::FixedRows rows = SnapshotRows(grid_->Data());
    std::vector<std::string> names;
    for (int row = 0; row < rows.RowCount(); ++row) {
        if (rows.Row(row).Checked) {
            names.push_back(rows.Row(row).FileName);
        }
    }
    if (names.empty() ||
        !dialogs_.askOkCancel("确实要永久删除选中的文件吗?", Q(NamesToActOn(names)))) {
        return;
    }
    ShowProgress("清理字体中:");
    RunOnRows("清理字体中:", collections::PurgeRecycledFonts, std::move(rows),
              [this](const collections::CollectionOutcome& outcome) {
                  ProgressLabel().hide();
                  ListFolder();
                  if (!outcome.Kept.empty()) {
                      dialogs_.tell(kMessageCaption,
                                    "以下文件未能删除：" + Q(KeptFilesText(outcome.Kept)));
                  }
              });
}

void FolderPage::BackupInstalledFonts() {
    if (registry_ == nullptr || Busy()) {
        return;
    }
    // The caption stays what it last was until the first file is done.
    ProgressLabel().show();
    ProgressLabel().raise();
    fonts::FontSystem* system = &registry_->System();
    RunOperation(
        "备份进行中:",
        [system, folder = folder_](const auto& progress) {
            return collections::BackupInstalledFonts(*system, folder, progress);
        },
        [this](const collections::CollectionOutcome& outcome) {
            ListFolder();
            ProgressLabel().hide();
            if (!outcome.Kept.empty()) {
                dialogs_.tell(kMessageCaption,
                              "以下字体未能备份：" + Q(KeptFilesText(outcome.Kept)));
            }
        });
}

void FolderPage::RestoreBackedUpFonts() {
    if (registry_ == nullptr || Busy()) {
        return;
    }
    ShowProgress("还原进行中:");
    RunOnRows("还原进行中:", collections::RestoreBackedUpFonts, SnapshotRows(grid_->Data()),
              [this](const collections::CollectionOutcome& outcome) {
                  ProgressLabel().hide();
                  FontsChanged();
                  QString message = "安装完毕!";
                  if (!outcome.Kept.empty()) {
                      message += "\n\n以下字体未能安装：" + Q(KeptFilesText(outcome.Kept));
                  }
                  dialogs_.tell(kMessageCaption, message);
              });
}

}  // namespace glyphwell::ui
