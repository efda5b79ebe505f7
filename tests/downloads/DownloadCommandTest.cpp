// The command line's download against a real catalogue service, in a private font setup.

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "catalogue/PackedData.h"
#include "fonts/FontFixtures.h"
#include "platform/Files.h"
#include "server/ServedSite.h"
#include "support/LocalHttpServer.h"

namespace glyphwell::downloads {
namespace {

namespace fs = std::filesystem;
using test::ShellQuote;

class DownloadCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteRenamedFont(site_ / "font.ttf", "Cli Fixture");
        server_ = std::make_unique<test::ServedSite>(
            site_.Path(),
            "version\t1.0\ncategory\t中文字体\nsubcategory\t黑体\n"
            "font\tCli Fixture\tcli/font\tfont.ttf\n");
    }

    // Standard output and exit code; standard error into `error`.
    std::string Cli(const std::string& arguments, int& code, std::string& error) {
        const fs::path errorFile = home_ / "stderr";
        std::string output =
            test::RunCli(home_ / "home", arguments + " 2>" + ShellQuote(errorFile.string()), &code);
        error = platform::ReadWholeFile(errorFile).value_or("");
        return output;
    }

    test::FontconfigSandbox sandbox_;
    test::TempDir site_;
    test::TempDir home_;
    std::unique_ptr<test::ServedSite> server_;
};

TEST_F(DownloadCommandTest, DownloadsFromTheSitesServerOrTheGivenBaseAndInstalls) {
    const std::string site = server_->Base();
    const std::string dead = test::UnusedLocalAddress();
    const struct {
        std::string arguments;
        const char* name;
        const char* installed;
    } cases[] = {
        {"--site " + site + " download 'Cli Font' cli/font", "Cli Font", "CliFont.ttf"},
        {"--site " + dead + " download --base " + site + " 命令　行 cli/font", "命令　行",
         "命令行.ttf"},
        {"--site " + dead + " download Last cli/font --base=" + site, "Last", "Last.ttf"},
    };
    const std::string font = platform::ReadWholeFile(site_ / "font.ttf").value();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        int code = -1;
        std::string error;
        EXPECT_EQ(Cli(c.arguments, code, error), "Cli Fixture\n");
        EXPECT_EQ(code, 0);
        EXPECT_EQ(error, "");
        EXPECT_EQ(platform::ReadWholeFile(home_ / "home" / "字体下载目录" /
                                          platform::PathFromUtf8(c.name + std::string(".ttf"))),
                  font);
        const std::vector<std::string> listed = test::FcListFiles();
        EXPECT_NE(std::find(listed.begin(), listed.end(),
                            (sandbox_.FontsFolder() / c.installed).string()),
                  listed.end());
    }
}

TEST_F(DownloadCommandTest, FailuresSayTheProgramsWordsAndBadArgumentsExitTwo) {
    const std::string site = "--site " + server_->Base() + " ";
    const struct {
        std::string arguments;
        int code;
        const char* error;  // the whole of standard error, or its start for usage
    } cases[] = {
        {"--site " + test::UnusedLocalAddress() + " download Name cli/font", 1, "服务器连接失败\n"},
        {site + "download Name cli/missing", 1, "数据下载错误\n"},
        {site + "download ../Name cli/font", 1, "数据下载错误\n"},
        {site + "download Name", 2, "usage: glyphwell-cli download"},
        {site + "download Name cli/font extra", 2, "usage: glyphwell-cli download"},
        {site + "download Name cli/font --base", 2, "usage: glyphwell-cli download"},
        {site + "download --base a --base b Name cli/font", 2, "usage: glyphwell-cli download"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        int code = -1;
        std::string error;
        EXPECT_EQ(Cli(c.arguments, code, error), "");
        EXPECT_EQ(code, c.code);
        if (c.code == 2) {
            EXPECT_TRUE(error.starts_with(c.error)) << error;
        } else {
            EXPECT_EQ(error, c.error);
        }
    }
    EXPECT_EQ(platform::ListFiles(home_ / "home" / "字体下载目录"), std::vector<std::string>{});
}

TEST_F(DownloadCommandTest, AContainerOfNoFontInstallsNothingAndSaysSo) {
    ASSERT_TRUE(platform::WriteWholeFile(server_->Root() / "ztwjj" / "junk.tmp",
                                         catalogue::PackData("plain text, no font")));
    int code = -1;
    std::string error;
    EXPECT_EQ(Cli("--site " + server_->Base() + " download Junk junk", code, error), "");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(error, "数据下载错误\n");
}

}  // namespace
}  // namespace glyphwell::downloads
