#pragma once
// The content of a grid control as plain data: rows of cells with text, check state, picture
// bytes and a per-cell face and height, the column kinds and widths, and the current row. The
// grid widget shows this and reports changes through GridObserver; the pages' rules read the
// cells back from here.

#include <string>
#include <vector>

namespace glyphwell::ui {

enum class CellKind : int { kText = 1, kCheckBox = 5, kPicture = 6 };

inline constexpr int kDefaultColumnWidth = 50;

// Told after the data changed; ranges are inclusive and lie inside the grid.
class GridObserver {
  public:
    virtual ~GridObserver() = default;
    virtual void GridRowsChanged() = 0;
    virtual void GridCellsChanged(int firstRow, int firstColumn, int lastRow, int lastColumn) = 0;
    // Kinds or widths.
    virtual void GridColumnsChanged() = 0;
    virtual void GridCurrentRowChanged() = 0;
};

// Rows and columns count from 0. Reads outside the grid give empty text, false, an empty
// picture and 0; writes outside it are ignored.
class GridData {
  public:
    explicit GridData(int columnCount);

    int ColumnCount() const { return columnCount_; }

    // Shrinking drops the cut rows with their cells; growing again gives empty cells, so marks
    // and texts never come back from rows that were cut. A current row that is cut becomes -1.
    void SetRowCount(int rows);
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Returns the index of the new, empty row.
    int AppendRow();

    // -1 = none; a row outside the grid makes it -1.
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);

    void SetColumnKind(int column, CellKind kind);
    CellKind ColumnKind(int column) const;
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    // Sum of the widths of columns 0 to `column` (clamped to the grid's columns; 0 below 0).
    int ColumnRight(int column) const;

    std::string Text(int row, int column) const;
    void SetText(int row, int column, std::string text);
    bool Checked(int row, int column) const;
    void SetChecked(int row, int column, bool checked);
    // Encoded image bytes (any format the widget can decode), kept as given.
    const std::vector<unsigned char>& Picture(int row, int column) const;
    void SetPicture(int row, int column, std::vector<unsigned char> encodedImage);

    // Over the inclusive range, clipped to the grid. Height 0 = the grid's normal font.
    void SetFaceName(int firstRow, int firstColumn, int lastRow, int lastColumn,
                     const std::string& face);
    void SetFontHeight(int firstRow, int firstColumn, int lastRow, int lastColumn, int height);
    std::string FaceName(int row, int column) const;
    int FontHeight(int row, int column) const;

    // Many writes, one notification each kind at the end. Pairs nest.
    void BeginBatch();
    void EndBatch();

    // Not owned; nullptr for none.
    void SetObserver(GridObserver* observer) { observer_ = observer; }

  private:
    struct Cell {
        std::string text;
        std::string face;
        std::vector<unsigned char> picture;
        int height = 0;
        bool checked = false;
    };
    struct Column {
        CellKind kind = CellKind::kText;
        int width = kDefaultColumnWidth;
    };
    // An inclusive range clipped to the grid; empty when nothing of it lies inside.
    struct Range {
        int firstRow = 0;
        int firstColumn = 0;
        int lastRow = -1;
        int lastColumn = -1;
        bool Empty() const { return lastRow < firstRow || lastColumn < firstColumn; }
    };

    const Cell* CellAt(int row, int column) const;
    Cell* CellAt(int row, int column);
    bool ValidColumn(int column) const { return column >= 0 && column < columnCount_; }
    Range Clip(int firstRow, int firstColumn, int lastRow, int lastColumn) const;
    void NotifyRows();
    void NotifyCells(const Range& range);
    void NotifyColumns();
    void NotifyCurrentRow();

    int columnCount_;
    std::vector<std::vector<Cell>> rows_;
    std::vector<Column> columns_;
    int currentRow_ = -1;
    GridObserver* observer_ = nullptr;

    // What a batch owes its observer.
    int batchDepth_ = 0;
    bool pendingRows_ = false;
    bool pendingColumns_ = false;
    bool pendingCurrentRow_ = false;
    Range pendingCells_;
};

// The check-box toggle rule: x strictly between the right edge of column 1 and the right edge
// of column 2.
bool InsideCheckColumn(const GridData& data, int x);

}  // namespace glyphwell::ui
