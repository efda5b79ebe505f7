#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QWebEngineView>

#include <filesystem>
#include <memory>

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"
#include "ui/FolderPage.h"
#include "ui/GraphicButton.h"
#include "ui/Grid.h"
#include "ui/InstallPathWindow.h"
#include "ui/MainWindow.h"
#include "ui/SystemFontPage.h"
#include "ui/TestApplication.h"
#include "ui/Translations.h"
#include "ui/UiFonts.h"
#include "ui/catalogue/CataloguePage.h"
#include "ui/logic/PageControls.h"
#include "ui/logic/SystemFontList.h"

namespace glyphwell::ui {
namespace {

class MainPagesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::TestApplication(); }

    void Start(const std::string& site = test::UnusedLocalAddress()) {
        platform::ServiceAddresses addresses;
        addresses.site = site;
        addresses.webSearch = "http://search.example/s?wd=";
        addresses.imageSearch = site + "/search/images?q=";
        addresses.fontRecognition = site + "/recognize.html";
        addresses.sharedFonts = site + "/share/";
        state_ = test::TestProgramState(runDir_.Path(), addresses);
        window_ = std::make_unique<MainWindow>(*state_, [] {});
        app::MainWindowCreated(*state_, *window_);
        window_->show();
        QApplication::processEvents();
        Pages().SetBrowserOpener([this](const QString& address) { opened_.push_back(address); });
    }
    MainPages& Pages() { return window_->Pages(); }
    template <typename T>
    T& Named(const char* name) {
        T* control = window_->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }
    // Fills the two-fonts-a-row list as the page does.
    void FillSystemList(const std::vector<std::string>& names) {
        ui::FillSystemList(Pages().SystemFonts().FontGrid().Data(), names);
    }
    void ShowPage(int index) {
        window_->findChild<QStackedWidget*>("选择夹1")->setCurrentIndex(index);
        QApplication::processEvents();
    }

    test::TempDir runDir_;
    std::unique_ptr<app::ProgramState> state_;
    std::unique_ptr<MainWindow> window_;
    std::vector<QString> opened_;
};

TEST_F(MainPagesTest, EveryControlStartsWhereItsTableSays) {
    Start();
    auto* container = window_->findChild<QStackedWidget*>("选择夹1");
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->count(), 8);
    for (int page = 0; page < 8; ++page) {
        EXPECT_EQ(container->widget(page)->windowTitle(), QString::fromUtf8(kPageNames[page]));
    }
    // Widths and left edges the layout sets follow the window; the rest is as designed.
    const QStringList laidOut = {"系统字体表格", "系统字体表格2", "我的字体表格", "回收站表格",
                                 "备份表格",     "分组框6",       "图形按钮2",    "图形按钮6",
                                 "图形按钮7",    "图形按钮8",     "标签1"};
    for (const ControlInfo& info : PageControls()) {
        const QString name = QString::fromUtf8(info.name);
        QWidget* control = window_->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << info.name;
        QWidget* parent = info.page >= 0
                              ? container->widget(info.page)
                              : window_->findChild<QWidget*>(PageControl(info.container).name);
        EXPECT_EQ(control->parentWidget(), parent) << info.name;
        const QRect designed(info.rect.x, info.rect.y, info.rect.width, info.rect.height);
        if (laidOut.contains(name)) {
            EXPECT_EQ(control->y(), designed.y()) << info.name;
            EXPECT_EQ(control->height(), designed.height()) << info.name;
        } else {
            EXPECT_EQ(control->geometry(), designed) << info.name;
        }
        EXPECT_EQ(!control->isHidden(), info.shownAtStart) << info.name;
        const QString text = QString::fromUtf8(info.text);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            EXPECT_EQ(label->text(), text) << info.name;
        } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
            EXPECT_EQ(box->text(), text) << info.name;
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            EXPECT_EQ(edit->text(), text) << info.name;
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            EXPECT_EQ(group->title(), text) << info.name;
        } else if (auto* button = qobject_cast<GraphicButton*>(control)) {
            EXPECT_EQ(button->accessibleName(), text) << info.name;
            EXPECT_EQ(button->Images().normal.size(), designed.size()) << info.name;
        }
    }
    // The layout's numbers for a 744-pixel window.
    EXPECT_EQ(Named<Grid>("系统字体表格").width(), 736);
    EXPECT_EQ(Named<Grid>("备份表格").width(), 734);
    EXPECT_EQ(Named<Grid>("备份表格").Data().ColumnWidth(0), 489);
    EXPECT_EQ(Named<Grid>("我的字体表格").Data().ColumnWidth(1), 175);
    EXPECT_EQ(Named<GraphicButton>("图形按钮2").x(), 152);
    EXPECT_EQ(Named<QLabel>("标签1").x(), 552);
    const int systemColumns[] = {210, 120, 27, 210, 120, 27};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(Pages().SystemFonts().FontGrid().Data().ColumnWidth(column),
                  systemColumns[column]);
    }
    EXPECT_EQ(Pages().SystemFonts().FontGrid().Data().ColumnKind(5), CellKind::kCheckBox);
    EXPECT_EQ(Pages().RecycleBin().FolderGrid().Data().ColumnKind(2), CellKind::kCheckBox);
    EXPECT_EQ(Pages().SystemFonts().State().ListMode(), fonts::ListMode::ByLanguage);
}

TEST_F(MainPagesTest, CountAndSelectAllShowWholeWithinThePage) {
    Start();
    auto& count = Named<QLabel>("标签2");
    auto& selectAll = Named<QCheckBox>("选择框4");
    count.setText(QString::fromStdString(FontCountCaption(10004)));
    EXPECT_LE(QFontMetrics(count.font()).horizontalAdvance(count.text()), count.width());
    EXPECT_LT(count.geometry().right(), selectAll.x());
    EXPECT_LE(selectAll.sizeHint().width(), selectAll.width());
    EXPECT_LT(selectAll.geometry().right(), window_->findChild<QWidget*>("选择夹1")->width());
}

TEST_F(MainPagesTest, StandardButtonsSpeakChinese) {
    Start();
    ASSERT_TRUE(UseChineseQtTexts());
    QMessageBox box(QMessageBox::Question, "信息：", "?", QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith("是"));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith("否"));
}

TEST_F(MainPagesTest, MenusArePopUpsOnly) {
    Start();
    EXPECT_EQ(window_->findChild<QMenuBar*>(), nullptr);
    const struct {
        const char* menu;
        QStringList items;
    } menus[] = {
        {"系统表格", {"复制字体名(&Z)", "导出字体文件(&W)", "", "删除字体"}},
        {"系统表格2", {"复制字体名(&Z)", "", "删除字体"}},
        {"控制菜单", {"检测更新", "官方主页", "关于我们", "综合设置"}},
    };
    for (const auto& m : menus) {
        auto& menu = Named<QMenu>(m.menu);
        EXPECT_FALSE(menu.isVisible());
        QStringList items;
        for (QAction* action : menu.actions()) {
            items << (action->isSeparator() ? QString() : action->text());
        }
        EXPECT_EQ(items, m.items) << m.menu;
    }
    int updateChecks = 0;
    QObject::connect(&Pages(), &MainPages::UpdateCheckRequested, [&] { ++updateChecks; });
    Named<QMenu>("控制菜单").actions()[0]->trigger();
    EXPECT_EQ(updateChecks, 1);
    Named<QMenu>("控制菜单").actions()[1]->trigger();
    EXPECT_EQ(opened_, std::vector<QString>{QString::fromStdString(state_->addresses.site)});
}

TEST_F(MainPagesTest, SystemListMarksToggleOnlyInTheirZones) {
    Start();
    ShowPage(0);
    FillSystemList({"DejaVu Sans", "AR PL UMing CN", "WenQuanYi Micro Hei"});
    Grid& grid = Pages().SystemFonts().FontGrid();
    const int y = grid.rowViewportPosition(0) + 5;
    grid.ClickAt({349, y});
    EXPECT_TRUE(grid.Data().Checked(0, 2));
    grid.ClickAt({350, y});
    EXPECT_TRUE(grid.Data().Checked(0, 2));
    EXPECT_FALSE(grid.Data().Checked(0, 5));
    grid.ClickAt({700, y});
    EXPECT_TRUE(grid.Data().Checked(0, 5));
    grid.ClickAt({100, y});
    EXPECT_TRUE(grid.Data().Checked(0, 2));
    EXPECT_TRUE(grid.Data().Checked(0, 5));
    // The second row: the click makes it current first.
    grid.ClickAt({340, grid.rowViewportPosition(1) + 5});
    EXPECT_EQ(grid.Data().CurrentRow(), 1);
    EXPECT_TRUE(grid.Data().Checked(1, 2));
}

TEST_F(MainPagesTest, FolderListToggleIsStrictlyInsideTheCheckColumn) {
    Start();
    ShowPage(2);
    Grid& grid = Named<Grid>("我的字体表格");
    grid.show();
    grid.Data().SetRowCount(2);
    const int edge = grid.Data().ColumnRight(1);
    const int y = grid.rowViewportPosition(0) + 5;
    grid.ClickAt({edge, y});
    EXPECT_FALSE(grid.Data().Checked(0, 2));
    grid.ClickAt({edge + 1, y});
    EXPECT_TRUE(grid.Data().Checked(0, 2));
    grid.ClickAt({grid.Data().ColumnRight(2), y});
    EXPECT_TRUE(grid.Data().Checked(0, 2));

    // Select-all of the recycle bin and backup lists.
    Pages().RecycleBin().FolderGrid().Data().SetRowCount(3);
    Named<QCheckBox>("选择框1").click();
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(Pages().RecycleBin().FolderGrid().Data().Checked(row, 2));
    }
    Named<QCheckBox>("选择框1").click();
    EXPECT_FALSE(Pages().RecycleBin().FolderGrid().Data().Checked(2, 2));
}

TEST_F(MainPagesTest, SelectAllFollowsTheVisibleList) {
    Start();
    ShowPage(0);
    FillSystemList({"A", "B", "C"});
    Grid& results = Pages().SystemFonts().SearchResultGrid();
    results.Data().SetRowCount(2);
    Pages().SystemFonts().ShowList(ShownFontList::kSearchResults);
    Named<QCheckBox>("选择框4").click();
    EXPECT_TRUE(results.Data().Checked(0, 2));
    EXPECT_TRUE(results.Data().Checked(1, 2));
    EXPECT_FALSE(Pages().SystemFonts().FontGrid().Data().Checked(0, 2));

    Pages().SystemFonts().ShowList(ShownFontList::kAllFonts);
    Named<QCheckBox>("选择框4").click();  // unticks: the visible list takes the state
    Named<QCheckBox>("选择框4").click();
    for (int row = 0; row < 2; ++row) {
        EXPECT_TRUE(Pages().SystemFonts().FontGrid().Data().Checked(row, 2));
        EXPECT_TRUE(
            Pages().SystemFonts().FontGrid().Data().Checked(row, 5));  // half-filled row too
    }
    EXPECT_TRUE(results.Data().Checked(0, 2));
}

TEST_F(MainPagesTest, PreviewTextAndSearchBoxes) {
    Start();
    FillSystemList({"DejaVu Sans", "AR PL UMing CN"});
    auto& preview = Named<QLineEdit>("编辑框2");
    preview.setText("字体预览");
    EXPECT_EQ(Pages().SystemFonts().FontGrid().Data().Text(0, 0), "字体预览");
    EXPECT_EQ(Pages().SystemFonts().FontGrid().Data().Text(0, 3), "字体预览");
    preview.clear();
    EXPECT_EQ(Pages().SystemFonts().FontGrid().Data().Text(0, 0), "DejaVu Sans");
    EXPECT_EQ(Pages().SystemFonts().FontGrid().Data().Text(0, 3), "AR PL UMing CN");

    ShowPage(1);
    auto& query = Named<QLineEdit>("编辑框4");
    for (const char* typed : {"", "思源 宋体 abc"}) {
        test::SendMouse(query, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
        EXPECT_EQ(query.text(), "");  // every press empties it
        query.setText(QString::fromUtf8(typed));
    }
    Named<GraphicButton>("图形按钮9").click();
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], "http://search.example/s?wd=思源 宋体 abc");
}

TEST_F(MainPagesTest, OrderAndPagingButtonsReachTheirEntryPoints) {
    Start();
    std::vector<fonts::ListMode> modes;
    std::vector<int> rows;
    for (const char* name : {"图形按钮3", "图形按钮4", "图形按钮5"}) {
        Named<GraphicButton>(name).click();
        modes.push_back(Pages().SystemFonts().State().ListMode());
    }
    EXPECT_EQ(modes,
              (std::vector<fonts::ListMode>{fonts::ListMode::ByTime, fonts::ListMode::ByLanguage,
                                            fonts::ListMode::ByInitial}));
    CataloguePage& catalogue = Pages().Catalogue();
    QObject::connect(&catalogue, &CataloguePage::PreviewRequested,
                     [&](int row) { rows.push_back(row); });
    for (const char* name : {"图形按钮28", "图形按钮22"}) {
        Named<GraphicButton>(name).click();
    }
    EXPECT_EQ(rows, (std::vector<int>{1, 6}));
    // Without a catalogue there is nothing to page through.
    Named<GraphicButton>("图形按钮7").click();
    EXPECT_EQ(catalogue.Browser().PageNumber(), 0);
    // Without installed fonts to work on, the uninstall button does nothing.
    Named<GraphicButton>("图形按钮17").click();
}

TEST_F(MainPagesTest, BrowserBoxesShowTheLocalSitePages) {
    test::LocalHttpServer server;
    for (const char* path : {"/ad.html", "/tmall.html", "/ziyuan.html", "/xiazai.html"}) {
        server.Server().Get(path, [path](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string("<html><head><title>") + path +
                                     "</title></head><body>page</body></html>",
                                 "text/html");
        });
    }
    server.Start();
    Start(server.Base());
    auto& resources = Named<QWebEngineView>("超文本浏览框3");
    auto waitForTitle = [](QWebEngineView& box, const QString& title) {
        for (int i = 0; i < 300 && box.title() != title; ++i) {
            QTest::qWait(50);
        }
        return box.title();
    };
    EXPECT_EQ(waitForTitle(Named<QWebEngineView>("超文本浏览框1"), "/ad.html"), "/ad.html");
    EXPECT_EQ(waitForTitle(resources, "/ziyuan.html"), "/ziyuan.html");
    Named<GraphicButton>("图形按钮30").click();
    EXPECT_EQ(waitForTitle(resources, "/xiazai.html"), "/xiazai.html");
    EXPECT_EQ(Named<QWebEngineView>("超文本浏览框4").url().toString(QUrl::FullyEncoded),
              QString::fromStdString(server.Base()) +
                  "/search/images?q=%E8%AE%BE%E8%AE%A1%E4%BD%9C%E5%93%81%E6%AC%A3%E8%B5%8F");
    // The gallery box is larger than its page and shifted, so the page cuts it.
    auto& gallery = Named<QWebEngineView>("超文本浏览框4");
    EXPECT_EQ(gallery.geometry(), QRect(-40, -180, 800, 700));
}

TEST_F(MainPagesTest, RecognitionWindowHidesInsteadOfClosing) {
    Start();
    QWidget* recognition = Pages().RecognitionWindow();
    ASSERT_NE(recognition, nullptr);
    EXPECT_TRUE(recognition->isHidden());
    EXPECT_EQ(recognition->size(), QSize(1070, 701));
    EXPECT_EQ(recognition->windowTitle(), "字体识别-请上传本地字体图样文件");
    EXPECT_EQ(recognition->parentWidget(), window_.get());
    Pages().ShowRecognitionWindow();
    EXPECT_TRUE(recognition->isVisible());
    auto* box = recognition->findChild<QWebEngineView*>();
    ASSERT_NE(box, nullptr);
    const QUrl shown = box->url();
    EXPECT_FALSE(recognition->close());
    EXPECT_TRUE(recognition->isHidden());
    Pages().ShowRecognitionWindow();
    EXPECT_TRUE(recognition->isVisible());
    EXPECT_EQ(box->url(), shown);
    recognition->hide();
}

TEST_F(MainPagesTest, InstallPathWindowWritesTheChosenFolder) {
    Start();
    const std::filesystem::path before = std::filesystem::current_path();
    test::TempDir current;
    std::filesystem::current_path(current.Path());
    QString offered = "/home/user/字体";
    InstallPathWindow window(window_.get(), [&](QWidget*) { return offered; });
    EXPECT_EQ(window.size(), QSize(380, 250));
    window.Choose();
    EXPECT_EQ(window.PathBox().text(), offered);
    window.Confirm();
    EXPECT_EQ(platform::ReadIniString(current / "peizhi.ini", "mulu", "mulu", "-"),
              "/home/user/字体");
    offered.clear();  // cancelled
    window.Choose();
    EXPECT_EQ(window.PathBox().text(), "");
    std::filesystem::current_path(before);
}

TEST_F(MainPagesTest, SongFaceIsAMingFace) {
    test::TestApplication();
    const QString family = QFontInfo(SongFont(13)).family();
    EXPECT_TRUE(test::IsMingFace(family)) << family.toStdString();
}

}  // namespace
}  // namespace glyphwell::ui
