#pragma once
// Plain HTTP GETs on libcurl. No status code is examined, nothing is cached, and bodies are
// delivered as received (no content decoding), so whatever the server sends is what callers get.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace glyphwell::platform {

struct HttpOptions {
    std::chrono::milliseconds connectTimeout{10'000};
    // A transfer that receives nothing for this long fails.
    std::chrono::milliseconds stallTimeout{30'000};
    // A transfer that has not ended this long after it started fails; zero is none.
    std::chrono::milliseconds deadline{0};
    // Extra request headers as one block: "Name: value" lines joined by "\r\n".
    std::string headerBlock;
};

struct HttpResponseHead {
    // The final response's Content-Length; none when the server sent no length.
    std::optional<std::int64_t> contentLength;
};

struct HttpTransfer {
    bool ok = false;
    bool noSession = false;  // the HTTP library could not set up a transfer at all
    std::string error;       // libcurl's words when not ok
};

// Bytes that cannot travel in a request line (blanks, control bytes, bytes above 0x7E) as
// %XX of their UTF-8 form; every other byte stays as it is.
std::string EncodeForRequestLine(std::string_view url);

class HttpClient {
  public:
    // The largest piece of body handed to a data handler at once.
    static constexpr std::size_t kReadSize = 10240;

    // Called once, before the first body piece (or at the end when there is no body).
    // Returning false stops the transfer, which then fails.
    using HeadHandler = std::function<bool(const HttpResponseHead&)>;
    // Called with each piece of body, at most kReadSize bytes. Returning false stops it.
    using DataHandler = std::function<bool(std::string_view piece)>;

    explicit HttpClient(HttpOptions options = {});

    // GETs `url` and streams the body to the handlers.
    HttpTransfer Stream(const std::string& url, const HeadHandler& onHead,
                        const DataHandler& onData) const;

    // GETs `url` and returns the whole body; none when the transfer failed, the body is longer
    // than `maxBytes` or the transfer has not ended within `deadline` (or the options' own
    // deadline, when that is shorter; zero is none). A peer that sends without end or a byte at
    // a time cannot hold it longer.
    std::optional<std::string> FetchWhole(const std::string& url, std::size_t maxBytes,
                                          std::chrono::milliseconds deadline) const;

    const HttpOptions& Options() const { return options_; }

  private:
    HttpOptions options_;
};

}  // namespace glyphwell::platform
