#pragma once
// The start-up loader: one background task that runs the loading steps in their fixed order
// while the window is already in use. Each area plugs its step in; a step left empty is skipped.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/WorkerThreads.h"

namespace glyphwell::app {

struct StartupSteps {
    // Reads the installed fonts and returns their names in table order.
    std::function<std::vector<std::string>()> loadFontTable;
    std::function<void()> fillDownloadedFontsList;
    std::function<void()> fillSystemFontList;
    std::function<void()> openCatalogue;
    std::function<void()> checkCatalogueVersion;
};

class StartupLoader {
  public:
    // `snapshotFile` is "xtzt.data" in the current directory.
    StartupLoader(StartupSteps steps, std::filesystem::path snapshotFile);
    ~StartupLoader();  // waits for the task

    StartupLoader(const StartupLoader&) = delete;
    StartupLoader& operator=(const StartupLoader&) = delete;

    void Start();
    void Wait();
    // Runs every step on the calling thread.
    void RunSteps();

    // The snapshot text, once the loader has passed that step.
    const std::string& SnapshotText() const { return snapshotText_; }

  private:
    StartupSteps steps_;
    std::filesystem::path snapshotFile_;
    std::string snapshotText_;
    platform::WorkerThreads worker_;
};

}  // namespace glyphwell::app
