#include "app/CommandLine.h"

#include <array>
#include <string_view>

namespace glyphwell::app {
namespace {

constexpr std::array<std::string_view, 6> kValueOptions = {
    "home", "site", "image-search", "web-search", "font-recognition", "shared-fonts"};

}  // namespace

CommonOptions ParseCommonOptions(const std::vector<std::string>& arguments) {
    CommonOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        bool matched = false;
        for (std::string_view name : kValueOptions) {
            std::string flag = "--" + std::string(name);
            std::optional<std::string> value;
            if (argument == flag) {
                if (i + 1 >= arguments.size()) {
                    options.error = flag + " needs a value";
                    return options;
                }
                value = arguments[++i];
            } else if (argument.starts_with(flag + "=")) {
                value = std::string(argument.substr(flag.size() + 1));
            } else {
                continue;
            }
            matched = true;
            if (name == "home") {
                options.home = std::filesystem::path(*value);
            } else {
                options.addresses[std::string(name)] = *value;
            }
            break;
        }
        if (!matched) {
            options.rest.emplace_back(argument);
        }
    }
    return options;
}

}  // namespace glyphwell::app
