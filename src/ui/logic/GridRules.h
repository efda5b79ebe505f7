#pragma once
// The click and text rules the pages apply to their grids.

#include <initializer_list>
#include <string>

#include "ui/logic/GridData.h"

namespace glyphwell::ui {

// Which selection mark of the system font grid a left release at `x` toggles: column 2 for
// 333 <= x < 350, column 5 for 691 <= x <= 704, else -1.
int SystemGridMarkColumn(int x);

// Inverts the check cell of `column` in the current row; nothing without a current row.
void ToggleCurrentRowCheck(GridData& grid, int column);

// Writes `checked` into `columns` of every row, row 0 to the last.
void SetColumnsChecked(GridData& grid, std::initializer_list<int> columns, bool checked);

// The custom preview text: a non-empty text goes into columns 0 and 3 of every row; an empty
// one puts the names of columns 1 and 4 back into columns 0 and 3.
void ApplyCustomPreviewText(GridData& grid, const std::string& text);

struct SearchColumns {
    int column0;
    int column1;
};

// The widths of the search grid's name columns for `matches` found fonts.
SearchColumns SearchColumnWidths(int gridWidth, int matches);

}  // namespace glyphwell::ui
