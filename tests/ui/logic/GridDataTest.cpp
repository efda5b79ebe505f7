#include "ui/logic/GridData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glyphwell::ui {
namespace {

// Records each notification as one text.
class RecordingObserver : public GridObserver {
  public:
    void GridRowsChanged() override { calls.push_back("rows"); }
    void GridCellsChanged(int firstRow, int firstColumn, int lastRow, int lastColumn) override {
        calls.push_back("cells " + std::to_string(firstRow) + "," + std::to_string(firstColumn) +
                        "-" + std::to_string(lastRow) + "," + std::to_string(lastColumn));
    }
    void GridColumnsChanged() override { calls.push_back("columns"); }
    void GridCurrentRowChanged() override { calls.push_back("current"); }

    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST(GridDataTest, ShrinkingDropsCutRowsAndGrowingGivesEmptyCells) {
    GridData grid(6);
    EXPECT_EQ(grid.RowCount(), 0);
    grid.SetRowCount(5);
    for (int row = 0; row < 5; ++row) {
        grid.SetText(row, 0, "font " + std::to_string(row));
        grid.SetChecked(row, 2, true);
        grid.SetFaceName(row, 0, row, 0, "DejaVu Sans");
        grid.SetFontHeight(row, 0, row, 0, 20);
        grid.SetPicture(row, 1, {1, 2, 3});
    }
    grid.SetRowCount(3);
    EXPECT_EQ(grid.RowCount(), 3);
    grid.SetRowCount(5);
    // Rows that survived keep everything.
    EXPECT_EQ(grid.Text(2, 0), "font 2");
    EXPECT_TRUE(grid.Checked(2, 2));
    EXPECT_EQ(grid.FaceName(2, 0), "DejaVu Sans");
    EXPECT_EQ(grid.FontHeight(2, 0), 20);
    EXPECT_EQ(grid.Picture(2, 1).size(), 3u);
    // Rows that were cut come back empty.
    for (int row : {3, 4}) {
        EXPECT_EQ(grid.Text(row, 0), "") << row;
        EXPECT_FALSE(grid.Checked(row, 2)) << row;
        EXPECT_EQ(grid.FaceName(row, 0), "") << row;
        EXPECT_EQ(grid.FontHeight(row, 0), 0) << row;
        EXPECT_TRUE(grid.Picture(row, 1).empty()) << row;
    }

    EXPECT_EQ(grid.AppendRow(), 5);
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.Text(5, 0), "");
    grid.SetText(5, 3, "appended");
    EXPECT_EQ(grid.Text(5, 3), "appended");

    grid.SetRowCount(-4);
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_EQ(grid.AppendRow(), 0);
}

TEST(GridDataTest, CurrentRowIsMinusOneForNoneAndAfterItsRowIsCut) {
    GridData grid(3);
    RecordingObserver observer;
    grid.SetObserver(&observer);
    EXPECT_EQ(grid.CurrentRow(), -1);
    grid.SetCurrentRow(0);  // no rows yet
    EXPECT_EQ(grid.CurrentRow(), -1);

    grid.SetRowCount(5);
    grid.SetCurrentRow(4);
    EXPECT_EQ(grid.CurrentRow(), 4);
    for (int outside : {5, -1, -7, 1000}) {
        grid.SetCurrentRow(4);
        grid.SetCurrentRow(outside);
        EXPECT_EQ(grid.CurrentRow(), -1) << outside;
    }

    grid.SetCurrentRow(2);
    observer.calls.clear();
    grid.SetRowCount(3);  // row 2 survives
    EXPECT_EQ(grid.CurrentRow(), 2);
    EXPECT_EQ(observer.calls, Calls{"rows"});

    observer.calls.clear();
    grid.SetRowCount(2);
    EXPECT_EQ(grid.CurrentRow(), -1);
    EXPECT_EQ(observer.calls, (Calls{"rows", "current"}));
    grid.SetRowCount(5);
    EXPECT_EQ(grid.CurrentRow(), -1);  // growing does not bring it back
}

TEST(GridDataTest, ColumnKindsWidthsAndRightEdges) {
    GridData grid(3);
    RecordingObserver observer;
    grid.SetObserver(&observer);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(grid.ColumnKind(column), CellKind::kText);
        EXPECT_EQ(grid.ColumnWidth(column), kDefaultColumnWidth);
    }
    grid.SetColumnKind(2, CellKind::kCheckBox);
    grid.SetColumnKind(1, CellKind::kPicture);
    grid.SetColumnWidth(0, 120);
    grid.SetColumnWidth(1, 200);
    grid.SetColumnWidth(2, 17);
    EXPECT_EQ(observer.calls, Calls(5, "columns"));
    EXPECT_EQ(grid.ColumnKind(2), CellKind::kCheckBox);
    EXPECT_EQ(grid.ColumnKind(1), CellKind::kPicture);
    EXPECT_EQ(static_cast<int>(grid.ColumnKind(2)), 5);
    EXPECT_EQ(static_cast<int>(grid.ColumnKind(1)), 6);

    struct Case {
        int column;
        int right;
    } cases[] = {{-1, 0}, {0, 120}, {1, 320}, {2, 337}, {3, 337}, {99, 337}};
    for (const Case& c : cases) {
        EXPECT_EQ(grid.ColumnRight(c.column), c.right) << c.column;
    }

    observer.calls.clear();
    grid.SetColumnWidth(0, 120);  // unchanged
    grid.SetColumnKind(2, CellKind::kCheckBox);
    grid.SetColumnWidth(3, 10);  // outside
    grid.SetColumnKind(-1, CellKind::kPicture);
    EXPECT_TRUE(observer.calls.empty());
    EXPECT_EQ(grid.ColumnKind(3), CellKind::kText);
    EXPECT_EQ(grid.ColumnWidth(3), 0);
    EXPECT_EQ(grid.ColumnRight(2), 337);
}

TEST(GridDataTest, FaceAndHeightCoverExactlyTheirRange) {
    GridData grid(6);
    grid.SetRowCount(5);
    RecordingObserver observer;
    grid.SetObserver(&observer);
    grid.SetFaceName(1, 0, 3, 0, "DejaVu Sans");
    grid.SetFontHeight(0, 3, 4, 4, 25);
    EXPECT_EQ(observer.calls, (Calls{"cells 1,0-3,0", "cells 0,3-4,4"}));
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 6; ++column) {
            const bool faced = column == 0 && row >= 1 && row <= 3;
            const bool sized = column == 3 || column == 4;
            EXPECT_EQ(grid.FaceName(row, column), faced ? "DejaVu Sans" : "")
                << row << "," << column;
            EXPECT_EQ(grid.FontHeight(row, column), sized ? 25 : 0) << row << "," << column;
        }
    }

    // A range reaching past the grid is clipped, and the observer hears the clipped range.
    observer.calls.clear();
    grid.SetFontHeight(-3, 2, 100, 100, 20);
    EXPECT_EQ(observer.calls, Calls{"cells 0,2-4,5"});
    EXPECT_EQ(grid.FontHeight(4, 5), 20);
    EXPECT_EQ(grid.FontHeight(4, 1), 0);

    // Height 0 brings back the normal font.
    grid.SetFontHeight(0, 0, 4, 5, 0);
    EXPECT_EQ(grid.FontHeight(2, 3), 0);

    // Ranges with nothing inside change and report nothing.
    observer.calls.clear();
    grid.SetFaceName(3, 0, 1, 0, "X");  // reversed
    grid.SetFaceName(5, 0, 9, 5, "X");  // below the last row
    grid.SetFontHeight(0, 6, 4, 9, 20);
    EXPECT_TRUE(observer.calls.empty());
    EXPECT_EQ(grid.FaceName(3, 0), "DejaVu Sans");
}

TEST(GridDataTest, ReadsAndWritesOutsideTheGridAreSafe) {
    GridData grid(3);
    grid.SetRowCount(2);
    RecordingObserver observer;
    grid.SetObserver(&observer);
    struct Cell {
        int row;
        int column;
    } outside[] = {{-1, 0}, {0, -1}, {2, 0}, {0, 3}, {1000000, 1000000}, {-5, -5}};
    for (const Cell& c : outside) {
        grid.SetText(c.row, c.column, "x");
        grid.SetChecked(c.row, c.column, true);
        grid.SetPicture(c.row, c.column, {1});
        grid.SetFaceName(c.row, c.column, c.row, c.column, "face");
        grid.SetFontHeight(c.row, c.column, c.row, c.column, 20);
        EXPECT_EQ(grid.Text(c.row, c.column), "") << c.row << "," << c.column;
        EXPECT_FALSE(grid.Checked(c.row, c.column));
        EXPECT_TRUE(grid.Picture(c.row, c.column).empty());
        EXPECT_EQ(grid.FaceName(c.row, c.column), "");
        EXPECT_EQ(grid.FontHeight(c.row, c.column), 0);
    }
    EXPECT_TRUE(observer.calls.empty());
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(grid.Text(row, column), "");
            EXPECT_FALSE(grid.Checked(row, column));
        }
    }

    GridData noColumns(0);
    noColumns.SetRowCount(3);
    noColumns.SetText(0, 0, "x");
    EXPECT_EQ(noColumns.Text(0, 0), "");
    EXPECT_EQ(noColumns.ColumnRight(0), 0);
    EXPECT_FALSE(InsideCheckColumn(noColumns, 1));
}

TEST(GridDataTest, CellWritesReportTheirCellOnlyWhenSomethingChanged) {
    GridData grid(6);
    grid.SetRowCount(3);
    RecordingObserver observer;
    grid.SetObserver(&observer);
    grid.SetText(2, 4, "a");
    grid.SetText(2, 4, "a");
    grid.SetChecked(1, 5, true);
    grid.SetChecked(1, 5, true);
    grid.SetChecked(0, 2, false);
    grid.SetPicture(0, 1, {9});
    EXPECT_EQ(observer.calls, (Calls{"cells 2,4-2,4", "cells 1,5-1,5", "cells 0,1-0,1"}));
    grid.SetObserver(nullptr);
    grid.SetText(0, 0, "unobserved");
    EXPECT_EQ(observer.calls.size(), 3u);
}

TEST(GridDataTest, BatchSendsEachKindOnceWithTheCoveringRange) {
    GridData grid(6);
    RecordingObserver observer;
    grid.SetObserver(&observer);
    grid.BeginBatch();
    grid.SetRowCount(5000);
    grid.BeginBatch();  // nested: only the outer end reports
    for (int row = 10; row < 4000; ++row) {
        grid.SetText(row, 0, "name");
        grid.SetText(row, 1, "name");
    }
    grid.EndBatch();
    grid.SetFaceName(20, 3, 30, 3, "DejaVu Sans");
    grid.SetColumnWidth(2, 17);
    grid.SetCurrentRow(7);
    EXPECT_TRUE(observer.calls.empty());
    grid.EndBatch();
    EXPECT_EQ(observer.calls, (Calls{"rows", "columns", "cells 10,0-3999,3", "current"}));
    EXPECT_EQ(grid.Text(3999, 1), "name");
    EXPECT_EQ(grid.CurrentRow(), 7);

    // Cells written and then cut inside one batch are reported only as far as rows remain.
    observer.calls.clear();
    grid.BeginBatch();
    grid.SetText(4500, 0, "late");
    grid.SetText(100, 2, "kept");
    grid.SetRowCount(200);
    grid.EndBatch();
    EXPECT_EQ(observer.calls, (Calls{"rows", "cells 100,0-199,2"}));

    // An unmatched end does nothing.
    observer.calls.clear();
    grid.EndBatch();
    grid.SetText(0, 0, "after");
    EXPECT_EQ(observer.calls, Calls{"cells 0,0-0,0"});
}

TEST(GridDataTest, CheckColumnTogglesOnlyStrictlyBetweenItsEdges) {
    GridData grid(6);
    grid.SetColumnWidth(0, 120);
    grid.SetColumnWidth(1, 213);  // right edge 333
    grid.SetColumnWidth(2, 17);   // right edge 350
    struct Case {
        int x;
        bool inside;
    } cases[] = {
        {0, false},   {200, false}, {333, false},  // on column 1's right edge
        {334, true},  {349, true},                 // just inside either edge
        {350, false},                              // on column 2's right edge
        {351, false}, {-1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InsideCheckColumn(grid, c.x), c.inside) << c.x;
    }
    // The rule follows the current widths.
    grid.SetColumnWidth(0, 100);
    EXPECT_TRUE(InsideCheckColumn(grid, 314));
    EXPECT_FALSE(InsideCheckColumn(grid, 334));
}

}  // namespace
}  // namespace glyphwell::ui
