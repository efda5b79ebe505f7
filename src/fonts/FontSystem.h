#pragma once
// The desktop's font services that the installed-font table and the install primitives sit
// on: a key of installed font files, the Fonts folder, and the running font set.

#include <filesystem>
#include <string>
#include <system_error>
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

    // The lock file that every process holds while it changes the installed fonts, their records
    // or the program's working folders (platform::ExclusiveFileLock); empty for none.
    virtual std::filesystem::path WriteLockFile() { return {}; }
    // True when the file is one the program put into the Fonts folder itself: only such a file
    // may be deleted or moved. A font anywhere else is only ever hidden.
    virtual bool OwnsFile(const std::string& filePath) {
        const std::string folder = FontsFolder();
        return filePath.starts_with(folder) &&
               filePath.find('/', folder.size()) == std::string::npos;
    }
    // The installed files that are hidden (uninstalled with their files kept).
    virtual std::vector<std::string> HiddenFiles() { return {}; }
    // What changes when fonts are installed or removed, by this program or any other: the
    // folders to watch and the files whose changes count.
    virtual std::vector<std::filesystem::path> PlacesThatChange() {
        return {std::filesystem::path(FontsFolder())};
    }
    // Drops what the records and rules say of files that are gone.
    virtual void TidyRecords() {}
    // Why the first record or rule that could not be written since ForgetWriteErrors failed;
    // clear when none failed.
    virtual std::error_code LastWriteError() { return {}; }
    virtual void ForgetWriteErrors() {}
};

}  // namespace glyphwell::fonts
