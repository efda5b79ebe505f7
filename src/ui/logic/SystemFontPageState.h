#pragma once
// What the system-font page shows and does, kept apart from its widgets: the list's order,
// which of its lists shows, the batch uninstall's busy flag and the font each pop-up menu acts
// on. The widgets mirror this state; nothing is read back from them.

#include <string>

#include "fonts/SystemFontOrder.h"

namespace glyphwell::ui {

// Which list the page shows: every font, the search results, or the no-result label.
enum class ShownFontList { kAllFonts, kSearchResults, kNoSearchResult };

// The page's two pop-up menus: of the main list and of the search results.
enum class FontMenu { kFontList, kSearchResults };

class SystemFontPageState {
  public:
    fonts::ListMode ListMode() const { return listMode_; }
    void SetListMode(fonts::ListMode mode) { listMode_ = mode; }

    ShownFontList Shown() const { return shown_; }
    bool SearchResultsShown() const { return shown_ == ShownFontList::kSearchResults; }
    // After the name filter ran: an empty filter shows every font again, otherwise the
    // results or, with no match, the no-result label.
    void ShowSearchOutcome(bool filterEmpty, int matches);
    void Show(ShownFontList list) { shown_ = list; }

    // The batch uninstall's busy flag. False when an uninstall already runs.
    bool BeginUninstall();
    void EndUninstall() { uninstalling_ = false; }
    bool Uninstalling() const { return uninstalling_; }

    // The font a menu acts on, set each time the menu opens, and the caption of its
    // "删除字体" item that shows it.
    void SetMenuFont(FontMenu menu, std::string name);
    const std::string& MenuFont(FontMenu menu) const;
    std::string MenuCaption(FontMenu menu) const;

  private:
    fonts::ListMode listMode_ = fonts::ListMode::ByLanguage;
    ShownFontList shown_ = ShownFontList::kAllFonts;
    bool uninstalling_ = false;
    std::string listMenuFont_;
    std::string searchMenuFont_;
};

}  // namespace glyphwell::ui
