#include "preview/PreviewRenderer.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include "catalogue/ServerRequests.h"
#include "platform/Encoding.h"

namespace glyphwell::preview {
namespace {

// The writer of encoder `format`, or none for a number the table does not hold.
const char* WriterFormatOf(int format) {
    for (const ImageEncoder& encoder : kImageEncoders) {
        if (encoder.format == format) {
            return encoder.writerFormat;
        }
    }
    return nullptr;
}

// The full-width digits ０ to ９ in GBK: A3 B0 to A3 B9.
int DigitAt(std::string_view gbk, std::size_t pos, std::size_t length) {
    const auto byte = static_cast<unsigned char>(gbk[pos]);
    if (length == 1 && byte >= '0' && byte <= '9') {
        return byte - '0';
    }
    if (length == 2 && byte == 0xA3) {
        const auto trail = static_cast<unsigned char>(gbk[pos + 1]);
        if (trail >= 0xB0 && trail <= 0xB9) {
            return trail - 0xB0;
        }
    }
    return -1;
}

}  // namespace

bool HasAmpersand(std::string_view sampleText) {
    const std::string gbk = platform::Utf8ToGbk(sampleText);
    for (std::size_t pos = 0; pos < gbk.size(); pos += platform::GbkCharLength(gbk, pos)) {
        if (gbk[pos] == '&') {
            return true;
        }
    }
    return false;
}

int SizeValue(std::string_view sizeText) {
    const std::string gbk = platform::Utf8ToGbk(sizeText);
    long long value = 0;
    for (std::size_t pos = 0; pos < gbk.size();) {
        const std::size_t length = platform::GbkCharLength(gbk, pos);
        const int digit = DigitAt(gbk, pos, length);
        if (digit < 0) {
            break;
        }
        value = std::min<long long>(value * 10 + digit, 1'000'000);
        pos += length;
    }
    return static_cast<int>(value);
}

bool SizeAllowed(std::string_view sizeText) {
    const int size = SizeValue(sizeText);
    return size >= kSmallestSize && size <= kLargestSize;
}

std::string ReencodeImage(std::string_view bytes, int format) {
    const char* writerFormat = WriterFormatOf(format);
    if (writerFormat == nullptr || bytes.empty()) {
        return {};
    }
    QByteArray input = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer inputBuffer(&input);
    inputBuffer.open(QIODevice::ReadOnly);
    QImageReader reader(&inputBuffer);
    // Decoding untrusted pictures is the risky part: the size is checked before any pixel.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kLargestSide || size.height() > kLargestSide) {
        return {};
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    QByteArray output;
    QBuffer outputBuffer(&output);
    outputBuffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&outputBuffer, writerFormat);
    if (!writer.canWrite() || !writer.write(image)) {
        return {};
    }
    return output.toStdString();
}

std::string FetchUrlBytes(const platform::HttpClient& http, const std::string& url) {
    return http.FetchWhole(url, kLargestBody, kWholeRequest).value_or(std::string());
}

std::string RequestPreviewPicture(const platform::HttpClient& http,
                                  std::string_view catalogueServerBase, int row,
                                  std::string_view sampleText, std::string_view sizeText,
                                  std::string_view fontName) {
    const std::string url =
        catalogue::PreviewAddress(catalogueServerBase, sampleText, row == 2, sizeText, fontName);
    return ReencodeImage(FetchUrlBytes(http, url), kBmpFormat);
}

}  // namespace glyphwell::preview
