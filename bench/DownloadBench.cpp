// DownloadFile against the curl tool fetching the same 100 MB container from the catalogue
// service on 127.0.0.1 into a file; prints the ratio of their throughputs at the end.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "SiteServer.h"
#include "catalogue/PackedData.h"
#include "downloads/DownloadFile.h"
#include "platform/Files.h"
#include "support/Noise.h"

namespace {

using namespace glyphwell;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kUnpackedBytes = 100'000'000;

// A service root with one packed font of noise, served for the whole run and removed at exit.
struct Site {
    Site() {
        fs::create_directories(root / "ztwjj");
        const std::string packed = catalogue::PackData(test::Noise(kUnpackedBytes, 1));
        size = packed.size();
        platform::WriteWholeFile(root / "ztwjj" / "big.tmp", packed);
        server::ServeOptions options;
        options.root = root;
        options.port = 0;
        service = std::make_unique<server::SiteServer>(options);
        if (!service->Bind()) {
            std::fprintf(stderr, "cannot bind a local port\n");
            std::exit(1);
        }
        serving = std::thread([this] { service->Run(); });
        url = service->BaseAddress() + "/ztwjj/big.tmp";
    }
    ~Site() {
        service->Stop();
        serving.join();
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    const fs::path root =
        fs::temp_directory_path() / ("glyphwell-download-bench-" + std::to_string(getpid()));
    std::size_t size = 0;
    std::unique_ptr<server::SiteServer> service;
    std::thread serving;
    std::string url;
};

Site& TheSite() {
    static Site site;
    return site;
}

bool WholeFile(const fs::path& file) {
    return platform::FileSize(file) == static_cast<std::int64_t>(TheSite().size);
}

// Timed to the Finished event: the body is in and the file closed. The 100 ms pause DownloadFile
// keeps after it is no transfer time; the whole call is shown as well.
void BM_DownloadFile(benchmark::State& state) {
    Site& site = TheSite();
    const platform::HttpClient http;
    const fs::path target = site.root / "download-file.out";
    double wholeCalls = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        Clock::time_point finished = start;
        downloads::DownloadRequest request;
        request.Url = site.url;
        request.TargetPath = target;
        request.OnEvent = [&](downloads::DownloadEventKind kind, const std::string&, int) {
            if (kind == downloads::DownloadEventKind::kFinished) {
                finished = Clock::now();
            }
        };
        if (downloads::DownloadFile(http, request) != 0 || !WholeFile(target)) {
            state.SkipWithError("download failed");
            break;
        }
        wholeCalls += std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(std::chrono::duration<double>(finished - start).count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * site.size));
    state.counters["whole_call_ms"] =
        benchmark::Counter(wholeCalls * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DownloadFile)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The process start is included: that is what a shell pays for it.
void BM_CurlTool(benchmark::State& state) {
    Site& site = TheSite();
    const fs::path target = site.root / "curl.out";
    const std::string command = "curl -s -o '" + target.string() + "' '" + site.url + "'";
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        if (std::system(command.c_str()) != 0 || !WholeFile(target)) {
            state.SkipWithError("curl failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * site.size));
}
BENCHMARK(BM_CurlTool)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The console table, then DownloadFile's throughput over curl's.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            auto rate = run.counters.find("bytes_per_second");
            if (!run.error_occurred && rate != run.counters.end()) {
                rates_[run.run_name.function_name] = rate->second.value;
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto ours = rates_.find("BM_DownloadFile");
        auto curl = rates_.find("BM_CurlTool");
        if (ours != rates_.end() && curl != rates_.end() && curl->second > 0) {
            std::printf("DownloadFile %.0f MB/s, curl %.0f MB/s: %.2fx\n", ours->second / 1e6,
                        curl->second / 1e6, ours->second / curl->second);
        }
    }

  private:
    std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
