#pragma once
// A catalogue site built from a manifest by the service's own builder and served on a free port
// of 127.0.0.1, for one test.

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace glyphwell::server {
class SiteServer;
}

namespace glyphwell::test {

class ServedSite {
  public:
    // `manifest` is the manifest's text; the font files it names are relative to `folder`,
    // where the site is built (folder/root). Fails the test when the build fails.
    ServedSite(const std::filesystem::path& folder, const std::string& manifest);
    ~ServedSite();

    // "http://127.0.0.1:PORT"
    std::string Base() const;
    std::filesystem::path Root() const { return root_; }
    // Stops serving; later requests find nothing listening.
    void Stop();

  private:
    std::filesystem::path root_;
    std::unique_ptr<server::SiteServer> server_;
    std::thread serving_;
};

}  // namespace glyphwell::test
