#include "SiteServer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "CatalogueBuilder.h"
#include "Manifest.h"
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/PackedData.h"
#include "catalogue/ServerRequests.h"
#include "platform/Files.h"
#include "platform/HttpClient.h"
#include "support/TempDir.h"

namespace glyphwell::server {
namespace {

namespace fs = std::filesystem;

const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* kSerif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
// Only so that a broken server cannot hang the tests.
constexpr std::chrono::seconds kGenerous{30};

// A built site served on a free port of 127.0.0.1 for the whole suite.
class SiteServerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        site_ = new test::TempDir;
        fs::path manifestFile = *site_ / "demo.manifest";
        std::ofstream(manifestFile) << "# test catalogue\nversion\t1.5\n"
                                    << "category\t中文字体\nsubcategory\t黑体\n"
                                    << "font\tDejaVu Sans\tsans/regular\t" << kSans << "\n"
                                    << "font\tDejaVu Serif\tserif\t" << kSerif << "\n"
                                    << "category\tCAD字体\nsubcategory\t制图\n";
        Manifest manifest;
        std::string error;
        BuildSummary summary;
        ASSERT_TRUE(ParseManifest(manifestFile, manifest, error)) << error;
        ASSERT_TRUE(BuildCatalogue(manifest, *site_ / "root", GLYPHWELL_SITE_PAGES, summary, error))
            << error;
        EXPECT_EQ(summary.fonts, 2);
        for (bool lengths : {true, false}) {
            ServeOptions options;
            options.root = *site_ / "root";
            options.port = 0;
            options.sendContentLength = lengths;
            auto* server = new SiteServer(options);
            ASSERT_TRUE(server->Bind());
            (lengths ? server_ : chunkedServer_) = server;
            threads_.emplace_back([server] { server->Run(); });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    static void TearDownTestSuite() {
        for (SiteServer* server : {server_, chunkedServer_}) {
            server->Stop();
        }
        for (std::thread& thread : threads_) {
            thread.join();
        }
        delete server_;
        delete chunkedServer_;
        delete site_;
    }

    static std::string Get(const std::string& path, SiteServer* server = server_,
                           std::optional<std::int64_t>* length = nullptr) {
        platform::HttpClient client;
        std::string body;
        platform::HttpTransfer transfer = client.Stream(
            server->BaseAddress() + path,
            [&](const platform::HttpResponseHead& head) {
                if (length != nullptr) {
                    *length = head.contentLength;
                }
                return true;
            },
            [&](std::string_view piece) {
                body.append(piece);
                return true;
            });
        EXPECT_TRUE(transfer.ok) << path << ": " << transfer.error;
        return body;
    }

    static inline test::TempDir* site_ = nullptr;
    static inline SiteServer* server_ = nullptr;
    static inline SiteServer* chunkedServer_ = nullptr;
    static inline std::vector<std::thread> threads_;
};

TEST_F(SiteServerTest, CatalogueRequestsAnswerInTheirForms) {
    EXPECT_EQ(Get("/ztym.txt"), server_->BaseAddress());
    EXPECT_EQ(Get("/ztpz.txt"), "1.5");

    std::string packedDatabase = Get("/ztysb.data");
    ASSERT_GE(packedDatabase.size(), 8u);
    EXPECT_EQ(packedDatabase.substr(0, 4), "\x0D\x0F\x3E\x03");
    EXPECT_EQ(catalogue::UnpackData(packedDatabase),
              platform::ReadWholeFile(*site_ / "root" / "ztdata.mdb"));

    std::optional<std::int64_t> length;
    std::string packedFont = Get("/ztwjj/sans/regular.tmp", server_, &length);
    EXPECT_EQ(length, static_cast<std::int64_t>(packedFont.size()));
    EXPECT_EQ(catalogue::UnpackData(packedFont), platform::ReadWholeFile(kSans));

    // The font requests offer gzip; the bodies still come as stored.
    platform::HttpOptions offeringGzip;
    offeringGzip.headerBlock = std::string(catalogue::kFontDownloadHeaders);
    platform::HttpClient gzipClient(offeringGzip);
    EXPECT_EQ(gzipClient.FetchWhole(server_->BaseAddress() + "/ztwjj/sans/regular.tmp",
                                    packedFont.size(), kGenerous),
              packedFont);
    EXPECT_EQ(gzipClient.FetchWhole(server_->BaseAddress() + "/ztpz.txt", 3, kGenerous), "1.5");

    std::optional<std::int64_t> chunkedLength = 1;
    std::string chunkedFont = Get("/ztwjj/serif.tmp", chunkedServer_, &chunkedLength);
    EXPECT_FALSE(chunkedLength.has_value());
    EXPECT_EQ(catalogue::UnpackData(chunkedFont), platform::ReadWholeFile(kSerif));
}

TEST_F(SiteServerTest, PackedDatabaseReadsBackWithTheManifestsTablesInOrder) {
    test::TempDir client;
    ASSERT_TRUE(
        platform::WriteWholeFile(client / "ztdata.mdb", catalogue::UnpackData(Get("/ztysb.data"))));
    catalogue::CatalogueDatabase database(client / "ztdata.mdb");
    database.OpenCatalogue();
    ASSERT_TRUE(database.IsOpen());
    EXPECT_EQ(database.ReadSubcategoryNames(0), std::vector<std::string>{"黑体"});
    EXPECT_EQ(database.ReadSubcategoryNames(6), std::vector<std::string>{"制图"});
    EXPECT_TRUE(database.ReadSubcategoryNames(1).empty());
    EXPECT_EQ(database.CountCatalogueFonts("制图"), 0);
    catalogue::CataloguePage page = database.ReadCataloguePage("黑体", 1);
    EXPECT_EQ(page.Remaining, 2);
    ASSERT_EQ(page.Fonts.size(), 2u);
    EXPECT_EQ(page.Fonts[0].FontName, "DejaVu Sans");
    EXPECT_EQ(page.Fonts[0].FontAddress, "sans/regular");
    EXPECT_EQ(page.Fonts[1].FontName, "DejaVu Serif");
    EXPECT_EQ(catalogue::DetectPictureKind(page.Fonts[1].SamplePicture),
              catalogue::PictureKind::Jpeg);
}

// Width and height from a PNG's header; zeros when it is none.
std::pair<unsigned, unsigned> PngSize(const std::string& png) {
    if (png.size() < 24 || png.substr(0, 8) != std::string("\x89PNG\r\n\x1a\n", 8)) {
        ADD_FAILURE() << "not a PNG";
        return {0, 0};
    }
    auto word = [&](std::size_t at) {
        return (static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24) |
               (static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16) |
               (static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8) |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 3]));
    };
    return {word(16), word(20)};
}

std::string PreviewPath(const std::string& text, int size) {
    return "/text.php?msg=" + text + "&rot=0&size=" + std::to_string(size) +
           "&font=fonts/DejaVu%20Sans.ttf";
}

TEST_F(SiteServerTest, PreviewIsAPngThatGrowsWithTheSize) {
    auto [smallWidth, smallHeight] =
        PngSize(Get("/text.php?msg=Hello%20%E4%BD%A0&rot=15&size=10&font=fonts/DejaVu%20Sans.ttf"));
    auto [largeWidth, largeHeight] =
        PngSize(Get("/text.php?msg=Hello%20%E4%BD%A0&rot=30&size=30&font=fonts/DejaVu%20Sans.ttf"));
    EXPECT_GT(largeWidth, smallWidth);
    EXPECT_GT(largeHeight, smallHeight);
}

TEST_F(SiteServerTest, PreviewTextIsCutToItsFirstCharactersAndThePictureToItsWidth) {
    auto width = [](const std::string& text, int size) {
        return PngSize(Get(PreviewPath(text, size))).first;
    };
    // Narrow letters at the smallest size: 200 fit in the width, the 201st is dropped.
    EXPECT_GT(width(std::string(200, 'i'), 6), width(std::string(199, 'i'), 6));
    EXPECT_EQ(width(std::string(250, 'i'), 6), width(std::string(200, 'i'), 6));
    // Wide letters at the largest size: the picture stops at 4096 pixels.
    std::string png = Get(PreviewPath(std::string(8000, 'W'), 30));
    EXPECT_EQ(PngSize(png).first, 4096u);
    EXPECT_LT(png.size(), 1u << 20);
}

TEST_F(SiteServerTest, BadRequestsGetErrorPagesAndNothingOutsideTheRoot) {
    const char* bad[] = {
        "/text.php?msg=a&rot=15&size=5&font=fonts/DejaVu%20Sans.ttf",   // size too small
        "/text.php?msg=a&rot=15&size=31&font=fonts/DejaVu%20Sans.ttf",  // size too large
        "/text.php?msg=a&rot=15&size=2x&font=fonts/DejaVu%20Sans.ttf",
        "/text.php?msg=a&rot=15&size=20&font=fonts/nothing.ttf",
        "/text.php?msg=a&rot=15&size=20&font=fonts/../ztdata.mdb",
        "/ztwjj/missing.tmp",
        "/ztwjj/../../etc/passwd.tmp",
        "/%2e%2e/%2e%2e/etc/passwd",
    };
    for (const char* path : bad) {
        std::string body = Get(path);
        EXPECT_NE(body.find("<html"), std::string::npos) << path;
        EXPECT_EQ(body.find("root:"), std::string::npos) << path;
    }
    EXPECT_TRUE(ResolveInsideRoot(*site_ / "root", "/../x").empty());
    EXPECT_FALSE(ResolveInsideRoot(*site_ / "root", "/fonts/DejaVu Sans.ttf").empty());
}

TEST_F(SiteServerTest, WebPagesAndServiceStandIns) {
    for (const char* page :
         {"/", "/ad.html", "/tmall.html", "/ziyuan.html", "/xiazai.html", "/wangpan/wangpan.html",
          "/daohang.html", "/recognize.html", "/share/", "/search/images?q=x"}) {
        EXPECT_NE(Get(page).find("<html lang=\"zh-CN\">"), std::string::npos) << page;
    }
    EXPECT_NE(Get("/search/web?q=%E5%AE%8B%E4%BD%93%20<b>").find("宋体 &lt;b&gt;"),
              std::string::npos);
}

// A plain socket to the server, for what HttpClient does not send.
int ConnectLocal(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    timeval watchdog{30, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &watchdog, sizeof watchdog);
    return fd;
}

// Everything the server sends until it closes the connection (or the watchdog ends it).
std::string ReadToEnd(int fd) {
    std::string received;
    char chunk[4096];
    for (ssize_t got; (got = ::recv(fd, chunk, sizeof chunk, 0)) > 0;) {
        received.append(chunk, static_cast<std::size_t>(got));
    }
    return received;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(SiteServerTest, SlowClientsNeitherHoldTheWorkersNorOutstayTheirHeaderDeadline) {
    ServeOptions options;
    options.root = *site_ / "root";
    options.port = 0;
    options.headerDeadline = std::chrono::seconds(2);
    SiteServer server(options);
    ASSERT_TRUE(server.Bind());
    std::thread serving([&server] { server.Run(); });

    constexpr int kSlowClients = 50;
    const std::string header =
        "GET /ztym.txt HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + std::string(200, 'x') +
        "\r\n\r\n";
    std::vector<int> sockets;
    for (int i = 0; i < kSlowClients; ++i) {
        sockets.push_back(ConnectLocal(server.Port()));
    }
    // A byte from each client every quarter second (a minute for the header); a client stops
    // once the server has closed it, and all stop after half a minute.
    std::atomic<int> dropped = 0;
    std::thread trickle([&] {
        std::vector<bool> open(kSlowClients, true);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (std::size_t at = 0;
             at < header.size() && dropped < kSlowClients && std::chrono::steady_clock::now() < end;
             ++at) {
            for (int i = 0; i < kSlowClients; ++i) {
                char peek;
                bool answered = ::recv(sockets[i], &peek, 1, MSG_PEEK | MSG_DONTWAIT) >= 0;
                if (open[i] &&
                    (answered || ::send(sockets[i], &header[at], 1, MSG_NOSIGNAL) != 1)) {
                    open[i] = false;
                    ++dropped;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // Answered while every slow client still holds its connection.
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(platform::HttpClient().FetchWhole(server.BaseAddress() + "/ztym.txt", 100,
                                                std::chrono::seconds(10)),
              server.BaseAddress());
    trickle.join();
    EXPECT_EQ(dropped, kSlowClients);
    for (int fd : sockets) {
        ::close(fd);
    }
    server.Stop();
    serving.join();
}

TEST_F(SiteServerTest, PipelinedRequestsOnOneConnectionAreAllAnswered) {
    int fd = ConnectLocal(server_->Port());
    const std::string request = "GET /ztpz.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    const std::string last =
        "GET /ztpz.txt HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    const std::string all = request + request + last;
    ASSERT_EQ(::send(fd, all.data(), all.size(), MSG_NOSIGNAL), static_cast<ssize_t>(all.size()));
    std::string answers = ReadToEnd(fd);
    ::close(fd);
    EXPECT_EQ(Count(answers, "HTTP/1.1 200 OK\r\n"), 3u) << answers;
}

TEST_F(SiteServerTest, RequestBodiesAreCappedAndNeverInflated) {
    httplib::Client client("127.0.0.1", server_->Port());
    client.set_read_timeout(std::chrono::seconds(30));
    httplib::Client compressing("127.0.0.1", server_->Port());
    compressing.set_read_timeout(std::chrono::seconds(30));
    compressing.set_compress(true);
    auto statusOf = [](const httplib::Result& result) { return result ? result->status : -1; };

    httplib::Result picture =
        client.Post("/recognize", {{"picture", "GIF89a", "sample.gif", "image/gif"}});
    ASSERT_EQ(statusOf(picture), 200);
    EXPECT_NE(picture->body.find("sample.gif"), std::string::npos);
    EXPECT_EQ(statusOf(client.Post("/recognize", std::string(kMaxRequestBody - 1024, 'x'),
                                   "application/octet-stream")),
              200);
    // Ten megabytes of zeros travel as ten kilobytes, and are not unpacked.
    EXPECT_EQ(statusOf(compressing.Post("/recognize", std::string(10 << 20, '\0'),
                                        "application/octet-stream")),
              415);
    EXPECT_EQ(statusOf(client.Post("/recognize", std::string(kMaxRequestBody + 1, 'x'),
                                   "application/octet-stream")),
              413);
    // Without a length the body is cut off at the same size.
    int chunkedStatus = statusOf(client.Post(
        "/recognize",
        [](std::size_t offset, httplib::DataSink& sink) {
            if (offset >= kMaxRequestBody + (1 << 20)) {
                sink.done();
                return true;
            }
            static const std::string piece(1 << 16, 'x');
            return sink.write(piece.data(), piece.size());
        },
        "application/octet-stream"));
    EXPECT_TRUE(chunkedStatus == -1 || chunkedStatus >= 400) << chunkedStatus;
    EXPECT_EQ(Get("/ztpz.txt"), "1.5");
}

TEST_F(SiteServerTest, MethodsARouteDoesNotTakeAre405WithTheOnesItDoes) {
    httplib::Client client("127.0.0.1", server_->Port());
    const struct {
        const char* method;
        const char* path;
        const char* allowed;
    } cases[] = {
        {"PUT", "/index.html", "GET, HEAD"},  {"DELETE", "/ztpz.txt", "GET, HEAD"},
        {"POST", "/index.html", "GET, HEAD"}, {"PATCH", "/text.php", "GET, HEAD"},
        {"OPTIONS", "/", "GET, HEAD"},        {"GET", "/recognize", "POST"},
    };
    for (const auto& c : cases) {
        httplib::Request request;
        request.method = c.method;
        request.path = c.path;
        httplib::Result result = client.send(request);
        ASSERT_TRUE(result) << c.method << " " << c.path;
        EXPECT_EQ(result->status, 405) << c.method << " " << c.path;
        EXPECT_EQ(result->get_header_value("Allow"), c.allowed) << c.method << " " << c.path;
    }
    httplib::Result head = client.Head("/ztpz.txt");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);
}

TEST(Manifest, RefusesFaultyLines) {
    test::TempDir dir;
    const std::pair<const char*, const char*> cases[] = {
        {"version\t1.0.0\n", "three bytes"},
        {"version\t1.0\ncategory\t其他\n", "unknown category"},
        {"version\t1.0\nsubcategory\tx\n", "needs a category"},
        {"version\t1.0\ncategory\t中文字体\nsubcategory\tx\nfont\tA\t../up\tf.ttf\n", "addresses"},
        {"version\t1.0\ncategory\t中文字体\nsubcategory\tdl\n", "unique"},
        {"category\t中文字体\n", "no version"},
    };
    for (const auto& [text, expected] : cases) {
        std::ofstream(dir / "m") << text;
        Manifest manifest;
        std::string error;
        EXPECT_FALSE(ParseManifest(dir / "m", manifest, error)) << text;
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace glyphwell::server
