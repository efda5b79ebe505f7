#include "ui/logic/FolderGrid.h"

namespace glyphwell::ui {

std::array<int, 2> FolderColumnWidths(int width, int rows) {
    const double third = static_cast<double>(width) / 3;
    return {static_cast<int>(third * 2), static_cast<int>(third - (rows < 19 ? 52 : 70))};
}

int FillFolderGrid(GridData& grid, const std::vector<collections::FolderFont>& fonts, int width,
                   int nameHeight) {
    const bool showFaces = nameHeight > 0;
    grid.BeginBatch();
    grid.SetRowCount(1);
    int listed = 0;
    for (const collections::FolderFont& font : fonts) {
        grid.SetText(listed, 0, font.FileName);
        if (showFaces) {
            grid.SetFaceName(listed, 1, listed, 1, font.DisplayName);
        }
        grid.SetText(listed, 1, font.DisplayName);
        grid.SetChecked(listed, 2, true);
        ++listed;
        grid.AppendRow();
    }
    if (listed == 0) {
        // No row of an earlier listing stays behind the hidden grid for an operation to read.
        grid.SetRowCount(0);
        grid.SetRowCount(1);
    } else {
        grid.SetRowCount(listed);
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

std::string KeptFilesText(const std::vector<collections::KeptFile>& kept) {
    std::string text;
    for (const collections::KeptFile& file : kept) {
        text += "\n" + file.Name + "（" + file.Reason + "）";
    }
    return text;
}

}  // namespace glyphwell::ui
