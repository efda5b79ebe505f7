#include "platform/IniFile.h"

#include <optional>
#include <vector>

#include "platform/Encoding.h"
#include "platform/Files.h"

namespace glyphwell::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(trimmed.substr(1, close - 1));
}

// The key of a "key=value" line; none for comments and lines without '='.
std::optional<std::string_view> KeyName(std::string_view line) {
    std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';') {
        return std::nullopt;
    }
    std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(trimmed.substr(0, equals));
}

std::string_view ValueOf(std::string_view line) {
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// Where a section's lines are: the header line and one past its last key line.
struct SectionSpan {
    std::size_t header;
    std::size_t lastContent;  // the last non-blank line of the section
};

std::optional<SectionSpan> FindSection(const std::vector<std::string_view>& lines,
                                       std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(lines[i]);
        if (!name || !EqualsIgnoringAsciiCase(*name, section)) {
            continue;
        }
        SectionSpan span{i, i};
        for (std::size_t j = i + 1; j < lines.size() && !SectionName(lines[j]); ++j) {
            if (!Trim(lines[j]).empty()) {
                span.lastContent = j;
            }
        }
        return span;
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string_view>& lines,
                                   const SectionSpan& span, std::string_view key) {
    for (std::size_t j = span.header + 1; j <= span.lastContent; ++j) {
        auto name = KeyName(lines[j]);
        if (name && EqualsIgnoringAsciiCase(*name, key)) {
            return j;
        }
    }
    return std::nullopt;
}

std::string ThroughValueBuffer(std::string_view gbk) {
    return GbkToUtf8(CutGbk(gbk, kIniValueBufferSize - 1));
}

}  // namespace

std::string ReadIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view defaultValue) {
    std::optional<std::string> content = ReadWholeFile(file);
    if (!content) {
        return ThroughValueBuffer(Utf8ToGbk(defaultValue));
    }
    std::vector<std::string_view> lines = SplitLines(*content);
    std::string gbkSection = Utf8ToGbk(section);
    std::string gbkKey = Utf8ToGbk(key);
    if (auto span = FindSection(lines, gbkSection)) {
        if (auto line = FindKey(lines, *span, gbkKey)) {
            return ThroughValueBuffer(ValueOf(lines[*line]));
        }
    }
    return ThroughValueBuffer(Utf8ToGbk(defaultValue));
}

bool WriteIniString(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value) {
    std::string content = ReadWholeFile(file).value_or(std::string());
    std::vector<std::string_view> lines = SplitLines(content);
    const bool crlf = content.find("\r\n") != std::string::npos;
    const std::string lineEnd = crlf ? "\r\n" : "\n";
    std::string gbkSection = Utf8ToGbk(section);
    std::string gbkKey = Utf8ToGbk(key);
    std::string newLine = gbkKey + "=" + Utf8ToGbk(value) + (crlf ? "\r" : "");

    std::vector<std::string> out(lines.begin(), lines.end());
    if (auto span = FindSection(lines, gbkSection)) {
        if (auto line = FindKey(lines, *span, gbkKey)) {
            out[*line] = newLine;
        } else {
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(span->lastContent) + 1, newLine);
        }
    } else {
        out.push_back("[" + gbkSection + "]" + (crlf ? "\r" : ""));
        out.push_back(newLine);
    }

    std::string result;
    for (const std::string& line : out) {
        result += line;
        result += '\n';
    }
    return WriteWholeFile(file, result);
}

}  // namespace glyphwell::platform
