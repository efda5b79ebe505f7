#include "fonts/FontconfigText.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <utility>

namespace glyphwell::fonts {

std::string XmlEscape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\r':
                // A reader turns a bare carriage return into a line feed.
                out += "&#13;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string XmlUnescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool replaced = false;
        for (auto [entity, c] :
             {std::pair{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&#13;", '\r'}}) {
            std::string_view e = entity;
            if (text.substr(i, e.size()) == e) {
                out += c;
                i += e.size() - 1;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += text[i];
        }
    }
    return out;
}

bool FitsInRule(const std::string& filePath) {
    int chars = 0;
    int width = 0;
    if (!FcUtf8Len(reinterpret_cast<const FcChar8*>(filePath.c_str()),
                   static_cast<int>(filePath.size()), &chars, &width)) {
        return false;
    }
    return std::none_of(filePath.begin(), filePath.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
}

std::string PatternText(FcPattern* pattern, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || value == nullptr) {
        return {};
    }
    return reinterpret_cast<const char*>(value);
}

bool SameFamily(const std::string& a, const std::string& b) {
    return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(a.c_str()),
                              reinterpret_cast<const FcChar8*>(b.c_str())) == 0;
}

}  // namespace glyphwell::fonts
