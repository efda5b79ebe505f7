#include "platform/Text.h"

#include <limits>

namespace glyphwell::platform {

int LeadingInteger(std::string_view text) {
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max()) {
            return std::numeric_limits<int>::max();
        }
    }
    return static_cast<int>(value);
}

}  // namespace glyphwell::platform
