#include "downloads/DownloadFile.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "catalogue/ServerRequests.h"
#include "platform/Files.h"
#include "support/LocalHttpServer.h"
#include "support/Noise.h"
#include "support/TempDir.h"

namespace glyphwell::downloads {
namespace {

struct Event {
    DownloadEventKind kind;
    std::string tag;
    int percent;
};

class DownloadFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.Server().Get("/file", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(mutex_);
                request_ = req;
            }
            res.status = status_;
            res.set_header("Content-Encoding", "gzip");
            res.set_content(body_, "application/octet-stream");
        });
        // A length of `declared_` bytes; a few of them follow, then it stops.
        server_.Server().Get("/declared", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(declared_, "application/octet-stream",
                                     [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         return offset < (1 << 20) && sink.write("xxxx", 4);
                                     });
        });
        server_.Start();
    }

    int Download(const std::string& path, const std::filesystem::path& target,
                 std::optional<std::int32_t> resumeFrom = std::nullopt) {
        DownloadRequest request;
        request.Url = server_.Base() + path;
        request.TargetPath = target;
        request.Tag = "tag";
        request.ResumeFrom = resumeFrom;
        request.OnEvent = [this](DownloadEventKind kind, const std::string& tag, int percent) {
            events_.push_back({kind, tag, percent});
        };
        return DownloadFile(platform::HttpClient(), request);
    }

    httplib::Request Received() {
        std::lock_guard lock(mutex_);
        return request_;
    }

    test::TempDir dir_;
    // Set before a request is made; the server only reads them.
    std::string body_;
    int status_ = 200;
    std::size_t declared_ = 0;
    std::vector<Event> events_;
    std::mutex mutex_;
    httplib::Request request_;
    test::LocalHttpServer server_;
};

TEST_F(DownloadFileTest, StoresAnyBodyAsReceivedWithTheFontHeadersOnly) {
    body_ = test::Noise(200'000, 7);
    for (int status : {200, 404}) {
        SCOPED_TRACE(status);
        status_ = status;
        events_.clear();
        EXPECT_EQ(Download("/file", dir_ / "body"), 0);
        // Neither the status nor the offered gzip changes what is kept.
        EXPECT_EQ(platform::ReadWholeFile(dir_ / "body"), body_);

        const httplib::Request request = Received();
        EXPECT_EQ(request.get_header_value_count("User-Agent"), 1u);
        EXPECT_EQ(request.get_header_value("User-Agent"),
                  "Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)");
        EXPECT_EQ(request.get_header_value("Accept"), "*/*");
        EXPECT_EQ(request.get_header_value("Accept-Language"), "zh-cn");
        EXPECT_EQ(request.get_header_value("Accept-Encoding"), "gzip, deflate");
        EXPECT_FALSE(request.has_header("Range"));

        // Progress after each piece of at most 10240 bytes, below 100 and rising; then the end.
        ASSERT_GE(events_.size(), body_.size() / 10240);
        for (std::size_t i = 0; i + 1 < events_.size(); ++i) {
            EXPECT_EQ(events_[i].kind, DownloadEventKind::kProgress);
            EXPECT_EQ(events_[i].tag, "tag");
            EXPECT_LT(events_[i].percent, 100);
            EXPECT_LE(i == 0 ? 0 : events_[i - 1].percent, events_[i].percent);
        }
        EXPECT_GE(events_[events_.size() - 2].percent, 94);
        EXPECT_EQ(events_.back().kind, DownloadEventKind::kFinished);
        EXPECT_EQ(events_.back().percent, 100);
    }
}

TEST_F(DownloadFileTest, ResumeAsksForTheRestAndAppendsIt) {
    body_ = "0123456789";
    ASSERT_TRUE(platform::WriteWholeFile(dir_ / "body", "012"));
    EXPECT_EQ(Download("/file", dir_ / "body", 3), 0);
    EXPECT_EQ(Received().get_header_value("Range"), "bytes=3-");
    // The server answers the range with the bytes from 3 on.
    EXPECT_EQ(platform::ReadWholeFile(dir_ / "body"), "0123456789");
    EXPECT_EQ(events_.back().kind, DownloadEventKind::kFinished);
}

TEST_F(DownloadFileTest, FailsWithoutWritingWhenTheLengthIsAboveTheCapOrTheTargetCannotBe) {
    const struct {
        const char* what;
        std::string url;
        std::size_t declared;
        std::filesystem::path target;
        DownloadFailure failure;
    } cases[] = {
        {"just above the cap", server_.Base() + "/declared", (std::size_t{512} << 20) + 1,
         dir_ / "body", DownloadFailure::kTransfer},
        {"beyond 32 bits", server_.Base() + "/declared", (std::size_t{1} << 32) + 5, dir_ / "body",
         DownloadFailure::kTransfer},
        {"no such folder", server_.Base() + "/declared", 4, dir_ / "missing" / "body",
         DownloadFailure::kTarget},
        {"nothing listening", test::UnusedLocalAddress() + "/declared", 4, dir_ / "body",
         DownloadFailure::kAddress},
        {"no address", "/declared", 4, dir_ / "body", DownloadFailure::kAddress},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        declared_ = c.declared;
        events_.clear();
        DownloadRequest request;
        request.Url = c.url;
        request.TargetPath = c.target;
        request.OnEvent = [this](DownloadEventKind kind, const std::string& tag, int percent) {
            events_.push_back({kind, tag, percent});
        };
        DownloadFailure failure = DownloadFailure::kNone;
        EXPECT_EQ(DownloadFile(platform::HttpClient(), request, &failure), -1);
        EXPECT_EQ(failure, c.failure);
        ASSERT_EQ(events_.size(), 1u);
        EXPECT_EQ(events_[0].kind, DownloadEventKind::kFailed);
        EXPECT_EQ(events_[0].percent, 0);
        EXPECT_FALSE(std::filesystem::exists(c.target));
    }
}

}  // namespace
}  // namespace glyphwell::downloads
