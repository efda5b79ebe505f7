#include "platform/HttpClient.h"

#include <gtest/gtest.h>

#include "support/LocalHttpServer.h"

namespace glyphwell::platform {
namespace {

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
        server_.Server().Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.target + "|" + req.get_header_value("Accept-Language"),
                            "text/plain");
        });
        server_.Start();
    }
    test::LocalHttpServer server_;
};

TEST_F(HttpClientTest, ReturnsTheBodyWhateverTheStatus) {
    HttpClient client;
    EXPECT_EQ(client.FetchWhole(server_.Base() + "/body"), std::string("line\r\n\0tail", 11));
    EXPECT_EQ(client.FetchWhole(server_.Base() + "/missing"), "not here");
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
    EXPECT_EQ(withHeaders.FetchWhole(server_.Base() + "/echo?msg=设 计"),
              "/echo?msg=%E8%AE%BE%20%E8%AE%A1|zh-cn");
}

TEST(HttpClientDown, FailsWhenNothingListens) {
    HttpOptions options;
    options.connectTimeout = std::chrono::milliseconds(2000);
    HttpClient client(options);
    EXPECT_FALSE(client.FetchWhole(test::UnusedLocalAddress() + "/ztym.txt").has_value());
    EXPECT_FALSE(client.FetchWhole("/ztym.txt").has_value());  // a bare path, no server at all
}

}  // namespace
}  // namespace glyphwell::platform
