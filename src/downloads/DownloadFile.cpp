#include "downloads/DownloadFile.h"

#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "catalogue/PackedData.h"
#include "catalogue/ServerRequests.h"

namespace glyphwell::downloads {
namespace {

// Left between the end of the body and the return, as the download page has always had it.
constexpr std::chrono::milliseconds kSettleAfterFinish{100};
// Pieces come at most HttpClient::kReadSize at a time; fewer, larger writes keep up with them.
constexpr std::size_t kWriteBufferSize = 256 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

int Percent(std::int64_t received, std::int32_t length) {
    return static_cast<int>(static_cast<double>(received) * 100.0 / length);
}

}  // namespace

int DownloadFile(const platform::HttpClient& http, const DownloadRequest& request,
                 DownloadFailure* failure, std::error_code* targetError) {
    auto report = [&request](DownloadEventKind kind, int percent) {
        if (request.OnEvent) {
            request.OnEvent(kind, request.Tag, percent);
        }
    };
    auto stoppedAt = [failure](DownloadFailure where) {
        if (failure != nullptr) {
            *failure = where;
        }
    };
    stoppedAt(DownloadFailure::kNone);
    if (request.ResumeFrom && *request.ResumeFrom < 0) {
        stoppedAt(DownloadFailure::kTarget);
        report(DownloadEventKind::kFailed, 0);
        return -1;
    }

    platform::HttpOptions options = http.Options();
    options.headerBlock = std::string(catalogue::kFontDownloadHeaders);
    std::int64_t received = 0;
    if (request.ResumeFrom) {
        options.headerBlock += "\r\nRange:bytes=" + std::to_string(*request.ResumeFrom) + "-";
        received = *request.ResumeFrom;
    }
    const platform::HttpClient client(options);

    // Declared before the file, which flushes into it when it closes.
    std::unique_ptr<char[]> buffer;
    File file;
    std::int32_t length = 0;
    bool answered = false;
    bool targetFailed = false;
    auto targetFails = [&] {
        targetFailed = true;
        if (targetError != nullptr) {
            *targetError = std::error_code(errno, std::generic_category());
        }
        return false;
    };
    const platform::HttpTransfer transfer = client.Stream(
        request.Url,
        [&](const platform::HttpResponseHead& head) {
            answered = true;
            // Lengths that do not fit in 32 bits are above the cap as well.
            if (head.contentLength && *head.contentLength > catalogue::kPackedDataMaxBound) {
                return false;
            }
            length = static_cast<std::int32_t>(head.contentLength.value_or(0));
            file.reset(std::fopen(request.TargetPath.c_str(), request.ResumeFrom ? "abe" : "wbe"));
            if (!file) {
                return targetFails();
            }
            // Held while written, so that a start of the program meanwhile keeps it.
            ::flock(::fileno(file.get()), LOCK_EX | LOCK_NB);
            buffer = std::make_unique_for_overwrite<char[]>(kWriteBufferSize);
            std::setvbuf(file.get(), buffer.get(), _IOFBF, kWriteBufferSize);
            return true;
        },
        [&](std::string_view piece) {
            if (static_cast<std::int64_t>(piece.size()) >
                catalogue::kPackedDataMaxBound - received) {
                return false;
            }
            if (std::fwrite(piece.data(), 1, piece.size(), file.get()) != piece.size()) {
                return targetFails();
            }
            received += static_cast<std::int64_t>(piece.size());
            if (received < length) {
                report(DownloadEventKind::kProgress, Percent(received, length));
            }
            return true;
        });
    // The file is whole and closed before anyone hears of the end.
    const bool closed = file != nullptr && (std::fclose(file.release()) == 0 || targetFails());
    if (!transfer.ok || !closed) {
        stoppedAt(transfer.noSession ? DownloadFailure::kNoSession
                  : !answered        ? DownloadFailure::kAddress
                  : targetFailed     ? DownloadFailure::kTarget
                                     : DownloadFailure::kTransfer);
        report(DownloadEventKind::kFailed, 0);
        return -1;
    }
    report(DownloadEventKind::kFinished, 100);
    std::this_thread::sleep_for(kSettleAfterFinish);
    return 0;
}

}  // namespace glyphwell::downloads
