#include "app/Startup.h"

#include <cstdio>
#include <cstdlib>

#include "app/CatalogueServerBase.h"
#include "app/StartupLoader.h"
#include "app/WorkingFolders.h"
#include "platform/Text.h"

namespace glyphwell::app {

void CatalogueServerBaseSlot::Set(std::string base) {
    {
        // Called under the lock, so that Forget returns only once no call is under way.
        std::lock_guard lock(mutex_);
        base_ = std::move(base);
        for (auto& [token, call] : waiting_) {
            call(*base_);
        }
        waiting_.clear();
    }
    known_.notify_all();
}

int CatalogueServerBaseSlot::WhenKnown(std::function<void(const std::string&)> call) {
    std::unique_lock lock(mutex_);
    if (base_) {
        const std::string base = *base_;
        lock.unlock();
        call(base);
        return 0;
    }
    waiting_.emplace_back(nextToken_, std::move(call));
    return nextToken_++;
}

void CatalogueServerBaseSlot::Forget(int token) {
    std::lock_guard lock(mutex_);
    std::erase_if(waiting_, [token](const auto& each) { return each.first == token; });
}

std::optional<std::string> CatalogueServerBaseSlot::IfKnown() const {
    std::lock_guard lock(mutex_);
    return base_;
}

std::string CatalogueServerBaseSlot::Wait() const {
    std::unique_lock lock(mutex_);
    known_.wait(lock, [this] { return base_.has_value(); });
    return *base_;
}

ProgramState::ProgramState(std::filesystem::path runDir,
                           platform::ServiceAddresses serviceAddresses,
                           platform::HttpOptions httpOptions)
    : runDirectory(std::move(runDir)),
      addresses(std::move(serviceAddresses)),
      http(std::move(httpOptions)),
      settings(runDirectory) {}

ProgramState::~ProgramState() = default;

void MainWindowCreated(ProgramState& state, StartupWindow& window, StartupLoader* loader) {
    PrepareWorkingFolders(state);
    BuildStartupVersionLine(state);
    window.UseFlatControlStyle();
    window.PrepareArtwork();
    StartFetchingCatalogueServerBase(state);
    window.ShowWaitingForCatalogueServerBase();
    window.TakeMouse();
    window.MarkFirstItemSelected();
    ApplyStartupSkin(state, [&window] { window.SkinChanged(); });
    window.DrawStatusLine();
    window.CreateRecognitionWindow();
    window.PrepareGridColumns();
    window.ShowFontDownloadPage();
    window.UseFirstSystemListMode();
    if (loader != nullptr) {
        loader->Start();
    }
}

void PrepareWorkingFolders(ProgramState& state) {
    CreateWorkingFolders(state.runDirectory);
}

void BuildStartupVersionLine(ProgramState& state) {
    state.versionLine.SetCatalogueVersionText(
        state.settings.ReadSetting(kCatalogueVersionSetting, "0.1"));
    state.versionLine.SetStatusSuffix("");
    state.versionLine.BuildVersionLine();
}

void FetchStartupCatalogueServerBase(ProgramState& state) {
    state.catalogueServerBase.Set(FetchCatalogueServerBase(state.http, state.addresses.site));
}

void StartFetchingCatalogueServerBase(ProgramState& state) {
    state.catalogueServerBaseFetch.Start([&state] { FetchStartupCatalogueServerBase(state); });
}

void ApplyStartupSkin(ProgramState& state, const std::function<void()>& invalidate) {
    state.skin.SkinNumber = platform::LeadingInteger(state.settings.ReadSetting("pf", "8"));
    state.skin.BackgroundKind = platform::LeadingInteger(state.settings.ReadSetting("lb", ""));
    ApplySkin(state.skin, state.settings, state.skin.SkinNumber, true, 0, false, invalidate);
}

void EndProgram() {
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace glyphwell::app
