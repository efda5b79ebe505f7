#include "app/Startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/FontSnapshot.h"
#include "app/StartupLoader.h"
#include "app/WorkingFolders.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"

namespace glyphwell::app {
namespace {

using platform::FileSize;
using platform::FolderExists;
using platform::ReadWholeFile;
using platform::WriteWholeFile;

class StartupTest : public ::testing::Test {
  protected:
    ProgramState MakeState(const std::string& site = test::UnusedLocalAddress()) {
        platform::ServiceAddresses addresses;
        addresses.site = site;
        platform::HttpOptions http;
        http.connectTimeout = std::chrono::seconds(2);
        return ProgramState(runDir_.Path(), addresses, http);
    }
    void WriteSettings(const std::string& text) {
        ASSERT_TRUE(WriteWholeFile(runDir_ / "pos.ini", text));
    }
    test::TempDir runDir_;
};

TEST_F(StartupTest, FirstStartInAnEmptyFolder) {
    ProgramState state = MakeState();
    PrepareWorkingFolders(state);
    BuildStartupVersionLine(state);
    for (const char* name : {"字体下载目录", "字体回收站", "字体备份"}) {
        EXPECT_TRUE(FolderExists(runDir_ / platform::PathFromUtf8(name))) << name;
    }
    EXPECT_EQ(FileSize(runDir_ / "pos.ini"), 0);
    EXPECT_EQ(state.versionLine.Text(), "主程序版本:3.8     字库版本号:0.1");
}

TEST_F(StartupTest, ExistingSettingsFileIsNotTouchedAndVersionComesFromIt) {
    WriteSettings("[potpz]\nbbh=1.5\n");
    ProgramState state = MakeState();
    PrepareWorkingFolders(state);
    BuildStartupVersionLine(state);
    EXPECT_EQ(ReadWholeFile(runDir_ / "pos.ini"), "[potpz]\nbbh=1.5\n");
    EXPECT_EQ(state.versionLine.Text(), "主程序版本:3.8     字库版本号:1.5");
    state.versionLine.SetCatalogueVersionText("1.6");
    state.versionLine.SetStatusSuffix("  已是最新");
    state.versionLine.BuildVersionLine();
    EXPECT_EQ(state.versionLine.Text(), "主程序版本:3.8     字库版本号:1.6  已是最新");
}

TEST_F(StartupTest, StartupSkinFollowsPf) {
    struct Case {
        const char* settings;
        int skinNumber;
        Colour accent;
        Colour text;
        int picture;
    };
    const Case cases[] = {
        {"", 8, 0x30507F, 0xFFFFFF, 8},                       // defaults
        {"[potpz]\npf=3\nlb=1\n", 3, 0x2BB06F, 0xFFFFFF, 3},  // lb=1 from an earlier run
        {"[potpz]\npf=1\n", 1, 0xDEA64D, 0xFFFFFF, 0},
        {"[potpz]\npf=2\n", 2, 0xDCB36A, 0x000000, 2},
        {"[potpz]\npf=9\n", 9, 0xA786F8, 0x000000, 9},
        {"[potpz]\npf=12\n", 12, 0, 0xFFFFFF, 0},  // outside 1-9: nothing loaded, white text
        {"[potpz]\npf=abc\n", 0, 0, 0xFFFFFF, 0},
    };
    for (const Case& c : cases) {
        WriteSettings(c.settings);
        ProgramState state = MakeState();
        int invalidated = 0;
        ApplyStartupSkin(state, [&] { ++invalidated; });
        SCOPED_TRACE(c.settings);
        EXPECT_EQ(state.skin.SkinNumber, c.skinNumber);
        EXPECT_EQ(state.skin.PaletteSkinNumber, c.skinNumber);
        EXPECT_EQ(state.skin.BackgroundKind, kSkinPictureBackground);
        EXPECT_EQ(state.skin.skin.AccentColour, c.accent);
        EXPECT_EQ(state.skin.skin.TextColour, c.text);
        EXPECT_EQ(state.skin.skin.Picture, c.picture);
        EXPECT_EQ(invalidated, 1);
        EXPECT_EQ(state.settings.ReadSetting("pf", ""), std::to_string(c.skinNumber));
        EXPECT_EQ(state.settings.ReadSetting("lb", ""), "2");
    }
}

TEST_F(StartupTest, ApplySkinRules) {
    ProgramState state = MakeState();
    Settings& settings = state.settings;
    ApplySkin(state.skin, settings, 4, true, 0, false);
    EXPECT_EQ(state.skin.skin.Picture, 4);

    // A palette colour: plain background, picture and skin number kept.
    ApplySkin(state.skin, settings, 0, false, 0x123456, true);
    EXPECT_EQ(state.skin.BackgroundKind, kPlainColourBackground);
    EXPECT_EQ(state.skin.skin.BackgroundColour, 0x123456u);
    EXPECT_EQ(state.skin.skin.AccentColour, 0x123456u);
    EXPECT_EQ(state.skin.skin.Picture, 4);
    EXPECT_EQ(settings.ReadSetting("pf", ""), "4");
    EXPECT_EQ(settings.ReadSetting("lb", ""), "1");

    // Skin 1 sets both colours; a picture skin keeps the background colour.
    ApplySkin(state.skin, settings, 1, true, 0, false);
    EXPECT_EQ(state.skin.skin.BackgroundColour, kPlainSkinColour);
    ApplySkin(state.skin, settings, 6, true, 0, false);
    EXPECT_EQ(state.skin.skin.BackgroundColour, kPlainSkinColour);
    EXPECT_EQ(state.skin.skin.AccentColour, 0x7C5810u);
    EXPECT_EQ(settings.ReadSetting("lb", ""), "2");
}

TEST_F(StartupTest, CatalogueServerBaseIsTheBodyUpToItsFirstZeroByte) {
    test::LocalHttpServer server;
    std::string body;
    server.Server().Get("/ztym.txt", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "text/plain");
    });
    server.Start();
    const std::pair<std::string, std::string> cases[] = {
        {"http://catalogue.local", "http://catalogue.local"},
        {"http://catalogue.local\r\n", "http://catalogue.local\r\n"},  // kept, untrimmed
        {std::string("http://a\0junk", 13), "http://a"},
        {"", ""},
        {std::string(4096, 'a'), std::string(4096, 'a')},
        {std::string(4097, 'a'), ""},  // no address is that long: refused whole
    };
    for (const auto& [served, expected] : cases) {
        body = served;
        ProgramState state = MakeState(server.Base());
        FetchStartupCatalogueServerBase(state);
        EXPECT_EQ(state.catalogueServerBase.Wait(), expected);
    }
    server.Stop();
    ProgramState offline = MakeState(server.Base());
    FetchStartupCatalogueServerBase(offline);
    EXPECT_EQ(offline.catalogueServerBase.Wait(), "");
}

// Records what start-up asks of the window.
class RecordingWindow : public StartupWindow {
  public:
    std::vector<std::string> calls;

  private:
    void UseFlatControlStyle() override { calls.push_back("style"); }
    void PrepareArtwork() override { calls.push_back("artwork"); }
    void ShowWaitingForCatalogueServerBase() override { calls.push_back("waiting"); }
    void TakeMouse() override { calls.push_back("mouse"); }
    void MarkFirstItemSelected() override { calls.push_back("first item"); }
    void SkinChanged() override { calls.push_back("skin"); }
    void DrawStatusLine() override { calls.push_back("status"); }
    void CreateRecognitionWindow() override { calls.push_back("recognition"); }
    void PrepareGridColumns() override { calls.push_back("columns"); }
    void ShowFontDownloadPage() override { calls.push_back("download page"); }
    void UseFirstSystemListMode() override { calls.push_back("list mode"); }
};

TEST_F(StartupTest, CreatedStepRunsInOrderWithoutWaitingForASilentSite) {
    test::SilentLocalServer site;
    platform::ServiceAddresses addresses;
    addresses.site = site.Base();
    platform::HttpOptions http;
    http.stallTimeout = std::chrono::seconds(3);
    ProgramState state(runDir_.Path(), addresses, http);
    RecordingWindow window;
    StartupSteps steps;
    steps.openCatalogue = [&window] { window.calls.push_back("loader"); };
    StartupLoader loader(steps, runDir_ / kFontSnapshotFileName);

    MainWindowCreated(state, window, &loader);
    loader.Wait();
    // Everything ran while the site had not answered yet.
    EXPECT_FALSE(state.catalogueServerBase.IfKnown().has_value());
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"style", "artwork", "waiting", "mouse", "first item",
                                        "skin", "status", "recognition", "columns", "download page",
                                        "list mode", "loader"}));
    EXPECT_TRUE(FolderExists(runDir_ / platform::PathFromUtf8("字体回收站")));
    EXPECT_EQ(state.versionLine.Text(), "主程序版本:3.8     字库版本号:0.1");
    // A site that never answers counts as a failed request.
    EXPECT_EQ(state.catalogueServerBase.Wait(), "");
}

TEST_F(StartupTest, LoaderWritesTheSnapshotOnceAndRunsStepsInOrder) {
    std::vector<std::string> order;
    StartupSteps steps;
    steps.loadFontTable = [&] {
        order.push_back("fonts");
        return std::vector<std::string>{"宋体", "Arial"};
    };
    steps.fillDownloadedFontsList = [&] { order.push_back("downloaded"); };
    steps.fillSystemFontList = [&] { order.push_back("system"); };
    steps.openCatalogue = [&] { order.push_back("catalogue"); };
    steps.checkCatalogueVersion = [&] { order.push_back("update"); };
    std::filesystem::path snapshot = runDir_ / kFontSnapshotFileName;
    {
        StartupLoader loader(steps, snapshot);
        loader.Start();
        loader.Wait();
        EXPECT_EQ(loader.SnapshotText(), ",宋体,Arial,");
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{"fonts", "downloaded", "system", "catalogue", "update"}));
    EXPECT_EQ(ReadWholeFile(snapshot), platform::Utf8ToGbk(",宋体,Arial,"));

    // A later start reads the snapshot back and leaves it alone.
    steps.loadFontTable = [] { return std::vector<std::string>{"Other"}; };
    StartupLoader second(steps, snapshot);
    second.RunSteps();
    EXPECT_EQ(second.SnapshotText(), ",宋体,Arial,");
    EXPECT_EQ(ReadWholeFile(snapshot), platform::Utf8ToGbk(",宋体,Arial,"));

    EXPECT_EQ(ComposeFontSnapshot({}), ",");
}

TEST(EndProgramTest, EndsTheProcessWhileOtherThreadsAreBusy) {
    EXPECT_EXIT(
        {
            std::thread([] {
                for (;;) {
                    std::this_thread::sleep_for(std::chrono::seconds(1));
                }
            }).detach();
            EndProgram();
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace glyphwell::app
