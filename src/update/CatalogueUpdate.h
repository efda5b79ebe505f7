#pragma once
// The catalogue update: the version check at start-up and from "检测更新", the question to the
// user, the download of the new catalogue and its safe replacement of "ztdata.mdb". Results show
// in the version line; the window only shows them.

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/Settings.h"
#include "app/VersionLine.h"
#include "catalogue/CatalogueDatabase.h"
#include "platform/HttpClient.h"
#include "platform/WorkerThreads.h"

namespace glyphwell::update {

inline constexpr const char* kCatalogueFileName = "ztdata.mdb";
// The downloaded container, in the current directory; left in place afterwards.
inline constexpr const char* kUpdateDownloadName = "zt.data";

inline constexpr std::string_view kUpdatePrompt = "服务器上有新的字库版本,是否更新字库?";
inline constexpr std::string_view kUpdatePromptCaption = "更新提示!";
inline constexpr std::string_view kNoConnectionMessage = "Internet连接错误!";
inline constexpr std::string_view kAddressFailedMessage = "字库更新出错!!";
inline constexpr std::string_view kUpdateFailedMessage = "字库更新出错!";
inline constexpr std::string_view kUpdateInstalledMessage = "数据库安装成功,已自动刷新!";

// What the update asks of the window.
class CatalogueUpdateView {
  public:
    virtual ~CatalogueUpdateView() = default;
    // From any thread; the window does the work on its own thread.
    virtual void RepaintVersionLine() = 0;
    virtual void EnableUpdateMenuItem(bool enabled) = 0;
    // Has OfferCatalogueUpdate run on the interface thread.
    virtual void RaiseUpdateOffer() = 0;
    // A message with an OK button and the caption "信息：".
    virtual void TellUpdateMessage(std::string_view message) = 0;
    // On the interface thread: the update prompt; true on Yes.
    virtual bool AskToUpdate() = 0;
};

struct CatalogueUpdatePlaces {
    std::filesystem::path runDirectory;  // holds "ztdata.mdb"
    std::filesystem::path downloadTarget = kUpdateDownloadName;
};

class CatalogueUpdate {
  public:
    // `catalogueServerBase` is asked on the worker threads, so it may wait for the start-up
    // fetch. `siteHostName` goes into the connection-failed text.
    CatalogueUpdate(const platform::HttpClient& http, const app::Settings& settings,
                    app::VersionLine& versionLine, catalogue::CatalogueDatabase& database,
                    std::function<std::string()> catalogueServerBase, std::string siteHostName,
                    CatalogueUpdatePlaces places, CatalogueUpdateView& view);
    ~CatalogueUpdate() = default;  // waits for its workers
    CatalogueUpdate(const CatalogueUpdate&) = delete;
    CatalogueUpdate& operator=(const CatalogueUpdate&) = delete;

    // "检测更新": disables the item and checks on a worker thread.
    void CheckForUpdatesCommand();
    // Fetches "/ztpz.txt"; true when it held a version (exactly three bytes), after which the
    // offer is raised. On any thread but the interface thread.
    bool CheckCatalogueVersion();
    // On the interface thread: asks when the server's version differs from "bbh" and starts
    // the update worker on Yes.
    void OfferCatalogueUpdate();
    // The update worker's work: the download, then FinishCatalogueUpdate. True when the new
    // catalogue is in place.
    bool DownloadCatalogueUpdate();

    // A check or update worker is still at work.
    bool WorkersRunning() { return workers_.Running(); }
    // Returns once the check and update workers have ended. Not from inside one.
    void WaitForWorkers() { workers_.WaitForAll(); }

  private:
    // DownloadCatalogueUpdate for the version the user said yes to.
    bool UpdateTo(const std::string& serverVersion);
    void ShowUpdateProgress(int percent);
    bool FinishCatalogueUpdate(const std::string& serverVersion);
    bool FailUpdate(std::string_view message);
    // Puts the new catalogue in place of the old one; false leaves the old one and "bbh".
    bool ReplaceCatalogueFile(const std::string& serverVersion);
    // Sets what is given, rebuilds the line and has it repainted.
    void ShowVersionLine(std::optional<std::string> catalogueVersionText,
                         std::optional<std::string> suffix);

    const platform::HttpClient& http_;
    const app::Settings& settings_;
    app::VersionLine& versionLine_;
    catalogue::CatalogueDatabase& database_;
    const std::function<std::string()> catalogueServerBase_;
    const std::string siteHostName_;
    const CatalogueUpdatePlaces places_;
    CatalogueUpdateView& view_;

    mutable std::mutex mutex_;
    std::string serverVersion_;  // the last check's, shared by all checks
    bool updating_ = false;      // an update worker runs
    // Last: the workers end before the members they use.
    platform::WorkerThreads workers_;
};

}  // namespace glyphwell::update
