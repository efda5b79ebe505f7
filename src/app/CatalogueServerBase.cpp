#include "app/CatalogueServerBase.h"

#include "catalogue/ServerRequests.h"

namespace glyphwell::app {

namespace {

// The answer is one short address; anything longer or slower is no catalogue server.
constexpr std::size_t kServerBaseMaxBytes = 4096;
constexpr std::chrono::milliseconds kServerBaseDeadline{10'000};

}  // namespace

std::string FetchCatalogueServerBase(const platform::HttpClient& http, const std::string& site) {
    std::optional<std::string> body = http.FetchWhole(catalogue::CatalogueServerBaseAddress(site),
                                                      kServerBaseMaxBytes, kServerBaseDeadline);
    if (!body) {
        return {};
    }
    return body->substr(0, body->find('\0'));
}

}  // namespace glyphwell::app
