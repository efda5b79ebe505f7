#include "fonts/SystemFontOrder.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <utility>

#include "fonts/FontDisplayName.h"
#include "fonts/PinyinInitials.h"
#include "platform/Encoding.h"
#include "platform/Files.h"

namespace glyphwell::fonts {

namespace {

constexpr unsigned char kVerticalMark = 0x40;  // '@' before a vertical-writing face
constexpr int kNeverListed = 255;
// A file whose time cannot be read sorts after every readable one.
constexpr std::int64_t kUnknownTime = std::numeric_limits<std::int64_t>::min();

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

bool StartsWithVerticalMark(std::string_view name) {
    return !name.empty() && static_cast<unsigned char>(name[0]) == kVerticalMark;
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::vector<std::string> ListByLanguage(const FontRegistry& registry) {
    std::vector<std::string> names = registry.DisplayNames();
    std::vector<std::string> listed;
    listed.reserve(names.size());
    for (const std::string& name : names) {
        if (IsChineseInitial(name)) {
            listed.push_back(name);
        }
    }
    for (const std::string& name : names) {
        if (!IsChineseInitial(name) && !name.empty() && !StartsWithVerticalMark(name)) {
            listed.push_back(name);
        }
    }
    return listed;
}

// Stable sort of the entries by their keys; `before(a, b)` says key a goes first. Returns the
// keys in the new order.
template <typename Key, typename Before>
std::vector<Key> SortByKeys(std::vector<FontEntry>& entries, std::vector<Key> keys, Before before) {
    std::vector<std::pair<Key, FontEntry>> keyed;
    keyed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        keyed.emplace_back(std::move(keys[i]), std::move(entries[i]));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&](const auto& a, const auto& b) { return before(a.first, b.first); });
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = std::move(keyed[i].second);
        keys[i] = std::move(keyed[i].first);
    }
    return keys;
}

std::vector<std::string> ListByInitial(FontRegistry& registry) {
    std::vector<std::string> listed;
    // Sorting and listing under one lock, so that a reload cannot come between them.
    registry.WithTable([&](std::vector<FontEntry>& entries) {
        std::vector<int> keys;
        keys.reserve(entries.size());
        for (const FontEntry& entry : entries) {
            keys.push_back(InitialSortKey(entry.DisplayName));
        }
        keys = SortByKeys(entries, std::move(keys), std::less<int>());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (keys[i] != kNeverListed && !entries[i].DisplayName.empty()) {
                listed.push_back(entries[i].DisplayName);
            }
        }
    });
    return listed;
}

std::vector<std::string> ListByTime(FontRegistry& registry) {
    std::string fontsFolder = registry.System().FontsFolder();
    std::vector<std::string> listed;
    // The times are read under the lock too: they must belong to the entries being sorted,
    // and one file status each is quick.
    registry.WithTable([&](std::vector<FontEntry>& entries) {
        std::vector<std::int64_t> times;
        times.reserve(entries.size());
        for (const FontEntry& entry : entries) {
            std::string path =
                IsAbsoluteFontPath(entry.FilePath) ? entry.FilePath : fontsFolder + entry.FilePath;
            times.push_back(
                platform::CreationTime(platform::PathFromUtf8(path)).value_or(kUnknownTime));
        }
        SortByKeys(entries, std::move(times), std::greater<std::int64_t>());
        for (const FontEntry& entry : entries) {
            if (!entry.DisplayName.empty()) {
                listed.push_back(entry.DisplayName);
            }
        }
    });
    return listed;
}

// The text with its single-byte ASCII letters upper-cased; double-byte characters, whose
// trail bytes may look like letters, stay as they are.
std::string UpperAsciiLetters(std::string_view gbk) {
    std::string out(gbk);
    for (std::size_t pos = 0; pos < out.size();) {
        std::size_t length = platform::GbkCharLength(out, pos);
        if (length == 1) {
            out[pos] = UpperAscii(out[pos]);
        }
        pos += length;
    }
    return out;
}

}  // namespace

bool IsChineseInitial(std::string_view name) {
    std::string gbk = platform::Utf8ToGbk(name);
    if (gbk.size() < 2) {
        return false;
    }
    auto b0 = static_cast<unsigned char>(gbk[0]);
    auto b1 = static_cast<unsigned char>(gbk[1]);
    return (InRange(b0, 0x81, 0xA0) && InRange(b1, 0x40, 0xFE)) ||
           (InRange(b0, 0xAA, 0xFE) && InRange(b1, 0x40, 0xA0)) ||
           (InRange(b0, 0xB0, 0xF7) && InRange(b1, 0xA1, 0xFE));
}

int InitialLetterKey(std::string_view t) {
    if (t.size() != 1) {
        return 0;
    }
    // Index is the digit; "0" gives S, not L.
    static constexpr char kNumeralInitials[] = "SYESSWLQBJ";
    char c = t[0];
    if (c >= '0' && c <= '9') {
        c = kNumeralInitials[c - '0'];
    }
    return c >= 'A' && c <= 'Z' ? c : 0;
}

int InitialSortKey(std::string_view displayName) {
    std::string gbk = platform::Utf8ToGbk(displayName);
    if (gbk.empty()) {
        return InitialLetterKey("");
    }
    auto b0 = static_cast<unsigned char>(gbk[0]);
    if (b0 == kVerticalMark) {
        return kNeverListed;
    }
    if (b0 >= 0x80) {
        auto b1 = gbk.size() > 1 ? static_cast<unsigned char>(gbk[1]) : 0;
        char initial = PinyinInitial(b0, b1);
        return initial != 0 ? InitialLetterKey(std::string_view(&initial, 1)) : 0;
    }
    char first = UpperAscii(gbk[0]);
    return InitialLetterKey(std::string_view(&first, 1));
}

std::vector<std::string> ListedFontNames(FontRegistry& registry, ListMode listMode) {
    switch (listMode) {
        case ListMode::ByLanguage:
            return ListByLanguage(registry);
        case ListMode::ByInitial:
            return ListByInitial(registry);
        case ListMode::ByTime:
            return ListByTime(registry);
    }
    return {};
}

bool SearchMatches(std::string_view displayName, std::string_view text, bool caseSensitive) {
    std::string name = platform::Utf8ToGbk(displayName);
    std::string wanted = platform::Utf8ToGbk(text);
    if (!caseSensitive) {
        name = UpperAsciiLetters(name);
        wanted = UpperAsciiLetters(wanted);
    }
    if (wanted.empty()) {
        return true;
    }
    std::string_view haystack = name;
    for (std::size_t pos = 0; pos < haystack.size(); pos += platform::GbkCharLength(name, pos)) {
        if (haystack.substr(pos).starts_with(wanted)) {
            return true;
        }
    }
    return false;
}

}  // namespace glyphwell::fonts
