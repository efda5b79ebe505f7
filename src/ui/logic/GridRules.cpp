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

}  // namespace glyphwell::ui
