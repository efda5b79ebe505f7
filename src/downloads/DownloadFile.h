#pragma once
// One file fetched over HTTP into a file on disk, with progress news: the transfer under every
// catalogue font download.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "platform/HttpClient.h"

namespace glyphwell::downloads {

enum class DownloadEventKind { kProgress = 0, kFinished = 1, kFailed = 2 };

struct DownloadRequest {
    std::string Url;
    std::filesystem::path TargetPath;
    // Handed back with every event, so that one handler can serve many downloads.
    std::string Tag;
    // Asks for the body from this byte on and appends it to the target; none starts afresh.
    std::optional<std::int32_t> ResumeFrom;
    // Called on the calling thread of DownloadFile. Progress comes after a piece while fewer
    // bytes than the announced length are in; Finished (percent 100) once the body is whole
    // and the target closed; Failed (percent 0) on any failure.
    std::function<void(DownloadEventKind kind, const std::string& tag, int percent)> OnEvent;
};

// Where a failed download stopped; the catalogue update tells these apart.
enum class DownloadFailure {
    kNone,
    kNoSession,  // no transfer could be set up at all
    kAddress,    // no answer: bad address, nothing listening, connection time-out
    kTarget,     // the target file cannot be created or written
    kTransfer,   // the answer broke off, stalled or was above the container cap
};

// One GET of Url with the font-download header block (the client's time-outs apply, its own
// header block does not). The body goes to TargetPath exactly as received, whatever the status
// or content encoding; the target is opened once the response head is in, so a failed connection
// leaves it as it was. A Content-Length or body above the container cap fails. 0 when the body was
// received to its end, -1 otherwise. Blocks the calling thread.
// `failure`, when given, says where a failed download stopped; `targetError` why the target
// could not be written.
int DownloadFile(const platform::HttpClient& http, const DownloadRequest& request,
                 DownloadFailure* failure = nullptr, std::error_code* targetError = nullptr);

}  // namespace glyphwell::downloads
