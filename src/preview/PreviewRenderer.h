#pragma once
// The remote preview: the user's sample text set by the catalogue server in a catalogue font.
// The rules the two boxes must pass, the request, the fetch of the server's picture and its
// conversion to the picture format the page shows (BMP). Plain C++ on Qt's image readers and
// writers (no widgets), shared by the catalogue page and the command line.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/HttpClient.h"

namespace glyphwell::preview {

inline constexpr const char* kSizeMessage = "字体大小只能在6-30之间!";
inline constexpr const char* kFetchFailedCaption = "远程读取失败!";
inline constexpr int kSmallestSize = 6;
inline constexpr int kLargestSize = 30;

// A picture from outside is decoded only within these bounds.
inline constexpr std::size_t kLargestBody = 16 * 1024 * 1024;
inline constexpr int kLargestSide = 4096;
inline constexpr std::chrono::seconds kWholeRequest{20};

// True when the sample text holds "&" as a character of its own (judged on GBK characters, so a
// trailing byte of a Chinese character never counts): the press then does nothing.
bool HasAmpersand(std::string_view sampleText);

// The size box's value: its leading decimal digits, full-width digits counting as digits; 0
// without any.
int SizeValue(std::string_view sizeText);
bool SizeAllowed(std::string_view sizeText);

// The encoders the preview can choose from, by number, each named by its class identifier text
// and written by the image writer of that name.
struct ImageEncoder {
    int format;
    const char* classIdentifier;
    const char* writerFormat;
};
inline constexpr ImageEncoder kImageEncoders[] = {
    {1, "{557CF400-1A04-11D3-9A73-0000F81EF32E}", "BMP"},
    {2, "{557CF401-1A04-11D3-9A73-0000F81EF32E}", "JPEG"},
    {3, "{557CF402-1A04-11D3-9A73-0000F81EF32E}", "GIF"},
    {4, "{557CF405-1A04-11D3-9A73-0000F81EF32E}", "TIFF"},
    {5, "{557CF406-1A04-11D3-9A73-0000F81EF32E}", "PNG"},
};
inline constexpr int kBmpFormat = 1;

// The picture in `bytes` (any format Qt's readers know) encoded again with encoder `format`;
// empty when it cannot be decoded, is larger than the bounds, or the encoder is unknown or has no
// writer here (GIF).
std::string ReencodeImage(std::string_view bytes, int format);

// One GET of `url`, the status not examined; the body, or empty on failure, past the time bound
// or beyond the size bound.
std::string FetchUrlBytes(const platform::HttpClient& http, const std::string& url);

// The preview of a row: the request for it and the picture as BMP (empty when anything failed).
std::string RequestPreviewPicture(const platform::HttpClient& http,
                                  std::string_view catalogueServerBase, int row,
                                  std::string_view sampleText, std::string_view sizeText,
                                  std::string_view fontName);

}  // namespace glyphwell::preview
