#include "ui/FolderPage.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/WorkingFolders.h"
#include "fonts/FontFixtures.h"
#include "fonts/FontconfigFontSystem.h"
#include "platform/Files.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "ui/GraphicButton.h"
#include "ui/Grid.h"
#include "ui/MainWindow.h"
#include "ui/SystemFontPage.h"
#include "ui/TestApplication.h"
#include "ui/logic/FolderGrid.h"

namespace glyphwell::ui {
namespace {
namespace fs = std::filesystem;

// The captions a page shows while its work runs.
class CaptionRecorder {
  public:
    explicit CaptionRecorder(FolderPage& page) {
        connection_ =
            QObject::connect(&page, &FolderPage::ProgressShown, [this](const QString& caption) {
                if (seen_.empty() || seen_.back() != caption) {
                    seen_.push_back(caption);
                }
            });
    }
    ~CaptionRecorder() { QObject::disconnect(connection_); }
    const std::vector<QString>& Seen() const { return seen_; }

  private:
    QMetaObject::Connection connection_;
    std::vector<QString> seen_;
};

class FolderPageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::TestApplication(); }

    void SetUp() override {
        fs::create_directories(sandbox_.FontsFolder());
        state_ = test::TestProgramState(runDir_.Path());
        window_ = std::make_unique<MainWindow>(*state_, [] {});
        app::MainWindowCreated(*state_, *window_);
        window_->show();
        window_->Pages().SystemFonts().UseFonts(registry_, bin_);
        window_->UseFontCollections(registry_, runDir_.Path());
        PageDialogs dialogs;
        dialogs.askOkCancel = [this](const QString& question, const QString& details) {
            asked_.push_back(question);
            details_.push_back(details);
            return answer_;
        };
        dialogs.tell = [this](const QString& caption, const QString& message) {
            told_.push_back(caption + "|" + message);
        };
        dialogs.chooseFolder = [this](const QString& title) {
            asked_.push_back(title);
            return chosenFolder_;
        };
        for (FolderPage* page : {&Downloads(), &Bin(), &Backup()}) {
            page->SetDialogs(dialogs);
        }
        window_->Pages().SystemFonts().SetDialogs(dialogs);
    }
    void Install(const std::string& family) {
        const fs::path source = sources_ / (family + ".ttf");
        test::WriteRenamedFont(source, family);
        std::string target;
        ASSERT_EQ(fonts::InstallFont(system_, source.string(), target), 1);
        registry_.LoadFontTable();
    }
    template <typename T>
    T& Named(const char* name) {
        T* found = window_->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    bool Shown(const char* name) { return !Named<QWidget>(name).isHidden(); }
    // Presses a page's button and waits, as a person does, until the page's work has ended.
    void Press(const char* button, FolderPage& page) {
        Named<GraphicButton>(button).click();
        EXPECT_TRUE(test::WaitFor([&page] { return !page.Running(); })) << button;
    }
    FolderPage& Downloads() { return window_->Pages().DownloadedFonts(); }
    FolderPage& Bin() { return window_->Pages().RecycleBin(); }
    FolderPage& Backup() { return window_->Pages().Backup(); }
    bool Installed(const std::string& family) const { return registry_.FindFontEntry(family) != 0; }
    // Chooses the installed list's menu item and waits, as a person does, for its work to end.
    void ChooseMenuItem(const QString& text) {
        SystemFontPage& page = window_->Pages().SystemFonts();
        for (QAction* action : page.FontGridMenu().actions()) {
            if (action->text().startsWith(text)) {
                action->trigger();
                EXPECT_TRUE(test::WaitFor([&page] { return !page.MenuWorkRunning(); }));
                return;
            }
        }
        ADD_FAILURE() << text.toStdString();
    }
    void PageBarItem(int item) {
        const Rect rect = PageBarItemRect(item);
        const QPoint middle(rect.x + rect.width / 2, rect.y + rect.height / 2);
        test::SendMouse(*window_, QEvent::MouseButtonPress, middle, Qt::LeftButton);
        test::SendMouse(*window_, QEvent::MouseButtonRelease, middle, Qt::LeftButton);
    }

    test::FontconfigSandbox sandbox_;
    test::TempDir sources_;
    test::TempDir runDir_;
    fs::path downloads_ = runDir_ / app::kDownloadFolderName;
    fs::path bin_ = runDir_ / app::kRecycleBinFolderName;
    fs::path backup_ = runDir_ / app::kBackupFolderName;
    fonts::FontconfigFontSystem system_{sandbox_.Paths()};
    fonts::FontRegistry registry_{system_};
    std::unique_ptr<app::ProgramState> state_;
    std::unique_ptr<MainWindow> window_;
    std::vector<QString> asked_;
    std::vector<QString> details_;
    std::vector<QString> told_;
    bool answer_ = true;
    QString chosenFolder_;
};

TEST_F(FolderPageTest, EmptyFoldersShowTheirEmptyStates) {
    for (FolderPage* page : {&Downloads(), &Bin(), &Backup()}) {
        page->ListFolder();
    }
    EXPECT_EQ(Named<QLabel>("标签3").text(), "已下载字体数:0");
    EXPECT_EQ(Named<QLabel>("标签6").text(), "你还没下载过呢,或本地清单还未刷新请稍后在试!");
    EXPECT_TRUE(Shown("标签6"));
    for (const char* hidden : {"我的字体表格", "图形按钮14", "选择框2", "图形按钮27", "回收站表格",
                               "图形按钮15", "图形按钮16", "选择框1", "备份表格", "选择框3"}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
    EXPECT_TRUE(Shown("标签5"));
    EXPECT_TRUE(Shown("标签7"));
    EXPECT_FALSE(Named<GraphicButton>("图形按钮10").isEnabled());
    EXPECT_TRUE(Shown("图形按钮1"));
    EXPECT_EQ(Named<QLabel>("标签19").text(), "");

    // "重装" does nothing while the empty message shows.
    Downloads().ReinstallDownloadedFonts();
    EXPECT_EQ(Named<QLabel>("标签6").text(), "你还没下载过呢,或本地清单还未刷新请稍后在试!");
}

TEST_F(FolderPageTest, TheLoaderListsTheDownloadsFromItsOwnThread) {
    test::WriteRenamedFont(downloads_ / "Alpha.ttf", "Alpha");
    std::thread loader([&] { Downloads().PostListFolder(); });
    loader.join();
    // The listing reaches the window queued.
    test::WaitFor([&] { return Named<QLabel>("标签3").text() == "已下载字体数:1"; });
    EXPECT_EQ(Named<QLabel>("标签3").text(), "已下载字体数:1");
    EXPECT_EQ(Downloads().FolderGrid().Data().Text(0, 1), "Alpha");
}

TEST_F(FolderPageTest, DownloadsListReinstallAndGo) {
    for (const char* family : {"Alpha", "Beta", "Gamma"}) {
        test::WriteRenamedFont(downloads_ / (std::string(family) + ".ttf"), family);
    }
    ASSERT_TRUE(platform::WriteWholeFile(downloads_ / "notes.txt", "not a font"));
    Downloads().ListFolder();
    const GridData& grid = Downloads().FolderGrid().Data();
    EXPECT_EQ(Named<QLabel>("标签3").text(), "已下载字体数:3");
    EXPECT_FALSE(Shown("标签6"));
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Text(1, 0), "Beta.ttf");
    EXPECT_EQ(grid.Text(1, 1), "Beta");
    EXPECT_EQ(grid.FaceName(1, 1), "Beta");
    // 25 pixels from the top of the tallest letter to the foot of the lowest.
    QFont nameFont = Downloads().FolderGrid().font();
    nameFont.setPixelSize(grid.FontHeight(1, 0));
    EXPECT_NEAR(QFontMetrics(nameFont).height(), kFolderNameHeight, 1);
    EXPECT_TRUE(grid.Checked(2, 2));
    const std::array<int, 2> widths = FolderColumnWidths(Downloads().FolderGrid().width(), 3);
    EXPECT_EQ(grid.ColumnWidth(0), widths[0]);
    EXPECT_EQ(grid.ColumnWidth(1), widths[1]);

    {
        CaptionRecorder captions(Downloads());
        Press("图形按钮27", Downloads());
        EXPECT_EQ(captions.Seen(),
                  (std::vector<QString>{"字体重装中:33%", "字体重装中:66%", "字体重装中:100%"}));
    }
    EXPECT_FALSE(Shown("标签6"));
    EXPECT_TRUE(Installed("Beta"));  // the installed-font views were refreshed

    // The box sets every row to its own state: ticked, then not, then ticked again.
    for (const bool ticked : {true, false, true}) {
        Named<QCheckBox>("选择框2").click();
        EXPECT_EQ(grid.Checked(0, 2), ticked);
        EXPECT_EQ(grid.Checked(2, 2), ticked);
    }
    Press("图形按钮14", Downloads());
    EXPECT_FALSE(Installed("Beta"));
    EXPECT_EQ(platform::ListFiles(downloads_), std::vector<std::string>{"notes.txt"});
    EXPECT_TRUE(Shown("标签6"));
    EXPECT_EQ(Named<QLabel>("标签3").text(), "已下载字体数:0");

    // Undone from the recycle bin, where the files went.
    PageBarItem(4);
    ASSERT_EQ(Bin().FolderGrid().Data().RowCount(), 3);
    Press("图形按钮16", Bin());
    EXPECT_TRUE(Installed("Beta"));
    EXPECT_TRUE(platform::ListFiles(bin_).empty());
}

TEST_F(FolderPageTest, DeletedFontsGoToTheBinAndComeBack) {
    Install("Alpha");
    Install("Beta");
    SystemFontPage& systemFonts = window_->Pages().SystemFonts();
    systemFonts.State().SetMenuFont(FontMenu::kFontList, "Alpha");
    ChooseMenuItem("删除字体");
    EXPECT_FALSE(Installed("Alpha"));
    EXPECT_TRUE(told_.empty());

    PageBarItem(4);  // "回收站" lists the bin
    const GridData& grid = Bin().FolderGrid().Data();
    ASSERT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Text(0, 1), "Alpha");
    EXPECT_TRUE(Shown("回收站表格"));

    answer_ = false;  // Cancel: nothing goes, no progress
    Named<GraphicButton>("图形按钮15").click();
    EXPECT_EQ(asked_, std::vector<QString>{"确实要永久删除选中的文件吗?"});
    EXPECT_EQ(details_, std::vector<QString>{"共1个字体:\nAlpha.ttf"});
    EXPECT_TRUE(fs::exists(bin_ / "Alpha.ttf"));

    {
        CaptionRecorder captions(Bin());
        Press("图形按钮16", Bin());
        EXPECT_EQ(captions.Seen(), std::vector<QString>{"还原字体中:100%"});
    }
    EXPECT_TRUE(Installed("Alpha"));
    EXPECT_FALSE(Shown("标签9"));
    EXPECT_TRUE(Shown("标签5"));  // the bin is empty again

    // A bin file that will not install stays, and the user is told.
    ASSERT_TRUE(platform::WriteWholeFile(bin_ / "broken.ttf", std::string(2000, 'x')));
    test::WriteRenamedFont(bin_ / "Gamma.ttf", "Gamma");
    Bin().ListFolder();  // lists Gamma only: the broken file names no font
    ASSERT_EQ(grid.RowCount(), 1);
    answer_ = true;
    Press("图形按钮15", Bin());
    EXPECT_EQ(platform::ListFiles(bin_), std::vector<std::string>{"broken.ttf"});
}

TEST_F(FolderPageTest, BackupAndRestoreShowProgressAndFinish) {
    for (const char* family : {"Alpha", "Beta", "Gamma", "Delta"}) {
        Install(family);
    }
    PageBarItem(5);  // lists the empty backup the first time
    EXPECT_TRUE(Shown("标签7"));
    {
        CaptionRecorder captions(Backup());
        Press("图形按钮1", Backup());
        EXPECT_EQ(captions.Seen(), (std::vector<QString>{"备份进行中:25%", "备份进行中:50%",
                                                         "备份进行中:75%", "备份进行中:100%"}));
    }
    EXPECT_EQ(Named<QLabel>("标签19").text(), "已备份字体数:4");
    EXPECT_TRUE(Named<GraphicButton>("图形按钮10").isEnabled());
    EXPECT_FALSE(Shown("标签8"));

    {
        CaptionRecorder captions(Backup());
        Press("图形按钮10", Backup());
        EXPECT_EQ(captions.Seen(), (std::vector<QString>{"还原进行中:0%", "还原进行中:25%",
                                                         "还原进行中:50%", "还原进行中:75%"}));
    }
    EXPECT_EQ(told_, std::vector<QString>{"信息：|安装完毕!"});

    // The page bar lists the backup the first time only.
    fs::remove(backup_ / "Alpha.ttf");
    PageBarItem(1);
    PageBarItem(5);
    EXPECT_EQ(Backup().FolderGrid().Data().RowCount(), 4);
}

TEST_F(FolderPageTest, ThePageBarAnswersWhileABackupOf150FilesRuns) {
    for (int k = 0; k < 150; ++k) {
        test::WriteRenamedFont(sandbox_.SystemFolder() / ("many" + std::to_string(k) + ".ttf"),
                               "Many " + std::to_string(k));
    }
    PageBarItem(5);
    Named<GraphicButton>("图形按钮1").click();
    ASSERT_TRUE(Backup().Running());

    // A click put into the window's queue, as the desktop delivers it, is answered while the
    // files are still being copied.
    const QStackedWidget& pages = Named<QStackedWidget>("选择夹1");
    const int before = pages.currentIndex();
    const Rect rect = PageBarItemRect(1);
    const QPoint middle(rect.x + rect.width / 2, rect.y + rect.height / 2);
    QElapsedTimer clock;
    clock.start();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(
            window_.get(),
            new QMouseEvent(
                type, QPointF(middle), QPointF(window_->mapToGlobal(middle)), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
    }
    ASSERT_TRUE(test::WaitFor([&] { return pages.currentIndex() != before; }));
    const qint64 answeredAfter = clock.elapsed();
    EXPECT_TRUE(Backup().Running()) << "the backup ended before the click could be answered";
    RecordProperty("page_switch_ms_during_backup", static_cast<int>(answeredAfter));
    std::printf("page switch during a backup of 150 files: %lld ms\n",
                static_cast<long long>(answeredAfter));

    ASSERT_TRUE(test::WaitFor([this] { return !Backup().Running(); }));
    EXPECT_EQ(platform::ListFiles(backup_).size(), 150U);
    EXPECT_FALSE(Shown("标签8"));
}

TEST_F(FolderPageTest, TheWindowAndTheCommandLineTakeTurns) {
    for (int k = 0; k < 40; ++k) {
        test::WriteRenamedFont(sandbox_.SystemFolder() / ("many" + std::to_string(k) + ".ttf"),
                               "Many " + std::to_string(k));
    }
    Install("Alpha");
    test::WriteRenamedFont(sources_ / "Omega.ttf", "Omega");
    PageBarItem(5);
    // The window backs up and deletes a font into the bin while the command line installs one.
    SystemFontPage& systemFonts = window_->Pages().SystemFonts();
    Named<GraphicButton>("图形按钮1").click();
    systemFonts.State().SetMenuFont(FontMenu::kFontList, "Alpha");
    systemFonts.MoveFontToRecycleBin();  // the menu's "删除字体", not waited for
    int exitCode = -1;
    test::RunCli(runDir_.Path(), "install " + test::ShellQuote((sources_ / "Omega.ttf").string()),
                 &exitCode);
    ASSERT_TRUE(
        test::WaitFor([&] { return !Backup().Running() && !systemFonts.MenuWorkRunning(); }));
    EXPECT_EQ(exitCode, 0);

    // Every change is in effect, and the records agree with what fontconfig lists.
    const std::vector<std::string> listed = test::FcListFiles();
    const auto isListed = [&listed](const fs::path& file) {
        return std::find(listed.begin(), listed.end(), file.string()) != listed.end();
    };
    EXPECT_TRUE(isListed(sandbox_.FontsFolder() / "Omega.ttf"));
    EXPECT_FALSE(fs::exists(sandbox_.FontsFolder() / "Alpha.ttf"));
    EXPECT_TRUE(fs::exists(bin_ / "Alpha.ttf"));
    // Alpha is in the backup or not, as the two tasks took their turns; the rest always are.
    EXPECT_GE(platform::ListFiles(backup_).size(), 40U);
    const std::string key = platform::ReadWholeFile(sandbox_.KeyFile()).value_or("");
    EXPECT_NE(key.find("Omega.ttf\t"), std::string::npos);
    EXPECT_EQ(key.find("Alpha.ttf\t"), std::string::npos);
}

TEST_F(FolderPageTest, ExportAsksForTheFolderFirstAndSaysHowItWent) {
    Install("Alpha");
    window_->Pages().SystemFonts().State().SetMenuFont(FontMenu::kFontList, "Alpha");
    ChooseMenuItem("导出字体文件");  // cancelled: nothing is copied anywhere
    EXPECT_EQ(asked_, std::vector<QString>{"请选择保存字体的目录"});
    EXPECT_TRUE(told_.empty());

    test::TempDir target;
    chosenFolder_ = QString::fromStdString(target.Path().string());
    ChooseMenuItem("导出字体文件");
    EXPECT_EQ(told_, std::vector<QString>{"字体导出成功|字体导出成功"});
    EXPECT_EQ(platform::ReadWholeFile(target / "Alpha.ttf"),
              platform::ReadWholeFile(sandbox_.FontsFolder() / "Alpha.ttf"));

    chosenFolder_ = QString::fromStdString((target / "gone").string());
    told_.clear();
    ChooseMenuItem("导出字体文件");
    ASSERT_EQ(told_.size(), 1U);
    EXPECT_TRUE(told_[0].startsWith("信息：|字体导出失败")) << told_[0].toStdString();
}

}  // namespace
}  // namespace glyphwell::ui
