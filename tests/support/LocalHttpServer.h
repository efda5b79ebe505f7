#pragma once
// A real HTTP server on 127.0.0.1 with a free port, running on its own thread for one test.

#include <httplib.h>

#include <string>
#include <thread>

namespace glyphwell::test {

class LocalHttpServer {
  public:
    LocalHttpServer();
    ~LocalHttpServer();

    // Register handlers before Start().
    httplib::Server& Server() { return server_; }
    void Start();
    void Stop();

    // "http://127.0.0.1:PORT"
    std::string Base() const;
    int Port() const { return port_; }

  private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

// A site on 127.0.0.1 that takes connections and never answers, as a hung server does.
class SilentLocalServer {
  public:
    SilentLocalServer();
    ~SilentLocalServer();
    SilentLocalServer(const SilentLocalServer&) = delete;
    SilentLocalServer& operator=(const SilentLocalServer&) = delete;

    // "http://127.0.0.1:PORT"
    std::string Base() const;

  private:
    int listener_ = -1;
    int port_ = 0;
};

// An address on 127.0.0.1 where nothing listens.
std::string UnusedLocalAddress();

}  // namespace glyphwell::test
