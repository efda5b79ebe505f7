// glyphwell-cli update against a server on 127.0.0.1, and what a kill at any moment of an
// update leaves of the catalogue.

#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "catalogue/PackedData.h"
#include "platform/Files.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "update/UpdateSite.h"

namespace glyphwell::update {
namespace {

namespace fs = std::filesystem;
using test::ShellQuote;

constexpr const char* kPrefix = "主程序版本:3.8     字库版本号:";
constexpr const char* kConnected = "                  连接服务器成功!";

class UpdateCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        oldCatalogue_ = test::CatalogueBytes("旧分类");
        newCatalogue_ = test::CatalogueBytes("新分类", 40);
        ResetHome();
    }

    void ResetHome() {
        std::error_code ec;
        fs::remove_all(home_ / "home", ec);
        fs::create_directories(home_ / "home");
        ASSERT_TRUE(platform::WriteWholeFile(home_ / "home" / "ztdata.mdb", oldCatalogue_));
    }

    // Run in the home folder, with `input` on standard input: standard output and exit code;
    // standard error into `error`.
    std::string Cli(const std::string& site, const std::string& arguments, const std::string& input,
                    int& code, std::string& error) {
        const fs::path home = home_ / "home";
        const fs::path errorFile = home_ / "stderr";
        const char* cli = std::getenv("GLYPHWELL_CLI");
        test::CommandResult result = test::RunCommand(
            "cd " + ShellQuote(home.string()) + " && printf %s " + ShellQuote(input) + " | " +
            ShellQuote(cli ? cli : "") + " --home " + ShellQuote(home.string()) + " --site " +
            ShellQuote(site) + " " + arguments + " 2>" + ShellQuote(errorFile.string()));
        code = result.exitCode;
        error = platform::ReadWholeFile(errorFile).value_or("");
        return result.output;
    }

    std::string Catalogue() {
        return platform::ReadWholeFile(home_ / "home" / "ztdata.mdb").value_or("");
    }

    test::TempDir home_;
    test::UpdateSite site_;
    std::string oldCatalogue_;
    std::string newCatalogue_;
};

TEST_F(UpdateCommandTest, ChecksAsksAndInstallsLikeTheProgram) {
    site_.Set("1.5", catalogue::PackData(newCatalogue_));
    const std::string dead = test::UnusedLocalAddress();
    const std::string failedLine =
        std::string(kPrefix) + "1.0(字库更新失败!)  连接服务器失败!请登陆127.0.0.1下载新版本";
    const std::string offeredLine = std::string(kPrefix) + "0.1(最新版本:1.5)" + kConnected;
    // In order: each step starts where the one before left the home folder.
    const struct {
        const char* what;
        std::string site;
        const char* arguments;
        const char* input;
        std::string output;
        int code;
        std::string error;
        bool installed;
    } steps[] = {
        {"check", site_.Base(), "update --check", "", offeredLine + "\n", 0, "", false},
        {"check without a server", dead, "update --check", "", failedLine + "\n", 1, "", false},
        {"update without a server", dead, "update --yes", "", "", 1, failedLine + "\n", false},
        {"asked, no", site_.Base(), "update", "n\n", offeredLine + "\n", 0,
         "服务器上有新的字库版本,是否更新字库? [y/N] ", false},
        {"yes", site_.Base(), "update --yes", "",
         std::string(kPrefix) + "1.5(已是最新版本!)" + kConnected + "\n", 0, "", true},
        {"nothing newer", site_.Base(), "update", "",
         std::string(kPrefix) + "1.5(最新版本:1.5)" + kConnected + "\n", 0, "", true},
        {"bad arguments", site_.Base(), "update --now", "", "", 2,
         "usage: glyphwell-cli update [--check] [--yes]\n", true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        int code = -1;
        std::string error;
        EXPECT_EQ(Cli(step.site, step.arguments, step.input, code, error), step.output);
        EXPECT_EQ(code, step.code);
        if (step.code != 2) {
            EXPECT_EQ(error, step.error);
        } else {
            EXPECT_TRUE(error.starts_with(step.error)) << error;
        }
        EXPECT_EQ(Catalogue(), step.installed ? newCatalogue_ : oldCatalogue_);
    }
    EXPECT_TRUE(platform::FileExists(home_ / "home" / "zt.data"));
}

TEST_F(UpdateCommandTest, AFailedUpdateSaysSoAndKeepsTheCatalogue) {
    for (test::Delivery delivery : {test::Delivery::kWithLength, test::Delivery::kCutShort}) {
        site_.Set("1.5",
                  delivery == test::Delivery::kCutShort ? catalogue::PackData(newCatalogue_)
                                                        : "<html>404</html>",
                  delivery);
        int code = -1;
        std::string error;
        EXPECT_EQ(Cli(site_.Base(), "update --yes", "", code, error), "");
        EXPECT_EQ(code, 1);
        EXPECT_EQ(error, "字库更新出错!\n");
        EXPECT_EQ(Catalogue(), oldCatalogue_);
    }
}

// A kill at any moment, in the transfer or in the replacement, leaves the old catalogue or the
// new one whole.
TEST_F(UpdateCommandTest, AKillAtAnyMomentLeavesTheOldOrTheNewCatalogue) {
    // About 18 MB that pack small: the slow transfer and the replacement take about as long.
    newCatalogue_ = test::CatalogueBytes("新分类", 2000, true);
    site_.Set("1.5", catalogue::PackData(newCatalogue_), test::Delivery::kSlow);
    const std::vector<std::string> arguments = {
        "--home", (home_ / "home").string(), "--site", site_.Base(), "update", "--yes"};

    // One whole run first: how long an update takes here.
    const auto started = std::chrono::steady_clock::now();
    const int pid = test::StartCli(arguments, home_ / "home");
    ASSERT_GT(pid, 0);
    ASSERT_EQ(test::WaitForProcess(pid), 0);
    const auto whole = std::chrono::steady_clock::now() - started;
    std::printf("a whole update: %lld ms, %zu bytes packed\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(whole).count()),
                catalogue::PackData(newCatalogue_).size());
    ASSERT_EQ(Catalogue(), newCatalogue_);

    // Twelve moments spread over the run, the last just after its end.
    int old = 0;
    int replaced = 0;
    for (int moment = 1; moment <= 12; ++moment) {
        const double at = moment / 11.0;
        SCOPED_TRACE(at);
        ResetHome();
        const int victim = test::StartCli(arguments, home_ / "home");
        ASSERT_GT(victim, 0);
        std::this_thread::sleep_for(
            std::chrono::duration_cast<std::chrono::microseconds>(whole * at));
        ::kill(victim, SIGKILL);
        test::WaitForProcess(victim);
        const std::string left = Catalogue();
        EXPECT_TRUE(left == oldCatalogue_ || left == newCatalogue_)
            << "a catalogue of " << left.size() << " bytes";
        ++(left == newCatalogue_ ? replaced : old);
    }
    std::printf("kills that left the old catalogue: %d, the new one: %d\n", old, replaced);

    // The next update clears what a killed one left before its rename, and only that.
    ResetHome();
    const fs::path left = home_ / "home" / "ztdata.mdb.0123456789abcdef.tmp";
    const fs::path other = home_ / "home" / "ztdata.mdb.notours.tmp";
    ASSERT_TRUE(platform::WriteWholeFile(left, "torn"));
    ASSERT_TRUE(platform::WriteWholeFile(other, "kept"));
    const int last = test::StartCli(arguments, home_ / "home");
    ASSERT_EQ(test::WaitForProcess(last), 0);
    EXPECT_FALSE(fs::exists(left));
    EXPECT_TRUE(fs::exists(other));
}

}  // namespace
}  // namespace glyphwell::update
