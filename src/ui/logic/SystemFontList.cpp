#include "ui/logic/SystemFontList.h"

#include "collections/RemoveWithCopy.h"
#include "fonts/SystemFontOrder.h"
#include "platform/Files.h"
#include "ui/logic/GridRules.h"

namespace glyphwell::ui {
namespace {

constexpr const char* kMenuCaptionHead = "删除字体  (  ";
constexpr const char* kMenuCaptionTail = "  )";

}  // namespace

int FillSystemList(GridData& grid, const std::vector<std::string>& listed) {
    const int n = static_cast<int>(listed.size());
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

UninstallOutcome BatchUninstall(fonts::FontRegistry& registry, const GridData& grid,
                                bool searchResults, const std::filesystem::path& recycleBin,
                                const std::function<void(const std::string&)>& progress) {
    UninstallOutcome outcome;
    auto process = [&](const std::string& name, int row) {
        const std::optional<fonts::FontEntry> entry = registry.FindEntry(name);
        if (!entry) {
            return;
        }
        const std::filesystem::path fileName = platform::PathFromUtf8(entry->FilePath).filename();
        if (!collections::RemoveWithCopy(registry.System(), *entry, recycleBin / fileName,
                                         collections::IfStillRunning::kKeepInstalled)) {
            outcome.keptFonts.push_back(name);
        }
        const int total = searchResults ? grid.RowCount() : registry.Count();
        const int percent = total > 0 ? row * 100 / total : 0;
        if (progress) {
            progress("卸载" + name + ".完成:" + std::to_string(percent) + "%");
        }
    };
    for (int row = 0; row < grid.RowCount(); ++row) {
        if (grid.Checked(row, 2)) {
            process(grid.Text(row, 1), row);
        }
        // The right font by its name column: the sample column may hold the custom preview.
        if (!searchResults && grid.Checked(row, 5)) {
            process(grid.Text(row, 4), row);
        }
    }
    return outcome;
}

bool DeleteSearchResultFont(fonts::FontRegistry& registry, const std::string& name,
                            const std::filesystem::path& recycleBin, bool& kept) {
    kept = false;
    if (name.empty()) {
        return false;
    }
    const std::optional<fonts::FontEntry> entry = registry.FindEntry(name);
    if (!entry) {
        return false;
    }
    // A display name comes from the font file: one that would not stay a plain file name in
    // the bin gives the installed file's own name instead.
    const std::string copyName =
        platform::IsPlainFileName(name + ".ttf")
            ? name + ".ttf"
            : platform::PathToUtf8(platform::PathFromUtf8(entry->FilePath).filename());
    kept = !collections::RemoveWithCopy(registry.System(), *entry,
                                        recycleBin / platform::PathFromUtf8(copyName),
                                        collections::IfStillRunning::kKeepCopy);
    return true;
}

}  // namespace glyphwell::ui
