// ReadCataloguePage on a 50,000-row table against mdb-export of the same table, and UnpackData
// against bare zlib on the same buffer.

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/PackedData.h"
#include "jet/JetWriter.h"
#include "support/Noise.h"

namespace {

using namespace glyphwell;

constexpr int kRows = 50000;

// The 50,000-row file, written once and removed at exit.
struct TemporaryCatalogue {
    TemporaryCatalogue() {
        jet::JetTable table{"大表",
                            {{"字体名", jet::ColumnType::Text},
                             {"字体地址", jet::ColumnType::Text},
                             {"图片", jet::ColumnType::LongBinary}},
                            {}};
        for (int i = 0; i < kRows; ++i) {
            table.rows.push_back({"字体" + std::to_string(i), "a/" + std::to_string(i),
                                  catalogue::PackData("\xFF\xD8" + test::Noise(600, i))});
        }
        jet::WriteJetDatabase(path, {table});
    }
    ~TemporaryCatalogue() { std::filesystem::remove(path); }

    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("glyphwell-bench-" + std::to_string(getpid()) + ".mdb");
};

const std::filesystem::path& CatalogueFile() {
    static const TemporaryCatalogue file;
    return file.path;
}

catalogue::CatalogueDatabase& OpenedCatalogue() {
    static catalogue::CatalogueDatabase* db = [] {
        auto* opened = new catalogue::CatalogueDatabase(CatalogueFile());
        opened->OpenCatalogue();
        opened->CountCatalogueFonts("大表");  // the one-time check of the table
        return opened;
    }();
    return *db;
}

void BM_ReadCataloguePage(benchmark::State& state) {
    catalogue::CatalogueDatabase& db = OpenedCatalogue();
    const int page = state.range(0) == 0 ? 1 : catalogue::PageCount(kRows);
    for (auto _ : state) {
        catalogue::CataloguePage read = db.ReadCataloguePage("大表", page);
        if (read.Fonts.empty()) {
            state.SkipWithError("no rows");
        }
        benchmark::DoNotOptimize(read);
    }
}
BENCHMARK(BM_ReadCataloguePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Opening the file and reading page 1, including the first check of the table.
void BM_OpenAndFirstPage(benchmark::State& state) {
    CatalogueFile();
    for (auto _ : state) {
        catalogue::CatalogueDatabase db(CatalogueFile());
        db.OpenCatalogue();
        benchmark::DoNotOptimize(db.ReadCataloguePage("大表", 1));
    }
}
BENCHMARK(BM_OpenAndFirstPage)->Unit(benchmark::kMillisecond);

void BM_MdbExport(benchmark::State& state) {
    const std::string command = "mdb-export '" + CatalogueFile().string() + "' 大表 >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("mdb-export failed");
        }
    }
}
BENCHMARK(BM_MdbExport)->Unit(benchmark::kMillisecond)->Iterations(3);

// A font-sized buffer that compresses about as well as font files do.
const std::string& Unpacked() {
    static const std::string bytes = [] {
        std::string out;
        for (int i = 0; out.size() < 8 * 1024 * 1024; ++i) {
            out += test::Noise(64, i % 97) + std::string(192, static_cast<char>(i));
        }
        return out;
    }();
    return bytes;
}

void BM_UnpackData(benchmark::State& state) {
    const std::string packed = catalogue::PackData(Unpacked());
    for (auto _ : state) {
        benchmark::DoNotOptimize(catalogue::UnpackData(packed));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Unpacked().size()));
}
BENCHMARK(BM_UnpackData)->Unit(benchmark::kMillisecond);

void BM_ZlibUncompress(benchmark::State& state) {
    const std::string packed = catalogue::PackData(Unpacked());
    std::string out(2 * Unpacked().size(), '\0');
    for (auto _ : state) {
        uLongf produced = static_cast<uLongf>(out.size());
        uncompress(reinterpret_cast<Bytef*>(out.data()), &produced,
                   reinterpret_cast<const Bytef*>(packed.data() + 8),
                   static_cast<uLong>(packed.size() - 8));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Unpacked().size()));
}
BENCHMARK(BM_ZlibUncompress)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
