#pragma once
// Finding the file of an installed face, for drawing text straight from font files.

#include <string>
#include <vector>

namespace glyphwell::fonts {

// The file of the desktop's font named `family` (matched as fontconfig spells it, case
// ignored), or empty when no installed font has that family. Every installed font counts, also
// while the shared list is limited.
std::string FontFileOfFamily(const std::string& family);

// The user's own font folders, each ending with '/': $XDG_DATA_HOME/fonts/ and ~/.fonts/.
std::vector<std::string> UserFontFolders();

// Qt reads the whole font list of the process's shared fontconfig configuration at its first
// text, and the time grows with every installed font. This limits that configuration to the
// fonts outside `userFolders`, apart from `keepFiles`, until RestoreSharedFontList; the whole
// one is kept aside for FontFileOfFamily. False, and nothing changed, when no folder can be
// named in a rule or the configuration cannot be made.
bool LimitSharedFontList(const std::vector<std::string>& userFolders,
                         const std::vector<std::string>& keepFiles);

// Makes the whole configuration the shared one again; true when it had been limited.
bool RestoreSharedFontList();

struct InstalledFace {
    std::string family;  // its first family name
    std::string file;
};

// The face fontconfig sorts first for a generic family name ("serif", "sans-serif", ...) asked
// as Qt asks when it picks a default family: no family of its own, upright, the generic name
// only preferred. Every installed font counts. Empty when nothing is installed.
InstalledFace FirstFaceForGenericFamily(const std::string& generic);

}  // namespace glyphwell::fonts
