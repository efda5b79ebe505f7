#include "preview/PreviewRenderer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <chrono>
#include <mutex>

#include "support/LocalHttpServer.h"

namespace glyphwell::preview {
namespace {

std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes.toStdString();
}

QImage Picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    return image;
}

// A 1 x 1 GIF: Qt reads GIF but cannot write it.
const std::string kGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
    "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
    35);

TEST(PreviewRules, AmpersandAnywhereAndTheSizeBox) {
    for (const char* text : {"a&b", "&", "字体&", "&字"}) {
        EXPECT_TRUE(HasAmpersand(text)) << text;
    }
    for (const char* text : {"", "字体 abc", "＆"}) {  // a full-width ampersand is no "&"
        EXPECT_FALSE(HasAmpersand(text)) << text;
    }
    const struct {
        const char* size;
        int value;
        bool allowed;
    } sizes[] = {
        {"5", 5, false},    {"6", 6, true},     {"30", 30, true},
        {"31", 31, false},  {"", 0, false},     {"abc", 0, false},
        {"２０", 20, true}, {"20px", 20, true}, {"１２3", 123, false},
    };
    for (const auto& s : sizes) {
        EXPECT_EQ(SizeValue(s.size), s.value) << s.size;
        EXPECT_EQ(SizeAllowed(s.size), s.allowed) << s.size;
    }
}

TEST(ReencodeImage, EachEncoderByItsIdentifierAndNothingForTheRest) {
    const std::string png = Encoded(Picture(20, 10), "PNG");
    EXPECT_TRUE(ReencodeImage(png, 1).starts_with("BM"));
    EXPECT_TRUE(ReencodeImage(png, 2).starts_with("\xFF\xD8"));
    EXPECT_EQ(ReencodeImage(png, 3), "");  // no GIF writer here
    EXPECT_TRUE(ReencodeImage(png, 5).starts_with("\x89PNG"));
    for (int format : {0, 6, -1}) {
        EXPECT_EQ(ReencodeImage(png, format), "") << format;
    }
    // Whatever the readers know comes back as BMP; anything else as nothing.
    for (const std::string& body : {kGif, Encoded(Picture(8, 8), "JPEG"), png}) {
        const std::string bmp = ReencodeImage(body, kBmpFormat);
        EXPECT_TRUE(bmp.starts_with("BM"));
        EXPECT_FALSE(QImage::fromData(reinterpret_cast<const uchar*>(bmp.data()),
                                      static_cast<int>(bmp.size()), "BMP")
                         .isNull());
    }
    EXPECT_EQ(ReencodeImage("<html>出错了</html>", kBmpFormat), "");
    EXPECT_EQ(ReencodeImage("", kBmpFormat), "");
    // Larger than the bound: refused before its pixels are decoded.
    EXPECT_EQ(ReencodeImage(Encoded(Picture(kLargestSide + 1, 1), "PNG"), kBmpFormat), "");
}

class PreviewRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.Server().Get("/text.php",
                             [this](const httplib::Request& request, httplib::Response& response) {
                                 std::lock_guard lock(mutex_);
                                 seen_.push_back(request.target);
                                 response.set_content(body_, "image/png");
                             });
        server_.Start();
    }
    std::vector<std::string> Seen() {
        std::lock_guard lock(mutex_);
        return seen_;
    }

    test::LocalHttpServer server_;
    std::mutex mutex_;
    std::vector<std::string> seen_;
    std::string body_ = Encoded(Picture(30, 12), "PNG");
    platform::HttpClient http_;
};

TEST_F(PreviewRequestTest, TheRequestAsTypedWithTheRowsRot) {
    EXPECT_TRUE(
        RequestPreviewPicture(http_, server_.Base(), 1, "abc", "20", "xyz").starts_with("BM"));
    RequestPreviewPicture(http_, server_.Base(), 2, "abc", "20", "xyz");
    // Outside ASCII: %XX of the UTF-8 bytes, the full-width size as typed.
    RequestPreviewPicture(http_, server_.Base(), 3, "字 a", "２０", "文泉驿 正黑");
    EXPECT_EQ(Seen(), (std::vector<std::string>{
                          "/text.php?msg=abc&rot=15&size=20&font=fonts/xyz.ttf",
                          "/text.php?msg=abc&rot=30&size=20&font=fonts/xyz.ttf",
                          "/text.php?msg=%E5%AD%97%20a&rot=15&size=%EF%BC%92%EF%BC%90"
                          "&font=fonts/%E6%96%87%E6%B3%89%E9%A9%BF%20%E6%AD%A3%E9%BB%91.ttf",
                      }));
    body_ = "<html>no such font</html>";
    EXPECT_EQ(RequestPreviewPicture(http_, server_.Base(), 1, "abc", "20", "xyz"), "");
}

TEST(PreviewFetch, AStalledServerFailsWithinTheBound) {
    test::SilentLocalServer silent;
    platform::HttpOptions options;
    options.deadline = std::chrono::seconds(1);
    platform::HttpClient http(options);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RequestPreviewPicture(http, silent.Base(), 1, "abc", "20", "xyz"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
}

}  // namespace
}  // namespace glyphwell::preview
