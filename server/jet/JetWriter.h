#pragma once
// Writes small Jet 4 (Access 2000) database files: tables of text and long-binary columns whose
// rows are kept in insertion order. Used by the catalogue service and by tests; the program
// itself only reads catalogue files.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace glyphwell::jet {

enum class ColumnType {
    Text,        // up to 255 characters, given as UTF-8
    LongBinary,  // any bytes
};

struct JetColumn {
    std::string name;
    ColumnType type = ColumnType::Text;
};

// One value per column; nullopt is a null value.
using JetRow = std::vector<std::optional<std::string>>;

struct JetTable {
    std::string name;
    std::vector<JetColumn> columns;
    std::vector<JetRow> rows;
};

// The whole file, or nullopt with `error` set when the tables cannot be written (a text over
// 255 characters, a row or definition too large for a page, a row of the wrong width).
std::optional<std::string> BuildJetDatabase(const std::vector<JetTable>& tables,
                                            std::string* error = nullptr);

bool WriteJetDatabase(const std::filesystem::path& path, const std::vector<JetTable>& tables,
                      std::string* error = nullptr);

}  // namespace glyphwell::jet
