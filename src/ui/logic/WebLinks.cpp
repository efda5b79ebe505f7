#include "ui/logic/WebLinks.h"

#include "catalogue/ServerRequests.h"

namespace glyphwell::ui {
namespace {

// The words 设计作品欣赏, percent-encoded as they stand in the address.
constexpr const char* kGalleryQuery = "%E8%AE%BE%E8%AE%A1%E4%BD%9C%E5%93%81%E6%AC%A3%E8%B5%8F";

}  // namespace

std::string BrowserBoxStartAddress(ControlId box, const platform::ServiceAddresses& addresses) {
    using catalogue::WebPage;
    switch (box) {
        case ControlId::kAdvertisementBox:
            return catalogue::WebPageAddress(addresses.site, WebPage::Advertisement);
        case ControlId::kDesignShopBox:
            return catalogue::WebPageAddress(addresses.site, WebPage::DesignShop);
        case ControlId::kDesignResourcesBox:
            return catalogue::WebPageAddress(addresses.site, WebPage::DesignResources);
        case ControlId::kGalleryBox:
            return addresses.imageSearch + kGalleryQuery;
        case ControlId::kSharedFontsBox:
            return addresses.sharedFonts;
        default:
            return {};
    }
}

std::string LinkButtonAddress(ControlId button, const platform::ServiceAddresses& addresses) {
    using catalogue::WebPage;
    switch (button) {
        case ControlId::kDesignSoftwareLink:
            return catalogue::WebPageAddress(addresses.site, WebPage::DesignResources);
        case ControlId::kFontSitesLink:
            return catalogue::WebPageAddress(addresses.site, WebPage::FontSites);
        case ControlId::kCloudResourcesLink:
            return catalogue::WebPageAddress(addresses.site, WebPage::CloudResources);
        case ControlId::kSiteDirectoryLink:
            return catalogue::WebPageAddress(addresses.site, WebPage::SiteDirectory);
        default:
            return {};
    }
}

std::string WebSearchAddress(const platform::ServiceAddresses& addresses, std::string_view text) {
    return addresses.webSearch + std::string(text);
}

std::string HomePageAddress(const platform::ServiceAddresses& addresses) {
    return catalogue::HomeAddress(addresses.site);
}

std::string AboutText(const platform::ServiceAddresses& addresses) {
    return std::string("软件名称：") + kProgramTitle +
           "\n"
           "    出品：Glyphwell 开发组\n"
           "    网站：" +
           addresses.site +
           "\n"
           "    \n"
           "    QQ：未开通\n"
           "    微博：未开通";
}

}  // namespace glyphwell::ui
