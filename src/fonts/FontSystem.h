#pragma once
// The desktop's font services that the installed-font table and the install primitives sit
// on: a key of installed font files, the Fonts folder, and the running font set.

#include <string>
#include <vector>

namespace glyphwell::fonts {

struct FontsKeyValue {
    std::string name;
    // A bare file name in the Fonts folder, or an absolute path.
    std::string data;
};

class FontSystem {
  public:
    virtual ~FontSystem() = default;

    // The Fonts folder, ending with '/'.
    virtual std::string FontsFolder() = 0;
    // A file name in the Fonts folder that the system keeps for itself: no font may take it.
    virtual bool KeepsFileName(const std::string& /*name*/) { return false; }

    // Every installed font file, in a stable order.
    virtual std::vector<FontsKeyValue> EnumerateFontsKey() = 0;
    // Records `data` as installed under `name`.
    virtual bool SetFontsKeyValue(const std::string& name, const std::string& data) = 0;
    // Removes the value `name` of the file at `filePath` (value names need not be unique).
    virtual bool DeleteFontsKeyValue(const std::string& name, const std::string& filePath) = 0;

    // Makes the file usable at once; false when it cannot be added.
    virtual bool AddFontResource(const std::string& filePath) = 0;
    // Takes the file out of the running font set; false when it was not in it or cannot be.
    virtual bool RemoveFontResource(const std::string& filePath) = 0;

    // Tells every program that the installed fonts changed; returns once they can see it.
    virtual void AnnounceFontChange() = 0;
};

}  // namespace glyphwell::fonts
