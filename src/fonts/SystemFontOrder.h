#pragma once
// The orders in which the installed-font list shows the table, and the rules of its search.
// Every byte rule here works on the GBK form of the UTF-8 names.

#include <string>
#include <string_view>
#include <vector>

#include "fonts/FontRegistry.h"

namespace glyphwell::fonts {

// The order of the installed-font list.
enum class ListMode : int {
    ByLanguage = 2,  // names beginning with a Chinese character first, then the rest
    ByInitial = 3,   // by initial letter, pinyin initial for Chinese names
    ByTime = 4,      // by the font file's creation time, newest first
};

// True when the name's first GBK character lies in the Chinese ranges of the lead/trail byte
// table; a name of fewer than two GBK bytes never does.
bool IsChineseInitial(std::string_view name);

// A one-character text's sort key: a digit counts as the initial of its Chinese numeral,
// then "A".."Z" give 65..90 and anything else, the empty text included, 0.
int InitialLetterKey(std::string_view t);

// The key of a display name in `ByInitial`: 255 for a vertical-writing face ("@"), the
// pinyin initial's key for a GB2312 hanzi, 0 for any other double-byte character, else the
// key of the upper-cased first byte.
int InitialSortKey(std::string_view displayName);

// The display names in listed order for `listMode` (a value outside the three lists nothing).
// `ByInitial` and `ByTime` sort the shared table in place, so ties keep the order of the previous
// listing; `ByLanguage` leaves the table as it is.
std::vector<std::string> ListedFontNames(FontRegistry& registry, ListMode listMode);

// True when `text` occurs in `displayName` starting on a GBK character boundary. Without
// `caseSensitive` ASCII letters match either case; other characters always match exactly.
// The empty text occurs everywhere.
bool SearchMatches(std::string_view displayName, std::string_view text, bool caseSensitive);

}  // namespace glyphwell::fonts
