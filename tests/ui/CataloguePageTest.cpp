// The catalogue page against a real catalogue served on 127.0.0.1: browsing, paging and the
// road of one font download into the installed fonts.

#include "ui/catalogue/CataloguePage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include <memory>
#include <thread>

#include "app/WorkingFolders.h"
#include "catalogue/CatalogueDatabase.h"
#include "fonts/FontFixtures.h"
#include "fonts/FontconfigFontSystem.h"
#include "platform/Files.h"
#include "server/ServedSite.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "ui/Canvas.h"
#include "ui/CatalogueWindowTest.h"
#include "ui/Grid.h"
#include "ui/MainPages.h"
#include "ui/MainWindow.h"
#include "ui/SystemFontPage.h"
#include "ui/TestApplication.h"
#include "ui/catalogue/CatalogueDownloads.h"

namespace glyphwell::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kFonts = 13;

class CataloguePageTest : public test::CatalogueWindowTest {
  protected:
    void SetUp() override {
        // Thirteen renamed fonts in one sub-category; an empty one; the shared-fonts tab's.
        std::string manifest = "version\t1.5\ncategory\t中文字体\nsubcategory\t全部字体\n";
        for (int i = 1; i <= kFonts; ++i) {
            const std::string name = "Catalogue Font " + std::to_string(i);
            test::WriteRenamedFont(site_ / (std::to_string(i) + ".ttf"), name);
            manifest +=
                "font\t" + name + "\tf/" + std::to_string(i) + "\t" + std::to_string(i) + ".ttf\n";
        }
        manifest += "subcategory\t其他\ncategory\tMACOS字体\nsubcategory\t苹果\n";
        server_ = std::make_unique<test::ServedSite>(site_.Path(), manifest);

        fs::create_directories(sandbox_.FontsFolder());
        fs::copy_file(server_->Root() / "ztdata.mdb", runDir_ / "ztdata.mdb");
        MakeWindow();
        registry_.LoadFontTable();
        SystemFontPage& systemFonts = window_->Pages().SystemFonts();
        systemFonts.UseFonts(registry_, runDir_ / app::kRecycleBinFolderName);
        UseCatalogue();
        downloads_ = std::make_unique<CatalogueDownloads>(
            *page_, systemFonts, state_->http, registry_, runDir_ / app::kDownloadFolderName,
            [this] { return server_->Base(); });
        downloads_->SetTeller([this](const QString& message) { told_.push_back(message); });
        page_->SetPreviewService(state_->http, [this] { return server_->Base(); });
        page_->SetPreviewTeller([this](const QString& message) { told_.push_back(message); });
        database_.OpenCatalogue();
        QCoreApplication::sendPostedEvents();  // the category it shows, queued
    }
    void TearDown() override {
        downloads_.reset();
        CatalogueWindowTest::TearDown();
    }

    QLabel& PageLabel() { return *window_->findChild<QLabel*>("标签1"); }
    CatalogueBrowser& Browser() { return page_->Browser(); }
    void Release(QPoint at) { emit page_->FontCanvas().LeftReleased(at); }

    std::unique_ptr<CatalogueDownloads> downloads_;
    std::vector<QString> told_;
};

TEST_F(CataloguePageTest, OpeningShowsTheFirstSubcategoryAndPagesThroughIt) {
    EXPECT_EQ(page_->CategoryTabs().count(), 9);
    EXPECT_EQ(page_->CategoryTabs().tabText(6), "  字体识别");
    EXPECT_EQ(Browser().CurrentSubcategory(), "全部字体");
    EXPECT_EQ(PageLabel().text(), "1/3");
    EXPECT_EQ(Browser().Item(1).FontName, "Catalogue Font 1");
    EXPECT_FALSE(window_->findChild<QWidget*>("图形按钮28")->isHidden());
    EXPECT_TRUE(window_->findChild<QWidget*>("超文本浏览框5")->isHidden());
    for (const char* next : {"图形按钮7", "图形按钮7"}) {
        window_->findChild<QAbstractButton*>(next)->click();
    }
    EXPECT_EQ(PageLabel().text(), "3/3");
    EXPECT_EQ(Browser().ItemsOnPage(), 1);
    // Screen readers hear the one row shown, not the rows of the page before.
    EXPECT_EQ(page_->FontCanvas().accessibleDescription(),
              QString::fromStdString(Browser().Item(1).FontName) + " 下载");
    EXPECT_TRUE(window_->findChild<QWidget*>("图形按钮18")->isHidden());  // row 2 shows nothing
    page_->CategoryTabs().setCurrentIndex(kSharedFontsCategory);
    EXPECT_FALSE(window_->findChild<QWidget*>("超文本浏览框5")->isHidden());
}

TEST_F(CataloguePageTest, FontsInstalledAndRemovedOutsideShowWithoutARestart) {
    ASSERT_EQ(Browser().Item(2).State, CatalogueItemState::kNotInstalled);
    int exitCode = -1;
    test::RunCli(runDir_.Path(),
                 "install " + test::ShellQuote((site_ / "2.ttf").string()) + " >/dev/null",
                 &exitCode);
    ASSERT_EQ(exitCode, 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return Browser().Item(2).State == CatalogueItemState::kInstalled; }, 2000));
    EXPECT_NE(registry_.FindFontEntry("Catalogue Font 2"), 0);

    test::RunCli(runDir_.Path(), "uninstall " + test::ShellQuote("Catalogue Font 2"), &exitCode);
    ASSERT_EQ(exitCode, 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return Browser().Item(2).State == CatalogueItemState::kNotInstalled; }, 2000));
}

TEST_F(CataloguePageTest, ReleaseOnDownloadInstallsTheFontAndMarksTheRow) {
    Release({700, 30});
    EXPECT_EQ(Browser().Item(1).State, CatalogueItemState::kDownloading);
    ASSERT_TRUE(test::WaitFor([this] { return !downloads_->Running(); }));
    EXPECT_TRUE(told_.empty()) << told_.front().toStdString();
    EXPECT_EQ(Browser().Item(1).State, CatalogueItemState::kInstalled);
    EXPECT_TRUE(
        page_->FontCanvas().accessibleDescription().startsWith("Catalogue Font 1 已安装\n"));
    EXPECT_NE(registry_.FindFontEntry("Catalogue Font 1"), 0);
    // Listed by the system-font page and by the desktop.
    const GridData& list = window_->Pages().SystemFonts().FontGrid().Data();
    bool listed = false;
    for (int row = 0; row < list.RowCount(); ++row) {
        listed = listed || list.Text(row, 1) == "Catalogue Font 1" ||
                 list.Text(row, 4) == "Catalogue Font 1";
    }
    EXPECT_TRUE(listed);
    EXPECT_TRUE(platform::FileExists(runDir_ / app::kDownloadFolderName / "Catalogue Font 1.ttf"));
    const std::vector<std::string> files = test::FcListFiles();
    EXPECT_NE(std::find(files.begin(), files.end(),
                        (sandbox_.FontsFolder() / "CatalogueFont1.ttf").string()),
              files.end());
    // Installed: releasing there again starts nothing.
    Release({700, 30});
    EXPECT_FALSE(downloads_->Running());
}

TEST_F(CataloguePageTest, AFailedDownloadIsToldAndTheRowOffersDownloadAgain) {
    server_->Stop();
    Release({700, 80});
    ASSERT_TRUE(test::WaitFor([this] { return !downloads_->Running(); }));
    EXPECT_EQ(told_, std::vector<QString>{"服务器连接失败"});
    EXPECT_EQ(Browser().Item(2).State, CatalogueItemState::kNotInstalled);
}

TEST_F(CataloguePageTest, PreviewShowsTheServersPictureOfTheRowsFont) {
    auto& text = *window_->findChild<QLineEdit*>("编辑框4");
    auto& size = *window_->findChild<QLineEdit*>("编辑框5");
    auto& strip = *window_->findChild<QLabel*>("标签14");
    auto& row1 = *window_->findChild<QAbstractButton*>("图形按钮28");
    text.setText("字体 Preview");
    size.setText("5");
    row1.click();
    EXPECT_EQ(told_, std::vector<QString>{"字体大小只能在6-30之间!"});
    EXPECT_FALSE(page_->PreviewRunning());

    size.setText("20");
    row1.click();
    EXPECT_TRUE(page_->PreviewRunning());
    row1.click();  // one at a time: this press does nothing
    ASSERT_TRUE(test::WaitFor([this] { return !page_->PreviewRunning(); }));
    EXPECT_FALSE(strip.pixmap().isNull());
    EXPECT_EQ(strip.text(), "");

    server_->Stop();
    row1.click();
    ASSERT_TRUE(test::WaitFor([this] { return !page_->PreviewRunning(); }));
    EXPECT_TRUE(strip.pixmap().isNull());
    EXPECT_EQ(strip.text(), "远程读取失败!");
    EXPECT_EQ(told_.size(), 1u);
}

}  // namespace
}  // namespace glyphwell::ui
