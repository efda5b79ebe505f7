#include "ui/catalogue/SamplePictures.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/PcxImage.h"

namespace glyphwell::ui {
namespace {

// Sample pictures are a row high; anything far larger is no sample and is not decoded.
constexpr qsizetype kLargestPictureBytes = 4 * 1024 * 1024;

}  // namespace

QImage DecodeSamplePicture(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(kLargestPictureBytes)) {
        return {};
    }
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    switch (catalogue::DetectPictureKind(bytes)) {
        case catalogue::PictureKind::Jpeg:
            return QImage::fromData(data, size, "JPEG");
        case catalogue::PictureKind::Bmp:
            return QImage::fromData(data, size, "BMP");
        case catalogue::PictureKind::Icon:
            return QImage::fromData(data, size, "ICO");
        case catalogue::PictureKind::Cursor:
            return QImage::fromData(data, size, "CUR");
        case catalogue::PictureKind::Gif:
            return QImage::fromData(data, size, "GIF");
        case catalogue::PictureKind::Pcx: {
            std::optional<catalogue::DecodedPicture> pcx = catalogue::DecodePcx(bytes);
            if (!pcx) {
                return {};
            }
            // The decoder's 0xAARRGGBB pixels are this format's own layout.
            return QImage(reinterpret_cast<const uchar*>(pcx->pixels.data()), pcx->width,
                          pcx->height, QImage::Format_ARGB32)
                .copy();
        }
        case catalogue::PictureKind::None:
            break;
    }
    return {};
}

}  // namespace glyphwell::ui
