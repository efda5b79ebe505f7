#include "ui/logic/GridData.h"

#include <algorithm>
#include <utility>

namespace glyphwell::ui {

GridData::GridData(int columnCount)
    : columnCount_(std::max(columnCount, 0)), columns_(static_cast<std::size_t>(columnCount_)) {}

void GridData::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows == RowCount()) {
        return;
    }
    rows_.resize(static_cast<std::size_t>(rows),
                 std::vector<Cell>(static_cast<std::size_t>(columnCount_)));
    NotifyRows();
    if (currentRow_ >= rows) {
        currentRow_ = -1;
        NotifyCurrentRow();
    }
}

int GridData::AppendRow() {
    rows_.emplace_back(static_cast<std::size_t>(columnCount_));
    NotifyRows();
    return RowCount() - 1;
}

void GridData::SetCurrentRow(int row) {
    if (row < 0 || row >= RowCount()) {
        row = -1;
    }
    if (row == currentRow_) {
        return;
    }
    currentRow_ = row;
    NotifyCurrentRow();
}

void GridData::SetColumnKind(int column, CellKind kind) {
    if (!ValidColumn(column) || columns_[static_cast<std::size_t>(column)].kind == kind) {
        return;
    }
    columns_[static_cast<std::size_t>(column)].kind = kind;
    NotifyColumns();
}

CellKind GridData::ColumnKind(int column) const {
    return ValidColumn(column) ? columns_[static_cast<std::size_t>(column)].kind : CellKind::kText;
}

void GridData::SetColumnWidth(int column, int width) {
    width = std::max(width, 0);
    if (!ValidColumn(column) || columns_[static_cast<std::size_t>(column)].width == width) {
        return;
    }
    columns_[static_cast<std::size_t>(column)].width = width;
    NotifyColumns();
}

int GridData::ColumnWidth(int column) const {
    return ValidColumn(column) ? columns_[static_cast<std::size_t>(column)].width : 0;
}

int GridData::ColumnRight(int column) const {
    const int last = std::min(column, columnCount_ - 1);
    int right = 0;
    for (int c = 0; c <= last; ++c) {
        right += columns_[static_cast<std::size_t>(c)].width;
    }
    return right;
}

std::string GridData::Text(int row, int column) const {
    const Cell* cell = CellAt(row, column);
    return cell ? cell->text : std::string();
}

void GridData::SetText(int row, int column, std::string text) {
    Cell* cell = CellAt(row, column);
    if (!cell || cell->text == text) {
        return;
    }
    cell->text = std::move(text);
    NotifyCells({row, column, row, column});
}

bool GridData::Checked(int row, int column) const {
    const Cell* cell = CellAt(row, column);
    return cell && cell->checked;
}

void GridData::SetChecked(int row, int column, bool checked) {
    Cell* cell = CellAt(row, column);
    if (!cell || cell->checked == checked) {
        return;
    }
    cell->checked = checked;
    NotifyCells({row, column, row, column});
}

const std::vector<unsigned char>& GridData::Picture(int row, int column) const {
    static const std::vector<unsigned char> kNoPicture;
    const Cell* cell = CellAt(row, column);
    return cell ? cell->picture : kNoPicture;
}

void GridData::SetPicture(int row, int column, std::vector<unsigned char> encodedImage) {
    Cell* cell = CellAt(row, column);
    if (!cell) {
        return;
    }
    cell->picture = std::move(encodedImage);
    NotifyCells({row, column, row, column});
}

void GridData::SetFaceName(int firstRow, int firstColumn, int lastRow, int lastColumn,
                           const std::string& face) {
    const Range range = Clip(firstRow, firstColumn, lastRow, lastColumn);
    if (range.Empty()) {
        return;
    }
    for (int r = range.firstRow; r <= range.lastRow; ++r) {
        auto& row = rows_[static_cast<std::size_t>(r)];
        for (int c = range.firstColumn; c <= range.lastColumn; ++c) {
            row[static_cast<std::size_t>(c)].face = face;
        }
    }
    NotifyCells(range);
}

void GridData::SetFontHeight(int firstRow, int firstColumn, int lastRow, int lastColumn,
                             int height) {
    const Range range = Clip(firstRow, firstColumn, lastRow, lastColumn);
    if (range.Empty()) {
        return;
    }
    height = std::max(height, 0);
    for (int r = range.firstRow; r <= range.lastRow; ++r) {
        auto& row = rows_[static_cast<std::size_t>(r)];
        for (int c = range.firstColumn; c <= range.lastColumn; ++c) {
            row[static_cast<std::size_t>(c)].height = height;
        }
    }
    NotifyCells(range);
}

std::string GridData::FaceName(int row, int column) const {
    const Cell* cell = CellAt(row, column);
    return cell ? cell->face : std::string();
}

int GridData::FontHeight(int row, int column) const {
    const Cell* cell = CellAt(row, column);
    return cell ? cell->height : 0;
}

void GridData::BeginBatch() {
    ++batchDepth_;
}

void GridData::EndBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0) {
        return;
    }
    // Rows first, so the cell range and the current row are read against the new count.
    if (std::exchange(pendingRows_, false)) {
        NotifyRows();
    }
    if (std::exchange(pendingColumns_, false)) {
        NotifyColumns();
    }
    const Range cells = std::exchange(pendingCells_, Range{});
    if (!cells.Empty()) {
        NotifyCells(Clip(cells.firstRow, cells.firstColumn, cells.lastRow, cells.lastColumn));
    }
    if (std::exchange(pendingCurrentRow_, false)) {
        NotifyCurrentRow();
    }
}

const GridData::Cell* GridData::CellAt(int row, int column) const {
    if (row < 0 || row >= RowCount() || !ValidColumn(column)) {
        return nullptr;
    }
    return &rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

GridData::Cell* GridData::CellAt(int row, int column) {
    return const_cast<Cell*>(std::as_const(*this).CellAt(row, column));
}

GridData::Range GridData::Clip(int firstRow, int firstColumn, int lastRow, int lastColumn) const {
    return {std::max(firstRow, 0), std::max(firstColumn, 0), std::min(lastRow, RowCount() - 1),
            std::min(lastColumn, columnCount_ - 1)};
}

void GridData::NotifyRows() {
    if (batchDepth_ > 0) {
        pendingRows_ = true;
    } else if (observer_) {
        observer_->GridRowsChanged();
    }
}

void GridData::NotifyCells(const Range& range) {
    if (batchDepth_ > 0) {
        if (pendingCells_.Empty()) {
            pendingCells_ = range;
        } else {
            pendingCells_ = {std::min(pendingCells_.firstRow, range.firstRow),
                             std::min(pendingCells_.firstColumn, range.firstColumn),
                             std::max(pendingCells_.lastRow, range.lastRow),
                             std::max(pendingCells_.lastColumn, range.lastColumn)};
        }
    } else if (observer_) {
        observer_->GridCellsChanged(range.firstRow, range.firstColumn, range.lastRow,
                                    range.lastColumn);
    }
}

void GridData::NotifyColumns() {
    if (batchDepth_ > 0) {
        pendingColumns_ = true;
    } else if (observer_) {
        observer_->GridColumnsChanged();
    }
}

void GridData::NotifyCurrentRow() {
    if (batchDepth_ > 0) {
        pendingCurrentRow_ = true;
    } else if (observer_) {
        observer_->GridCurrentRowChanged();
    }
}

bool InsideCheckColumn(const GridData& data, int x) {
    if (data.ColumnCount() < 3) {
        return false;
    }
    return data.ColumnRight(1) < x && x < data.ColumnRight(2);
}

}  // namespace glyphwell::ui
