#pragma once
// An httplib server whose connections wait for their request header in one thread of their
// own, not on a worker: a worker takes a connection only once a whole header is there, and
// hands it back to wait for the next request. Clients that send a byte at a time, or connect
// and say nothing, cannot hold the workers, and each has a deadline for its header.
//
// The gate takes over httplib's per-connection loop and its logger (to see each answer's
// status); set_read_timeout and set_keep_alive_* have no effect, GateLimits says instead.

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <memory>

namespace glyphwell::server {

struct GateLimits {
    int workerThreads = 8;
    // Requests with a body (POST) have workers of their own, so that slow uploads cannot hold
    // up the pages and the catalogue.
    int uploadThreads = 2;
    // From a request's first byte (or a new connection's accept) to the end of its header.
    std::chrono::milliseconds headerDeadline{5'000};
    // From the end of the header to the end of the body.
    std::chrono::milliseconds bodyDeadline{60'000};
    // One read or write that makes no progress for this long fails.
    std::chrono::milliseconds ioTimeout{5'000};
    // How long a kept-alive connection may wait idle for its next request.
    std::chrono::milliseconds keepAlive{5'000};
    int requestsPerConnection = 100;
    std::size_t maxHeaderBytes = 16 * 1024;
    // Request bytes read after the header, framing included; also the payload limit.
    std::size_t maxBodyBytes = 8 * 1024 * 1024;
    // Connections waiting for a header at once; the one that has waited longest goes first.
    std::size_t maxWaiting = 512;
};

class GatedServer : public httplib::Server {
  public:
    explicit GatedServer(GateLimits limits = {});
    ~GatedServer() override;
    GatedServer(const GatedServer&) = delete;
    GatedServer& operator=(const GatedServer&) = delete;

    // httplib listens with a queue of 5: a burst of connections would wait for the client's
    // SYN to be sent again, a second or more. For after binding.
    void DeepenListenQueue();
    // Closes every connection and ends the threads; for after listen_after_bind() returned.
    void Shutdown();

  private:
    class Gate;
    struct Connection;

    // httplib calls it on its accepting thread for each new connection.
    bool process_and_close_socket(socket_t sock) override;
    void Serve(Connection connection);

    GateLimits limits_;
    std::unique_ptr<Gate> gate_;
};

}  // namespace glyphwell::server
