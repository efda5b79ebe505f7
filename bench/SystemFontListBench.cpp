// The installed-font list with 10,000 fonts under a private fontconfig setup: building the
// list in each order, one search keystroke, and scrolling the shown list with every name in
// its own face; `fc-list` over the same fonts is the yardstick for building.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "FontCopies.h"
#include "OffscreenApplication.h"
#include "fonts/FontFixtures.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"
#include "fonts/SystemFontOrder.h"
#include "ui/Grid.h"
#include "ui/logic/FrameLayout.h"
#include "ui/logic/SystemFontList.h"

namespace {

using namespace glyphwell;

// The window as created: the lists' widths and column widths.
const ui::FrameLayout kLayout = ui::LayoutFrame(ui::kCreatedWidth, ui::kCreatedHeight);

// GLYPHWELL_FONT_COPIES may name a folder made by make_font_copies, to skip writing the
// fonts on every run; otherwise they are written into a fresh sandbox.
std::unique_ptr<test::FontconfigSandbox> UseFontCopies() {
    const char* kept = std::getenv("GLYPHWELL_FONT_COPIES");
    if (kept == nullptr || *kept == '\0') {
        auto sandbox = std::make_unique<test::FontconfigSandbox>();
        bench::WriteFontCopies(sandbox->FontsFolder(), bench::kFontCopyCount);
        bench::LinkInterfaceFont(sandbox->SystemFolder());
        return sandbox;
    }
    const std::string dir = kept;
    bench::LinkInterfaceFont(dir + "/system");  // folders made before it was linked
    ::setenv("FONTCONFIG_FILE", (dir + "/fonts.conf").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (dir + "/cache").c_str(), 1);
    ::setenv("HOME", dir.c_str(), 1);
    return nullptr;
}

struct Installed {
    std::unique_ptr<test::FontconfigSandbox> sandbox = UseFontCopies();
    fonts::FontconfigFontSystem system;
    fonts::FontRegistry registry{system};

    Installed() {
        // Fontconfig's cache is written once here, as the desktop keeps it between runs.
        test::RunCommand("fc-cache");
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
    return bench::OffscreenApplication();
}

void BM_BuildSystemList(benchmark::State& state) {
    Installed& installed = Setup();
    const auto mode = static_cast<fonts::ListMode>(state.range(0));
    ui::GridData grid(6);
    int listed = 0;
    for (auto _ : state) {
        listed = ui::FillSystemList(grid, fonts::ListedFontNames(installed.registry, mode));
    }
    state.counters["listed"] = listed;
}
BENCHMARK(BM_BuildSystemList)
    ->ArgName("mode")
    ->Arg(static_cast<int>(fonts::ListMode::ByLanguage))
    ->Arg(static_cast<int>(fonts::ListMode::ByInitial))
    ->Arg(static_cast<int>(fonts::ListMode::ByTime))
    ->Unit(benchmark::kMillisecond);

// The yardstick: another process listing the same fonts from fontconfig's warm cache.
void BM_FcList(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        benchmark::DoNotOptimize(test::RunCommand("fc-list : family file").output.size());
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
                                        kLayout.gridWidth);
    }
    state.SetLabel(text);
    state.counters["matches"] = matches;
}
BENCHMARK(BM_SearchKeystroke)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Samples drawn from the fonts' own files, as the page does.
void UseFaceFiles(ui::Grid& grid, const fonts::FontRegistry& registry) {
    auto files =
        std::make_shared<std::unordered_map<std::string, std::string>>(ui::FaceFiles(registry));
    grid.SetFaceFiles([files](const std::string& face) {
        const auto found = files->find(face);
        return found == files->end() ? std::string() : found->second;
    });
}

void ShowSystemGrid(ui::Grid& grid) {
    for (int column = 0; column < 6; ++column) {
        grid.Data().SetColumnWidth(column,
                                   kLayout.systemGridColumns[static_cast<std::size_t>(column)]);
    }
    grid.resize(kLayout.systemGridWidth, 367);
    grid.show();
    QApplication::processEvents();
}

// The list shown in `mode` with samples from the fonts' files, laid out for scrolling.
struct ShownList {
    QApplication& application = Application();
    ui::Grid grid{6, "系统字体表格"};
    QScrollBar& bar = *grid.verticalScrollBar();

    explicit ShownList(fonts::ListMode mode) {
        ShowSystemGrid(grid);
        UseFaceFiles(grid, Setup().registry);
        ui::FillSystemList(grid.Data(), fonts::ListedFontNames(Setup().registry, mode));
        QApplication::processEvents();  // lays out the scroll range
    }

    // One frame: the list scrolled to `value` and painted.
    void PaintAt(int value) {
        bar.setValue(value);
        grid.viewport()->repaint();
    }
};

// The scroll position one page further down, back at the top after the last page.
int NextPage(const QScrollBar& bar, int value) {
    return value + bar.pageStep() > bar.maximum() ? 0 : value + bar.pageStep();
}

// The whole build as the program does it, with the shown grid's first page painted. The
// first build, which also reads the application's font database, is timed on its own.
void BM_BuildShownSystemList(benchmark::State& state) {
    Application();
    Installed& installed = Setup();
    ui::Grid grid(6, "系统字体表格");
    ShowSystemGrid(grid);
    UseFaceFiles(grid, installed.registry);
    const auto build = [&] {
        ui::FillSystemList(grid.Data(),
                           fonts::ListedFontNames(installed.registry, fonts::ListMode::ByLanguage));
        grid.viewport()->repaint();
    };
    const auto start = std::chrono::steady_clock::now();
    build();
    const std::chrono::duration<double, std::milli> first =
        std::chrono::steady_clock::now() - start;
    for (auto _ : state) {
        build();
    }
    state.counters["first_ms"] = first.count();
}
BENCHMARK(BM_BuildShownSystemList)->Unit(benchmark::kMillisecond);

// Scrolling as a wheel does, three rows a frame, up and down the first ten pages once each
// face there has been drawn: what a user looking through one stretch of the list sees.
void BM_ScrollSystemListNearby(benchmark::State& state) {
    ShownList list(fonts::ListMode::ByLanguage);
    const int end = std::min(list.bar.maximum(), 10 * list.bar.pageStep());
    for (int value = 0; value <= end; value += list.bar.pageStep()) {
        list.PaintAt(value);
    }
    int value = 0;
    int step = 3 * list.grid.RowHeight();
    for (auto _ : state) {
        if (value + step > end || value + step < 0) {
            step = -step;
        }
        value += step;
        list.PaintAt(value);
    }
}
BENCHMARK(BM_ScrollSystemListNearby)->Unit(benchmark::kMillisecond);

// One iteration is one frame: a page further down, painted; at the end it starts at the top
// again. The first pass meets each face for the first time, later ones find it cached.
void BM_ScrollSystemList(benchmark::State& state) {
    ShownList list(fonts::ListMode::ByLanguage);
    int value = 0;
    for (auto _ : state) {
        value = NextPage(list.bar, value);
        list.PaintAt(value);
    }
    state.counters["pages"] = list.bar.maximum() / std::max(list.bar.pageStep(), 1) + 1;
}
BENCHMARK(BM_ScrollSystemList)->Unit(benchmark::kMillisecond);

// A page down every 100 ms, as a user reading the list would press it: the program is idle
// between frames, and only the frames are timed.
void BM_ScrollSystemListPaced(benchmark::State& state) {
    ShownList list(fonts::ListMode::ByInitial);
    int value = 0;
    for (auto _ : state) {
        value = NextPage(list.bar, value);
        list.PaintAt(value);
        state.PauseTiming();
        const auto idleUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        while (std::chrono::steady_clock::now() < idleUntil) {
            QApplication::processEvents();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ScrollSystemListPaced)->Unit(benchmark::kMillisecond)->Iterations(200);

// The first pass alone: every frame meets faces not drawn before.
void BM_ScrollSystemListFirstPass(benchmark::State& state) {
    ShownList list(fonts::ListMode::ByInitial);
    int frames = 0;
    for (auto _ : state) {
        for (int value = 0; value <= list.bar.maximum(); value += list.bar.pageStep()) {
            list.PaintAt(value);
            ++frames;
        }
    }
    state.counters["frame_ms"] = benchmark::Counter(
        static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScrollSystemListFirstPass)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
