#include "ui/logic/FolderGrid.h"

#include <gtest/gtest.h>

namespace glyphwell::ui {
namespace {

std::vector<collections::FolderFont> Fonts(int count) {
    std::vector<collections::FolderFont> fonts;
    for (int i = 0; i < count; ++i) {
        fonts.push_back({"f" + std::to_string(i) + ".ttf", "Font " + std::to_string(i)});
    }
    return fonts;
}

TEST(FolderGrid, ColumnsNarrowFromNineteenRows) {
    struct Case {
        int width, rows, first, second;
    };
    for (const Case& c : {Case{720, 18, 480, 188}, Case{720, 19, 480, 170}, Case{663, 18, 442, 169},
                          Case{663, 19, 442, 151}, Case{100, 1, 66, -18}}) {
        EXPECT_EQ(FolderColumnWidths(c.width, c.rows), (std::array<int, 2>{c.first, c.second}))
            << c.width << " " << c.rows;
    }
}

TEST(FolderGrid, EachListingRebuildsTheRowsAllChecked) {
    GridData grid(3);
    grid.SetRowCount(5);
    EXPECT_EQ(FillFolderGrid(grid, Fonts(19), 720, kFolderNameHeight), 19);
    EXPECT_EQ(grid.ColumnWidth(1), 170);
    EXPECT_EQ(grid.FaceName(18, 1), "Font 18");
    EXPECT_EQ(grid.FontHeight(18, 0), 25);
    grid.SetChecked(1, 2, false);

    // A shorter second listing: exactly its rows, every one checked again.
    EXPECT_EQ(FillFolderGrid(grid, Fonts(2), 663, 0), 2);
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_TRUE(grid.Checked(1, 2));
    EXPECT_EQ(grid.Text(1, 0), "f1.ttf");
    EXPECT_EQ(grid.ColumnWidth(0), 442);
    EXPECT_EQ(grid.ColumnWidth(1), 169);

    // Nothing to list: one empty row, the widths kept.
    EXPECT_EQ(FillFolderGrid(grid, {}, 720, 0), 0);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Text(0, 0), "");
    EXPECT_EQ(grid.ColumnWidth(0), 442);

    // The operations read rows as they are; a row that is gone reads unchecked.
    FillFolderGrid(grid, Fonts(2), 720, 0);
    const GridFolderRows rows(grid);
    EXPECT_EQ(rows.Row(1).FileName, "f1.ttf");
    EXPECT_TRUE(rows.Row(1).Checked);
    EXPECT_FALSE(rows.Row(2).Checked);
}

}  // namespace
}  // namespace glyphwell::ui
