// The installed-font list with 10,000 fonts under a private fontconfig setup: building the
// list in each order, one search keystroke, and scrolling the shown list with every name in
// its own face; `fc-list` over the same fonts is the yardstick for building.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "FontCopies.h"
#include "fonts/FontFixtures.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"
#include "fonts/SystemFontOrder.h"
#include "ui/Grid.h"
#include "ui/logic/SystemFontList.h"

namespace {

using namespace glyphwell;

constexpr int kSearchGridWidth = 734;
constexpr std::array<int, 6> kSystemGridColumns = {210, 120, 27, 210, 120, 27};

struct Installed {
    test::FontconfigSandbox sandbox;
    fonts::FontconfigFontSystem system;
    fonts::FontRegistry registry{system};

    Installed() {
        bench::WriteFontCopies(sandbox.FontsFolder(), bench::kFontCopyCount);
        // Fontconfig's cache is written once here, as the desktop keeps it between runs.
        test::RunCommand("fc-cache " + sandbox.FontsFolder().string());
        registry.LoadFontTable();
    }
};

// The fonts come first: the application's font database reads the sandbox's configuration.
Installed& Setup() {
    static Installed installed;
    return installed;
}

QApplication& Application() {
    Setup();
    static int argc = 1;
    static char name[] = "system_font_list_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *application;
}

void BM_BuildSystemList(benchmark::State& state) {
    Installed& installed = Setup();
    const int mode = static_cast<int>(state.range(0));
    ui::GridData grid(6);
    int listed = 0;
    for (auto _ : state) {
        listed = ui::FillSystemList(grid, fonts::ListedFontNames(installed.registry, mode));
    }
    state.counters["listed"] = listed;
}
BENCHMARK(BM_BuildSystemList)
    ->ArgName("mode")
    ->Arg(fonts::ByLanguage)
    ->Arg(fonts::ByInitial)
    ->Arg(fonts::ByTime)
    ->Unit(benchmark::kMillisecond);

// The yardstick: another process listing the same fonts from fontconfig's warm cache.
void BM_FcList(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        benchmark::DoNotOptimize(test::RunCommand("fc-list : family file").size());
    }
}
BENCHMARK(BM_FcList)->Unit(benchmark::kMillisecond)->UseRealTime();

// Many matches, a few, and a Chinese text.
const std::array<const char*, 3> kSearchTexts = {"a", "999", "楷体"};

void BM_SearchKeystroke(benchmark::State& state) {
    Installed& installed = Setup();
    const std::string text = kSearchTexts[static_cast<std::size_t>(state.range(0))];
    ui::GridData grid(3);
    int matches = 0;
    for (auto _ : state) {
        // The names are fetched per keystroke, as the page does.
        matches = ui::FillSearchResults(grid, installed.registry.DisplayNames(), text, false,
                                        kSearchGridWidth);
    }
    state.SetLabel(text);
    state.counters["matches"] = matches;
}
BENCHMARK(BM_SearchKeystroke)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void ShowSystemGrid(ui::Grid& grid) {
    for (int column = 0; column < 6; ++column) {
        grid.Data().SetColumnWidth(column, kSystemGridColumns[static_cast<std::size_t>(column)]);
    }
    grid.resize(736, 367);
    grid.show();
    QApplication::processEvents();
}

// The whole build as the program does it, with the shown grid's first page painted.
void BM_BuildShownSystemList(benchmark::State& state) {
    Application();
    Installed& installed = Setup();
    ui::Grid grid(6, "系统字体表格");
    ShowSystemGrid(grid);
    for (auto _ : state) {
        ui::FillSystemList(grid.Data(), fonts::ListedFontNames(installed.registry, fonts::ByLanguage));
        grid.viewport()->repaint();
    }
}
BENCHMARK(BM_BuildShownSystemList)->Unit(benchmark::kMillisecond);

// One iteration is one frame: a page further down, painted; at the end it starts at the top
// again. The first pass meets each face for the first time, later ones find it cached.
void BM_ScrollSystemList(benchmark::State& state) {
    Application();
    Installed& installed = Setup();
    ui::Grid grid(6, "系统字体表格");
    ShowSystemGrid(grid);
    ui::FillSystemList(grid.Data(), fonts::ListedFontNames(installed.registry, fonts::ByLanguage));
    QApplication::processEvents();  // lays out the scroll range
    QScrollBar* bar = grid.verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value = value + bar->pageStep() > bar->maximum() ? 0 : value + bar->pageStep();
        bar->setValue(value);
        grid.viewport()->repaint();
    }
    state.counters["pages"] = bar->maximum() / std::max(bar->pageStep(), 1) + 1;
}
BENCHMARK(BM_ScrollSystemList)->Unit(benchmark::kMillisecond);

// The first pass alone: every frame meets faces not drawn before.
void BM_ScrollSystemListFirstPass(benchmark::State& state) {
    Application();
    Installed& installed = Setup();
    ui::Grid grid(6, "系统字体表格");
    ShowSystemGrid(grid);
    ui::FillSystemList(grid.Data(), fonts::ListedFontNames(installed.registry, fonts::ByInitial));
    QApplication::processEvents();
    QScrollBar* bar = grid.verticalScrollBar();
    int frames = 0;
    for (auto _ : state) {
        for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
            bar->setValue(value);
            grid.viewport()->repaint();
            ++frames;
        }
    }
    state.counters["frame_ms"] = benchmark::Counter(
        static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScrollSystemListFirstPass)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
