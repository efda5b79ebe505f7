// The system font list's worst case on a shown grid: 10,000 fonts two to a row, each sample
// cell in its own face, written cell by cell; the search list grown one row at a time; and
// scrolling the whole list a page at a time, painting every page.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <string>

#include "OffscreenApplication.h"
#include "ui/Grid.h"

namespace {

using namespace glyphwell::ui;

constexpr int kFontCount = 10000;
constexpr int kRows = kFontCount / 2;

const char* const kFaces[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "DejaVu Sans Bold",
                              "No Such Face"};

void ShowGrid(Grid& grid) {
    const int widths[] = {213, 120, 17, 213, 120, 17};
    for (int column = 0; column < grid.Data().ColumnCount(); ++column) {
        grid.Data().SetColumnWidth(column, widths[column % 6]);
    }
    grid.resize(736, 460);
    grid.show();
    QApplication::processEvents();
}

// Cell by cell, the way the list is rebuilt.
void FillSystemList(GridData& data) {
    data.SetRowCount(kRows);
    for (int k = 0; k < kFontCount; ++k) {
        const int row = k / 2;
        const int column = k % 2 == 0 ? 0 : 3;
        const std::string name = std::string(kFaces[k % 5]) + " " + std::to_string(k);
        data.SetFaceName(row, column, row, column, kFaces[k % 5]);
        data.SetText(row, column, name);
        data.SetText(row, column + 1, name);
    }
    data.SetFontHeight(0, 0, kRows - 1, 0, 20);
    data.SetFontHeight(0, 3, kRows - 1, 3, 20);
}

void BM_FillSystemList(benchmark::State& state) {
    glyphwell::bench::OffscreenApplication();
    Grid grid(6, "系统字体表格");
    ShowGrid(grid);
    for (auto _ : state) {
        grid.Data().SetRowCount(0);
        FillSystemList(grid.Data());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FillSystemList)->Unit(benchmark::kMillisecond);

void BM_AppendSearchRows(benchmark::State& state) {
    glyphwell::bench::OffscreenApplication();
    Grid grid(3, "系统字体表格2");
    ShowGrid(grid);
    for (auto _ : state) {
        grid.Data().SetRowCount(1);
        for (int s = 0; s < kFontCount; ++s) {
            grid.Data().SetText(s, 0, kFaces[s % 5]);
            grid.Data().SetFaceName(s, 0, s, 0, kFaces[s % 5]);
            grid.Data().AppendRow();
        }
        QApplication::processEvents();
    }
}
BENCHMARK(BM_AppendSearchRows)->Unit(benchmark::kMillisecond);

// One iteration scrolls from the top to the bottom, painting each page.
void BM_ScrollWholeList(benchmark::State& state) {
    glyphwell::bench::OffscreenApplication();
    Grid grid(6, "系统字体表格");
    ShowGrid(grid);
    FillSystemList(grid.Data());
    QApplication::processEvents();  // lays out the scroll range
    QScrollBar* bar = grid.verticalScrollBar();
    for (auto _ : state) {
        for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
            bar->setValue(value);
            grid.viewport()->repaint();
        }
    }
    state.counters["pages"] = bar->maximum() / std::max(bar->pageStep(), 1) + 1;
}
BENCHMARK(BM_ScrollWholeList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
