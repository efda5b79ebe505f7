#include "fonts/FontFixtures.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/Files.h"

namespace glyphwell::test {
namespace fs = std::filesystem;

namespace {

void PutU16(std::string& out, std::uint32_t value) {
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void SetU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
    }
}

std::string Utf16Be(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k) {
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += length;
        if (c >= 0x10000) {
            c -= 0x10000;
            PutU16(out, 0xD800 + (c >> 10));
            PutU16(out, 0xDC00 + (c & 0x3FF));
        } else {
            PutU16(out, c);
        }
    }
    return out;
}

void SetEnvironment(const char* name, const std::string& value) {
    ::setenv(name, value.c_str(), 1);
}

}  // namespace

void WriteRenamedFont(const fs::path& to, const FamilyNames& families) {
    std::string font = platform::ReadWholeFile(kDejaVuSans).value();
    struct Record {
        std::uint16_t language, nameId;
        std::string text;
    };
    std::vector<Record> records;
    for (const auto& [language, family] : families) {
        records.push_back({language, 1, Utf16Be(family)});
        if (language == 0x0409) {
            records.push_back({language, 2, Utf16Be("Regular")});
            records.push_back({language, 4, Utf16Be(family)});
            records.push_back({language, 6, Utf16Be("Fixture-Regular")});
        }
    }
    // Records sorted as the format asks: by language, then name id.
    std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
        return std::pair(a.language, a.nameId) < std::pair(b.language, b.nameId);
    });
    std::string table;
    PutU16(table, 0);
    PutU16(table, records.size());
    PutU16(table, 6 + 12 * records.size());
    std::string strings;
    for (const Record& record : records) {
        for (std::uint32_t field :
             {3u, 1u, std::uint32_t{record.language}, std::uint32_t{record.nameId}}) {
            PutU16(table, field);
        }
        PutU16(table, record.text.size());
        PutU16(table, strings.size());
        strings += record.text;
    }
    table += strings;

    // Point the directory's 'name' entry at the new table, appended at the end.
    std::uint32_t tableCount =
        static_cast<unsigned char>(font[4]) << 8 | static_cast<unsigned char>(font[5]);
    font.resize((font.size() + 3) & ~std::size_t{3}, '\0');
    bool found = false;
    for (std::uint32_t i = 0; i < tableCount; ++i) {
        std::size_t entry = 12 + 16 * i;
        if (font.compare(entry, 4, "name") == 0) {
            SetU32(font, entry + 8, static_cast<std::uint32_t>(font.size()));
            SetU32(font, entry + 12, static_cast<std::uint32_t>(table.size()));
            found = true;
        }
    }
    if (!found) {
        throw std::runtime_error("no name table");
    }
    font += table;
    if (!platform::WriteWholeFile(to, font)) {
        throw std::runtime_error("cannot write " + to.string());
    }
}

void WriteRenamedFont(const fs::path& to, const std::string& family) {
    WriteRenamedFont(to, FamilyNames{{0x0409, family}});
}

FontconfigSandbox::FontconfigSandbox() {
    for (const char* name :
         {"FONTCONFIG_FILE", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        savedEnvironment_[name] = value != nullptr ? value : "";
    }
    for (const char* folder : {"system", "data/fonts", "config/fontconfig/conf.d", "cache"}) {
        fs::create_directories(dir_ / folder);
    }
    std::string conf = "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" + SystemFolder().string() +
                       "</dir>\n  <dir>" + FontsFolder().string() + "</dir>\n  <cachedir>" +
                       (dir_ / "cache" / "fontconfig").string() +
                       "</cachedir>\n  <include ignore_missing=\"yes\">" + RejectFile().string() +
                       "</include>\n</fontconfig>\n";
    platform::WriteWholeFile(dir_ / "fonts.conf", conf);
    SetEnvironment("FONTCONFIG_FILE", (dir_ / "fonts.conf").string());
    SetEnvironment("XDG_DATA_HOME", (dir_ / "data").string());
    SetEnvironment("XDG_CONFIG_HOME", (dir_ / "config").string());
    SetEnvironment("XDG_CACHE_HOME", (dir_ / "cache").string());
    SetEnvironment("HOME", dir_.Path().string());
}

FontconfigSandbox::~FontconfigSandbox() {
    for (const auto& [name, value] : savedEnvironment_) {
        if (value.empty()) {
            ::unsetenv(name.c_str());
        } else {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
}

fs::path FontconfigSandbox::RejectFile() const {
    return dir_ / "config" / "fontconfig" / "conf.d" / "85-glyphwell-rejected.conf";
}

std::vector<std::string> FcListFiles() {
    std::string output = RunCommand("fc-list --format '%{file}\\n'").output;
    std::vector<std::string> files;
    for (std::size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos;
         start = end + 1) {
        files.push_back(output.substr(start, end - start));
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

}  // namespace glyphwell::test
