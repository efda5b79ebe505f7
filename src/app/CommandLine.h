#pragma once
// Options every Glyphwell executable takes: --home DIR and the service addresses.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace glyphwell::app {

struct CommonOptions {
    std::optional<std::filesystem::path> home;
    // Address options by name without dashes ("site", "image-search", ...).
    std::map<std::string, std::string> addresses;
    // Everything that is not a common option, in order.
    std::vector<std::string> rest;
    // Set when an option lacks its value.
    std::string error;
};

// Takes "--name value" and "--name=value".
CommonOptions ParseCommonOptions(const std::vector<std::string>& arguments);

}  // namespace glyphwell::app
