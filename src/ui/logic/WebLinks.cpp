#include "ui/logic/WebLinks.h"

#include <array>
#include <utility>

namespace glyphwell::ui {
namespace {

// The words 设计作品欣赏, percent-encoded as they stand in the address.
constexpr const char* kGalleryQuery = "%E8%AE%BE%E8%AE%A1%E4%BD%9C%E5%93%81%E6%AC%A3%E8%B5%8F";

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kLinkButtonPaths = {{
    {"图形按钮29", "/ziyuan.html"},
    {"图形按钮30", "/xiazai.html"},
    {"图形按钮31", "/wangpan/wangpan.html"},
    {"图形按钮32", "/daohang.html"},
}};

}  // namespace

std::string BrowserBoxStartAddress(std::string_view boxName,
                                   const platform::ServiceAddresses& addresses) {
    if (boxName == "超文本浏览框1") {
        return addresses.site + "/ad.html";
    }
    if (boxName == "超文本浏览框2") {
        return addresses.site + "/tmall.html";
    }
    if (boxName == "超文本浏览框3") {
        return addresses.site + "/ziyuan.html";
    }
    if (boxName == "超文本浏览框4") {
        return addresses.imageSearch + kGalleryQuery;
    }
    if (boxName == "超文本浏览框5") {
        return addresses.sharedFonts;
    }
    return {};
}

std::string LinkButtonAddress(std::string_view buttonName,
                              const platform::ServiceAddresses& addresses) {
    for (const auto& [name, path] : kLinkButtonPaths) {
        if (name == buttonName) {
            return addresses.site + std::string(path);
        }
    }
    return {};
}

std::string WebSearchAddress(const platform::ServiceAddresses& addresses, std::string_view text) {
    return addresses.webSearch + std::string(text);
}

std::string HomePageAddress(const platform::ServiceAddresses& addresses) {
    return addresses.site;
}

std::string AboutText(const platform::ServiceAddresses& addresses) {
    return "软件名称：Glyphwell2014\n"
           "    出品：Glyphwell 开发组\n"
           "    网站：" +
           addresses.site +
           "\n"
           "    \n"
           "    QQ：未开通\n"
           "    微博：未开通";
}

}  // namespace glyphwell::ui
