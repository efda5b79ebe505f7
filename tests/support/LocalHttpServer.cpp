#include "support/LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace glyphwell::test {

LocalHttpServer::LocalHttpServer() = default;

LocalHttpServer::~LocalHttpServer() {
    Stop();
}

void LocalHttpServer::Start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("cannot bind a local port");
    }
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void LocalHttpServer::Stop() {
    if (thread_.joinable()) {
        server_.stop();
        thread_.join();
    }
}

std::string LocalHttpServer::Base() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

SilentLocalServer::SilentLocalServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    // The kernel completes connections into the backlog; nobody ever reads them.
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on a local port");
    }
    port_ = ntohs(address.sin_port);
}

SilentLocalServer::~SilentLocalServer() {
    ::close(listener_);
}

std::string SilentLocalServer::Base() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string UnusedLocalAddress() {
    // Bind a plain socket to a free port and close it again: nothing listens there afterwards.
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot find a free local port");
    }
    ::close(fd);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

}  // namespace glyphwell::test
