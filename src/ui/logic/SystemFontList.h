#pragma once
// The installed-font list's grids: two fonts a row in the main list, one a row in the search
// results, the menus' font caption, and removing ticked fonts into the recycle bin.
// The grids are the interface thread's; callers on other threads hand the work over to it.

#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "fonts/FontRegistry.h"
#include "ui/logic/GridData.h"

namespace glyphwell::ui {

inline constexpr int kSampleHeight = 20;        // main list samples
inline constexpr int kSearchSampleHeight = 25;  // search-result samples
inline constexpr int kLeftRightBoundary = 334;  // a click right of it means the right font

// Writes the listed fonts into `grid` two to a row and returns how many were listed. A font's
// selection mark (columns 2 and 5) stays ticked when it was, wherever the font now stands;
// every other mark is cleared. The empty right half of a half-filled last row
// holds no name. No font leaves one empty row.
int FillSystemList(GridData& grid, const std::vector<std::string>& listed);

// The installed fonts' files by display name, for drawing samples from the files themselves.
std::unordered_map<std::string, std::string> FaceFiles(const fonts::FontRegistry& registry);

// "系统字体数:" + count.
std::string FontCountCaption(int count);

// The fonts of `names` that contain `text` (on GBK character boundaries; ignoring ASCII case
// unless `caseSensitive`), one a row, each keeping its mark as in FillSystemList; sets the
// column widths for `gridWidth`. Returns the
// number of matches; with none the grid is left as it was apart from its rows.
int FillSearchResults(GridData& grid, const std::vector<std::string>& names,
                      const std::string& text, bool caseSensitive, int gridWidth);

// "删除字体  (  " + name + "  )": the menu item that shows which font the menu acts on.
std::string MenuFontCaption(const std::string& name);

// The font a right click at `x` on the main list's current row points at; empty without a
// current row.
std::string ClickedFontName(const GridData& grid, int x);
// The name "复制字体名" of the main list's menu copies: the left font of the current row when
// the menu acts on it, else the right one.
std::string NameToCopy(const GridData& grid, const std::string& menuFont);

struct UninstallOutcome {
    std::vector<std::string> keptFonts;  // left installed because their copy failed
    std::vector<std::string> reasons;    // why, one for each kept font
};

// The ticked fonts of a list as they are when "卸载" is pressed: what the batch works on while
// the list may change under it.
struct UninstallBatch {
    struct Ticked {
        std::string name;
        int row = 0;
    };
    std::vector<Ticked> fonts;  // in row order, a row's left font before its right one
    bool searchResults = false;
    int searchRows = 0;  // the search list's row count, for the percentage
};
UninstallBatch TickedForUninstall(const GridData& grid, bool searchResults);
// The batch's font names, in its order.
std::vector<std::string> NamesOf(const UninstallBatch& batch);

// Removes the batch's fonts into `recycleBin` (collections::RecycleInstalledFont), each copy
// under its file's name. `progress` gets the text after each processed font: the percentage is
// the row over the search list's rows, or over the installed fonts counted now. Any thread.
UninstallOutcome BatchUninstall(fonts::FontRegistry& registry, const UninstallBatch& batch,
                                const std::filesystem::path& recycleBin,
                                const std::function<void(const std::string&)>& progress);
// The same for the ticked fonts of `grid` (the search results when `searchResults`, else the
// main list).
UninstallOutcome BatchUninstall(fonts::FontRegistry& registry, const GridData& grid,
                                bool searchResults, const std::filesystem::path& recycleBin,
                                const std::function<void(const std::string&)>& progress);

// The ticked fonts of `grid` (the search results when `searchResults`), in row order.
std::vector<std::string> TickedFontNames(const GridData& grid, bool searchResults);

// Removes one font into `recycleBin`, its copy named display name + ".ttf". False
// when the font is not in the table; `kept` is set when its copy failed and it stays.
bool DeleteSearchResultFont(fonts::FontRegistry& registry, const std::string& name,
                            const std::filesystem::path& recycleBin, bool& kept);

}  // namespace glyphwell::ui
