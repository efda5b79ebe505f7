#pragma once
// The addresses the browser boxes, link buttons and outside links use. The program only
// chooses addresses; the boxes and the desktop's browser show them.

#include <string>
#include <string_view>

#include "platform/ServiceAddresses.h"
#include "ui/logic/PageControls.h"

namespace glyphwell::ui {

// Where a browser box goes when its page is created; empty for a control that is no box.
std::string BrowserBoxStartAddress(ControlId box, const platform::ServiceAddresses& addresses);

// The design-resources link button's page on the web site; empty for other controls.
std::string LinkButtonAddress(ControlId button, const platform::ServiceAddresses& addresses);

// The web search: the typed text appended to the query address as it stands, not encoded.
std::string WebSearchAddress(const platform::ServiceAddresses& addresses, std::string_view text);

// "官方主页": the web site's host, no path.
std::string HomePageAddress(const platform::ServiceAddresses& addresses);

inline constexpr const char* kAboutTitle = "关于我们!";
// The about box's six lines.
std::string AboutText(const platform::ServiceAddresses& addresses);

inline constexpr const char* kRecognitionWindowCaption = "字体识别-请上传本地字体图样文件";

}  // namespace glyphwell::ui
