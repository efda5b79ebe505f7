#include "ui/logic/GridRules.h"

namespace glyphwell::ui {

int SystemGridMarkColumn(int x) {
    if (333 <= x && x < 350) {
        return 2;
    }
    if (691 <= x && x <= 704) {
        return 5;
    }
    return -1;
}

void ToggleCurrentRowCheck(GridData& grid, int column) {
    const int row = grid.CurrentRow();
    if (row < 0) {
        return;
    }
    grid.SetChecked(row, column, !grid.Checked(row, column));
}

void SetColumnsChecked(GridData& grid, std::initializer_list<int> columns, bool checked) {
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int column : columns) {
            grid.SetChecked(row, column, checked);
        }
    }
}

void ApplyCustomPreviewText(GridData& grid, const std::string& text) {
    for (int row = 0; row < grid.RowCount(); ++row) {
        if (!text.empty()) {
            grid.SetText(row, 0, text);
            grid.SetText(row, 3, text);
        } else {
            // The right font's name is in column 4; column 5 holds its selection mark.
            grid.SetText(row, 0, grid.Text(row, 1));
            grid.SetText(row, 3, grid.Text(row, 4));
        }
    }
}

SearchColumns SearchColumnWidths(int gridWidth, int matches) {
    // Two thirds, and a third less the margin, each truncated once at the end: truncating the
    // third before doubling it would lose a pixel of column 0 at widths of 3k + 2. Integer
    // division truncates towards zero, as truncating the exact value does.
    int margin = matches <= 18 ? 52 : 70;
    return {gridWidth * 2 / 3, (gridWidth - 3 * margin) / 3};
}

}  // namespace glyphwell::ui
