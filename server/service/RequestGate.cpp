#include "RequestGate.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace glyphwell::server {

using Clock = std::chrono::steady_clock;

namespace {

// How long a closing connection is read and thrown away, so that the client sees our answer
// instead of a reset for the body it was still sending.
constexpr std::chrono::milliseconds kDrainTime{2'000};
constexpr std::size_t kReadChunk = 16 * 1024;
constexpr int kReadsPerTurn = 16;
constexpr std::string_view kHeaderEnd = "\r\n\r\n";

// The status of the answer the current worker has just written (from httplib's logger).
thread_local int answeredStatus = 0;

// Runs each new connection's hand-over at once on the accepting thread; it never blocks.
class InlineQueue : public httplib::TaskQueue {
  public:
    void enqueue(std::function<void()> fn) override { fn(); }
    void shutdown() override {}
};

int MillisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

// False when the socket is not ready for `events` within `timeoutMs`.
bool WaitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    for (;;) {
        int ready = ::poll(&entry, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0;
    }
}

void CloseNow(int fd) {
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
}

// A last word to a client whose request never came whole; it may not be read.
void AnswerAndClose(int fd, std::string_view statusLine) {
    std::string answer = "HTTP/1.1 " + std::string(statusLine) +
                         "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    [[maybe_unused]] ssize_t sent =
        ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    CloseNow(fd);
}

void AddressOf(int fd, bool peer, std::string& ip, int& port) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    if ((peer ? ::getpeername(fd, raw, &length) : ::getsockname(fd, raw, &length)) != 0) {
        return;
    }
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
        port = ntohs(v4->sin_port);
    } else if (address.ss_family == AF_INET6) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
        port = ntohs(v6->sin6_port);
    }
    ip = text;
}

// One request's bytes for httplib: first those the gate has read (the whole header, maybe
// more), then the socket's, within the body's deadline and byte allowance.
class GateStream : public httplib::Stream {
  public:
    GateStream(int fd, std::string bytes, const GateLimits& limits)
        : fd_(fd),
          buffer_(std::move(bytes)),
          allowance_(buffer_.find(kHeaderEnd) + kHeaderEnd.size() + limits.maxBodyBytes),
          deadline_(Clock::now() + limits.bodyDeadline),
          ioTimeoutMs_(static_cast<int>(limits.ioTimeout.count())) {}

    bool is_readable() const override {
        return offset_ < buffer_.size() || WaitFor(fd_, POLLIN, ReadWaitMs());
    }
    bool is_writable() const override { return WaitFor(fd_, POLLOUT, ioTimeoutMs_); }

    ssize_t read(char* ptr, size_t size) override {
        if (handedOut_ >= allowance_) {
            broken_ = true;
            return -1;
        }
        if (offset_ == buffer_.size()) {
            buffer_.clear();
            offset_ = 0;
            ssize_t filled = Fill();
            if (filled <= 0) {
                broken_ = true;
                return filled;
            }
        }
        std::size_t n = std::min({size, buffer_.size() - offset_, allowance_ - handedOut_});
        std::memcpy(ptr, buffer_.data() + offset_, n);
        offset_ += n;
        handedOut_ += n;
        return static_cast<ssize_t>(n);
    }

    ssize_t write(const char* ptr, size_t size) override {
        for (;;) {
            ssize_t sent = ::send(fd_, ptr, size, MSG_NOSIGNAL);
            if (sent >= 0) {
                return sent;
            }
            if (errno == EINTR) {
                continue;
            }
            if ((errno != EAGAIN && errno != EWOULDBLOCK) || !WaitFor(fd_, POLLOUT, ioTimeoutMs_)) {
                broken_ = true;
                return -1;
            }
        }
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        AddressOf(fd_, true, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        AddressOf(fd_, false, ip, port);
    }
    socket_t socket() const override { return fd_; }

    // A read or write failed: what is left on the connection cannot be trusted.
    bool Broken() const { return broken_; }
    // Bytes read from the socket that this request did not use (a pipelined next request).
    std::string TakeUnread() { return buffer_.substr(offset_); }

  private:
    int ReadWaitMs() const { return std::min(ioTimeoutMs_, MillisecondsUntil(deadline_)); }

    ssize_t Fill() {
        char chunk[kReadChunk];
        for (;;) {
            ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
            if (got > 0) {
                buffer_.assign(chunk, static_cast<std::size_t>(got));
                return got;
            }
            if (got == 0) {
                return 0;
            }
            if (errno == EINTR) {
                continue;
            }
            if ((errno != EAGAIN && errno != EWOULDBLOCK) || Clock::now() >= deadline_ ||
                !WaitFor(fd_, POLLIN, ReadWaitMs())) {
                return -1;
            }
        }
    }

    int fd_;
    std::string buffer_;
    std::size_t offset_ = 0;
    std::size_t handedOut_ = 0;
    std::size_t allowance_;
    Clock::time_point deadline_;
    int ioTimeoutMs_;
    bool broken_ = false;
};

bool HeaderComplete(const std::string& bytes) {
    return bytes.find(kHeaderEnd) != std::string::npos;
}

}  // namespace

struct GatedServer::Connection {
    int fd = -1;
    std::string bytes;
    Clock::time_point deadline;
    // Some of a request has arrived: the header deadline runs.
    bool started = false;
    // Answered and half closed: what still comes is read and thrown away until the deadline.
    bool draining = false;
    int requestsLeft = 0;
};

// The waiting connections, the thread that reads their headers, and the workers.
class GatedServer::Gate {
  public:
    Gate(GatedServer& server, const GateLimits& limits)
        : server_(server),
          limits_(limits),
          wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
          workers_(static_cast<std::size_t>(std::max(1, limits.workerThreads))),
          uploads_(static_cast<std::size_t>(std::max(1, limits.uploadThreads))),
          thread_([this] { Run(); }) {}

    ~Gate() { Stop(); }

    // Takes the connection to wait for its next request, or closes it once stopped.
    void Admit(Connection connection) {
        bool taken = false;
        {
            std::lock_guard lock(mutex_);
            if (!stopping_) {
                inbox_.push_back(std::move(connection));
                taken = true;
            }
        }
        if (!taken) {
            CloseNow(connection.fd);
            return;
        }
        Wake();
    }

    // A worker's connection is done with: it is half closed and drained by the gate.
    void Close(Connection connection) {
        ::shutdown(connection.fd, SHUT_WR);
        connection.bytes.clear();
        connection.draining = true;
        connection.deadline = Clock::now() + kDrainTime;
        Admit(std::move(connection));
    }

    // Workers register the connection they serve, so that Stop can cut it short.
    bool Enter(int fd) {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return false;
        }
        serving_.insert(fd);
        return true;
    }
    void Leave(int fd) {
        std::lock_guard lock(mutex_);
        serving_.erase(fd);
    }
    bool Stopping() {
        std::lock_guard lock(mutex_);
        return stopping_;
    }

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) {
                return;
            }
            stopping_ = true;
            // Reads and writes in progress fail at once; the workers then close.
            for (int fd : serving_) {
                ::shutdown(fd, SHUT_RDWR);
            }
        }
        Wake();
        thread_.join();
        workers_.shutdown();
        uploads_.shutdown();
        ::close(wake_);
    }

  private:
    void Wake() {
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(wake_, &one, sizeof one);
    }

    void Dispatch(Connection connection) {
        // Only POST requests read a body here (others are refused before theirs is read).
        httplib::ThreadPool& pool = connection.bytes.starts_with("POST ") ? uploads_ : workers_;
        pool.enqueue([this, connection]() mutable { server_.Serve(std::move(connection)); });
    }

    // Reads what has come; false when the connection is finished with (and closed).
    bool ReadSome(Connection& connection) {
        char chunk[kReadChunk];
        // A header is short, but a client being drained may send as fast as we read: the other
        // connections get their turn after this many reads.
        for (int reads = 0; reads < kReadsPerTurn; ++reads) {
            ssize_t got = ::recv(connection.fd, chunk, sizeof chunk, 0);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                return true;
            }
            if (got <= 0) {
                CloseNow(connection.fd);
                return false;
            }
            if (connection.draining) {
                continue;
            }
            if (!connection.started) {
                connection.started = true;
                connection.deadline = Clock::now() + limits_.headerDeadline;
            }
            connection.bytes.append(chunk, static_cast<std::size_t>(got));
            if (HeaderComplete(connection.bytes)) {
                Dispatch(std::move(connection));
                return false;
            }
            if (connection.bytes.size() > limits_.maxHeaderBytes) {
                AnswerAndClose(connection.fd, "431 Request Header Fields Too Large");
                return false;
            }
        }
        return true;
    }

    void TakeInbox(std::vector<Connection>& waiting) {
        std::vector<Connection> incoming;
        {
            std::lock_guard lock(mutex_);
            incoming.swap(inbox_);
        }
        for (Connection& connection : incoming) {
            if (!connection.draining && HeaderComplete(connection.bytes)) {
                Dispatch(std::move(connection));
                continue;
            }
            if (waiting.size() >= limits_.maxWaiting) {
                auto oldest = std::min_element(waiting.begin(), waiting.end(),
                                               [](const Connection& a, const Connection& b) {
                                                   return a.deadline < b.deadline;
                                               });
                CloseNow(oldest->fd);
                waiting.erase(oldest);
            }
            waiting.push_back(std::move(connection));
        }
    }

    void Run() {
        std::vector<Connection> waiting;
        std::vector<pollfd> polled;
        for (;;) {
            if (Stopping()) {
                break;
            }
            TakeInbox(waiting);
            Clock::time_point now = Clock::now();
            std::erase_if(waiting, [now](const Connection& connection) {
                if (connection.deadline > now) {
                    return false;
                }
                if (connection.started && !connection.draining) {
                    AnswerAndClose(connection.fd, "408 Request Timeout");
                } else {
                    CloseNow(connection.fd);
                }
                return true;
            });
            int timeoutMs = 1000;
            polled.assign(1, pollfd{wake_, POLLIN, 0});
            for (const Connection& connection : waiting) {
                timeoutMs = std::min(timeoutMs, MillisecondsUntil(connection.deadline) + 1);
                polled.push_back(pollfd{connection.fd, POLLIN, 0});
            }
            if (::poll(polled.data(), polled.size(), timeoutMs) < 0 && errno != EINTR) {
                break;
            }
            if (polled[0].revents != 0) {
                std::uint64_t count = 0;
                [[maybe_unused]] ssize_t got = ::read(wake_, &count, sizeof count);
            }
            std::vector<Connection> kept;
            kept.reserve(waiting.size());
            for (std::size_t i = 0; i < waiting.size(); ++i) {
                if (polled[i + 1].revents == 0 || ReadSome(waiting[i])) {
                    kept.push_back(std::move(waiting[i]));
                }
            }
            waiting.swap(kept);
        }
        std::lock_guard lock(mutex_);
        for (const std::vector<Connection>* list : {&waiting, &inbox_}) {
            for (const Connection& connection : *list) {
                CloseNow(connection.fd);
            }
        }
        inbox_.clear();
    }

    GatedServer& server_;
    const GateLimits limits_;
    int wake_;
    std::mutex mutex_;
    bool stopping_ = false;
    std::vector<Connection> inbox_;
    std::set<int> serving_;
    httplib::ThreadPool workers_;
    httplib::ThreadPool uploads_;
    std::thread thread_;
};

GatedServer::GatedServer(GateLimits limits) : limits_(limits) {
    new_task_queue = [] { return new InlineQueue; };
    set_payload_max_length(limits_.maxBodyBytes);
    set_logger(
        [](const httplib::Request&, const httplib::Response& res) { answeredStatus = res.status; });
    gate_ = std::make_unique<Gate>(*this, limits_);
}

GatedServer::~GatedServer() {
    Shutdown();
}

void GatedServer::DeepenListenQueue() {
    // Listening again on a listening socket only changes its queue.
    ::listen(svr_sock_, SOMAXCONN);
}

void GatedServer::Shutdown() {
    gate_->Stop();
}

bool GatedServer::process_and_close_socket(socket_t sock) {
    ::fcntl(sock, F_SETFL, ::fcntl(sock, F_GETFL) | O_NONBLOCK);
    Connection connection;
    connection.fd = sock;
    connection.deadline = Clock::now() + limits_.headerDeadline;
    connection.started = true;
    connection.requestsLeft = limits_.requestsPerConnection;
    gate_->Admit(std::move(connection));
    return true;
}

void GatedServer::Serve(Connection connection) {
    if (!gate_->Enter(connection.fd)) {
        CloseNow(connection.fd);
        return;
    }
    GateStream stream(connection.fd, std::move(connection.bytes), limits_);
    const bool lastRequest = connection.requestsLeft <= 1 || gate_->Stopping();
    bool connectionClosed = false;
    answeredStatus = 0;
    bool answered = process_request(stream, lastRequest, connectionClosed, nullptr);
    gate_->Leave(connection.fd);
    // After an error the request's body may still be on the way: it is no next request.
    if (!answered || lastRequest || connectionClosed || stream.Broken() || answeredStatus >= 400) {
        gate_->Close(std::move(connection));
        return;
    }
    connection.bytes = stream.TakeUnread();
    connection.started = !connection.bytes.empty();
    connection.deadline =
        Clock::now() + (connection.started ? limits_.headerDeadline : limits_.keepAlive);
    --connection.requestsLeft;
    gate_->Admit(std::move(connection));
}

}  // namespace glyphwell::server
