#pragma once
// Catalogue font downloads: each on a worker thread of its own, fetched to a temporary file in
// the download folder, then unpacked, kept as FontName + ".ttf", installed and the font table
// reloaded, one download at a time under DownloadLock.

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "fonts/FontRegistry.h"
#include "platform/HttpClient.h"
#include "platform/WorkerThreads.h"

namespace glyphwell::downloads {

// The program's words for a failed font download.
inline constexpr std::string_view kConnectionFailedMessage = "服务器连接失败";
inline constexpr std::string_view kDataErrorMessage = "数据下载错误";

struct FontDownloadEvents {  // all called on the thread that runs the download
    std::function<void(const std::string& fontName, int percent)> progress;
    // Under the download lock, after the font was unpacked, installed and the font table
    // reloaded: the caller refreshes its views (list rebuild, installed marks) before the lock is
    // released.
    std::function<void(const std::string& fontName)> installed;
    // After the lock is released; `message` is kConnectionFailedMessage or kDataErrorMessage.
    std::function<void(const std::string& fontName, const std::string& message)> failed;
};

struct FontDownloadResult {
    bool installed = false;
    // Why not, when not installed: kConnectionFailedMessage or kDataErrorMessage.
    std::string message;
    // The installed copy's display name; empty when that copy is no font.
    std::string displayName;
};

// Held from the unpacking of a finished download until `installed` has returned, so that one
// unpack-install-reload runs at a time in the process.
std::mutex& DownloadLock();

class FontDownloads {
  public:
    // `catalogueServerBase` is asked on the download's own thread, so it may wait for the
    // start-up fetch; an empty base fails the download as a failed connection would.
    FontDownloads(const platform::HttpClient& http, fonts::FontRegistry& registry,
                  std::filesystem::path downloadFolder,
                  std::function<std::string()> catalogueServerBase, FontDownloadEvents events);
    ~FontDownloads() = default;  // waits for running workers
    FontDownloads(const FontDownloads&) = delete;
    FontDownloads& operator=(const FontDownloads&) = delete;

    // Starts a worker for one catalogue font and returns at once.
    void StartFontDownload(const std::string& fontName, const std::string& fontAddress);
    // The same on the calling thread (the command line), with the same events.
    FontDownloadResult DownloadFont(const std::string& fontName, const std::string& fontAddress);

    // Returns once every started worker has ended. Not from inside an event.
    void WaitForAll() { workers_.WaitForAll(); }

  private:
    // The finished download's body is in `body`; unpacks, keeps, installs and reloads.
    FontDownloadResult Complete(const std::string& fontName, const std::filesystem::path& body,
                                const std::filesystem::path& target);
    FontDownloadResult Fail(const std::string& fontName, std::string_view message);

    const platform::HttpClient& http_;
    fonts::FontRegistry& registry_;
    const std::filesystem::path downloadFolder_;
    const std::function<std::string()> catalogueServerBase_;
    const FontDownloadEvents events_;
    // Last: the workers end before the members they use.
    platform::WorkerThreads workers_;
};

}  // namespace glyphwell::downloads
