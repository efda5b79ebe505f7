#include "ui/SystemFontPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QThread>

#include "fonts/SystemFontOrder.h"
#include "platform/Memory.h"
#include "ui/Grid.h"
#include "ui/MainPages.h"
#include "ui/logic/SystemFontList.h"

namespace glyphwell::ui {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The menu item whose caption carries the font the menu acts on.
QAction* DeleteItem(QMenu& menu) {
    return menu.actions().back();
}

}  // namespace

SystemFontPage::SystemFontPage(MainPages& pages, fonts::FontRegistry& registry,
                               std::filesystem::path recycleBin, QWidget& window)
    : QObject(&window),
      pages_(pages),
      registry_(registry),
      recycleBin_(std::move(recycleBin)),
      window_(window) {
    // Rebuilds and searches, above all after a reload, leave megabytes of freed blocks that
    // the allocator would keep for the rest of the run. Handing them back takes milliseconds,
    // so it waits until the user has stopped typing or clicking.
    returnFreedMemory_.setSingleShot(true);
    returnFreedMemory_.setInterval(kReturnFreedMemoryDelayMs);
    connect(&returnFreedMemory_, &QTimer::timeout, this, [] { platform::ReturnFreedMemory(); });
    dialogs_.askYesNo = [this](const QString& question) {
        return QMessageBox::question(&window_, "信息：", question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    dialogs_.tell = [this](const QString& message) {
        QMessageBox::information(&window_, "信息：", message);
    };
    PageEvents& events = pages_.Events();
    events.listModeChosen = [this](int mode) { ChooseListMode(mode); };
    events.refreshSystemFonts = [this] { Refresh(); };
    events.uninstallCheckedSystemFonts = [this] { BatchUninstall(); };
    events.searchSystemFonts = [this] { SearchSystemFonts(); };
    events.systemGridMenu = [this](QPoint at) { ShowMenu(false, at); };
    events.searchGridMenu = [this](QPoint at) { ShowMenu(true, at); };
    events.copyFontName = [this] { CopyFontName(false); };
    events.copySearchResultFontName = [this] { CopyFontName(true); };
    events.deleteSearchResultFont = [this] { DeleteSearchResultFont(); };
    const auto fileOf = [this](const std::string& face) {
        const auto found = faceFiles_.find(face);
        return found == faceFiles_.end() ? std::string() : found->second;
    };
    pages_.SystemFontGrid().SetFaceFiles(fileOf);
    pages_.SearchResultGrid().SetFaceFiles(fileOf);
}

void SystemFontPage::RememberFaceFiles() {
    const std::uint64_t generation = registry_.Generation();
    if (generation != faceFilesGeneration_) {
        faceFiles_ = FaceFiles(registry_);
        faceFilesGeneration_ = generation;
    }
}

QLabel& SystemFontPage::Label(const char* name) const {
    return *static_cast<QLabel*>(pages_.Control(name));
}

void SystemFontPage::BuildSystemList() {
    const std::vector<std::string> listed =
        fonts::ListedFontNames(registry_, pages_.SystemListMode());
    RememberFaceFiles();
    const int k = FillSystemList(pages_.SystemFontGrid().Data(), listed);
    if (k > 0) {
        Label("标签2").setText(Q(FontCountCaption(k)));
    }
    returnFreedMemory_.start();
}

void SystemFontPage::PostBuildSystemList() {
    if (QThread::currentThread() == thread()) {
        BuildSystemList();
        return;
    }
    QMetaObject::invokeMethod(
        this, [this] { BuildSystemList(); }, Qt::BlockingQueuedConnection);
}

void SystemFontPage::SearchSystemFonts() {
    Grid& list = pages_.SystemFontGrid();
    Grid& results = pages_.SearchResultGrid();
    QLabel& noResult = Label("标签20");
    const std::string text =
        static_cast<QLineEdit*>(pages_.Control("编辑框1"))->text().toStdString();
    if (text.empty()) {
        BuildSystemList();
        results.hide();
        list.show();
        noResult.hide();
        return;
    }
    const bool caseSensitive = static_cast<QCheckBox*>(pages_.Control("选择框5"))->isChecked();
    const int s = FillSearchResults(results.Data(), registry_.DisplayNames(), text, caseSensitive,
                                    results.width());
    returnFreedMemory_.start();
    if (s > 0) {
        noResult.hide();
        results.show();
        list.hide();
    } else {
        noResult.show();
        results.hide();
        list.hide();
    }
}

void SystemFontPage::ChooseListMode(int listMode) {
    pages_.SetSystemListMode(listMode);
    BuildSystemList();
}

void SystemFontPage::Refresh() {
    registry_.LoadFontTable();
    BuildSystemList();
}

void SystemFontPage::ShowMenu(bool searchResults, QPoint at) {
    Grid& grid = searchResults ? pages_.SearchResultGrid() : pages_.SystemFontGrid();
    // The clicked cell becomes the current one, as a left click there would make it.
    grid.ClickAt(at);
    if (grid.Data().CurrentRow() < 0) {
        return;
    }
    const std::string name = searchResults ? grid.Data().Text(grid.Data().CurrentRow(), 1)
                                           : ClickedFontName(grid.Data(), at.x());
    QMenu& menu = searchResults ? pages_.SearchGridMenu() : pages_.SystemGridMenu();
    DeleteItem(menu)->setText(Q(MenuFontCaption(name)));
    menu.popup(QCursor::pos());
}

void SystemFontPage::CopyFontName(bool searchResults) {
    Grid& grid = searchResults ? pages_.SearchResultGrid() : pages_.SystemFontGrid();
    const int row = grid.Data().CurrentRow();
    if (row < 0) {
        return;
    }
    const std::string name =
        searchResults
            ? grid.Data().Text(row, 1)
            : NameToCopy(grid.Data(), DeleteItem(pages_.SystemGridMenu())->text().toStdString());
    QApplication::clipboard()->setText(Q(name));
}

void SystemFontPage::AfterFontsChanged(bool searchAgain) {
    registry_.System().AnnounceFontChange();
    registry_.LoadFontTable();
    BuildSystemList();
    if (searchAgain) {
        SearchSystemFonts();
    }
}

void SystemFontPage::BatchUninstall() {
    QLabel& busy = Label("标签18");
    if (!busy.isHidden()) {
        dialogs_.tell("卸载进行中!");
        return;
    }
    if (!dialogs_.askYesNo("是否执行批量卸载?")) {
        return;
    }
    busy.show();
    const bool searchResults = !pages_.SearchResultGrid().isHidden();
    const Grid& source = searchResults ? pages_.SearchResultGrid() : pages_.SystemFontGrid();
    const UninstallOutcome outcome = ui::BatchUninstall(
        registry_, source.Data(), searchResults, recycleBin_, [&busy](const std::string& text) {
            busy.setText(Q(text));
            QCoreApplication::processEvents();
        });
    AfterFontsChanged(searchResults);
    busy.hide();
    if (!outcome.keptFonts.empty()) {
        QString kept;
        for (const std::string& name : outcome.keptFonts) {
            kept += "\n" + Q(name);
        }
        dialogs_.tell("以下字体未能复制到字体回收站，仍保持安装：" + kept);
    }
}

void SystemFontPage::DeleteSearchResultFont() {
    const std::string name =
        NameFromMenuCaption(DeleteItem(pages_.SearchGridMenu())->text().toStdString());
    bool kept = false;
    if (!ui::DeleteSearchResultFont(registry_, name, recycleBin_, kept)) {
        return;
    }
    AfterFontsChanged(true);
    if (kept) {
        dialogs_.tell("字体未能复制到字体回收站，仍保持安装：\n" + Q(name));
    }
}

}  // namespace glyphwell::ui
