// The catalogue update against a real server on 127.0.0.1 and real catalogue files: what the
// version line says, when the user is asked, and that the catalogue on disk is only ever
// replaced by one that reads.

#include "update/CatalogueUpdate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "catalogue/PackedData.h"
#include "platform/Files.h"
#include "support/TempDir.h"
#include "update/UpdateSite.h"

namespace glyphwell::update {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "主程序版本:3.8     字库版本号:";
constexpr const char* kConnected = "                  连接服务器成功!";

// Records what the update asks of the window, from whichever thread asks.
class RecordingView : public CatalogueUpdateView {
  public:
    explicit RecordingView(const app::VersionLine& line) : line_(line) {}

    void RepaintVersionLine() override {
        std::lock_guard lock(mutex_);
        lines_.push_back(line_.Text());
    }
    void EnableUpdateMenuItem(bool enabled) override {
        std::lock_guard lock(mutex_);
        enabled_ = enabled;
    }
    void RaiseUpdateOffer() override { ++offers_; }
    void TellUpdateMessage(std::string_view message) override {
        std::lock_guard lock(mutex_);
        messages_.emplace_back(message);
    }
    bool AskToUpdate() override {
        ++asked_;
        return answer_;
    }

    std::vector<std::string> Lines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    std::vector<std::string> Messages() {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    bool Enabled() {
        std::lock_guard lock(mutex_);
        return enabled_;
    }

    std::atomic<bool> answer_{false};
    std::atomic<int> offers_{0};
    std::atomic<int> asked_{0};

  private:
    const app::VersionLine& line_;
    std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<std::string> messages_;
    bool enabled_ = true;
};

platform::HttpOptions ShortConnectTimeout() {
    platform::HttpOptions options;
    options.connectTimeout = std::chrono::seconds(2);
    return options;
}

class CatalogueUpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        oldCatalogue_ = test::CatalogueBytes("旧分类");
        newCatalogue_ = test::CatalogueBytes("新分类", 40);
        ASSERT_TRUE(platform::WriteWholeFile(Catalogue(), oldCatalogue_));
        ASSERT_TRUE(platform::WriteWholeFile(runDir_ / "pos.ini", ""));
        base_ = site_.Base();
        database_.OpenCatalogue();
    }

    // As start-up leaves it: the catalogue version from "bbh", no suffix.
    void StartUp(const char* bbh) {
        if (bbh != nullptr) {
            settings_.WriteSetting("bbh", bbh);
        } else {
            ASSERT_TRUE(platform::WriteWholeFile(runDir_ / "pos.ini", ""));
        }
        line_.SetCatalogueVersionText(settings_.ReadSetting("bbh", "0.1"));
        line_.BuildVersionLine();
    }

    // The check, and the offer when the check raised it.
    void CheckAndOffer() {
        view_.offers_ = 0;
        if (update_.CheckCatalogueVersion()) {
            EXPECT_EQ(view_.offers_, 1);
            update_.OfferCatalogueUpdate();
        }
        update_.WaitForWorkers();
    }

    fs::path Catalogue() const { return runDir_ / "ztdata.mdb"; }
    std::vector<std::string> Subcategories() { return database_.ReadSubcategoryNames(0); }
    std::vector<std::string> RunDirectoryFiles() { return platform::ListFiles(runDir_.Path()); }

    test::TempDir runDir_;
    test::TempDir currentDir_;
    test::UpdateSite site_;
    std::string base_;
    std::string oldCatalogue_;
    std::string newCatalogue_;
    std::atomic<int> shown_{0};
    platform::HttpClient http_{ShortConnectTimeout()};
    app::Settings settings_{runDir_.Path()};
    app::VersionLine line_;
    catalogue::CatalogueDatabase database_{Catalogue(), [this] { ++shown_; }};
    RecordingView view_{line_};
    CatalogueUpdate update_{http_,
                            settings_,
                            line_,
                            database_,
                            [this] { return base_; },
                            "glyphwell.example",
                            {runDir_.Path(), currentDir_ / "zt.data"},
                            view_};
};

TEST_F(CatalogueUpdateTest, AVersionFetchedIsOfferedUnlessItIsTheLocalOne) {
    const struct {
        const char* bbh;  // none: a first start
        const char* server;
        bool asked;
        std::string line;  // after the user's "no" where asked
    } cases[] = {
        {nullptr, "1.5", true, std::string(kPrefix) + "0.1(最新版本:1.5)" + kConnected},
        {"1.5", "1.5", false, std::string(kPrefix) + "1.5(最新版本:1.5)" + kConnected},
        {"1.50", "1.5", true, std::string(kPrefix) + "1.50(最新版本:1.5)" + kConnected},
        {"1.4", "1.5", true, std::string(kPrefix) + "1.4(最新版本:1.5)" + kConnected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server + std::string(" over ") + (c.bbh ? c.bbh : "none"));
        StartUp(c.bbh);
        view_.asked_ = 0;
        site_.Set(c.server, newCatalogue_);
        CheckAndOffer();
        EXPECT_EQ(view_.asked_, c.asked ? 1 : 0);
        // The line right after the check, then after the offer.
        const std::vector<std::string> lines = view_.Lines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2],
                  std::string(kPrefix) + (c.bbh ? c.bbh : "0.1") + kConnected);
        EXPECT_EQ(lines.back(), c.line);
        EXPECT_TRUE(view_.Enabled());
        EXPECT_EQ(platform::ReadWholeFile(Catalogue()), oldCatalogue_);
        EXPECT_EQ(settings_.ReadSetting("bbh", "none"), c.bbh ? c.bbh : "none");
        EXPECT_FALSE(platform::FileExists(currentDir_ / "zt.data"));
    }
}

TEST_F(CatalogueUpdateTest, AnythingButThreeBytesIsAFailedConnectionWithoutAQuestion) {
    const std::string failed =
        std::string("  连接服务器失败!请登陆") + "glyphwell.example" + "下载新版本";
    const struct {
        const char* what;
        const char* bbh;
        std::string version;
        bool serverKnown;
        std::string line;
    } cases[] = {
        {"a line break after it", nullptr, "1.5\n", true,
         std::string(kPrefix) + "1.0(字库更新失败!)" + failed},
        {"four characters", "1.4", "1.10", true,
         std::string(kPrefix) + "1.4(字库更新失败!)" + failed},
        {"empty", "1.4", "", true, std::string(kPrefix) + "1.4(字库更新失败!)" + failed},
        {"no server address", nullptr, "1.5", false,
         std::string(kPrefix) + "1.0(字库更新失败!)" + failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StartUp(c.bbh);
        site_.Set(c.version, newCatalogue_);
        base_ = c.serverKnown ? site_.Base() : "";
        view_.EnableUpdateMenuItem(false);
        view_.offers_ = 0;
        EXPECT_FALSE(update_.CheckCatalogueVersion());
        EXPECT_EQ(view_.offers_, 0);
        EXPECT_EQ(line_.Text(), c.line);
        EXPECT_EQ(view_.Lines().back(), c.line);
        EXPECT_TRUE(view_.Enabled());
    }
    EXPECT_TRUE(view_.Messages().empty());
}

TEST_F(CatalogueUpdateTest, YesInstallsTheNewCatalogueAndShowsIt) {
    for (test::Delivery delivery : {test::Delivery::kWithLength, test::Delivery::kNoLength}) {
        const bool withLength = delivery == test::Delivery::kWithLength;
        SCOPED_TRACE(withLength ? "with a length" : "without a length");
        ASSERT_TRUE(platform::WriteWholeFile(Catalogue(), oldCatalogue_));
        database_.OpenCatalogue();
        ASSERT_EQ(Subcategories(), std::vector<std::string>{"旧分类"});
        StartUp("1.4");
        shown_ = 0;
        view_.answer_ = true;
        const std::size_t linesBefore = view_.Lines().size();
        site_.Set("1.5", catalogue::PackData(newCatalogue_), delivery);
        CheckAndOffer();

        EXPECT_EQ(platform::ReadWholeFile(Catalogue()), newCatalogue_);
        EXPECT_EQ(settings_.ReadSetting("bbh", ""), "1.5");
        EXPECT_EQ(Subcategories(), std::vector<std::string>{"新分类"});
        EXPECT_EQ(shown_, 1);
        EXPECT_EQ(line_.Text(), std::string(kPrefix) + "1.5(已是最新版本!)" + kConnected);
        EXPECT_EQ(view_.Messages().back(), "数据库安装成功,已自动刷新!");
        EXPECT_TRUE(view_.Enabled());
        // The container stays where it was fetched to; nothing else is left behind.
        EXPECT_TRUE(platform::FileExists(currentDir_ / "zt.data"));
        EXPECT_EQ(RunDirectoryFiles(), (std::vector<std::string>{"pos.ini", "ztdata.mdb"}));

        // A percentage only where the server gave a length.
        int progressLines = 0;
        const std::vector<std::string> lines = view_.Lines();
        for (std::size_t i = linesBefore; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.find("    字库更新已完成:") != std::string::npos) {
                ++progressLines;
                EXPECT_TRUE(line.starts_with(std::string(kPrefix) + "1.4" + kConnected +
                                             "    字库更新已完成:"));
                EXPECT_TRUE(line.ends_with("%"));
            }
        }
        EXPECT_EQ(progressLines > 0, withLength);
    }
}

TEST_F(CatalogueUpdateTest, AFailedUpdateKeepsTheCatalogueAndItsVersion) {
    const std::string packed = catalogue::PackData(newCatalogue_);
    const struct {
        const char* what;
        std::string body;
        test::Delivery delivery;
        bool serverKnown;
        std::string message;
    } cases[] = {
        {"an error page", "<html>404</html>", test::Delivery::kWithLength, true, "字库更新出错!"},
        {"a container of no catalogue", catalogue::PackData("no catalogue at all"),
         test::Delivery::kWithLength, true, "字库更新出错!"},
        {"a container of a cut catalogue",
         catalogue::PackData(newCatalogue_.substr(0, newCatalogue_.size() / 2)),
         test::Delivery::kWithLength, true, "字库更新出错!"},
        {"a transfer cut short", packed, test::Delivery::kCutShort, true, "字库更新出错!"},
        {"no server address", packed, test::Delivery::kWithLength, false, "字库更新出错!!"},
    };
    StartUp("1.4");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        site_.Set("1.5", c.body, c.delivery);
        ASSERT_TRUE(update_.CheckCatalogueVersion());
        base_ = c.serverKnown ? site_.Base() : "";
        EXPECT_FALSE(update_.DownloadCatalogueUpdate());
        EXPECT_EQ(view_.Messages().back(), c.message);
        EXPECT_TRUE(view_.Enabled());
        EXPECT_EQ(platform::ReadWholeFile(Catalogue()), oldCatalogue_);
        EXPECT_EQ(settings_.ReadSetting("bbh", ""), "1.4");
        EXPECT_EQ(Subcategories(), std::vector<std::string>{"旧分类"});
        EXPECT_EQ(RunDirectoryFiles(), (std::vector<std::string>{"pos.ini", "ztdata.mdb"}));
        // Never "已是最新版本!" for what was not installed.
        EXPECT_EQ(line_.CatalogueVersionText(), "1.4");
        base_ = site_.Base();
    }
}

TEST_F(CatalogueUpdateTest, NoCatalogueReadFindsTheCatalogueClosedDuringTheReplacement) {
    StartUp("1.4");
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::atomic<int> empty{0};
    // Reads the way the catalogue page does, all the while.
    std::thread reader([&] {
        while (!stop) {
            const std::vector<std::string> names = Subcategories();
            ++reads;
            if (names.size() != 1) {
                ++empty;
            }
        }
    });
    for (int round = 0; round < 5; ++round) {
        site_.Set(round % 2 == 0 ? "1.5" : "1.4",
                  catalogue::PackData(round % 2 == 0 ? newCatalogue_ : oldCatalogue_));
        ASSERT_TRUE(update_.CheckCatalogueVersion());
        ASSERT_TRUE(update_.DownloadCatalogueUpdate());
    }
    stop = true;
    reader.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(empty, 0);
}

}  // namespace
}  // namespace glyphwell::update
