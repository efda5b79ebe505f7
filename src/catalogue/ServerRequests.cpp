#include "catalogue/ServerRequests.h"

namespace glyphwell::catalogue {
namespace {

std::string Join(std::string_view base, std::string_view path) {
    std::string address(base);
    address += path;
    return address;
}

}  // namespace

std::string CatalogueServerBaseAddress(std::string_view site) {
    return Join(site, "/ztym.txt");
}

std::string WebPageAddress(std::string_view site, WebPage page) {
    switch (page) {
        case WebPage::Advertisement:
            return Join(site, "/ad.html");
        case WebPage::DesignShop:
            return Join(site, "/tmall.html");
        case WebPage::DesignResources:
            return Join(site, "/ziyuan.html");
        case WebPage::FontSites:
            return Join(site, "/xiazai.html");
        case WebPage::CloudResources:
            return Join(site, "/wangpan/wangpan.html");
        case WebPage::SiteDirectory:
            return Join(site, "/daohang.html");
    }
    return std::string(site);
}

std::string HomeAddress(std::string_view site) {
    return std::string(site);
}

std::string CatalogueVersionAddress(std::string_view base) {
    return Join(base, "/ztpz.txt");
}

std::string CatalogueDatabaseAddress(std::string_view base) {
    return Join(base, "/ztysb.data");
}

std::string FontFileAddress(std::string_view base, std::string_view fontAddress) {
    return Join(base, "/ztwjj/") + std::string(fontAddress) + ".tmp";
}

std::string PreviewAddress(std::string_view base, std::string_view sampleText, bool secondRow,
                           std::string_view sizeText, std::string_view fontName) {
    std::string address = Join(base, "/text.php?msg=");
    address += sampleText;
    address += secondRow ? "&rot=30&size=" : "&rot=15&size=";
    address += sizeText;
    address += "&font=fonts/";
    address += fontName;
    address += ".ttf";
    return address;
}

}  // namespace glyphwell::catalogue
