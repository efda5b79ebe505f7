// LoadFontTable over 2,000 installed font files against `fc-list : family file` in the same
// private fontconfig setup, both with fontconfig's caches warm.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "fonts/FontFixtures.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using namespace glyphwell;

constexpr int kFileCount = 2000;

struct Installed {
    test::FontconfigSandbox sandbox;
    test::TempDir staging;

    Installed() {
        // Hard links: 2,000 distinct font files without 2,000 copies on disk.
        const std::array<fs::path, 5> sources = {
            test::kDejaVuSans, test::kDejaVuFolder / "DejaVuSans-Bold.ttf",
            test::kDejaVuFolder / "DejaVuSerif.ttf", test::kDejaVuFolder / "DejaVuSansMono.ttf",
            test::kDejaVuFolder / "DejaVuSans-ExtraLight.ttf"};
        for (std::size_t i = 0; i < sources.size(); ++i) {
            fs::copy_file(sources[i], staging / (std::to_string(i) + ".ttf"));
        }
        for (int i = 0; i < kFileCount; ++i) {
            fs::create_hard_link(staging / (std::to_string(i % sources.size()) + ".ttf"),
                                 sandbox.FontsFolder() / ("font" + std::to_string(i) + ".ttf"));
        }
        // Warm fontconfig's caches.
        test::RunCommand("fc-list : family file > /dev/null");
    }
};

Installed& Setup() {
    static Installed installed;
    return installed;
}

void LoadOnce() {
    // A fresh configuration each time, as a new fc-list process loads one.
    fonts::FontconfigFontSystem system;
    fonts::FontRegistry registry(system);
    registry.LoadFontTable();
    benchmark::DoNotOptimize(registry.Count());
}

// The process's first load opens every file; it must run first, once.
void BM_LoadFontTableFirst(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        LoadOnce();
    }
}
BENCHMARK(BM_LoadFontTableFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// Every later load: the reloads after each change to the installed fonts.
void BM_LoadFontTable(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        LoadOnce();
    }
}
BENCHMARK(BM_LoadFontTable)->Unit(benchmark::kMillisecond)->UseRealTime();

// Listing the files alone, without naming them.
void BM_EnumerateFontsKey(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        fonts::FontconfigFontSystem system;
        benchmark::DoNotOptimize(system.EnumerateFontsKey().size());
    }
}
BENCHMARK(BM_EnumerateFontsKey)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FcList(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        benchmark::DoNotOptimize(test::RunCommand("fc-list : family file").output.size());
    }
}
BENCHMARK(BM_FcList)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
