// The desktop program. Start-up reads top to bottom here and in app::MainWindowCreated.

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/CommandLine.h"
#include "app/FontSnapshot.h"
#include "app/Startup.h"
#include "app/StartupLoader.h"
#include "app/StartupTimes.h"
#include "app/WorkingFolders.h"
#include "catalogue/CatalogueDatabase.h"
#include "collections/RecycleBin.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"
#include "platform/RunDirectory.h"
#include "ui/BrowserEngine.h"
#include "ui/FolderPage.h"
#include "ui/MainPages.h"
#include "ui/MainWindow.h"
#include "ui/SystemFontPage.h"
#include "ui/Tasks.h"
#include "ui/Translations.h"
#include "ui/UiFonts.h"
#include "ui/catalogue/CatalogueDownloads.h"
#include "ui/catalogue/CataloguePage.h"
#include "ui/catalogue/CatalogueUpdates.h"

int main(int argc, char** argv) {
    using namespace glyphwell;
    app::MarkStartup("main");
    std::vector<std::string> arguments(argv + 1, argv + argc);
    app::CommonOptions options = app::ParseCommonOptions(arguments);
    if (!options.error.empty()) {
        std::fprintf(stderr, "glyphwell: %s\n", options.error.c_str());
        return 2;
    }
    // The drawing toolkit, before any window.
    ui::KeepConsoleQuiet();
    ui::PrepareBrowserEngine();
    ui::LimitQtFontList();  // Qt's own font list: the desktop's system fonts
    QApplication application(argc, argv);
    ui::UseInterfaceFont();
    ui::UseChineseQtTexts();
    app::MarkStartup("application");

    // The program-wide state; it lives until the process ends.
    app::ProgramState state(
        platform::ResolveRunDirectory(platform::ProgramDirectory(), options.home),
        platform::ResolveServiceAddresses(options.addresses, platform::ProcessEnvironment));
    // A normal start runs in the RunDirectory, where "xtzt.data" and "zt.data" belong; the
    // desktop menu cannot choose the folder, so its entry asks for it.
    if (std::find(options.rest.begin(), options.rest.end(), "--in-run-directory") !=
        options.rest.end()) {
        std::error_code ec;
        std::filesystem::current_path(state.runDirectory, ec);
    }
    fonts::FontconfigFontSystem fontSystem;
    fonts::FontRegistry fontRegistry(fontSystem, fonts::UserDisplayNameCache());
    catalogue::CatalogueDatabase catalogueDatabase(state.runDirectory / update::kCatalogueFileName);

    // The main window and what its pages work on.
    ui::MainWindow window(state);
    app::MarkStartup("window-made");
    ui::SystemFontPage& systemFontPage = window.Pages().SystemFonts();
    systemFontPage.UseFonts(fontRegistry, state.runDirectory / app::kRecycleBinFolderName);
    ui::CataloguePage& cataloguePage = window.Pages().Catalogue();
    cataloguePage.UseCatalogue(ui::CatalogueSourceOf(catalogueDatabase, fontRegistry));
    catalogueDatabase.SetShowCategory([&cataloguePage] { cataloguePage.PostShowCategory(); });
    cataloguePage.SetPreviewService(state.http,
                                    [&state] { return state.catalogueServerBase.Wait(); });
    // Downloads ask for the catalogue server's address on their own threads, waiting for the
    // start-up fetch if it is still on its way.
    ui::CatalogueDownloads catalogueDownloads(
        cataloguePage, systemFontPage, state.http, fontRegistry,
        state.runDirectory / app::kDownloadFolderName,
        [&state] { return state.catalogueServerBase.Wait(); });

    // The folder pages list their folders and change the installed fonts.
    window.UseFontCollections(fontRegistry, state.runDirectory);
    ui::FolderPage& downloadedFontsPage = window.Pages().DownloadedFonts();

    // The update check runs from the menu and as the loader's last step; "zt.data" goes to the
    // current directory.
    ui::CatalogueUpdates catalogueUpdates(window, state, catalogueDatabase);

    app::StartupSteps steps;
    steps.loadFontTable = [load = fonts::LoadFontTableStep(fontRegistry), &fontSystem, &state] {
        // What a killed run left is repaired before anything is listed.
        collections::RepairAfterInterruption(
            fontSystem,
            {state.runDirectory, app::DownloadFolder(state.runDirectory),
             app::RecycleBinFolder(state.runDirectory), app::BackupFolder(state.runDirectory)});
        std::vector<std::string> names = load();
        app::MarkStartup("font-table-loaded");
        return names;
    };
    steps.fillDownloadedFontsList = [&downloadedFontsPage] {
        downloadedFontsPage.PostListFolder();
    };
    steps.fillSystemFontList = [&systemFontPage] {
        systemFontPage.PostBuildSystemList();
        app::MarkStartup("system-list-filled");
    };
    steps.openCatalogue = [&catalogueDatabase] { catalogueDatabase.OpenCatalogue(); };
    steps.checkCatalogueVersion = [&catalogueUpdates] {
        catalogueUpdates.Update().CheckCatalogueVersion();
    };
    app::StartupLoader loader(steps, app::kFontSnapshotFileName);

    // The created step, ending with the loader's start; then the window shows at once.
    app::MainWindowCreated(state, window, &loader);
    app::MarkStartup("window-created");
    window.show();
    app::MarkStartup("window-shown");
    // Closing the window ends the program once the pages' work in progress has finished (a
    // backup or restore is not cut short); the loader is not waited for.
    const int status = application.exec();
    ui::WaitForTasks();
    std::_Exit(status);
}
