// DownloadFile against the curl tool fetching the same 100 MB container from a server on
// 127.0.0.1 into a file; prints the ratio of their throughputs (medians with repetitions).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "catalogue/PackedData.h"
#include "downloads/DownloadFile.h"
#include "platform/Files.h"
#include "support/LocalHttpServer.h"
#include "support/Noise.h"

namespace {

using namespace glyphwell;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kUnpackedBytes = 100'000'000;

// One packed font of noise, held in memory and served from it in large pieces, so that the
// server costs both clients as little as it can; the files go to a temporary folder.
struct Site {
    Site() : packed(catalogue::PackData(test::Noise(kUnpackedBytes, 1))) {
        fs::create_directories(root);
        server.Server().Get(
            "/ztwjj/big.tmp", [this](const httplib::Request&, httplib::Response& res) {
                res.set_content_provider(
                    packed.size(), "application/octet-stream",
                    [this](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                        return sink.write(packed.data() + offset, std::min(length, kServePiece));
                    });
            });
        server.Start();
        url = server.Base() + "/ztwjj/big.tmp";
    }
    ~Site() {
        server.Stop();
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    static constexpr std::size_t kServePiece = 1 << 20;
    const std::string packed;
    const fs::path root =
        fs::temp_directory_path() / ("glyphwell-download-bench-" + std::to_string(getpid()));
    test::LocalHttpServer server;
    std::string url;
};

Site& TheSite() {
    static Site site;
    return site;
}

bool WholeFile(const fs::path& file) {
    return platform::FileSize(file) == static_cast<std::int64_t>(TheSite().packed.size());
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
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * site.packed.size()));
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
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * site.packed.size()));
}
BENCHMARK(BM_CurlTool)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The console table, then DownloadFile's throughput over curl's.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            auto rate = run.counters.find("bytes_per_second");
            if (run.error_occurred || rate == run.counters.end()) {
                continue;
            }
            if (run.run_type == Run::RT_Iteration) {
                runs_[run.run_name.function_name] = rate->second.value;
            } else if (run.aggregate_name == "median") {
                medians_[run.run_name.function_name] = rate->second.value;
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto& rates = medians_.empty() ? runs_ : medians_;
        auto ours = rates.find("BM_DownloadFile");
        auto curl = rates.find("BM_CurlTool");
        if (ours != rates.end() && curl != rates.end() && curl->second > 0) {
            std::printf("DownloadFile %.0f MB/s, curl %.0f MB/s: %.2fx\n", ours->second / 1e6,
                        curl->second / 1e6, ours->second / curl->second);
        }
    }

  private:
    std::map<std::string, double> runs_;
    std::map<std::string, double> medians_;
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
