#include "ui/SystemFontPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "collections/FontFolders.h"
#include "collections/RecycleBin.h"
#include "fonts/SystemFontOrder.h"
#include "platform/Files.h"
#include "platform/Memory.h"
#include "ui/GraphicButton.h"
#include "ui/Grid.h"
#include "ui/InstalledFontsWatch.h"
#include "ui/QtConversions.h"
#include "ui/Tasks.h"
#include "ui/logic/FolderGrid.h"
#include "ui/logic/GridRules.h"
#include "ui/logic/SystemFontList.h"

namespace glyphwell::ui {
namespace {

// Row heights of the design: the main list's samples are 20 pixels high, the search
// results' 25.
constexpr int kFontGridRowHeight = 30;
constexpr int kSearchResultRowHeight = 36;

}  // namespace

SystemFontPage::SystemFontPage(QWidget& page, const PageContext& context)
    : QObject(&page), dialogs_(StandardDialogs(context.window)) {
    const PageControlSet made(kPageIndex, page, context.addresses);
    sortByTimeButton_ = &made.Get<GraphicButton>(ControlId::kSortByTimeButton);
    sortByLanguageButton_ = &made.Get<GraphicButton>(ControlId::kSortByLanguageButton);
    sortByInitialButton_ = &made.Get<GraphicButton>(ControlId::kSortByInitialButton);
    refreshButton_ = &made.Get<GraphicButton>(ControlId::kRefreshButton);
    uninstallButton_ = &made.Get<GraphicButton>(ControlId::kUninstallButton);
    fontCountLabel_ = &made.Get<QLabel>(ControlId::kFontCountLabel);
    selectAllBox_ = &made.Get<QCheckBox>(ControlId::kSelectAllFontsBox);
    searchResultGrid_ = &made.Get<Grid>(ControlId::kSearchResultGrid);
    fontGrid_ = &made.Get<Grid>(ControlId::kSystemFontGrid);
    uninstallProgress_ = &made.Get<QLabel>(ControlId::kUninstallProgressLabel);
    noSearchResultLabel_ = &made.Get<QLabel>(ControlId::kNoSearchResultLabel);
    matchCaseBox_ = &made.Get<QCheckBox>(ControlId::kMatchCaseBox);
    fontFilterBox_ = &made.Get<QLineEdit>(ControlId::kFontFilterBox);
    customPreviewBox_ = &made.Get<QLineEdit>(ControlId::kCustomPreviewBox);
    advertisementGroup_ = &made.Get<QGroupBox>(ControlId::kAdvertisementGroup);
    fontGrid_->SetRowHeight(kFontGridRowHeight);
    searchResultGrid_->SetRowHeight(kSearchResultRowHeight);
    // The result columns are sized to the grid; a horizontal bar would only hide a row.
    searchResultGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // Rebuilds and searches, above all after a reload, leave megabytes of freed blocks that
    // the allocator would keep for the rest of the run. Handing them back takes milliseconds,
    // so it waits until the user has stopped typing or clicking.
    returnFreedMemory_.setSingleShot(true);
    returnFreedMemory_.setInterval(kReturnFreedMemoryDelayMs);
    connect(&returnFreedMemory_, &QTimer::timeout, this, [] { platform::ReturnFreedMemory(); });
    const auto fileOf = [this](const std::string& face) {
        const auto found = faceFiles_.find(face);
        return found == faceFiles_.end() ? std::string() : found->second;
    };
    fontGrid_->SetFaceFiles(fileOf);
    searchResultGrid_->SetFaceFiles(fileOf);
    CreateMenus(context.window);
    ConnectControls();
}

void SystemFontPage::UseFonts(fonts::FontRegistry& registry, std::filesystem::path recycleBin) {
    registry_ = &registry;
    recycleBin_ = std::move(recycleBin);
    // Fonts installed or removed outside the program show without a restart.
    delete installedFontsWatch_;
    installedFontsWatch_ = new InstalledFontsWatch(
        registry, [this] { RefreshInstalledFontViews(); }, this);
}

void SystemFontPage::CreateMenus(QWidget& window) {
    fontGridMenu_ = new QMenu(&window);
    fontGridMenu_->setObjectName(kFontGridMenuName);
    connect(fontGridMenu_->addAction("复制字体名(&Z)"), &QAction::triggered, this,
            [this] { CopyFontName(FontMenu::kFontList); });
    connect(fontGridMenu_->addAction("导出字体文件(&W)"), &QAction::triggered, this,
            &SystemFontPage::ExportFontFile);
    fontGridMenu_->addSeparator();
    fontGridDeleteItem_ = fontGridMenu_->addAction("删除字体");
    connect(fontGridDeleteItem_, &QAction::triggered, this, &SystemFontPage::MoveFontToRecycleBin);

    searchResultMenu_ = new QMenu(&window);
    searchResultMenu_->setObjectName(kSearchResultMenuName);
    connect(searchResultMenu_->addAction("复制字体名(&Z)"), &QAction::triggered, this,
            [this] { CopyFontName(FontMenu::kSearchResults); });
    searchResultMenu_->addSeparator();
    searchResultDeleteItem_ = searchResultMenu_->addAction("删除字体");
    connect(searchResultDeleteItem_, &QAction::triggered, this,
            &SystemFontPage::DeleteSearchResultFont);
}

void SystemFontPage::ConnectControls() {
    const auto listMode = [this](fonts::ListMode mode) {
        return [this, mode] { ChooseListMode(mode); };
    };
    connect(sortByTimeButton_, &QAbstractButton::clicked, this, listMode(fonts::ListMode::ByTime));
    connect(sortByLanguageButton_, &QAbstractButton::clicked, this,
            listMode(fonts::ListMode::ByLanguage));
    connect(sortByInitialButton_, &QAbstractButton::clicked, this,
            listMode(fonts::ListMode::ByInitial));
    connect(refreshButton_, &QAbstractButton::clicked, this, &SystemFontPage::Refresh);
    connect(uninstallButton_, &QAbstractButton::clicked, this, &SystemFontPage::BatchUninstall);
    connect(selectAllBox_, &QCheckBox::clicked, this, &SystemFontPage::SelectAllFonts);
    connect(fontFilterBox_, &QLineEdit::textChanged, this, &SystemFontPage::SearchSystemFonts);
    fontFilterBox_->installEventFilter(this);
    // A search on show is run again at once under the new case rule.
    connect(matchCaseBox_, &QCheckBox::toggled, this, [this] {
        if (state_.Shown() != ShownFontList::kAllFonts) {
            SearchSystemFonts();
        }
    });
    connect(customPreviewBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        ApplyCustomPreviewText(fontGrid_->Data(), text.toStdString());
    });
    connect(fontGrid_, &Grid::LeftReleased, this, [this](QPoint at) {
        const int column = SystemGridMarkColumn(at.x());
        if (column >= 0) {
            ToggleCurrentRowCheck(fontGrid_->Data(), column);
        }
    });
    connect(searchResultGrid_, &Grid::LeftReleased, this, [this](QPoint at) {
        if (InsideCheckColumn(searchResultGrid_->Data(), at.x())) {
            ToggleCurrentRowCheck(searchResultGrid_->Data(), 2);
        }
    });
    connect(fontGrid_, &Grid::RightReleased, this,
            [this](QPoint at) { ShowMenu(FontMenu::kFontList, at); });
    connect(searchResultGrid_, &Grid::RightReleased, this,
            [this](QPoint at) { ShowMenu(FontMenu::kSearchResults, at); });
}

bool SystemFontPage::eventFilter(QObject* watched, QEvent* event) {
    // The filter box's first text is a hint: the first time the box takes the focus it is
    // selected, so that typing replaces it. Selected after the click has placed the cursor.
    if (watched == fontFilterBox_ && event->type() == QEvent::FocusIn && !filterFocusedBefore_) {
        filterFocusedBefore_ = true;
        QTimer::singleShot(0, fontFilterBox_, &QLineEdit::selectAll);
    }
    return QObject::eventFilter(watched, event);
}

void SystemFontPage::PrepareGridColumns() {
    searchResultGrid_->Data().SetColumnKind(2, CellKind::kCheckBox);
    for (int column : {0, 1, 3, 4}) {
        fontGrid_->Data().SetColumnKind(column, CellKind::kText);
    }
    fontGrid_->Data().SetColumnKind(2, CellKind::kCheckBox);
    fontGrid_->Data().SetColumnKind(5, CellKind::kCheckBox);
}

void SystemFontPage::ApplyLayout(const FrameLayout& layout) {
    searchResultGrid_->resize(layout.gridWidth, searchResultGrid_->height());
    advertisementGroup_->resize(layout.gridWidth, advertisementGroup_->height());
    for (int column = 0; column < 6; ++column) {
        fontGrid_->Data().SetColumnWidth(
            column, layout.systemGridColumns[static_cast<std::size_t>(column)]);
    }
    searchResultGrid_->Data().SetColumnWidth(0, layout.systemGrid2Columns[0]);
    searchResultGrid_->Data().SetColumnWidth(1, layout.systemGrid2Columns[1]);
    fontGrid_->resize(layout.systemGridWidth, fontGrid_->height());
}

void SystemFontPage::RememberFaceFiles() {
    const std::uint64_t generation = registry_->Generation();
    if (generation != faceFilesGeneration_) {
        faceFiles_ = FaceFiles(*registry_);
        faceFilesGeneration_ = generation;
    }
}

void SystemFontPage::BuildSystemList() {
    if (registry_ == nullptr) {
        return;
    }
    const std::vector<std::string> listed = fonts::ListedFontNames(*registry_, state_.ListMode());
    RememberFaceFiles();
    const int k = FillSystemList(fontGrid_->Data(), listed);
    if (k > 0) {
        fontCountLabel_->setText(Q(FontCountCaption(k)));
    }
    returnFreedMemory_.start();
}

void SystemFontPage::PostBuildSystemList() {
    PostTo(*this, [this] { BuildSystemList(); });
}

void SystemFontPage::ShowList(ShownFontList list) {
    state_.Show(list);
    fontGrid_->setVisible(list == ShownFontList::kAllFonts);
    searchResultGrid_->setVisible(list == ShownFontList::kSearchResults);
    noSearchResultLabel_->setVisible(list == ShownFontList::kNoSearchResult);
}

void SystemFontPage::SearchSystemFonts() {
    if (registry_ == nullptr) {
        return;
    }
    const std::string text = fontFilterBox_->text().toStdString();
    int matches = 0;
    if (text.empty()) {
        BuildSystemList();
    } else {
        matches = FillSearchResults(searchResultGrid_->Data(), registry_->DisplayNames(), text,
                                    matchCaseBox_->isChecked(), searchResultGrid_->width());
        returnFreedMemory_.start();
    }
    state_.ShowSearchOutcome(text.empty(), matches);
    ShowList(state_.Shown());
}

void SystemFontPage::ChooseListMode(fonts::ListMode listMode) {
    state_.SetListMode(listMode);
    BuildSystemList();
}

void SystemFontPage::Refresh() {
    if (registry_ == nullptr) {
        return;
    }
    registry_->LoadFontTable();
    BuildSystemList();
    if (fontsChanged_) {
        fontsChanged_();
    }
}

void SystemFontPage::SelectAllFonts(bool checked) {
    // The list that shows on its page, whether or not the page is the current one.
    if (state_.SearchResultsShown()) {
        SetColumnsChecked(searchResultGrid_->Data(), {2}, checked);
        return;
    }
    SetColumnsChecked(fontGrid_->Data(), {2, 5}, checked);
}

void SystemFontPage::ShowMenu(FontMenu menu, QPoint at) {
    const bool searchResults = menu == FontMenu::kSearchResults;
    Grid& grid = searchResults ? *searchResultGrid_ : *fontGrid_;
    // The clicked cell becomes the current one, as a left click there would make it.
    grid.ClickAt(at);
    if (grid.Data().CurrentRow() < 0) {
        return;
    }
    state_.SetMenuFont(menu, searchResults ? grid.Data().Text(grid.Data().CurrentRow(), 1)
                                           : ClickedFontName(grid.Data(), at.x()));
    (searchResults ? searchResultDeleteItem_ : fontGridDeleteItem_)
        ->setText(Q(state_.MenuCaption(menu)));
    (searchResults ? searchResultMenu_ : fontGridMenu_)->popup(QCursor::pos());
}

void SystemFontPage::CopyFontName(FontMenu menu) {
    const bool searchResults = menu == FontMenu::kSearchResults;
    const GridData& grid = (searchResults ? searchResultGrid_ : fontGrid_)->Data();
    const int row = grid.CurrentRow();
    if (row < 0) {
        return;
    }
    const std::string name =
        searchResults ? grid.Text(row, 1) : NameToCopy(grid, state_.MenuFont(menu));
    QApplication::clipboard()->setText(Q(name));
}

void SystemFontPage::AfterFontsChanged(bool searchAgain) {
    registry_->System().AnnounceFontChange();
    registry_->LoadFontTable();
    BuildSystemList();
    if (searchAgain) {
        SearchSystemFonts();
    }
    if (fontsChanged_) {
        fontsChanged_();
    }
}

void SystemFontPage::BatchUninstall() {
    if (registry_ == nullptr) {
        return;
    }
    if (state_.Uninstalling()) {
        dialogs_.tell(kMessageCaption, "卸载进行中!");
        return;
    }
    const bool searchResults = state_.SearchResultsShown();
    // What the question names is what the batch removes.
    UninstallBatch batch =
        TickedForUninstall((searchResults ? *searchResultGrid_ : *fontGrid_).Data(), searchResults);
    if (!dialogs_.confirmRemoval(kMessageCaption, "是否执行批量卸载?",
                                 Q(NamesToActOn(NamesOf(batch))))) {
        return;
    }
    state_.BeginUninstall();
    uninstallProgress_->show();
    RunTask(
        *this,
        [registry = registry_, bin = recycleBin_, batch = std::move(batch),
         this](const TaskReport& report) {
            return ui::BatchUninstall(
                *registry, batch, bin, [this, report](const std::string& text) {
                    report.Post(
                        [this, caption = Q(text)] { uninstallProgress_->setText(caption); });
                });
        },
        [this, searchResults](const UninstallOutcome& outcome) {
            AfterFontsChanged(searchResults);
            state_.EndUninstall();
            uninstallProgress_->hide();
            if (!outcome.keptFonts.empty()) {
                QString kept;
                for (std::size_t k = 0; k < outcome.keptFonts.size(); ++k) {
                    kept += "\n" + Q(outcome.keptFonts[k]) + "(" + Q(outcome.reasons[k]) + ")";
                }
                dialogs_.tell(kMessageCaption, "以下字体未能移入字体回收站，仍保持安装：" + kept);
            }
        });
}

template <typename Work, typename Done>
void SystemFontPage::RunMenuWork(Work work, Done done) {
    ++menuWorkRunning_;
    RunTask(*this, std::move(work), [this, done](auto result) {
        --menuWorkRunning_;
        done(std::move(result));
    });
}

void SystemFontPage::DeleteSearchResultFont() {
    if (registry_ == nullptr) {
        return;
    }
    const std::string name = state_.MenuFont(FontMenu::kSearchResults);
    struct Deleted {
        bool found = false;
        bool kept = false;
    };
    RunMenuWork(
        [registry = registry_, bin = recycleBin_, name](const TaskReport&) {
            Deleted deleted;
            deleted.found = ui::DeleteSearchResultFont(*registry, name, bin, deleted.kept);
            return deleted;
        },
        [this, name](const Deleted& deleted) {
            if (!deleted.found) {
                return;
            }
            AfterFontsChanged(true);
            if (deleted.kept) {
                dialogs_.tell(kMessageCaption,
                              "字体未能复制到字体回收站，仍保持安装：\n" + Q(name));
            }
        });
}

void SystemFontPage::MoveFontToRecycleBin() {
    if (registry_ == nullptr) {
        return;
    }
    RunMenuWork(
        [registry = registry_, bin = recycleBin_, name = state_.MenuFont(FontMenu::kFontList)](
            const TaskReport&) { return collections::MoveFontToRecycleBin(*registry, name, bin); },
        [this](const collections::CollectionOutcome& outcome) {
            if (outcome.Done == 0 && outcome.Kept.empty()) {
                return;  // no font behind the menu, or one that is not installed
            }
            AfterFontsChanged(false);
            if (!outcome.Kept.empty()) {
                dialogs_.tell(kMessageCaption, "字体未能复制到字体回收站，仍保持安装：" +
                                                   Q(KeptFilesText(outcome.Kept)));
            }
        });
}

void SystemFontPage::ExportFontFile() {
    // The folder is asked for first, whatever the menu's font.
    const QString folder = dialogs_.chooseFolder("请选择保存字体的目录");
    if (registry_ == nullptr || folder.isEmpty()) {
        return;
    }
    RunMenuWork(
        [registry = registry_, name = state_.MenuFont(FontMenu::kFontList),
         target = platform::PathFromUtf8(folder.toStdString())](const TaskReport&) {
            return collections::ExportFontFile(*registry, name, target);
        },
        [this](const collections::CollectionOutcome& outcome) {
            if (outcome.Done > 0) {
                dialogs_.tell("字体导出成功", "字体导出成功");
            } else if (!outcome.Kept.empty()) {
                dialogs_.tell(kMessageCaption, "字体导出失败：" + Q(KeptFilesText(outcome.Kept)));
            }
        });
}

void SystemFontPage::RefreshInstalledFontViews() {
    if (registry_ != nullptr) {
        AfterFontsChanged(state_.SearchResultsShown());
    }
}

}  // namespace glyphwell::ui
