#include "app/StartupLoader.h"

#include "app/FontSnapshot.h"

namespace glyphwell::app {

StartupLoader::StartupLoader(StartupSteps steps, std::filesystem::path snapshotFile)
    : steps_(std::move(steps)), snapshotFile_(std::move(snapshotFile)) {}

StartupLoader::~StartupLoader() {
    Wait();
}

void StartupLoader::Start() {
    worker_.Start([this] { RunSteps(); });
}

void StartupLoader::Wait() {
    worker_.WaitForAll();
}

void StartupLoader::RunSteps() {
    std::vector<std::string> fontNames;
    if (steps_.loadFontTable) {
        fontNames = steps_.loadFontTable();
    }
    snapshotText_ = LoadOrWriteFontSnapshot(snapshotFile_, fontNames);
    // Later steps, in their fixed order.
    for (const auto* step : {&steps_.fillDownloadedFontsList, &steps_.fillSystemFontList,
                             &steps_.openCatalogue, &steps_.checkCatalogueVersion}) {
        if (*step) {
            (*step)();
        }
    }
}

}  // namespace glyphwell::app
