#include "CatalogueBuilder.h"
#include "jet/JetWriter.h"

namespace glyphwell::server {

bool WriteCatalogueDatabase(const std::filesystem::path& file,
                            const std::vector<std::vector<std::string>>& subcategoriesByColumn,
                            const std::vector<CatalogueTableRows>& tables, std::string& error) {
    std::vector<jet::JetTable> database;

    jet::JetTable categories{"dl", {}, {}};
    std::size_t rowCount = 0;
    for (std::size_t column = 0; column < kCategoryColumns.size(); ++column) {
        categories.columns.push_back({kCategoryColumns[column], jet::ColumnType::Text});
        rowCount = std::max(rowCount, subcategoriesByColumn[column].size());
    }
    for (std::size_t row = 0; row < rowCount; ++row) {
        jet::JetRow values;
        for (const std::vector<std::string>& names : subcategoriesByColumn) {
            values.push_back(row < names.size() ? std::optional(names[row]) : std::nullopt);
        }
        categories.rows.push_back(std::move(values));
    }
    database.push_back(std::move(categories));

    for (const CatalogueTableRows& table : tables) {
        jet::JetTable fonts{table.name,
                            {{"字体名", jet::ColumnType::Text},
                             {"字体地址", jet::ColumnType::Text},
                             {"图片", jet::ColumnType::LongBinary}},
                            {}};
        for (const CatalogueTableRows::Row& row : table.rows) {
            fonts.rows.push_back({row.fontName, row.fontAddress, row.picture});
        }
        database.push_back(std::move(fonts));
    }
    return jet::WriteJetDatabase(file, database, &error);
}

}  // namespace glyphwell::server
