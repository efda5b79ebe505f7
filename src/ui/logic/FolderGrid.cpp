#include "ui/logic/FolderGrid.h"

namespace glyphwell::ui {

std::array<int, 2> FolderColumnWidths(int width, int rows) {
    const double third = static_cast<double>(width) / 3;
    return {static_cast<int>(third * 2), static_cast<int>(third - (rows < 19 ? 52 : 70))};
}

int FillFolderGrid(GridData& grid, const std::vector<collections::FolderFont>& fonts, int width,
                   int nameHeight) {
    const bool showFaces = nameHeight > 0;
    const int listed = static_cast<int>(fonts.size());
    grid.BeginBatch();
    // Row 0 is kept for a listing and made again for an empty one, so no row of an earlier
    // listing stays behind the hidden grid for an operation to read; the rest are new.
    grid.SetRowCount(listed == 0 ? 0 : 1);
    grid.SetRowCount(std::max(listed, 1));
    for (int row = 0; row < listed; ++row) {
        const collections::FolderFont& font = fonts[static_cast<std::size_t>(row)];
        grid.SetText(row, 0, font.FileName);
        if (showFaces) {
            grid.SetFaceName(row, 1, row, 1, font.DisplayName);
        }
        grid.SetText(row, 1, font.DisplayName);
        grid.SetChecked(row, 2, true);
    }
    if (listed > 0) {
        const std::array<int, 2> widths = FolderColumnWidths(width, listed);
        grid.SetColumnWidth(0, widths[0]);
        grid.SetColumnWidth(1, widths[1]);
        if (showFaces) {
            grid.SetFontHeight(0, 0, listed - 1, 0, nameHeight);
        }
    }
    grid.EndBatch();
    return listed;
}

collections::FolderRow GridFolderRows::Row(int row) const {
    if (row < 0 || row >= grid_.RowCount()) {
        return {};
    }
    return {grid_.Text(row, 0), grid_.Text(row, 1), grid_.Checked(row, 2)};
}

collections::FixedRows SnapshotRows(const GridData& grid) {
    const GridFolderRows rows(grid);
    std::vector<collections::FolderRow> fixed;
    fixed.reserve(static_cast<std::size_t>(rows.RowCount()));
    for (int row = 0; row < rows.RowCount(); ++row) {
        fixed.push_back(rows.Row(row));
    }
    return collections::FixedRows(std::move(fixed));
}

std::string KeptFilesText(const std::vector<collections::KeptFile>& kept) {
    std::string text;
    for (const collections::KeptFile& file : kept) {
        text += "\n" + file.Name + "（" + file.Reason + "）";
    }
    return text;
}

namespace {
constexpr std::size_t kNamesShown = 10;
}  // namespace

std::string NamesToActOn(const std::vector<std::string>& names) {
    std::string text = "共" + std::to_string(names.size()) + "个字体:";
    for (std::size_t k = 0; k < names.size() && k < kNamesShown; ++k) {
        text += "\n" + names[k];
    }
    if (names.size() > kNamesShown) {
        text += "\n……";
    }
    return text;
}

}  // namespace glyphwell::ui
