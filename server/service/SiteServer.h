#pragma once
// The local web site and catalogue server: one process answers both.

#include <chrono>
#include <filesystem>
#include <string>

#include "RequestGate.h"

namespace glyphwell::server {

struct ServeOptions {
    std::filesystem::path root;  // a folder written by the catalogue builder
    std::string bind = "127.0.0.1";
    int port = 8426;
    bool sendContentLength = true;  // false: font files go out chunked
    int workerThreads = 8;
    // A request's header must have come whole this long after its first byte.
    std::chrono::milliseconds headerDeadline{5'000};
};

// The most a request body may hold: the recognition stand-in's picture needs a few megabytes.
inline constexpr std::size_t kMaxRequestBody = 8 * 1024 * 1024;

// `root` + the request's path, or empty when the path would leave `root`.
std::filesystem::path ResolveInsideRoot(const std::filesystem::path& root, const std::string& path);

class SiteServer {
  public:
    explicit SiteServer(ServeOptions options);

    // Binds (port 0 takes any free port); false when the address cannot be bound.
    bool Bind();
    int Port() const { return port_; }
    // "http://ADDR:PORT"
    std::string BaseAddress() const;
    // Serves until Stop().
    void Run();
    // Only closes the listening socket (main calls it from a signal handler); Run does the rest.
    void Stop() { server_.stop(); }

  private:
    void Route();
    void ServeFile(const std::string& path, const char* contentType, httplib::Response& res,
                   bool lengthKnown) const;

    ServeOptions options_;
    GatedServer server_;
    int port_ = 0;
};

}  // namespace glyphwell::server
