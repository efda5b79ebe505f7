#include "CatalogueBuilder.h"

#include <algorithm>

#include "FileBytes.h"
#include "Imaging.h"
#include "catalogue/PackedData.h"

namespace glyphwell::server {
namespace fs = std::filesystem;

namespace {

// The sample picture of a catalogue row: the font's name in its own face, 50 pixels tall.
std::optional<std::string> SamplePicture(const ManifestFont& font) {
    TextStyle style;
    style.pixelSize = 32;
    style.minimumHeight = 50;
    style.padding = 6;
    std::optional<GreyImage> image = RenderText(font.file, font.name, style);
    if (!image) {
        return std::nullopt;
    }
    return EncodeJpeg(*image);
}

}  // namespace

bool BuildCatalogue(const Manifest& manifest, const fs::path& out, const fs::path& pagesFolder,
                    BuildSummary& summary, std::string& error) {
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) {
        error = "cannot create " + out.string() + ": " + ec.message();
        return false;
    }

    std::vector<std::vector<std::string>> byColumn(kCategoryColumns.size());
    std::vector<CatalogueTableRows> tables;
    for (const ManifestCategory& category : manifest.categories) {
        auto column = std::find(kCategoryColumns.begin(), kCategoryColumns.end(), category.name) -
                      kCategoryColumns.begin();
        for (const ManifestSubcategory& subcategory : category.subcategories) {
            byColumn[static_cast<std::size_t>(column)].push_back(subcategory.name);
            CatalogueTableRows table{subcategory.name, {}};
            for (const ManifestFont& font : subcategory.fonts) {
                if (font.name.find('/') != std::string::npos) {
                    error = "a font name cannot hold '/': " + font.name;
                    return false;
                }
                std::optional<std::string> fontBytes = ReadFileBytes(font.file);
                if (!fontBytes) {
                    error = "cannot read font file " + font.file.string();
                    return false;
                }
                std::optional<std::string> picture = SamplePicture(font);
                if (!picture) {
                    error = "cannot render a sample of " + font.file.string();
                    return false;
                }
                const std::string& bytes = *fontBytes;
                std::string packedFont = catalogue::PackData(bytes);
                if (packedFont.empty() ||
                    !WriteFileBytes(out / "ztwjj" / (font.address + ".tmp"), packedFont) ||
                    !WriteFileBytes(out / "fonts" / fs::path(font.name + ".ttf"), bytes) ||
                    !WriteFileBytes(out / "pictures" / fs::path(font.address + ".jpg").filename(),
                                    *picture)) {
                    error = "cannot write the files of " + font.name;
                    return false;
                }
                table.rows.push_back({font.name, font.address, catalogue::PackData(*picture)});
                ++summary.fonts;
            }
            tables.push_back(std::move(table));
            ++summary.subcategories;
        }
    }

    fs::path database = out / "ztdata.mdb";
    if (!WriteCatalogueDatabase(database, byColumn, tables, error)) {
        return false;
    }
    std::optional<std::string> databaseBytes = ReadFileBytes(database);
    if (!databaseBytes ||
        !WriteFileBytes(out / "ztysb.data", catalogue::PackData(*databaseBytes)) ||
        !WriteFileBytes(out / "ztpz.txt", manifest.version)) {
        error = "cannot write the packed catalogue";
        return false;
    }
    for (fs::recursive_directory_iterator it(pagesFolder, ec), end; !ec && it != end;
         it.increment(ec)) {
        fs::path target = out / fs::relative(it->path(), pagesFolder);
        if (it->is_directory()) {
            fs::create_directories(target, ec);
        } else {
            fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec);
        }
    }
    if (ec) {
        error = "cannot copy the site's pages from " + pagesFolder.string();
        return false;
    }
    return true;
}

}  // namespace glyphwell::server
