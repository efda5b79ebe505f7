#include "Manifest.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace glyphwell::server {

const std::vector<std::string> kCategoryColumns = {"中文字体", "英文字体",  "精品推荐",
                                                   "专题字体", "名人字体",  "商业字体",
                                                   "CAD字体",  "MACOS字体", "安卓手机字体"};

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

}  // namespace

bool IsSafeFontAddress(const std::string& address) {
    if (address.empty() || address.front() == '/' || address.back() == '/' ||
        address.find("//") != std::string::npos) {
        return false;
    }
    return std::all_of(address.begin(), address.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == '/';
    });
}

bool ParseManifest(const std::filesystem::path& file, Manifest& manifest, std::string& error) {
    std::ifstream in(file);
    if (!in) {
        error = "cannot read " + file.string();
        return false;
    }
    std::set<std::string> tableNames, addresses;
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        error = file.string() + ":" + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::vector<std::string> fields = SplitTabs(line);
        const std::string& keyword = fields[0];
        if (keyword == "version" && fields.size() == 2) {
            if (fields[1].size() != 3) {
                return fail("the version must be exactly three bytes, like 1.0");
            }
            manifest.version = fields[1];
        } else if (keyword == "category" && fields.size() == 2) {
            if (std::find(kCategoryColumns.begin(), kCategoryColumns.end(), fields[1]) ==
                kCategoryColumns.end()) {
                return fail("unknown category '" + fields[1] + "'");
            }
            manifest.categories.push_back({fields[1], {}});
        } else if (keyword == "subcategory" && fields.size() == 2) {
            if (manifest.categories.empty()) {
                return fail("a subcategory needs a category before it");
            }
            if (fields[1].empty() || fields[1] == "dl" || !tableNames.insert(fields[1]).second) {
                return fail("subcategory names must be unique, non-empty and not 'dl'");
            }
            manifest.categories.back().subcategories.push_back({fields[1], {}});
        } else if (keyword == "font" && fields.size() == 4) {
            if (manifest.categories.empty() || manifest.categories.back().subcategories.empty()) {
                return fail("a font needs a subcategory before it");
            }
            if (fields[1].empty()) {
                return fail("a font needs a name");
            }
            if (!IsSafeFontAddress(fields[2]) || !addresses.insert(fields[2]).second) {
                return fail(
                    "font addresses must be unique and made of letters, digits, '-', '_' "
                    "and '/'");
            }
            std::filesystem::path fontFile = fields[3];
            if (fontFile.is_relative()) {
                fontFile = file.parent_path() / fontFile;
            }
            manifest.categories.back().subcategories.back().fonts.push_back(
                {fields[1], fields[2], fontFile});
        } else {
            return fail("expected 'version', 'category', 'subcategory' or 'font' with its fields");
        }
    }
    if (manifest.version.empty()) {
        return fail("the manifest has no version line");
    }
    return true;
}

}  // namespace glyphwell::server
