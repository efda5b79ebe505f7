#pragma once
// The program-wide state that start-up sets up, and the start-up steps that need no window.
// The window's created step calls these in its own order, between its window steps.

#include <filesystem>
#include <functional>
#include <string>

#include "app/Settings.h"
#include "app/Skin.h"
#include "app/VersionLine.h"
#include "platform/HttpClient.h"
#include "platform/ServiceAddresses.h"

namespace glyphwell::app {

struct ProgramState {
    ProgramState(std::filesystem::path runDirectory, platform::ServiceAddresses addresses,
                 platform::HttpOptions httpOptions = {});

    std::filesystem::path runDirectory;
    platform::ServiceAddresses addresses;
    platform::HttpClient http;
    Settings settings;
    VersionLine versionLine;
    SkinState skin;
    // Set once at start-up, never changed afterwards.
    std::string catalogueServerBase;
};

// Working folders and "pos.ini".
void PrepareWorkingFolders(ProgramState& state);

// The catalogue version from "bbh" (default "0.1"), an empty suffix, and the line rebuilt.
void BuildStartupVersionLine(ProgramState& state);

// "/ztym.txt" from the web site into catalogueServerBase.
void FetchStartupCatalogueServerBase(ProgramState& state);

// Reads "pf" (default "8") and "lb" (default empty) and applies skin "pf".
void ApplyStartupSkin(ProgramState& state, const std::function<void()>& invalidate = {});

// Ends the process at once: other windows and threads end with it and nothing is saved.
[[noreturn]] void EndProgram();

}  // namespace glyphwell::app
