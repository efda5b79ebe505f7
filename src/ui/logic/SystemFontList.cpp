#include "ui/logic/SystemFontList.h"

#include "fonts/SystemFontOrder.h"
#include "platform/Encoding.h"
#include "platform/Files.h"

namespace glyphwell::ui {
namespace {

constexpr const char* kMenuCaptionHead = "删除字体  (  ";
constexpr const char* kMenuCaptionTail = "  )";
constexpr std::size_t kMenuCaptionHeadBytes = 13;  // its GBK length
constexpr std::size_t kMenuCaptionTailBytes = 3;

// The copy is trusted only when it is as long as its source.
bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!platform::CopyFile(from, to, true)) {
        return false;
    }
    const auto source = platform::FileSize(from);
    return source.has_value() && platform::FileSize(to) == source;
}

constexpr const char* kPartialCopyPrefix = ".glyphwell-partial-";

// Removes one installed font, its file kept as `copy`. The copy is made under a passing name
// and takes its own name only once the font is out, so a failed copy or a refused uninstall
// never costs an older file of that name. False when the font stays installed because the
// copy failed; with `keepCopy` a refused uninstall still leaves the copy.
bool RemoveWithCopy(fonts::FontRegistry& registry, int n, const std::filesystem::path& copy,
                    bool keepCopy) {
    const fonts::FontEntry entry = registry.Entry(n);
    const std::filesystem::path installed = platform::PathFromUtf8(entry.FilePath);
    std::filesystem::path partial = copy;
    partial.replace_filename(kPartialCopyPrefix + copy.filename().string());
    if (!CopyWhole(installed, partial)) {
        platform::DeleteFile(partial);
        return false;
    }
    const bool uninstalled = fonts::UninstallFont(registry, n);
    std::error_code error;
    if (uninstalled || keepCopy) {
        std::filesystem::rename(partial, copy, error);
    } else {
        platform::DeleteFile(partial);
    }
    if (uninstalled && !error) {
        platform::DeleteFile(installed);
    }
    return true;
}

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
    const int count = registry.count();
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
        const fonts::SearchColumns widths = fonts::SearchColumnWidths(gridWidth, s);
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

std::string NameFromMenuCaption(const std::string& caption) {
    const std::string gbk = platform::Utf8ToGbk(caption);
    if (gbk.size() < kMenuCaptionHeadBytes + kMenuCaptionTailBytes) {
        return {};
    }
    return platform::GbkToUtf8(gbk.substr(
        kMenuCaptionHeadBytes, gbk.size() - kMenuCaptionHeadBytes - kMenuCaptionTailBytes));
}

std::string ClickedFontName(const GridData& grid, int x) {
    const int row = grid.CurrentRow();
    if (row < 0) {
        return {};
    }
    return grid.Text(row, x > kLeftRightBoundary ? 4 : 1);
}

std::string NameToCopy(const GridData& grid, const std::string& deleteItemCaption) {
    const int row = grid.CurrentRow();
    if (row < 0) {
        return {};
    }
    const std::string left = grid.Text(row, 1);
    return deleteItemCaption == MenuFontCaption(left) ? left : grid.Text(row, 4);
}

UninstallOutcome BatchUninstall(fonts::FontRegistry& registry, const GridData& grid,
                                bool searchResults, const std::filesystem::path& recycleBin,
                                const std::function<void(const std::string&)>& progress) {
    UninstallOutcome outcome;
    auto process = [&](const std::string& name, int row) {
        const int n = registry.FindFontEntry(name);
        if (n == 0) {
            return;
        }
        const std::filesystem::path fileName =
            platform::PathFromUtf8(registry.FilePath(n)).filename();
        if (!RemoveWithCopy(registry, n, recycleBin / fileName, false)) {
            outcome.keptFonts.push_back(name);
        }
        const int total = searchResults ? grid.RowCount() : registry.count();
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
    const int n = registry.FindFontEntry(name);
    if (n == 0) {
        return false;
    }
    kept = !RemoveWithCopy(registry, n, recycleBin / platform::PathFromUtf8(name + ".ttf"), true);
    return true;
}

}  // namespace glyphwell::ui
