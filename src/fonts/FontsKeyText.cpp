#include "fonts/FontsKeyText.h"

#include <algorithm>

namespace glyphwell::fonts {

std::string EscapeKeyText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string UnescapeKeyText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    }
    return out;
}

std::vector<FontsKeyValue> ParseKeyText(std::string_view text, bool unescape) {
    std::vector<FontsKeyValue> values;
    while (!text.empty()) {
        std::string_view line = text.substr(0, text.find('\n'));
        text.remove_prefix(std::min(text.size(), line.size() + 1));
        std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            continue;
        }
        std::string_view data = line.substr(0, tab);
        std::string_view name = line.substr(tab + 1);
        if (unescape) {
            values.push_back({UnescapeKeyText(name), UnescapeKeyText(data)});
        } else {
            values.push_back({std::string(name), std::string(data)});
        }
    }
    return values;
}

}  // namespace glyphwell::fonts
