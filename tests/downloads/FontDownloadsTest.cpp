#include "downloads/FontDownloads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

#include "catalogue/PackedData.h"
#include "fonts/FontFixtures.h"
#include "fonts/FontconfigFontSystem.h"
#include "platform/Files.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"

namespace glyphwell::downloads {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Names = std::vector<std::string>;

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Every file and folder under `folder`, relative to it.
Names Tree(const fs::path& folder) {
    Names names;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(platform::PathToUtf8(fs::relative(it->path(), folder)));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A private font setup, a catalogue server of the test's own on 127.0.0.1 and the downloads
// under test, with every event recorded.
class FontDownloadsTest : public ::testing::Test {
  protected:
    FontDownloadsTest() {
        // Half a body of the length announced (these two before the catch-all route below); then
        // the connection closes, or (stall) nothing more comes until the test lets it go.
        for (const char* path : {"/ztwjj/cut.tmp", "/ztwjj/stall.tmp"}) {
            const bool stall = std::string_view(path) == "/ztwjj/stall.tmp";
            server_.Server().Get(
                path, [this, stall](const httplib::Request&, httplib::Response& res) {
                    ++requests_;
                    res.set_content_provider(
                        100'000, "application/octet-stream",
                        [this, stall](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                            static const std::string half(50'000, 'h');
                            if (offset == 0) {
                                return sink.write(half.data(), half.size());
                            }
                            for (auto end = std::chrono::steady_clock::now() + 20s;
                                 stall && !released_ && std::chrono::steady_clock::now() < end;) {
                                std::this_thread::sleep_for(10ms);
                            }
                            return false;
                        });
                });
        }
        // Packed fonts by address; "chunked/..." ones go without a length.
        server_.Server().Get(R"(/ztwjj/(.+)\.tmp)", [this](const httplib::Request& req,
                                                           httplib::Response& res) {
            ++requests_;
            const std::string address = req.matches[1];
            std::string body;
            {
                std::lock_guard lock(mutex_);
                auto it = packed_.find(address);
                if (it == packed_.end()) {
                    res.status = 404;
                    res.set_content("<html><body>404 Not Found</body></html>", "text/html");
                    return;
                }
                body = it->second;
            }
            if (address.starts_with("chunked/")) {
                res.set_chunked_content_provider(
                    "application/octet-stream",
                    [body](std::size_t offset, httplib::DataSink& sink) {
                        if (offset >= body.size()) {
                            sink.done();
                            return true;
                        }
                        const std::size_t size = std::min<std::size_t>(4096, body.size() - offset);
                        return sink.write(body.data() + offset, size);
                    });
                return;
            }
            res.set_content(body, "application/octet-stream");
        });
        server_.Start();
        base_ = server_.Base();
    }
    ~FontDownloadsTest() override { released_ = true; }

    // Serves a renamed DejaVu Sans of `family` at `address`; the original font file's bytes.
    std::string ServeFont(const std::string& address, const std::string& family) {
        const fs::path file = sources_ / (address.substr(address.rfind('/') + 1) + ".ttf");
        test::WriteRenamedFont(file, family);
        std::string font = platform::ReadWholeFile(file).value();
        std::lock_guard lock(mutex_);
        packed_[address] = catalogue::PackData(font);
        return font;
    }

    std::vector<std::pair<std::string, int>> Progress() {
        std::lock_guard lock(mutex_);
        return progress_;
    }
    Names Installed() {
        std::lock_guard lock(mutex_);
        return installed_;
    }
    std::vector<std::pair<std::string, std::string>> Failed() {
        std::lock_guard lock(mutex_);
        return failed_;
    }

    FontDownloadEvents Recorder() {
        FontDownloadEvents events;
        events.progress = [this](const std::string& name, int percent) {
            std::lock_guard lock(mutex_);
            progress_.emplace_back(name, percent);
        };
        events.installed = [this](const std::string& name) {
            if (whenInstalled_) {
                whenInstalled_(name);
            }
            std::lock_guard lock(mutex_);
            installed_.push_back(name);
        };
        events.failed = [this](const std::string& name, const std::string& message) {
            std::lock_guard lock(mutex_);
            failed_.emplace_back(name, message);
        };
        return events;
    }

    static platform::HttpOptions ShortStall() {
        platform::HttpOptions options;
        options.stallTimeout = 1s;
        return options;
    }

    test::FontconfigSandbox sandbox_;
    fonts::FontconfigFontSystem system_;
    fonts::FontRegistry registry_{system_};
    test::TempDir home_;
    const fs::path folder_ = home_ / "字体下载目录";
    test::TempDir sources_;

    std::mutex mutex_;
    std::map<std::string, std::string> packed_;
    std::vector<std::pair<std::string, int>> progress_;
    Names installed_;
    std::vector<std::pair<std::string, std::string>> failed_;
    std::atomic<int> requests_ = 0;
    std::atomic<bool> released_ = false;
    // Set before a download starts; its worker reads it.
    std::string base_;
    std::function<void(const std::string&)> whenInstalled_;

    test::LocalHttpServer server_;
    platform::HttpClient http_{ShortStall()};
    FontDownloads downloads_{http_, registry_, folder_, [this] { return base_; }, Recorder()};
};

TEST_F(FontDownloadsTest, DownloadKeepsTheFileInstallsItWithoutBlanksAndReloadsTheTable) {
    const struct {
        const char* name;
        const char* address;
        const char* family;
        const char* installedFile;
        bool withLength;
    } cases[] = {
        {"Sized Font", "sized", "Sized Fixture", "SizedFont.ttf", true},
        {"无长度　字体", "chunked/无长度", "Chunked Fixture", "无长度字体.ttf", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string font = ServeFont(c.address, c.family);
        const std::string installedFile = (sandbox_.FontsFolder() / c.installedFile).string();
        bool listedWhenInstalled = false;
        whenInstalled_ = [&](const std::string&) {
            listedWhenInstalled = registry_.FindFontEntry(c.family) != 0 &&
                                  Contains(test::FcListFiles(), installedFile);
        };
        downloads_.StartFontDownload(c.name, c.address);
        downloads_.WaitForAll();

        EXPECT_TRUE(Failed().empty());
        EXPECT_TRUE(Contains(Installed(), c.name));
        EXPECT_TRUE(listedWhenInstalled);
        EXPECT_EQ(
            platform::ReadWholeFile(folder_ / platform::PathFromUtf8(c.name + std::string(".ttf"))),
            font);
        EXPECT_EQ(platform::ReadWholeFile(installedFile), font);

        std::vector<int> percents;
        for (const auto& [name, percent] : Progress()) {
            if (name == c.name) {
                percents.push_back(percent);
            }
        }
        EXPECT_EQ(percents.empty(), !c.withLength);
        EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
        EXPECT_TRUE(std::all_of(percents.begin(), percents.end(), [](int p) { return p < 100; }));
    }
    // Nothing but the kept files: the temporary ones are gone.
    EXPECT_EQ(Tree(folder_), (Names{"Sized Font.ttf", "无长度　字体.ttf"}));
}

TEST_F(FontDownloadsTest, FailedDownloadsKeepTheEarlierFileAndLeaveNothingElse) {
    ServeFont("good", "Good Fixture");
    const std::string nowhere = test::UnusedLocalAddress();
    const struct {
        const char* what;
        std::string base;
        const char* address;
        std::string_view message;
    } cases[] = {
        {"an error page", base_, "missing", kDataErrorMessage},
        {"closed mid-body", base_, "cut", kConnectionFailedMessage},
        {"stalled mid-body", base_, "stall", kConnectionFailedMessage},
        {"nothing listens", nowhere, "good", kConnectionFailedMessage},
        {"no catalogue server", "", "good", kConnectionFailedMessage},
    };
    fs::create_directories(folder_);
    ASSERT_TRUE(platform::WriteWholeFile(folder_ / "Kept.ttf", "an earlier download"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        base_ = c.base;
        failed_.clear();
        downloads_.StartFontDownload("Kept", c.address);
        downloads_.WaitForAll();
        EXPECT_EQ(
            Failed(),
            (std::vector<std::pair<std::string, std::string>>{{"Kept", std::string(c.message)}}));
        EXPECT_EQ(platform::ReadWholeFile(folder_ / "Kept.ttf"), "an earlier download");
        EXPECT_EQ(Tree(folder_), Names{"Kept.ttf"});
    }
    EXPECT_TRUE(Installed().empty());
    EXPECT_EQ(registry_.FindFontEntry("Good Fixture"), 0);
}

TEST_F(FontDownloadsTest, NamesThatWouldLeaveTheFolderAreRefusedBeforeAnyRequest) {
    ServeFont("good", "Good Fixture");
    const std::string names[] = {"../x",
                                 "a/b",
                                 "",
                                 ".",
                                 "..",
                                 "a\nb",
                                 std::string("a\0b", 3),
                                 "a\x01"
                                 "b",
                                 "a\x7F"
                                 "b",
                                 "a\u0085b"};
    for (const std::string& name : names) {
        const FontDownloadResult result = downloads_.DownloadFont(name, "good");
        EXPECT_FALSE(result.installed) << name;
        EXPECT_EQ(result.message, kDataErrorMessage) << name;
    }
    EXPECT_EQ(Failed().size(), std::size(names));
    EXPECT_EQ(requests_, 0);
    EXPECT_EQ(Tree(home_.Path()), Names{});
    EXPECT_TRUE(Installed().empty());
}

TEST_F(FontDownloadsTest, ADownloadFolderThatCannotBeWrittenIsToldAsItself) {
    ServeFont("good", "Good Fixture");
    ASSERT_TRUE(platform::WriteWholeFile(folder_, "a file where the folder should be"));
    downloads_.StartFontDownload("Good", "good");
    downloads_.WaitForAll();
    EXPECT_EQ(Failed(),
              (std::vector<std::pair<std::string, std::string>>{{"Good", "目标文件夹不可用"}}));
    EXPECT_EQ(registry_.FindFontEntry("Good Fixture"), 0);
}

TEST_F(FontDownloadsTest, DownloadsAtOnceAllInstallAndCompleteOneAtATime) {
    constexpr int kDownloads = 10;
    for (int i = 1; i <= kDownloads; ++i) {
        ServeFont("f" + std::to_string(i), "Parallel Fixture " + std::to_string(i));
    }
    // What each completion sees when it reports: one more font file and table entry than the
    // completions before it. Another completion in between would show as a second one.
    struct Seen {
        std::size_t fontFiles;
        int tableEntries;
    };
    std::vector<Seen> seen;
    std::atomic<int> inside = 0;
    int overlaps = 0;
    whenInstalled_ = [&](const std::string&) {
        overlaps += ++inside > 1;
        seen.push_back({platform::ListFiles(sandbox_.FontsFolder()).size(), registry_.Count()});
        std::this_thread::sleep_for(20ms);  // room for a completion that does not wait its turn
        --inside;
    };
    const int before = registry_.Count();
    for (int i = 1; i <= kDownloads; ++i) {
        downloads_.StartFontDownload("并发 " + std::to_string(i), "f" + std::to_string(i));
    }
    downloads_.WaitForAll();

    EXPECT_TRUE(Failed().empty());
    ASSERT_EQ(Installed().size(), static_cast<std::size_t>(kDownloads));
    EXPECT_EQ(overlaps, 0);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].fontFiles, i + 1);
        EXPECT_EQ(seen[i].tableEntries, before + static_cast<int>(i) + 1);
    }
    for (int i = 1; i <= kDownloads; ++i) {
        EXPECT_NE(registry_.FindFontEntry("Parallel Fixture " + std::to_string(i)), 0) << i;
    }
    EXPECT_EQ(Tree(folder_).size(), static_cast<std::size_t>(kDownloads));
}

}  // namespace
}  // namespace glyphwell::downloads
