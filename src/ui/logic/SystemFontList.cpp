#include "ui/logic/SystemFontList.h"

#include <array>
#include <span>
#include <unordered_set>
#include <utility>

#include "collections/RecycleBin.h"
#include "fonts/SystemFontOrder.h"
#include "platform/Files.h"
#include "ui/logic/GridRules.h"

namespace glyphwell::ui {
namespace {

constexpr const char* kMenuCaptionHead = "删除字体  (  ";
constexpr const char* kMenuCaptionTail = "  )";

// A selection mark's column and the column that names its font.
using MarkColumn = std::pair<int, int>;
constexpr std::array<MarkColumn, 2> kListMarks = {{{2, 1}, {5, 4}}};
constexpr std::array<MarkColumn, 1> kSearchMarks = {{{2, 1}}};

std::span<const MarkColumn> MarksOf(bool searchResults) {
    return searchResults ? std::span<const MarkColumn>(kSearchMarks)
                         : std::span<const MarkColumn>(kListMarks);
}

// Calls `visit(name, row)` for each ticked mark that names a font, in row order, a row's left
// font before its right one.
template <typename Visit>
void ForEachTicked(const GridData& grid, std::span<const MarkColumn> marks, Visit visit) {
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (const auto& [markColumn, nameColumn] : marks) {
            if (grid.Checked(row, markColumn) && !grid.Text(row, nameColumn).empty()) {
                visit(grid.Text(row, nameColumn), row);
            }
        }
    }
}

std::unordered_set<std::string> TickedFonts(const GridData& grid,
                                            std::span<const MarkColumn> marks) {
    std::unordered_set<std::string> ticked;
    ForEachTicked(grid, marks, [&](const std::string& name, int) { ticked.insert(name); });
    return ticked;
}

// Each mark ticked exactly when its font was ticked before the list changed: a mark never
// passes to the font that moves into its cell.
void TickAgain(GridData& grid, const std::unordered_set<std::string>& ticked,
               std::span<const MarkColumn> marks) {
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (const auto& [markColumn, nameColumn] : marks) {
            const std::string& name = grid.Text(row, nameColumn);
            grid.SetChecked(row, markColumn, !name.empty() && ticked.contains(name));
        }
    }
}

}  // namespace

int FillSystemList(GridData& grid, const std::vector<std::string>& listed) {
    const int n = static_cast<int>(listed.size());
    const std::unordered_set<std::string> ticked = TickedFonts(grid, kListMarks);
    grid.BeginBatch();
    grid.SetRowCount(n / 2 + n % 2);
    int row = 0;
    int k = 0;
    for (const std::string& name : listed) {
        const int column = k % 2 == 0 ? 0 : 3;
        grid.SetFaceName(row, column, row, column, name);
        grid.SetText(row, column, name);
        grid.SetText(row, column + 1, name);
        if (k % 2 == 1) {
            ++row;
        }
        ++k;
    }
    grid.SetRowCount(row + k % 2);
    if (k % 2 == 1) {
        // The right half of a half-filled last row may still name a font of an earlier, longer
        // list; its menu would act on that font.
        grid.SetFaceName(row, 3, row, 3, "");
        grid.SetText(row, 3, "");
        grid.SetText(row, 4, "");
    }
    grid.SetFontHeight(0, 0, grid.RowCount() - 1, 0, kSampleHeight);
    grid.SetFontHeight(0, 3, grid.RowCount() - 1, 3, kSampleHeight);
    if (k == 0) {
        grid.SetRowCount(1);
        grid.SetText(0, 0, "");
        grid.SetText(0, 1, "");
    }
    TickAgain(grid, ticked, kListMarks);
    grid.EndBatch();
    return k;
}

std::unordered_map<std::string, std::string> FaceFiles(const fonts::FontRegistry& registry) {
    std::unordered_map<std::string, std::string> files;
    const int count = registry.Count();
    files.reserve(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) {
        fonts::FontEntry entry = registry.Entry(n);
        files.emplace(std::move(entry.DisplayName), std::move(entry.FilePath));
    }
    return files;
}

std::string FontCountCaption(int count) {
    return "系统字体数:" + std::to_string(count);
}

int FillSearchResults(GridData& grid, const std::vector<std::string>& names,
                      const std::string& text, bool caseSensitive, int gridWidth) {
    const std::unordered_set<std::string> ticked = TickedFonts(grid, kSearchMarks);
    grid.BeginBatch();
    grid.SetRowCount(1);
    int s = 0;
    for (const std::string& name : names) {
        if (!fonts::SearchMatches(name, text, caseSensitive)) {
            continue;
        }
        grid.SetText(s, 0, name);
        grid.SetText(s, 1, name);
        grid.SetFaceName(s, 0, s, 0, name);
        grid.AppendRow();
        ++s;
    }
    if (s > 0) {
        grid.SetRowCount(s);
        const SearchColumns widths = SearchColumnWidths(gridWidth, s);
        grid.SetColumnWidth(0, widths.column0);
        grid.SetColumnWidth(1, widths.column1);
        grid.SetFontHeight(0, 0, s - 1, 0, kSearchSampleHeight);
    }
    TickAgain(grid, ticked, kSearchMarks);
    grid.EndBatch();
    return s;
}

std::string MenuFontCaption(const std::string& name) {
    return kMenuCaptionHead + name + kMenuCaptionTail;
}

std::string ClickedFontName(const GridData& grid, int x) {
    const int row = grid.CurrentRow();
    if (row < 0) {
        return {};
    }
    return grid.Text(row, x > kLeftRightBoundary ? 4 : 1);
}

std::string NameToCopy(const GridData& grid, const std::string& menuFont) {
    const int row = grid.CurrentRow();
    if (row < 0) {
        return {};
    }
    const std::string left = grid.Text(row, 1);
    return menuFont == left ? left : grid.Text(row, 4);
}

UninstallBatch TickedForUninstall(const GridData& grid, bool searchResults) {
    UninstallBatch batch;
    batch.searchResults = searchResults;
    batch.searchRows = searchResults ? grid.RowCount() : 0;
    // The right font by its name column: the sample column may hold the custom preview.
    ForEachTicked(grid, MarksOf(searchResults), [&](const std::string& name, int row) {
        batch.fonts.push_back({name, row});
    });
    return batch;
}

UninstallOutcome BatchUninstall(fonts::FontRegistry& registry, const UninstallBatch& batch,
                                const std::filesystem::path& recycleBin,
                                const std::function<void(const std::string&)>& progress) {
    UninstallOutcome outcome;
    for (const UninstallBatch::Ticked& font : batch.fonts) {
        if (!registry.FindEntry(font.name)) {
            continue;
        }
        const collections::CollectionOutcome done = collections::RecycleInstalledFont(
            registry, font.name, recycleBin, collections::kUninstallTicked);
        for (const collections::KeptFile& kept : done.Kept) {
            outcome.keptFonts.push_back(kept.Name);
            outcome.reasons.push_back(kept.Reason);
        }
        const int total = batch.searchResults ? batch.searchRows : registry.Count();
        const int percent = total > 0 ? font.row * 100 / total : 0;
        if (progress) {
            progress("卸载" + font.name + ".完成:" + std::to_string(percent) + "%");
        }
    }
    return outcome;
}

UninstallOutcome BatchUninstall(fonts::FontRegistry& registry, const GridData& grid,
                                bool searchResults, const std::filesystem::path& recycleBin,
                                const std::function<void(const std::string&)>& progress) {
    return BatchUninstall(registry, TickedForUninstall(grid, searchResults), recycleBin, progress);
}

std::vector<std::string> NamesOf(const UninstallBatch& batch) {
    std::vector<std::string> names;
    names.reserve(batch.fonts.size());
    for (const UninstallBatch::Ticked& font : batch.fonts) {
        names.push_back(font.name);
    }
    return names;
}

std::vector<std::string> TickedFontNames(const GridData& grid, bool searchResults) {
    return NamesOf(TickedForUninstall(grid, searchResults));
}

bool DeleteSearchResultFont(fonts::FontRegistry& registry, const std::string& name,
                            const std::filesystem::path& recycleBin, bool& kept) {
    kept = false;
    if (name.empty() || !registry.FindEntry(name)) {
        return false;
    }
    kept = !collections::RecycleInstalledFont(registry, name, recycleBin,
                                              collections::kDeleteSearchResult)
                .Kept.empty();
    return true;
}

}  // namespace glyphwell::ui
