#include "FuzzInputs.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/PackedData.h"
#include "catalogue/PcxImage.h"
#include "fonts/DisplayNameCache.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

namespace glyphwell::fuzz {
namespace {

std::string_view AsText(Input input) {
    return {reinterpret_cast<const char*>(input.data()), input.size()};
}

// A scratch file of this process, removed at exit.
class ScratchFile {
  public:
    explicit ScratchFile(const char* extension)
        : path_("/tmp/glyphwell-fuzz-" + std::to_string(getpid()) + "." + extension) {}
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

bool ReadCatalogueFile(Input input) {
    static const ScratchFile scratch("mdb");
    // A plain write: the safe replace of WriteWholeFile syncs, which would slow fuzzing down.
    FILE* file = std::fopen(scratch.Path().c_str(), "wb");
    if (!file) {
        return true;
    }
    std::fwrite(input.data(), 1, input.size(), file);
    std::fclose(file);
    catalogue::CatalogueDatabase db(scratch.Path());
    db.OpenCatalogue();
    for (int index = 0; index < 9; ++index) {
        for (const std::string& name : db.ReadSubcategoryNames(index)) {
            const int pages = catalogue::PageCount(db.CountCatalogueFonts(name));
            for (int page = 1; page <= pages && page <= 4; ++page) {
                db.ReadCataloguePage(name, page);
            }
        }
    }
    return true;
}

bool UnpackData(Input input) {
    const std::string unpacked = catalogue::UnpackData(AsText(input));
    return unpacked.size() <= static_cast<std::size_t>(catalogue::kPackedDataMaxBound);
}

bool DecodePcxPicture(Input input) {
    const auto picture = catalogue::DecodePcx(AsText(input));
    if (!picture) {
        return true;
    }
    const auto pixels =
        static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height);
    if (picture->width < 1 || picture->height < 1 || picture->width > catalogue::kPcxMaxSide ||
        picture->height > catalogue::kPcxMaxSide || picture->pixels.size() != pixels ||
        pixels > static_cast<std::size_t>(catalogue::kPcxMaxPixels)) {
        return false;
    }
    for (const std::uint32_t pixel : picture->pixels) {
        if (pixel >> 24 != 0xFF) {
            return false;
        }
    }
    return true;
}

bool ReadAndWriteIniFile(Input input) {
    static const ScratchFile scratch("ini");
    const std::string& file = scratch.Path();
    if (!platform::WriteWholeFile(file, AsText(input))) {
        return true;
    }
    platform::ReadIniString(file, "potpz", "pf", "8");
    platform::ReadIniString(file, "mulu", "mulu", "");
    // A write that succeeds must read back.
    return !platform::WriteIniString(file, "potpz", "pf", "3") ||
           platform::ReadIniString(file, "potpz", "pf", "") == "3";
}

bool ReadDisplayNameCache(Input input) {
    const std::optional<std::vector<fonts::CachedName>> names =
        fonts::ParseDisplayNames(AsText(input));
    if (!names) {
        return true;
    }
    for (const fonts::CachedName& each : *names) {
        if (each.path.empty() || each.path.size() > fonts::kCachedPathMaxBytes ||
            each.name.size() > fonts::kCachedNameMaxBytes) {
            return false;
        }
    }
    return fonts::ParseDisplayNames(fonts::SerialiseDisplayNames(*names)) == names;
}

}  // namespace glyphwell::fuzz
