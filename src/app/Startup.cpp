#include "app/Startup.h"

#include <cstdio>
#include <cstdlib>

#include "app/CatalogueServerBase.h"
#include "app/WorkingFolders.h"
#include "platform/Text.h"

namespace glyphwell::app {

ProgramState::ProgramState(std::filesystem::path runDir,
                           platform::ServiceAddresses serviceAddresses,
                           platform::HttpOptions httpOptions)
    : runDirectory(std::move(runDir)),
      addresses(std::move(serviceAddresses)),
      http(std::move(httpOptions)),
      settings(runDirectory) {}

void PrepareWorkingFolders(ProgramState& state) {
    CreateWorkingFolders(state.runDirectory);
}

void BuildStartupVersionLine(ProgramState& state) {
    state.versionLine.SetCatalogueVersionText(state.settings.ReadSetting("bbh", "0.1"));
    state.versionLine.SetStatusSuffix("");
    state.versionLine.BuildVersionLine();
}

void FetchStartupCatalogueServerBase(ProgramState& state) {
    state.catalogueServerBase = FetchCatalogueServerBase(state.http, state.addresses.site);
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
