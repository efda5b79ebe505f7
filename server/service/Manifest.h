#pragma once
// The catalogue manifest: a plain text file that lists the catalogue's version, categories,
// sub-categories and fonts. One statement a line; blank lines and lines starting with '#' are
// skipped; fields are separated by TAB characters:
//
//   version<TAB>1.0                       the catalogue version, exactly three bytes
//   category<TAB>中文字体                  one of the nine category columns
//   subcategory<TAB>楷体                   a sub-category (a table) of the last category
//   font<TAB>NAME<TAB>ADDRESS<TAB>FILE     a font of the last sub-category
//
// NAME is the font's display name, ADDRESS its key on the server (letters, digits, '-', '_'
// and '/' between parts), FILE the font file, relative to the manifest's folder.

#include <filesystem>
#include <string>
#include <vector>

namespace glyphwell::server {

// The nine category columns of the category table, in their order.
extern const std::vector<std::string> kCategoryColumns;

struct ManifestFont {
    std::string name;
    std::string address;
    std::filesystem::path file;
};

struct ManifestSubcategory {
    std::string name;
    std::vector<ManifestFont> fonts;
};

struct ManifestCategory {
    std::string name;
    std::vector<ManifestSubcategory> subcategories;
};

struct Manifest {
    std::string version;
    std::vector<ManifestCategory> categories;
};

// Parses the manifest; on a fault, `error` names the line and what is wrong.
bool ParseManifest(const std::filesystem::path& file, Manifest& manifest, std::string& error);

// True for an address that stays a plain relative path on the server.
bool IsSafeFontAddress(const std::string& address);

}  // namespace glyphwell::server
