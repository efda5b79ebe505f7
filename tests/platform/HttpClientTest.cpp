#include "platform/HttpClient.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/LocalHttpServer.h"

namespace glyphwell::platform {
namespace {

using namespace std::chrono_literals;

// Room enough for every body these tests expect whole, and time enough not to matter.
constexpr std::size_t kRoom = 1 << 20;
constexpr std::chrono::milliseconds kGenerous = 30s;

TEST(HttpClient, EncodesOnlyWhatCannotTravelInARequestLine) {
    EXPECT_EQ(EncodeForRequestLine("http://h/text.php?msg=a b&size=20"),
              "http://h/text.php?msg=a%20b&size=20");
    EXPECT_EQ(EncodeForRequestLine("/ztwjj/宋.tmp"), "/ztwjj/%E5%AE%8B.tmp");
    EXPECT_EQ(EncodeForRequestLine("a\tb\x7F%41"), "a%09b%7F%41");
}

class HttpClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.Server().Get("/body", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string("line\r\n\0tail", 11), "text/plain");
        });
        server_.Server().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("not here", "text/html");
        });
        server_.Server().Get("/big", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(100'000, 'z'), "application/octet-stream");
        });
        server_.Server().Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider(
                "application/octet-stream", [](std::size_t offset, httplib::DataSink& sink) {
                    if (offset < 30000) {
                        sink.write(std::string(15000, 'c').data(), 15000);
                    } else {
                        sink.done();
                    }
                    return true;
                });
        });
        // Sends until the client goes (bounded, so that a test without limits still ends).
        server_.Server().Get("/endless", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream",
                                             [this](std::size_t offset, httplib::DataSink& sink) {
                                                 static const std::string piece(65536, 'e');
                                                 if (offset >= (std::size_t{1} << 30)) {
                                                     sink.done();
                                                     return true;
                                                 }
                                                 endlessSent_ = offset;
                                                 return sink.write(piece.data(), piece.size());
                                             });
        });
        // Two bytes every quarter second, for a minute at most.
        server_.Server().Get("/trickle", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain",
                                             [](std::size_t offset, httplib::DataSink& sink) {
                                                 if (offset >= 2 * 240) {
                                                     sink.done();
                                                     return true;
                                                 }
                                                 std::this_thread::sleep_for(250ms);
                                                 return sink.write("ab", 2);
                                             });
        });
        server_.Server().Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.target + "|" + req.get_header_value("Accept-Language"),
                            "text/plain");
        });
        server_.Start();
    }
    test::LocalHttpServer server_;
    std::atomic<std::size_t> endlessSent_ = 0;
};

TEST_F(HttpClientTest, ReturnsTheBodyWhateverTheStatus) {
    HttpClient client;
    EXPECT_EQ(client.FetchWhole(server_.Base() + "/body", kRoom, kGenerous),
              std::string("line\r\n\0tail", 11));
    EXPECT_EQ(client.FetchWhole(server_.Base() + "/missing", kRoom, kGenerous), "not here");
}

TEST_F(HttpClientTest, FetchWholeFailsOnABodyBeyondItsCap) {
    HttpClient client;
    const struct {
        const char* path;
        std::size_t cap;
        bool whole;
    } cases[] = {
        {"/big", 100'000, true},    {"/big", 99'999, false},  // the length says so: refused at once
        {"/chunked", 30'000, true}, {"/chunked", 29'999, false},  // no length: cut as it comes
        {"/endless", kRoom, false},
    };
    for (const auto& c : cases) {
        std::optional<std::string> body =
            client.FetchWhole(server_.Base() + c.path, c.cap, kGenerous);
        ASSERT_EQ(body.has_value(), c.whole) << c.path << " " << c.cap;
        if (c.whole) {
            EXPECT_EQ(body->size(), c.cap) << c.path;
        }
    }
    // Cut at the cap, not at the server's own end.
    EXPECT_LT(endlessSent_.load(), std::size_t{64} << 20);
}

TEST_F(HttpClientTest, ATricklingServerFailsAtTheDeadline) {
    HttpClient client;
    EXPECT_FALSE(client.FetchWhole(server_.Base() + "/trickle", kRoom, 1500ms).has_value());

    HttpOptions options;
    options.deadline = 1500ms;
    HttpClient streaming(options);
    std::size_t received = 0;
    HttpTransfer transfer =
        streaming.Stream(server_.Base() + "/trickle", {}, [&received](std::string_view piece) {
            received += piece.size();
            return true;
        });
    EXPECT_FALSE(transfer.ok);
    // It was receiving all along, too slowly for the stall timeout to notice.
    EXPECT_GT(received, 0u);
    // The options' deadline holds for FetchWhole too, when it is the shorter one.
    EXPECT_FALSE(streaming.FetchWhole(server_.Base() + "/trickle", kRoom, kGenerous).has_value());
}

TEST_F(HttpClientTest, StreamsInBoundedPiecesWithTheLength) {
    HttpClient client;
    for (const char* path : {"/big", "/chunked"}) {
        std::optional<std::int64_t> length;
        std::size_t received = 0, largest = 0, heads = 0;
        HttpTransfer transfer = client.Stream(
            server_.Base() + path,
            [&](const HttpResponseHead& head) {
                ++heads;
                length = head.contentLength;
                return true;
            },
            [&](std::string_view piece) {
                received += piece.size();
                largest = std::max(largest, piece.size());
                return true;
            });
        EXPECT_TRUE(transfer.ok) << path << transfer.error;
        EXPECT_EQ(heads, 1u);
        EXPECT_LE(largest, HttpClient::kReadSize);
        if (std::string_view(path) == "/big") {
            EXPECT_EQ(length, 100000);
            EXPECT_EQ(received, 100000u);
        } else {
            EXPECT_FALSE(length.has_value());
            EXPECT_EQ(received, 30000u);
        }
    }
}

TEST_F(HttpClientTest, CallerCanStopATransferAndHeadersAreSent) {
    HttpClient stopping;
    HttpTransfer transfer =
        stopping.Stream(server_.Base() + "/big", {}, [](std::string_view) { return false; });
    EXPECT_FALSE(transfer.ok);

    HttpOptions options;
    options.headerBlock = "Accept: */*\r\nAccept-Language: zh-cn";
    HttpClient withHeaders(options);
    EXPECT_EQ(withHeaders.FetchWhole(server_.Base() + "/echo?msg=设 计", kRoom, kGenerous),
              "/echo?msg=%E8%AE%BE%20%E8%AE%A1|zh-cn");
}

TEST(HttpClientDown, FailsWhenNothingListens) {
    HttpOptions options;
    options.connectTimeout = std::chrono::milliseconds(2000);
    HttpClient client(options);
    EXPECT_FALSE(
        client.FetchWhole(test::UnusedLocalAddress() + "/ztym.txt", kRoom, kGenerous).has_value());
    EXPECT_FALSE(client.FetchWhole("/ztym.txt", kRoom, kGenerous)
                     .has_value());  // a bare path, no server at all
}

}  // namespace
}  // namespace glyphwell::platform
