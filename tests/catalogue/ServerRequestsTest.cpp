#include "catalogue/ServerRequests.h"

#include <gtest/gtest.h>

namespace glyphwell::catalogue {
namespace {

TEST(ServerRequests, EveryRequestHasItsFixedForm) {
    const std::string site = "http://site";
    const std::string base = "http://cat";
    const std::pair<std::string, std::string> cases[] = {
        {CatalogueServerBaseAddress(site), "http://site/ztym.txt"},
        {WebPageAddress(site, WebPage::Advertisement), "http://site/ad.html"},
        {WebPageAddress(site, WebPage::DesignShop), "http://site/tmall.html"},
        {WebPageAddress(site, WebPage::DesignResources), "http://site/ziyuan.html"},
        {WebPageAddress(site, WebPage::FontSites), "http://site/xiazai.html"},
        {WebPageAddress(site, WebPage::CloudResources), "http://site/wangpan/wangpan.html"},
        {WebPageAddress(site, WebPage::SiteDirectory), "http://site/daohang.html"},
        {HomeAddress(site), "http://site"},
        {CatalogueVersionAddress(base), "http://cat/ztpz.txt"},
        {CatalogueDatabaseAddress(base), "http://cat/ztysb.data"},
        {FontFileAddress(base, "ab/c1"), "http://cat/ztwjj/ab/c1.tmp"},
        {PreviewAddress(base, "abc", false, "20", "xyz"),
         "http://cat/text.php?msg=abc&rot=15&size=20&font=fonts/xyz.ttf"},
        {PreviewAddress(base, "你 好", true, "2a", "宋体"),
         "http://cat/text.php?msg=你 好&rot=30&size=2a&font=fonts/宋体.ttf"},
        // With no server base every request is a bare path.
        {CatalogueVersionAddress(""), "/ztpz.txt"},
    };
    for (const auto& [built, expected] : cases) {
        EXPECT_EQ(built, expected);
    }
}

}  // namespace
}  // namespace glyphwell::catalogue
