#pragma once
// Every request the program sends to the web site and the catalogue server, in its fixed form.
// Nothing else puts server paths together. Bytes that cannot travel in a request line are
// encoded by the HTTP client, not here.

#include <string>
#include <string_view>

namespace glyphwell::catalogue {

// The web site's pages shown in the browser boxes.
enum class WebPage {
    Advertisement,
    DesignShop,
    DesignResources,
    FontSites,
    CloudResources,
    SiteDirectory
};

// The header block every font download carries.
inline constexpr std::string_view kFontDownloadHeaders =
    "Accept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
    "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)";

// site + "/ztym.txt": its body is the catalogue server's base address.
std::string CatalogueServerBaseAddress(std::string_view site);

// site + the page's path ("/ad.html", "/tmall.html", "/ziyuan.html", "/xiazai.html",
// "/wangpan/wangpan.html", "/daohang.html").
std::string WebPageAddress(std::string_view site, WebPage page);

// The web site's home address: the site itself, no path.
std::string HomeAddress(std::string_view site);

// base + "/ztpz.txt": the catalogue version, three bytes.
std::string CatalogueVersionAddress(std::string_view catalogueServerBase);

// base + "/ztysb.data": the packed catalogue database.
std::string CatalogueDatabaseAddress(std::string_view catalogueServerBase);

// base + "/ztwjj/" + address + ".tmp": one packed font file.
std::string FontFileAddress(std::string_view catalogueServerBase, std::string_view fontAddress);

// base + "/text.php?msg=" + text + "&rot=" + rot + "&size=" + size + "&font=fonts/" + name +
// ".ttf", the texts exactly as typed. `secondRow` picks rot 30 instead of 15.
std::string PreviewAddress(std::string_view catalogueServerBase, std::string_view sampleText,
                           bool secondRow, std::string_view sizeText, std::string_view fontName);

}  // namespace glyphwell::catalogue
