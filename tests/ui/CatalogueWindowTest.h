#pragma once
// What the catalogue's window tests share: a catalogue site served from a temporary folder, a
// private fontconfig setup, and the main window on a program state in a temporary RunDirectory
// whose catalogue page reads that RunDirectory's "ztdata.mdb".

#include <gtest/gtest.h>

#include <memory>

#include "catalogue/CatalogueDatabase.h"
#include "fonts/FontFixtures.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontconfigFontSystem.h"
#include "server/ServedSite.h"
#include "support/TempDir.h"
#include "ui/MainPages.h"
#include "ui/MainWindow.h"
#include "ui/TestApplication.h"
#include "ui/catalogue/CataloguePage.h"

namespace glyphwell::test {

class CatalogueWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { TestApplication(); }
    void TearDown() override { window_.reset(); }

    // The window as the program makes it, shown, its catalogue page in `page_`.
    void MakeWindow(platform::ServiceAddresses addresses = {}) {
        state_ = TestProgramState(runDir_.Path(), std::move(addresses));
        window_ = std::make_unique<ui::MainWindow>(*state_, [] {});
        app::MainWindowCreated(*state_, *window_);
        window_->show();
        page_ = &window_->Pages().Catalogue();
    }
    // The page reads `database_`, which shows the page's category again each time it opens.
    void UseCatalogue() {
        page_->UseCatalogue(ui::CatalogueSourceOf(database_, registry_));
        database_.SetShowCategory([this] { page_->PostShowCategory(); });
    }

    TempDir site_;
    FontconfigSandbox sandbox_;
    TempDir runDir_;
    std::unique_ptr<ServedSite> server_;
    fonts::FontconfigFontSystem system_{sandbox_.Paths()};
    fonts::FontRegistry registry_{system_};
    catalogue::CatalogueDatabase database_{runDir_ / "ztdata.mdb"};
    std::unique_ptr<app::ProgramState> state_;
    std::unique_ptr<ui::MainWindow> window_;
    ui::CataloguePage* page_ = nullptr;
};

}  // namespace glyphwell::test
