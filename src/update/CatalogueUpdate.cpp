#include "update/CatalogueUpdate.h"

#include <chrono>

#include "catalogue/PackedData.h"
#include "catalogue/ServerRequests.h"
#include "downloads/DownloadFile.h"
#include "platform/Files.h"

namespace glyphwell::update {
namespace {

constexpr const char* kConnectedText = "                  连接服务器成功!";
// A version is three bytes; a longer answer is no version, and a slow one no server.
constexpr std::size_t kVersionMaxBytes = 1024;
constexpr std::chrono::milliseconds kVersionDeadline{30'000};

// The texts this update puts into the version line.
std::string ConnectionFailedSuffix(std::string_view siteHostName) {
    return "  连接服务器失败!请登陆" + std::string(siteHostName) + "下载新版本";
}

std::string ProgressSuffix(int percent) {
    return std::string(kConnectedText) + "    字库更新已完成:" + std::to_string(percent) + "%";
}

std::string CheckFailedVersionText(std::string_view localVersion) {
    return std::string(localVersion) + "(字库更新失败!)";
}

std::string LatestVersionText(std::string_view localVersion, std::string_view serverVersion) {
    return std::string(localVersion) + "(最新版本:" + std::string(serverVersion) + ")";
}

std::string InstalledVersionText(std::string_view serverVersion) {
    return std::string(serverVersion) + "(已是最新版本!)";
}

}  // namespace

CatalogueUpdate::CatalogueUpdate(const platform::HttpClient& http, const app::Settings& settings,
                                 app::VersionLine& versionLine,
                                 catalogue::CatalogueDatabase& database,
                                 std::function<std::string()> catalogueServerBase,
                                 std::string siteHostName, CatalogueUpdatePlaces places,
                                 CatalogueUpdateView& view)
    : http_(http),
      settings_(settings),
      versionLine_(versionLine),
      database_(database),
      catalogueServerBase_(std::move(catalogueServerBase)),
      siteHostName_(std::move(siteHostName)),
      places_(std::move(places)),
      view_(view) {}

void CatalogueUpdate::ShowVersionLine(std::optional<std::string> catalogueVersionText,
                                      std::optional<std::string> suffix) {
    if (catalogueVersionText) {
        versionLine_.SetCatalogueVersionText(std::move(*catalogueVersionText));
    }
    if (suffix) {
        versionLine_.SetStatusSuffix(std::move(*suffix));
    }
    versionLine_.BuildVersionLine();
    view_.RepaintVersionLine();
}

void CatalogueUpdate::CheckForUpdatesCommand() {
    view_.EnableUpdateMenuItem(false);
    try {
        workers_.Start([this] { CheckCatalogueVersion(); });
    } catch (const std::system_error&) {
        view_.EnableUpdateMenuItem(true);
    }
}

bool CatalogueUpdate::CheckCatalogueVersion() {
    const std::string base = catalogueServerBase_ ? catalogueServerBase_() : std::string();
    std::string version;
    if (std::optional<std::string> body = http_.FetchWhole(catalogue::CatalogueVersionAddress(base),
                                                           kVersionMaxBytes, kVersionDeadline)) {
        version = body->substr(0, body->find('\0'));
    }
    {
        std::lock_guard lock(mutex_);
        serverVersion_ = version;
    }
    if (version.size() == 3) {
        ShowVersionLine(std::nullopt, kConnectedText);
        view_.RaiseUpdateOffer();
        return true;
    }
    ShowVersionLine(
        CheckFailedVersionText(settings_.ReadSetting(app::kCatalogueVersionSetting, "1.0")),
        ConnectionFailedSuffix(siteHostName_));
    view_.EnableUpdateMenuItem(true);
    return false;
}

void CatalogueUpdate::OfferCatalogueUpdate() {
    std::string serverVersion;
    {
        std::lock_guard lock(mutex_);
        serverVersion = serverVersion_;
        // A second download into the same "zt.data" would spoil the first; and a check that
        // failed since this offer was raised has already said so.
        if (updating_ || serverVersion.size() != 3) {
            view_.EnableUpdateMenuItem(true);
            return;
        }
    }
    if (settings_.ReadSetting(app::kCatalogueVersionSetting, "") != serverVersion &&
        view_.AskToUpdate()) {
        {
            std::lock_guard lock(mutex_);
            updating_ = true;
        }
        try {
            // What the user said yes to is what "bbh" records, whatever later checks fetch.
            workers_.Start([this, serverVersion] { UpdateTo(serverVersion); });
            return;
        } catch (const std::system_error&) {
            std::lock_guard lock(mutex_);
            updating_ = false;
        }
    }
    view_.EnableUpdateMenuItem(true);
    ShowVersionLine(LatestVersionText(settings_.ReadSetting(app::kCatalogueVersionSetting, "0.1"),
                                      serverVersion),
                    std::nullopt);
}

bool CatalogueUpdate::DownloadCatalogueUpdate() {
    std::string serverVersion;
    {
        std::lock_guard lock(mutex_);
        updating_ = true;
        serverVersion = serverVersion_;
    }
    return UpdateTo(serverVersion);
}

bool CatalogueUpdate::UpdateTo(const std::string& serverVersion) {
    const std::string base = catalogueServerBase_ ? catalogueServerBase_() : std::string();
    downloads::DownloadRequest request;
    request.Url = catalogue::CatalogueDatabaseAddress(base);
    request.TargetPath = places_.downloadTarget;
    // The line changes with the percentage, not with each piece of the file.
    request.OnEvent = [this, shown = -1](downloads::DownloadEventKind kind, const std::string&,
                                         int percent) mutable {
        if (kind == downloads::DownloadEventKind::kProgress && percent != shown) {
            shown = percent;
            ShowUpdateProgress(percent);
        }
    };
    downloads::DownloadFailure failure = downloads::DownloadFailure::kNone;
    bool installed = false;
    if (downloads::DownloadFile(http_, request, &failure) == 0) {
        installed = FinishCatalogueUpdate(serverVersion);
    } else {
        FailUpdate(failure == downloads::DownloadFailure::kNoSession ? kNoConnectionMessage
                   : failure == downloads::DownloadFailure::kAddress ? kAddressFailedMessage
                                                                     : kUpdateFailedMessage);
    }
    std::lock_guard lock(mutex_);
    updating_ = false;
    return installed;
}

void CatalogueUpdate::ShowUpdateProgress(int percent) {
    ShowVersionLine(std::nullopt, ProgressSuffix(percent));
    view_.EnableUpdateMenuItem(true);
}

bool CatalogueUpdate::FailUpdate(std::string_view message) {
    view_.TellUpdateMessage(message);
    view_.EnableUpdateMenuItem(true);
    return false;
}

bool CatalogueUpdate::FinishCatalogueUpdate(const std::string& serverVersion) {
    if (!ReplaceCatalogueFile(serverVersion)) {
        // The line keeps its last text: nothing new was installed.
        return FailUpdate(kUpdateFailedMessage);
    }
    ShowVersionLine(InstalledVersionText(serverVersion), kConnectedText);
    view_.TellUpdateMessage(kUpdateInstalledMessage);
    view_.EnableUpdateMenuItem(true);
    return true;
}

bool CatalogueUpdate::ReplaceCatalogueFile(const std::string& serverVersion) {
    std::string catalogueBytes;
    if (std::optional<std::string> packed = platform::ReadRegularFile(
            places_.downloadTarget, static_cast<std::size_t>(catalogue::kPackedDataMaxBound))) {
        catalogueBytes = catalogue::UnpackData(*packed);
    }
    if (catalogueBytes.empty()) {
        return false;
    }
    // The new file is whole on disk and reads as a catalogue before the old one goes.
    const std::filesystem::path target = places_.runDirectory / kCatalogueFileName;
    for (const std::string& name : platform::ListFiles(places_.runDirectory)) {
        if (platform::IsTemporaryNameFor(name, kCatalogueFileName)) {
            platform::DeleteFile(places_.runDirectory / name);
        }
    }
    const std::filesystem::path temporary = platform::TemporaryPathBeside(target);
    bool replaced = platform::WriteNewFileDurably(temporary, catalogueBytes);
    catalogueBytes = {};
    replaced =
        replaced && catalogue::IsReadableCatalogue(temporary) && database_.ReplaceCatalogue([&] {
            if (!platform::MoveFileOver(temporary, target)) {
                return false;
            }
            settings_.WriteSetting(app::kCatalogueVersionSetting, serverVersion);
            return true;
        });
    if (!replaced) {
        platform::DeleteFile(temporary);
    }
    return replaced;
}

}  // namespace glyphwell::update
