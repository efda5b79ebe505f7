#include "fonts/FontDisplayName.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>

#include "fonts/DisplayNameCache.h"
#include "platform/Encoding.h"

namespace glyphwell::fonts {
namespace {

// One FreeType library per thread: a library must not be used by two threads at once.
FT_Library ThreadLibrary() {
    struct Library {
        FT_Library library = nullptr;
        Library() {
            if (FT_Init_FreeType(&library) != 0) {
                library = nullptr;
            }
        }
        ~Library() {
            if (library != nullptr) {
                FT_Done_FreeType(library);
            }
        }
    };
    thread_local Library library;
    return library.library;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Utf16BeToUtf8(const FT_Byte* bytes, FT_UInt length) {
    std::string out;
    for (FT_UInt i = 0; i + 1 < length; i += 2) {
        char32_t unit = static_cast<char32_t>(bytes[i] << 8 | bytes[i + 1]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < length) {
            char32_t low = static_cast<char32_t>(bytes[i + 2] << 8 | bytes[i + 3]);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return out;
}

// The upper half of Mac OS Roman.
constexpr std::array<char16_t, 128> kMacRomanHigh = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

std::string MacRomanToUtf8(const FT_Byte* bytes, FT_UInt length) {
    std::string out;
    for (FT_UInt i = 0; i < length; ++i) {
        AppendUtf8(out, bytes[i] < 0x80 ? bytes[i] : kMacRomanHigh[bytes[i] - 0x80]);
    }
    return out;
}

// Windows-platform text, or none for an encoding we cannot read.
std::optional<std::string> WindowsNameText(const FT_SfntName& name) {
    switch (name.encoding_id) {
        case TT_MS_ID_SYMBOL_CS:
        case TT_MS_ID_UNICODE_CS:
        case TT_MS_ID_UCS_4:
            return Utf16BeToUtf8(name.string, name.string_len);
        case TT_MS_ID_PRC: {
            // GBK bytes stored in 16-bit units; a zero high byte is padding.
            std::string gbk;
            for (FT_UInt i = 0; i < name.string_len; ++i) {
                if (name.string[i] != 0) {
                    gbk += static_cast<char>(name.string[i]);
                }
            }
            return platform::GbkToUtf8(gbk);
        }
        default:
            return std::nullopt;
    }
}

// Name ID 1 in the order of preference: Chinese locales, US English, any Windows record, the
// Macintosh Roman record.
std::string LegacyFamilyName(FT_Face face) {
    constexpr std::array<FT_UShort, 6> kLanguages = {0x0804, 0x0404, 0x0C04,
                                                     0x1004, 0x1404, 0x0409};
    int bestRank = kLanguages.size() + 2;
    std::string best;
    FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != TT_NAME_ID_FONT_FAMILY) {
            continue;
        }
        int rank;
        std::optional<std::string> text;
        if (name.platform_id == TT_PLATFORM_MICROSOFT) {
            text = WindowsNameText(name);
            rank = kLanguages.size();
            for (std::size_t l = 0; l < kLanguages.size(); ++l) {
                if (name.language_id == kLanguages[l]) {
                    rank = static_cast<int>(l);
                    break;
                }
            }
        } else if (name.platform_id == TT_PLATFORM_MACINTOSH &&
                   name.encoding_id == TT_MAC_ID_ROMAN &&
                   name.language_id == TT_MAC_LANGID_ENGLISH) {
            text = MacRomanToUtf8(name.string, name.string_len);
            rank = kLanguages.size() + 1;
        } else {
            continue;
        }
        if (text && !text->empty() && rank < bestRank) {
            bestRank = rank;
            best = std::move(*text);
        }
    }
    return best;
}

}  // namespace

std::string ReadFaceNameFromFile(const std::string& path) {
    FT_Library library = ThreadLibrary();
    FT_Face face = nullptr;
    if (library == nullptr || FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        return {};
    }
    std::string name;
    if (FT_IS_SCALABLE(face)) {
        name = LegacyFamilyName(face);
        if (name.empty() && face->family_name != nullptr) {
            name = face->family_name;
        }
    }
    FT_Done_Face(face);
    // The name ends at its first zero, as a C string would.
    name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
    return platform::CutUtf8ToGbkBytes(name, kDisplayNameMaxBytes);
}

std::string ReadFaceName(const std::string& path) {
    // Folder listings name the same files again and again: a name is kept for this process for
    // as long as its file is the same file, unchanged.
    static DisplayNameCache cache;
    return cache.Name(path, IdentifyFile(path));
}

bool IsAbsoluteFontPath(std::string_view path) {
    return !path.empty() && path[0] == '/';
}

std::string AbsoluteFontPath(std::string path, std::string_view fontsFolder) {
    return IsAbsoluteFontPath(path) ? path : std::string(fontsFolder) + path;
}

std::string ReadFontDisplayName(std::string& path, std::string_view fontsFolder) {
    path = AbsoluteFontPath(std::move(path), fontsFolder);
    return ReadFaceName(path);
}

std::string RemoveSpaces(std::string_view text) {
    constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
        } else if (text.substr(i, kIdeographicSpace.size()) == kIdeographicSpace) {
            i += kIdeographicSpace.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace glyphwell::fonts
