#pragma once
#include <string>

#include "platform/HttpClient.h"

namespace glyphwell::app {

// One GET of the web site's "/ztym.txt": the body up to its first zero byte, untrimmed.
// Empty when the request fails; later catalogue requests then fail in their own ways.
std::string FetchCatalogueServerBase(const platform::HttpClient& http, const std::string& site);

}  // namespace glyphwell::app
