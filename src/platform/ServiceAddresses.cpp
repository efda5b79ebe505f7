#include "platform/ServiceAddresses.h"

#include <cstdlib>

namespace glyphwell::platform {

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

ServiceAddresses ResolveServiceAddresses(
    const std::map<std::string, std::string>& commandLine,
    const std::function<std::optional<std::string>(const char*)>& environment) {
    auto pick = [&](const char* option, const char* variable, const std::string& fallback) {
        if (auto it = commandLine.find(option); it != commandLine.end()) {
            return it->second;
        }
        return environment(variable).value_or(fallback);
    };
    ServiceAddresses addresses;
    addresses.site = pick("site", "GLYPHWELL_SITE", kDefaultSite);
    while (!addresses.site.empty() && addresses.site.back() == '/') {
        addresses.site.pop_back();
    }
    const std::string& site = addresses.site;
    addresses.imageSearch =
        pick("image-search", "GLYPHWELL_IMAGE_SEARCH", site + "/search/images?q=");
    addresses.webSearch = pick("web-search", "GLYPHWELL_WEB_SEARCH", site + "/search/web?q=");
    addresses.fontRecognition =
        pick("font-recognition", "GLYPHWELL_FONT_RECOGNITION", site + "/recognize.html");
    addresses.sharedFonts = pick("shared-fonts", "GLYPHWELL_SHARED_FONTS", site + "/share/");
    return addresses;
}

std::string SiteHostName(std::string_view site) {
    if (const std::size_t scheme = site.find("://"); scheme != std::string_view::npos) {
        site.remove_prefix(scheme + 3);
    }
    site = site.substr(0, site.find_first_of("/?#"));
    if (const std::size_t at = site.rfind('@'); at != std::string_view::npos) {
        site.remove_prefix(at + 1);
    }
    // A bracketed IPv6 address keeps its colons.
    const std::size_t closing = site.starts_with('[') ? site.find(']') : std::string_view::npos;
    const std::size_t port = site.find(':', closing == std::string_view::npos ? 0 : closing);
    return std::string(site.substr(0, port));
}

}  // namespace glyphwell::platform
