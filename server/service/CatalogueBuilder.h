#pragma once
// Builds a site folder from a manifest: the catalogue database, its packed copy and version,
// the packed font files, the font files for previews, sample pictures and the web pages.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Manifest.h"

namespace glyphwell::server {

// One sub-category table as it goes into the database.
struct CatalogueTableRows {
    std::string name;
    struct Row {
        std::string fontName;
        std::string fontAddress;
        std::string picture;  // packed sample picture
    };
    std::vector<Row> rows;
};

// Writes "ztdata.mdb": table "dl" with the nine category columns (row i of a column holds the
// category's i-th sub-category, or nothing) and one table per sub-category.
bool WriteCatalogueDatabase(const std::filesystem::path& file,
                            const std::vector<std::vector<std::string>>& subcategoriesByColumn,
                            const std::vector<CatalogueTableRows>& tables, std::string& error);

struct BuildSummary {
    int subcategories = 0;
    int fonts = 0;
};

// `pagesFolder` holds the site's own pages, copied into `out`.
bool BuildCatalogue(const Manifest& manifest, const std::filesystem::path& out,
                    const std::filesystem::path& pagesFolder, BuildSummary& summary,
                    std::string& error);

}  // namespace glyphwell::server
