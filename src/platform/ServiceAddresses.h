#pragma once
// The addresses of the web site and of the outside services the program shows or opens.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace glyphwell::platform {

// The built-in local catalogue service.
inline constexpr const char* kDefaultSite = "http://127.0.0.1:8426";

struct ServiceAddresses {
    std::string site;             // scheme and host of the web site, no trailing slash
    std::string imageSearch;      // image search; the query is appended
    std::string webSearch;        // web search engine; the query is appended
    std::string fontRecognition;  // font-recognition site's home address
    std::string sharedFonts;      // shared-fonts box
};

// Each address from its command-line value, else its environment variable, else its default
// (the service addresses default to pages of the web site):
//   site             --site              GLYPHWELL_SITE
//   imageSearch      --image-search      GLYPHWELL_IMAGE_SEARCH   site + "/search/images?q="
//   webSearch        --web-search        GLYPHWELL_WEB_SEARCH     site + "/search/web?q="
//   fontRecognition  --font-recognition  GLYPHWELL_FONT_RECOGNITION  site + "/recognize.html"
//   sharedFonts      --shared-fonts      GLYPHWELL_SHARED_FONTS   site + "/share/"
// `commandLine` is keyed by option name without dashes; `environment` looks up a variable.
ServiceAddresses ResolveServiceAddresses(
    const std::map<std::string, std::string>& commandLine,
    const std::function<std::optional<std::string>(const char*)>& environment);

// The host name of a site address: no scheme, user, port or path ("http://a.b:81/x" gives
// "a.b").
std::string SiteHostName(std::string_view site);

// The environment of this process.
std::optional<std::string> ProcessEnvironment(const char* name);

}  // namespace glyphwell::platform
