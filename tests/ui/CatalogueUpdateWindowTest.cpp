// The catalogue update in the window against the real catalogue service on 127.0.0.1: the menu
// item, the prompt, the status line and the catalogue page shown again from the new file.

#include "ui/catalogue/CatalogueUpdates.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QAction>
#include <QTest>

#include <memory>

#include "catalogue/CatalogueDatabase.h"
#include "fonts/FontFixtures.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"
#include "platform/Files.h"
#include "server/ServedSite.h"
#include "support/TempDir.h"
#include "ui/CatalogueWindowTest.h"
#include "ui/MainPages.h"
#include "ui/MainWindow.h"
#include "ui/TestApplication.h"
#include "ui/catalogue/CataloguePage.h"
#include "update/UpdateSite.h"

namespace glyphwell::ui {
namespace {

constexpr const char* kPrefix = "主程序版本:3.8     字库版本号:";
constexpr const char* kConnected = "                  连接服务器成功!";

class CatalogueUpdateWindowTest : public test::CatalogueWindowTest {
  protected:
    void SetUp() override {
        test::WriteRenamedFont(site_ / "1.ttf", "Update Font");
        server_ = std::make_unique<test::ServedSite>(
            site_.Path(),
            "version\t1.5\ncategory\t中文字体\nsubcategory\t新分类\nfont\tUpdate "
            "Font\tf/1\t1.ttf\n");
        ASSERT_TRUE(
            platform::WriteWholeFile(runDir_ / "ztdata.mdb", test::CatalogueBytes("旧分类")));

        platform::ServiceAddresses addresses;
        addresses.site = server_->Base();
        MakeWindow(addresses);
        UseCatalogue();
        database_.OpenCatalogue();
        QCoreApplication::sendPostedEvents();  // the category it shows, queued
        updates_ = std::make_unique<CatalogueUpdates>(*window_, *state_, database_,
                                                      currentDir_ / "zt.data");
        PageDialogs dialogs;
        dialogs.askYesNo = [this](const QString&, const QString& question) {
            asked_.push_back(question);
            return answer_;
        };
        dialogs.tell = [this](const QString&, const QString& message) { told_.push_back(message); };
        updates_->SetDialogs(dialogs);
        ASSERT_TRUE(
            test::WaitFor([this] { return page_->Browser().CurrentSubcategory() == "旧分类"; }));
    }
    void TearDown() override {
        updates_.reset();
        CatalogueWindowTest::TearDown();
    }

    QAction& MenuItem() { return window_->Pages().UpdateCheckItem(); }
    QImage StatusLine() { return window_->grab(QRect(6, 599, 727, 15)).toImage(); }

    test::TempDir currentDir_;
    std::unique_ptr<CatalogueUpdates> updates_;
    bool answer_ = false;
    std::vector<QString> asked_;
    std::vector<QString> told_;
};

TEST_F(CatalogueUpdateWindowTest, TheMenuItemAsksAndNoLeavesTheCatalogue) {
    const QImage before = StatusLine();
    MenuItem().trigger();
    EXPECT_FALSE(MenuItem().isEnabled());
    ASSERT_TRUE(test::WaitFor([this] { return MenuItem().isEnabled(); }));
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0], "服务器上有新的字库版本,是否更新字库?");
    EXPECT_EQ(state_->versionLine.Text(), std::string(kPrefix) + "0.1(最新版本:1.5)" + kConnected);
    QTest::qWait(50);
    EXPECT_NE(StatusLine(), before);
    EXPECT_EQ(window_->accessibleDescription().toStdString(), state_->versionLine.Text());
    EXPECT_TRUE(told_.empty());
    EXPECT_EQ(page_->Browser().CurrentSubcategory(), "旧分类");
    EXPECT_EQ(state_->settings.ReadSetting("bbh", "none"), "none");
}

TEST_F(CatalogueUpdateWindowTest, YesInstallsTheNewCatalogueAndShowsItAtOnce) {
    answer_ = true;
    MenuItem().trigger();
    ASSERT_TRUE(test::WaitFor([this] { return !told_.empty(); }));
    EXPECT_EQ(told_, std::vector<QString>{"数据库安装成功,已自动刷新!"});
    EXPECT_EQ(state_->versionLine.Text(), std::string(kPrefix) + "1.5(已是最新版本!)" + kConnected);
    EXPECT_EQ(state_->settings.ReadSetting("bbh", ""), "1.5");
    ASSERT_TRUE(
        test::WaitFor([this] { return page_->Browser().CurrentSubcategory() == "新分类"; }));
    EXPECT_EQ(page_->Browser().Item(1).FontName, "Update Font");
    EXPECT_TRUE(test::WaitFor([this] { return MenuItem().isEnabled(); }));
    EXPECT_EQ(platform::ReadWholeFile(runDir_ / "ztdata.mdb"),
              platform::ReadWholeFile(server_->Root() / "ztdata.mdb"));

    // The same version again: no question, the line says so.
    asked_.clear();
    MenuItem().trigger();
    ASSERT_TRUE(test::WaitFor([this] {
        return state_->versionLine.Text() ==
               std::string(kPrefix) + "1.5(最新版本:1.5)" + kConnected;
    }));
    EXPECT_TRUE(asked_.empty());
}

}  // namespace
}  // namespace glyphwell::ui
