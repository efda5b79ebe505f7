#include "platform/Encoding.h"

#include <iconv.h>

#include <cerrno>

namespace glyphwell::platform {
namespace {

// iconv descriptors are not thread-safe and costly to open: keep one per thread and direction.
iconv_t Descriptor(bool toGbk) {
    struct Descriptors {
        iconv_t toGbk = iconv_open("GBK", "UTF-8");
        iconv_t fromGbk = iconv_open("UTF-8", "GBK");
        ~Descriptors() {
            for (iconv_t cd : {toGbk, fromGbk}) {
                if (cd != reinterpret_cast<iconv_t>(-1)) {
                    iconv_close(cd);
                }
            }
        }
    };
    thread_local Descriptors descriptors;
    return toGbk ? descriptors.toGbk : descriptors.fromGbk;
}

// One iconv conversion; `replacement` stands for every input sequence the target cannot hold.
// `inputCharLength` tells how many input bytes to step over after an invalid sequence.
template <typename CharLength>
std::string Convert(bool toGbk, std::string_view input, std::string_view replacement,
                    CharLength inputCharLength) {
    iconv_t cd = Descriptor(toGbk);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(input);
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL: replace one input character and go on.
            std::string_view rest(in, inLeft);
            std::size_t skip = inputCharLength(rest);
            out.append(replacement);
            in += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

std::size_t Utf8CharLength(std::string_view text) {
    auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::size_t i = 1;
    while (i < length && i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
        ++i;
    }
    return i;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) {
    return Convert(true, utf8, "?", Utf8CharLength);
}

std::string GbkToUtf8(std::string_view gbk) {
    return Convert(false, gbk, "\xEF\xBF\xBD",
                   [](std::string_view rest) { return GbkCharLength(rest, 0); });
}

std::size_t GbkCharLength(std::string_view gbk, std::size_t pos) {
    if (IsGbkLeadByte(static_cast<unsigned char>(gbk[pos])) && pos + 1 < gbk.size()) {
        return 2;
    }
    return 1;
}

std::string_view CutGbk(std::string_view gbk, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        std::size_t next = pos + GbkCharLength(gbk, pos);
        if (next > maxBytes) {
            break;
        }
        pos = next;
    }
    return gbk.substr(0, pos);
}

std::string CutUtf8ToGbkBytes(std::string_view utf8, std::size_t maxBytes) {
    if (GbkLength(utf8) <= maxBytes) {
        return std::string(utf8);
    }
    // Walk the UTF-8 characters so that a character GBK lacks is kept as it was.
    std::size_t gbkBytes = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t length = Utf8CharLength(utf8.substr(pos));
        std::size_t charBytes = length == 1 ? 1 : GbkLength(utf8.substr(pos, length));
        if (gbkBytes + charBytes > maxBytes) {
            break;
        }
        gbkBytes += charBytes;
        pos += length;
    }
    return std::string(utf8.substr(0, pos));
}

std::size_t GbkLength(std::string_view utf8) {
    return Utf8ToGbk(utf8).size();
}

}  // namespace glyphwell::platform
