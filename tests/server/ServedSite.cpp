#include "server/ServedSite.h"

#include <gtest/gtest.h>

#include <fstream>

#include "CatalogueBuilder.h"
#include "Manifest.h"
#include "SiteServer.h"

namespace glyphwell::test {

ServedSite::ServedSite(const std::filesystem::path& folder, const std::string& manifest)
    : root_(folder / "root") {
    const std::filesystem::path manifestFile = folder / "site.manifest";
    std::ofstream(manifestFile) << manifest;
    server::Manifest parsed;
    server::BuildSummary summary;
    std::string error;
    EXPECT_TRUE(server::ParseManifest(manifestFile, parsed, error)) << error;
    EXPECT_TRUE(server::BuildCatalogue(parsed, root_, GLYPHWELL_SITE_PAGES, summary, error))
        << error;
    server::ServeOptions options;
    options.root = root_;
    options.port = 0;
    server_ = std::make_unique<server::SiteServer>(options);
    EXPECT_TRUE(server_->Bind());
    serving_ = std::thread([this] { server_->Run(); });
}

ServedSite::~ServedSite() {
    Stop();
}

std::string ServedSite::Base() const {
    return server_->BaseAddress();
}

void ServedSite::Stop() {
    if (serving_.joinable()) {
        server_->Stop();
        serving_.join();
    }
}

}  // namespace glyphwell::test
