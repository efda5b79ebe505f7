#pragma once
// A folder list in its grid: file name, display name and a check box a row. The grid is the
// only record of a listing; the operations read their rows back from it when they reach them.

#include <array>
#include <string>
#include <vector>

#include "collections/FontFolders.h"
#include "ui/logic/GridData.h"

namespace glyphwell::ui {

// The downloaded fonts' file names are 25 pixels high: ascent plus descent, not the em.
inline constexpr int kFolderNameHeight = 25;

// Columns 0 and 1 of a folder grid `width` pixels wide holding `rows` rows: two thirds, and a
// third less 52 (less 70 from 19 rows on, when the scroll bar takes its place).
std::array<int, 2> FolderColumnWidths(int width, int rows);

// Lists `fonts` into `grid`, every row checked, and returns their number. With a `nameHeight`
// (a cell font height; 0 for none) each display name shows in its own face and each file name
// at that height. With no font the grid
// keeps a single empty row and its widths; otherwise it has one row a font and the widths for
// `width`.
int FillFolderGrid(GridData& grid, const std::vector<collections::FolderFont>& fonts, int width,
                   int nameHeight);

// The grid's rows as they are when read: a row that is gone reads as unchecked.
class GridFolderRows : public collections::FolderRows {
  public:
    explicit GridFolderRows(const GridData& grid) : grid_(grid) {}
    int RowCount() const override { return grid_.RowCount(); }
    collections::FolderRow Row(int row) const override;

  private:
    const GridData& grid_;
};

// The grid's rows as they are now, for work that runs while the grid may change.
collections::FixedRows SnapshotRows(const GridData& grid);

// A line break and "name（reason）" for each kept file, to follow a message that tells of them.
std::string KeptFilesText(const std::vector<collections::KeptFile>& kept);

// Below a question that removes or deletes: the count and the first ten names.
std::string NamesToActOn(const std::vector<std::string>& names);

}  // namespace glyphwell::ui
