#include "platform/HttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <mutex>

namespace glyphwell::platform {
namespace {

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

struct TransferState {
    const HttpClient::HeadHandler* onHead;
    const HttpClient::DataHandler* onData;
    HttpResponseHead head;
    bool headDelivered = false;
    bool stoppedByCaller = false;

    bool DeliverHead() {
        if (headDelivered) {
            return true;
        }
        headDelivered = true;
        if (*onHead && !(*onHead)(head)) {
            stoppedByCaller = true;
            return false;
        }
        return true;
    }
};

std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    std::string_view line(data, size * count);
    if (StartsWithIgnoringCase(line, "HTTP/")) {
        // A new response (after a redirect or a 100 Continue) starts afresh.
        state->head = {};
    } else if (StartsWithIgnoringCase(line, "Content-Length:")) {
        std::string_view value = line.substr(15);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
            value.remove_prefix(1);
        }
        std::int64_t length = 0;
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), length);
        if (ec == std::errc() && end != value.data() && length >= 0) {
            state->head.contentLength = length;
        }
    }
    return size * count;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    std::string_view body(data, size * count);
    if (!state->DeliverHead()) {
        return 0;
    }
    while (!body.empty()) {
        std::string_view piece = body.substr(0, HttpClient::kReadSize);
        if (*state->onData && !(*state->onData)(piece)) {
            state->stoppedByCaller = true;
            return 0;
        }
        body.remove_prefix(piece.size());
    }
    return size * count;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

HttpTransfer Transfer(const HttpOptions& options, const std::string& url,
                      const HttpClient::HeadHandler& onHead,
                      const HttpClient::DataHandler& onData) {
    HttpTransfer result;
    // A bare path (no server base known) is no address; fail at once instead of letting
    // libcurl guess a host name from it.
    if (!StartsWithIgnoringCase(url, "http://") && !StartsWithIgnoringCase(url, "https://")) {
        result.error = "not an http address: " + url;
        return result;
    }
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        result.noSession = true;
        result.error = "cannot start a transfer";
        return result;
    }
    TransferState state{&onHead, &onData, {}, false, false};
    std::string encoded = EncodeForRequestLine(url);

    std::unique_ptr<curl_slist, SlistDeleter> headers;
    std::string_view block = options.headerBlock;
    while (!block.empty()) {
        std::size_t end = block.find("\r\n");
        std::string line(block.substr(0, end));
        if (!line.empty()) {
            headers.reset(curl_slist_append(headers.release(), line.c_str()));
        }
        block = end == std::string_view::npos ? std::string_view() : block.substr(end + 2);
    }

    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, encoded.c_str());
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options.connectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, static_cast<long>(options.stallTimeout.count() / 1000)));
    if (options.deadline.count() > 0) {
        curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(options.deadline.count()));
    }
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, static_cast<long>(HttpClient::kReadSize));
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, OnHeaderLine);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &state);
    if (headers) {
        curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    }

    CURLcode code = curl_easy_perform(handle);
    if (code == CURLE_OK && !state.DeliverHead()) {
        code = CURLE_WRITE_ERROR;
    }
    result.ok = code == CURLE_OK;
    if (!result.ok) {
        result.error = state.stoppedByCaller ? "stopped" : curl_easy_strerror(code);
    }
    return result;
}

}  // namespace

std::string EncodeForRequestLine(std::string_view url) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (char c : url) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

HttpClient::HttpClient(HttpOptions options) : options_(std::move(options)) {
    InitialiseCurlOnce();
}

HttpTransfer HttpClient::Stream(const std::string& url, const HeadHandler& onHead,
                                const DataHandler& onData) const {
    return Transfer(options_, url, onHead, onData);
}

std::optional<std::string> HttpClient::FetchWhole(const std::string& url, std::size_t maxBytes,
                                                  std::chrono::milliseconds deadline) const {
    HttpOptions options = options_;
    if (deadline.count() > 0 && (options.deadline.count() <= 0 || deadline < options.deadline)) {
        options.deadline = deadline;
    }
    std::string body;
    HttpTransfer transfer = Transfer(
        options, url,
        [maxBytes](const HttpResponseHead& head) {
            // Refused before any of it arrives.
            return !head.contentLength ||
                   static_cast<std::uint64_t>(*head.contentLength) <= maxBytes;
        },
        [&body, maxBytes](std::string_view piece) {
            if (piece.size() > maxBytes - body.size()) {
                return false;
            }
            body.append(piece);
            return true;
        });
    if (!transfer.ok) {
        return std::nullopt;
    }
    return body;
}

}  // namespace glyphwell::platform
