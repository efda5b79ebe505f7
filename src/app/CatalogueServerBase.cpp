#include "app/CatalogueServerBase.h"

#include "catalogue/ServerRequests.h"

namespace glyphwell::app {

std::string FetchCatalogueServerBase(const platform::HttpClient& http, const std::string& site) {
    std::optional<std::string> body = http.FetchWhole(catalogue::CatalogueServerBaseAddress(site));
    if (!body) {
        return {};
    }
    return body->substr(0, body->find('\0'));
}

}  // namespace glyphwell::app
