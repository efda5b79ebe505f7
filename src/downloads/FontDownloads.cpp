#include "downloads/FontDownloads.h"

#include <optional>
#include <system_error>

#include "catalogue/PackedData.h"
#include "catalogue/ServerRequests.h"
#include "downloads/DownloadFile.h"
#include "fonts/FontDisplayName.h"
#include "platform/Files.h"

namespace glyphwell::downloads {
namespace fs = std::filesystem;

std::mutex& DownloadLock() {
    static std::mutex lock;
    return lock;
}

FontDownloads::FontDownloads(const platform::HttpClient& http, fonts::FontRegistry& registry,
                             fs::path downloadFolder,
                             std::function<std::string()> catalogueServerBase,
                             FontDownloadEvents events)
    : http_(http),
      registry_(registry),
      downloadFolder_(std::move(downloadFolder)),
      catalogueServerBase_(std::move(catalogueServerBase)),
      events_(std::move(events)) {}

void FontDownloads::StartFontDownload(const std::string& fontName, const std::string& fontAddress) {
    workers_.Start([this, fontName, fontAddress] { DownloadFont(fontName, fontAddress); });
}

FontDownloadResult FontDownloads::Fail(const std::string& fontName, std::string_view message) {
    FontDownloadResult result;
    result.message = message;
    if (events_.failed) {
        events_.failed(fontName, result.message);
    }
    return result;
}

FontDownloadResult FontDownloads::DownloadFont(const std::string& fontName,
                                               const std::string& fontAddress) {
    // Refused before any request: a name from the catalogue that is not one plain file name
    // would write outside the download folder.
    if (!platform::IsPlainFileName(fontName)) {
        return Fail(fontName, kDataErrorMessage);
    }
    const std::string base = catalogueServerBase_ ? catalogueServerBase_() : std::string();
    if (base.empty()) {
        return Fail(fontName, kConnectionFailedMessage);
    }
    std::error_code ec;
    fs::create_directories(downloadFolder_, ec);
    const fs::path target = downloadFolder_ / platform::PathFromUtf8(fontName + ".ttf");
    // Never the target itself: a failed or wrong download must not cost an earlier good file.
    const fs::path body = platform::TemporaryPathBeside(target);

    std::optional<FontDownloadResult> completed;
    DownloadRequest request;
    request.Url = catalogue::FontFileAddress(base, fontAddress);
    request.TargetPath = body;
    request.Tag = fontName;
    request.OnEvent = [&](DownloadEventKind kind, const std::string& tag, int percent) {
        if (kind == DownloadEventKind::kProgress && events_.progress) {
            events_.progress(tag, percent);
        } else if (kind == DownloadEventKind::kFinished) {
            completed = Complete(tag, body, target);
        }
    };
    DownloadFailure failure = DownloadFailure::kNone;
    std::error_code targetError;
    const int code = DownloadFile(http_, request, &failure, &targetError);
    platform::DeleteFile(body);
    if (code != 0 || !completed) {
        // A download folder that cannot be written is told as itself, not as the server's fault.
        return Fail(fontName, failure == DownloadFailure::kTarget
                                  ? platform::WriteErrorText(targetError)
                                  : std::string(kConnectionFailedMessage));
    }
    if (!completed->installed) {
        return Fail(fontName, completed->message);
    }
    return *completed;
}

FontDownloadResult FontDownloads::Complete(const std::string& fontName, const fs::path& body,
                                           const fs::path& target) {
    std::lock_guard lock(DownloadLock());
    std::string font;
    if (std::optional<std::string> packed = platform::ReadWholeFile(body)) {
        font = catalogue::UnpackData(*packed);
    }
    platform::DeleteFile(body);
    // An error page unpacks to nothing; the earlier file, if any, stays.
    FontDownloadResult result;
    std::error_code writeError;
    if (font.empty()) {
        result.message = kDataErrorMessage;
        return result;
    }
    if (!platform::WriteWholeFile(target, font, &writeError)) {
        result.message = platform::WriteErrorText(writeError);
        return result;
    }
    font = {};

    fonts::FontSystem& system = registry_.System();
    std::string targetName = fontName + ".ttf";
    std::string failure;
    if (fonts::InstallFont(system, platform::PathToUtf8(target), targetName, &failure) == 0) {
        // A full or read-only Fonts folder is told as itself; a body that is no font is bad data.
        result.message = fonts::ReadFaceName(platform::PathToUtf8(target)).empty()
                             ? std::string(kDataErrorMessage)
                             : failure;
        return result;
    }
    system.AnnounceFontChange();
    registry_.LoadFontTable();
    result.installed = true;
    result.displayName = fonts::ReadFaceName(system.FontsFolder() + targetName);
    if (events_.installed) {
        events_.installed(fontName);
    }
    return result;
}

}  // namespace glyphwell::downloads
