#include "ui/SystemFontPage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <memory>

#include "fonts/FontFixtures.h"
#include "fonts/FontconfigFontSystem.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"
#include "ui/GraphicButton.h"
#include "ui/Grid.h"
#include "ui/MainPages.h"
#include "ui/MainWindow.h"
#include "ui/TestApplication.h"

namespace glyphwell::ui {
namespace {

class SystemFontPageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::TestApplication(); }

    void SetUp() override {
        std::filesystem::create_directories(sandbox_.FontsFolder());
        for (const char* family : {"Zulu Sans", "alpha serif", "8 Bit", "Mike Mono"}) {
            const std::filesystem::path source = sources_ / (std::string(family) + ".ttf");
            test::WriteRenamedFont(source, family);
            std::string target;
            ASSERT_EQ(fonts::InstallFont(system_, source.string(), target), 1);
        }
        registry_.LoadFontTable();
        state_ = test::TestProgramState(runDir_.Path());
        window_ = std::make_unique<MainWindow>(*state_, [] {});
        app::MainWindowCreated(*state_, *window_);
        window_->show();
        page_ = &window_->Pages().SystemFonts();
        page_->UseFonts(registry_, runDir_ / "字体回收站");
        PageDialogs dialogs;
        dialogs.confirmRemoval = [this](const QString&, const QString& q, const QString& d) {
            asked_.push_back(q);
            details_.push_back(d);
            return answer_;
        };
        dialogs.tell = [this](const QString&, const QString& m) { told_.push_back(m); };
        page_->SetDialogs(dialogs);
        page_->PostBuildSystemList();
        QCoreApplication::sendPostedEvents();  // the list it builds, queued
    }
    template <typename T>
    T& Named(const char* name) {
        return *window_->findChild<T*>(QString::fromUtf8(name));
    }
    Grid& List() { return window_->Pages().SystemFonts().FontGrid(); }
    // Presses "卸载" and waits, as a person does, until the batch has ended.
    void PressUninstall() {
        Named<GraphicButton>("图形按钮17").click();
        EXPECT_TRUE(test::WaitFor([this] { return !page_->State().Uninstalling(); }));
    }
    Grid& Results() { return window_->Pages().SystemFonts().SearchResultGrid(); }

    test::FontconfigSandbox sandbox_;
    test::TempDir sources_;
    test::TempDir runDir_;
    fonts::FontconfigFontSystem system_{sandbox_.Paths()};
    fonts::FontRegistry registry_{system_};
    std::unique_ptr<app::ProgramState> state_;
    std::unique_ptr<MainWindow> window_;
    SystemFontPage* page_ = nullptr;
    std::vector<QString> asked_;
    std::vector<QString> details_;
    std::vector<QString> told_;
    bool answer_ = true;
};

TEST_F(SystemFontPageTest, ListsInTheChosenOrderWithItsCount) {
    EXPECT_EQ(Named<QLabel>("标签2").text(), "系统字体数:4");
    EXPECT_EQ(List().Data().RowCount(), 2);
    Named<GraphicButton>("图形按钮5").click();  // by initial: 8 reads as B
    EXPECT_EQ(window_->Pages().SystemFonts().State().ListMode(), fonts::ListMode::ByInitial);
    EXPECT_EQ(List().Data().Text(0, 1), "alpha serif");
    EXPECT_EQ(List().Data().Text(0, 4), "8 Bit");
    EXPECT_EQ(List().Data().Text(1, 1), "Mike Mono");
    EXPECT_EQ(List().Data().Text(1, 4), "Zulu Sans");
    EXPECT_EQ(List().Data().FontHeight(1, 3), 20);
}

TEST_F(SystemFontPageTest, SearchShowsExactlyOneOfTheListsAndTheNoResultLabel) {
    auto& filter = Named<QLineEdit>("编辑框1");
    auto& noResult = Named<QLabel>("标签20");
    filter.setText("ALPHA");
    EXPECT_FALSE(Results().isHidden());
    EXPECT_TRUE(List().isHidden());
    EXPECT_TRUE(noResult.isHidden());
    EXPECT_EQ(Results().Data().Text(0, 1), "alpha serif");
    Named<QCheckBox>("选择框5").setChecked(true);  // match case
    filter.setText("ALPHAS");
    filter.setText("ALPHA");
    EXPECT_FALSE(noResult.isHidden());
    EXPECT_TRUE(Results().isHidden());
    EXPECT_TRUE(List().isHidden());
    filter.clear();
    EXPECT_FALSE(List().isHidden());
    EXPECT_TRUE(Results().isHidden());
    EXPECT_TRUE(noResult.isHidden());
}

TEST_F(SystemFontPageTest, TypingReplacesTheFilterHintAndMatchCaseSearchesAgain) {
    auto& filter = Named<QLineEdit>("编辑框1");
    auto focusIn = [&filter] {
        QFocusEvent event(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(&filter, &event);
        QApplication::processEvents();
    };
    focusIn();
    QTest::keyClicks(&filter, "ALPHA");
    EXPECT_EQ(filter.text(), "ALPHA");
    EXPECT_FALSE(Results().isHidden());
    Named<QCheckBox>("选择框5").click();  // at once: no font is spelt "ALPHA"
    EXPECT_FALSE(Named<QLabel>("标签20").isHidden());
    EXPECT_TRUE(Results().isHidden());
    // Only the first focus selects: later the user's own text stays.
    focusIn();
    QTest::keyClicks(&filter, "X");
    EXPECT_EQ(filter.text(), "ALPHAX");
}

TEST_F(SystemFontPageTest, RightClickPicksTheHalfAndCopyTakesItsName) {
    const int y = List().rowViewportPosition(0) + 5;
    QMenu& menu = Named<QMenu>("系统表格");
    for (const auto& [x, column] : {std::pair{500, 4}, std::pair{100, 1}}) {
        emit List().RightReleased({x, y});
        const std::string name = List().Data().Text(0, column);
        EXPECT_EQ(menu.actions().back()->text().toStdString(), "删除字体  (  " + name + "  )");
        menu.hide();
        menu.actions()[0]->trigger();
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), name);
    }
}

TEST_F(SystemFontPageTest, BatchUninstallAsksRefusesWhileBusyAndRebuilds) {
    answer_ = false;
    PressUninstall();
    EXPECT_EQ(asked_, std::vector<QString>{"是否执行批量卸载?"});
    EXPECT_EQ(registry_.Count(), 4);

    // Nothing ticked: after Yes the list is still rebuilt and the busy label hidden again.
    answer_ = true;
    List().Data().SetText(0, 1, "stale");
    PressUninstall();
    EXPECT_EQ(registry_.Count(), 4);
    EXPECT_NE(List().Data().Text(0, 1), "stale");
    EXPECT_TRUE(Named<QLabel>("标签18").isHidden());

    // Ticked, one font goes, named in the question; its mark goes with it and does not pass to
    // the font that moves into its cell, so a second press removes nothing.
    List().Data().SetChecked(0, 2, true);
    const std::string first = List().Data().Text(0, 1);
    details_.clear();
    PressUninstall();
    EXPECT_EQ(details_, std::vector<QString>{"共1个字体:\n" + QString::fromStdString(first)});
    EXPECT_EQ(registry_.FindFontEntry(first), 0);
    EXPECT_EQ(Named<QLabel>("标签2").text(), "系统字体数:3");
    EXPECT_FALSE(List().Data().Checked(0, 2));
    PressUninstall();
    EXPECT_EQ(registry_.Count(), 3);
    asked_.clear();
    ASSERT_TRUE(page_->State().BeginUninstall());  // as while one runs
    Named<GraphicButton>("图形按钮17").click();
    EXPECT_TRUE(asked_.empty());
    EXPECT_EQ(told_, std::vector<QString>{"卸载进行中!"});
}

}  // namespace
}  // namespace glyphwell::ui
