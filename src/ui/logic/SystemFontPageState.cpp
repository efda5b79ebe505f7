#include "ui/logic/SystemFontPageState.h"

#include "ui/logic/SystemFontList.h"

namespace glyphwell::ui {

void SystemFontPageState::ShowSearchOutcome(bool filterEmpty, int matches) {
    if (filterEmpty) {
        shown_ = ShownFontList::kAllFonts;
    } else {
        shown_ = matches > 0 ? ShownFontList::kSearchResults : ShownFontList::kNoSearchResult;
    }
}

bool SystemFontPageState::BeginUninstall() {
    if (uninstalling_) {
        return false;
    }
    uninstalling_ = true;
    return true;
}

void SystemFontPageState::SetMenuFont(FontMenu menu, std::string name) {
    (menu == FontMenu::kFontList ? listMenuFont_ : searchMenuFont_) = std::move(name);
}

const std::string& SystemFontPageState::MenuFont(FontMenu menu) const {
    return menu == FontMenu::kFontList ? listMenuFont_ : searchMenuFont_;
}

std::string SystemFontPageState::MenuCaption(FontMenu menu) const {
    return MenuFontCaption(MenuFont(menu));
}

}  // namespace glyphwell::ui
