// The committed nginx configuration in front of a built site and a renderer: the command line's
// update, catalogue read, download with install and preview all go through nginx.

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "SiteServer.h"
#include "fonts/FontFixtures.h"
#include "platform/Files.h"
#include "support/LocalHttpServer.h"

namespace glyphwell::server {
namespace {

namespace fs = std::filesystem;
using test::ShellQuote;

constexpr const char* kNginx = "/usr/sbin/nginx";

// Replaces the one line that ends in `marker` (a comment of the committed file) by `line`.
bool ReplaceMarkedLine(std::string& text, const std::string& marker, const std::string& line) {
    const std::size_t at = text.find(marker + "\n");
    if (at == std::string::npos || text.find(marker + "\n", at + 1) != std::string::npos) {
        return false;
    }
    const std::size_t start = text.rfind('\n', at) + 1;
    text.replace(start, at + marker.size() - start, line);
    return true;
}

class NginxDeployTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::access(kNginx, X_OK) != 0) {
            GTEST_SKIP() << "no nginx at " << kNginx << " (scripts/install-deps.sh installs it)";
        }
        const std::string address = test::UnusedLocalAddress();
        base_ = address;
        const std::string port = address.substr(address.rfind(':') + 1);

        // The site, built by the program operators run, with nginx's address as its public one.
        test::WriteRenamedFont(dir_ / "font.ttf", "Nginx Fixture");
        ASSERT_TRUE(platform::WriteWholeFile(dir_ / "site.manifest",
                                             "version\t1.5\ncategory\t中文字体\nsubcategory\t黑体\n"
                                             "font\tNginx Fixture\tngx/font\tfont.ttf\n"));
        const test::CommandResult built =
            test::RunCommand(ShellQuote(GLYPHWELL_SERVER) + " build --manifest " +
                             ShellQuote((dir_ / "site.manifest").string()) + " --out " +
                             ShellQuote((dir_ / "site").string()) + " --base " + base_);
        ASSERT_EQ(built.exitCode, 0) << built.output;
        ASSERT_EQ(platform::ReadWholeFile(dir_ / "site" / "ztym.txt"), base_);

        // One renderer on the same folder.
        ServeOptions options;
        options.root = dir_ / "site";
        options.port = 0;
        renderer_ = std::make_unique<SiteServer>(options);
        ASSERT_TRUE(renderer_->Bind());
        serving_ = std::thread([this] { renderer_->Run(); });
        // Listening before anything can fail: a Stop before Run would not end it.
        const std::string renderer = renderer_->BaseAddress() + "/ztpz.txt";
        for (int i = 0; i < 100 && Get(renderer, "") != "1.5"; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }

        std::optional<std::string> site =
            platform::ReadWholeFile(fs::path(GLYPHWELL_DEPLOY) / "glyphwell-site.conf");
        ASSERT_TRUE(site);
        ASSERT_TRUE(ReplaceMarkedLine(*site, "# listen", "    listen 127.0.0.1:" + port + ";"));
        ASSERT_TRUE(ReplaceMarkedLine(*site, "# site folder",
                                      "    root " + (dir_ / "site").string() + ";"));
        ASSERT_TRUE(
            ReplaceMarkedLine(*site, "# renderer: one line per `glyphwell-server serve`",
                              "    server 127.0.0.1:" + std::to_string(renderer_->Port()) + ";"));
        fs::create_directories(dir_ / "nginx");
        ASSERT_TRUE(platform::WriteWholeFile(dir_ / "nginx" / "site.conf", *site));

        // Its own prefix, logs and temporary folders; no system service, no root needed.
        const fs::path prefix = dir_ / "nginx";
        const passwd* user = ::getpwuid(::geteuid());
        std::string main = "user " + std::string(user ? user->pw_name : "nobody") +
                           ";\nworker_processes 2;\npid " + (prefix / "nginx.pid").string() +
                           ";\nerror_log " + (prefix / "error.log").string() +
                           " warn;\nevents { worker_connections 256; }\nhttp {\n"
                           "  include /etc/nginx/mime.types;\n  default_type "
                           "application/octet-stream;\n  access_log off;\n";
        for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
            main += "  " + std::string(temp) + "_temp_path " + (prefix / temp).string() + ";\n";
        }
        main += "  include " + (prefix / "site.conf").string() + ";\n}\n";
        ASSERT_TRUE(platform::WriteWholeFile(prefix / "nginx.conf", main));
        const test::CommandResult started =
            test::RunCommand(std::string(kNginx) + " -p " + ShellQuote(prefix.string()) + " -e " +
                             ShellQuote((prefix / "error.log").string()) + " -c " +
                             ShellQuote((prefix / "nginx.conf").string()) + " -g 'daemon off;' >" +
                             ShellQuote((prefix / "stdout").string()) + " 2>&1 & echo $!");
        nginx_ = std::atoi(started.output.c_str());
        ASSERT_GT(nginx_, 0);
        // Ready once it answers.
        for (int i = 0; i < 100 && Fetch("/ztpz.txt") != "1.5"; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ASSERT_EQ(Fetch("/ztpz.txt"), "1.5")
            << platform::ReadWholeFile(prefix / "error.log").value_or("");
    }

    void TearDown() override {
        if (nginx_ > 0) {
            ::kill(nginx_, SIGTERM);
            for (int i = 0; i < 50 && ::kill(nginx_, 0) == 0; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        }
        if (renderer_) {
            renderer_->Stop();
            if (serving_.joinable()) {
                serving_.join();
            }
        }
    }

    // The body of `path` through nginx, by curl with the given extra options.
    std::string Fetch(const std::string& path, const std::string& options = "") {
        return Get(base_ + path, options);
    }
    static std::string Get(const std::string& address, const std::string& options) {
        return test::RunCommand("curl -sS --max-time 10 " + options + " " + ShellQuote(address) +
                                " 2>/dev/null")
            .output;
    }

    // Standard output and exit code of glyphwell-cli in its own home, with nginx as the site.
    std::string Cli(const std::string& arguments, int& code) {
        const fs::path home = dir_ / "home";
        fs::create_directories(home);
        const char* cli = std::getenv("GLYPHWELL_CLI");
        test::CommandResult result = test::RunCommand(
            "cd " + ShellQuote(home.string()) + " && " + ShellQuote(cli ? cli : "") + " --home " +
            ShellQuote(home.string()) + " --site " + base_ + " " + arguments);
        code = result.exitCode;
        return result.output;
    }

    test::FontconfigSandbox sandbox_;
    test::TempDir dir_;
    std::string base_;
    std::unique_ptr<SiteServer> renderer_;
    std::thread serving_;
    int nginx_ = -1;
};

TEST_F(NginxDeployTest, UpdateReadDownloadAndPreviewGoThroughNginx) {
    int code = -1;
    EXPECT_EQ(
        Cli("update --yes", code),
        "主程序版本:3.8     字库版本号:1.5(已是最新版本!)                  连接服务器成功!\n");
    EXPECT_EQ(code, 0);
    EXPECT_NE(Cli("catalogue page 黑体 1", code).find("Nginx Fixture"), std::string::npos);
    EXPECT_EQ(code, 0);
    // A page of the site, and the home address.
    EXPECT_NE(Fetch("/ad.html").find("<html"), std::string::npos);
    EXPECT_EQ(Fetch("/"), platform::ReadWholeFile(dir_ / "site" / "index.html"));

    EXPECT_EQ(Cli("download 'Nginx Font' ngx/font", code), "Nginx Fixture\n");
    EXPECT_EQ(code, 0);
    const std::vector<std::string> listed = test::FcListFiles();
    EXPECT_NE(std::find(listed.begin(), listed.end(),
                        (sandbox_.FontsFolder() / "NginxFont.ttf").string()),
              listed.end());

    const fs::path picture = dir_ / "preview.bmp";
    Cli("preview 'Nginx Fixture' 'Ab字' 20 " + ShellQuote(picture.string()), code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(platform::ReadWholeFile(picture).value_or("").substr(0, 2), "BM");
}

TEST_F(NginxDeployTest, ContainersGoOutWholeWithTheirLengthEvenToClientsThatAskForGzip) {
    const std::string container =
        platform::ReadWholeFile(dir_ / "site" / "ztwjj" / "ngx" / "font.tmp").value();
    for (const char* path : {"/ztwjj/ngx/font.tmp", "/ztysb.data"}) {
        SCOPED_TRACE(path);
        const std::string head = Fetch(path, "-D - -o /dev/null -H 'Accept-Encoding: gzip'");
        const std::string file =
            platform::ReadWholeFile(dir_ / "site" / fs::path(path).relative_path()).value();
        EXPECT_NE(head.find("Content-Length: " + std::to_string(file.size()) + "\r\n"),
                  std::string::npos)
            << head;
        EXPECT_EQ(head.find("Content-Encoding"), std::string::npos) << head;
        EXPECT_EQ(head.find("chunked"), std::string::npos) << head;
    }
    EXPECT_EQ(Fetch("/ztwjj/ngx/font.tmp"), container);
    // Nothing but the site's files and the renderer's addresses.
    EXPECT_NE(Fetch("/../site.manifest", "--path-as-is -o /dev/null -w '%{http_code}'"), "200");
    EXPECT_EQ(Fetch("/ztwjj/ngx/font.tmp", "-X POST -o /dev/null -w '%{http_code}'"), "403");
    EXPECT_NE(Fetch("/search/web?q=abc").find("abc"), std::string::npos);
}

// "/ztym.txt" is taken whole by the program: anything but a scheme and host would spoil every
// catalogue request, so the builder refuses it.
TEST(SiteBuildBaseTest, OnlyASchemeAndHostBecomeTheSitesCatalogueAddress) {
    test::TempDir dir;
    test::WriteRenamedFont(dir / "font.ttf", "Base Fixture");
    ASSERT_TRUE(platform::WriteWholeFile(dir / "site.manifest",
                                         "version\t1.0\ncategory\t中文字体\nsubcategory\t黑体\n"
                                         "font\tBase Fixture\tb/font\tfont.ttf\n"));
    const struct {
        std::string base;
        int code;
    } cases[] = {
        {"http://fonts.example.org", 0},  {"https://[::1]:8443", 0},
        {"http://fonts.example.org/", 2}, {"http://fonts.example.org\n", 2},
        {"ftp://fonts.example.org", 2},   {"http://", 2},
        {"http://a.org/x?y", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.base);
        std::error_code ec;
        fs::remove_all(dir / "site", ec);
        const test::CommandResult built = test::RunCommand(
            ShellQuote(GLYPHWELL_SERVER) + " build --manifest " +
            ShellQuote((dir / "site.manifest").string()) + " --out " +
            ShellQuote((dir / "site").string()) + " --base " + ShellQuote(c.base) + " 2>/dev/null");
        EXPECT_EQ(built.exitCode, c.code);
        EXPECT_EQ(platform::ReadWholeFile(dir / "site" / "ztym.txt"),
                  c.code == 0 ? std::optional<std::string>(c.base) : std::nullopt);
    }
}

}  // namespace
}  // namespace glyphwell::server
