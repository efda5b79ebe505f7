#pragma once
// Start-up: the program-wide state, and the main window's created step with every start-up
// step in its order. The window does its own parts through StartupWindow; everything else
// happens here.

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Settings.h"
#include "app/Skin.h"
#include "app/VersionLine.h"
#include "platform/HttpClient.h"
#include "platform/ServiceAddresses.h"
#include "platform/WorkerThreads.h"

namespace glyphwell::app {

class StartupLoader;

// The catalogue server's base address: fetched once at start-up on a thread of its own and
// never changed afterwards. Readers on other threads wait for it.
class CatalogueServerBaseSlot {
  public:
    void Set(std::string base);
    // The address once the fetch is over; none before.
    std::optional<std::string> IfKnown() const;
    // Waits for the fetch, which ends by its own deadline.
    std::string Wait() const;
    // `call(base)` once the address is known: at once when it is, else on the fetch's thread
    // (so it must only hand over, never wait). Forget(token) before what it calls goes.
    int WhenKnown(std::function<void(const std::string&)> call);
    void Forget(int token);

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable known_;
    std::optional<std::string> base_;
    std::vector<std::pair<int, std::function<void(const std::string&)>>> waiting_;
    int nextToken_ = 1;
};

struct ProgramState {
    ProgramState(std::filesystem::path runDirectory, platform::ServiceAddresses addresses,
                 platform::HttpOptions httpOptions = {});
    ~ProgramState();  // waits for the address fetch
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    std::filesystem::path runDirectory;
    platform::ServiceAddresses addresses;
    platform::HttpClient http;
    Settings settings;
    VersionLine versionLine;
    SkinState skin;
    CatalogueServerBaseSlot catalogueServerBase;
    platform::WorkerThreads catalogueServerBaseFetch;  // last: it ends before the rest goes
};

// What start-up asks of the main window, on the interface thread, in the order it asks.
class StartupWindow {
  public:
    virtual ~StartupWindow() = default;
    // A flat look for the standard controls, process-wide.
    virtual void UseFlatControlStyle() = 0;
    // The pictures and positions of the catalogue rows, the page bar and the title buttons.
    virtual void PrepareArtwork() = 0;
    // Shows that the program is busy until the catalogue server's address is known.
    virtual void ShowWaitingForCatalogueServerBase() = 0;
    // From here on the window paints its frame and takes the mouse.
    virtual void TakeMouse() = 0;
    virtual void MarkFirstItemSelected() = 0;
    // The skin changed: repaint the whole window.
    virtual void SkinChanged() = 0;
    virtual void DrawStatusLine() = 0;
    virtual void CreateRecognitionWindow() = 0;
    virtual void PrepareGridColumns() = 0;
    virtual void ShowFontDownloadPage() = 0;
    virtual void UseFirstSystemListMode() = 0;
};

// The main window's created step: every start-up step from the working folders to the
// loader, in its order. `loader` is started last when given.
void MainWindowCreated(ProgramState& state, StartupWindow& window, StartupLoader* loader = nullptr);

// Working folders and "pos.ini".
void PrepareWorkingFolders(ProgramState& state);

// The catalogue version from "bbh" (default "0.1"), an empty suffix, and the line rebuilt.
void BuildStartupVersionLine(ProgramState& state);

// "/ztym.txt" from the web site into catalogueServerBase, on the calling thread.
void FetchStartupCatalogueServerBase(ProgramState& state);
// The same on a thread of the state's own, so that a silent or slow site never holds up the
// window.
void StartFetchingCatalogueServerBase(ProgramState& state);

// Reads "pf" (default "8") and "lb" (default empty) and applies skin "pf".
void ApplyStartupSkin(ProgramState& state, const std::function<void()>& invalidate = {});

// Ends the process at once: other windows and threads end with it and nothing is saved.
[[noreturn]] void EndProgram();

}  // namespace glyphwell::app
