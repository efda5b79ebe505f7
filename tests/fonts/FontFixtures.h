#pragma once
// Font fixtures for the fonts tests: real fonts from the Debian font packages, copies of them
// with a naming table of our choosing, and a private fontconfig setup.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fonts/FontconfigFontSystem.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace glyphwell::test {

inline const std::filesystem::path kDejaVuFolder = "/usr/share/fonts/truetype/dejavu";
inline const std::filesystem::path kDejaVuSans = kDejaVuFolder / "DejaVuSans.ttf";
inline const std::filesystem::path kMicroHei = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
inline const std::filesystem::path kUMing = "/usr/share/fonts/truetype/arphic/uming.ttc";

// Windows-platform (Unicode BMP) family names by language id.
using FamilyNames = std::map<std::uint16_t, std::string>;

// Copies DejaVu Sans to `to` with its naming table replaced by one that holds `families` as
// name ID 1 (and the US English one also as IDs 4 and 6, which fontconfig reads too).
void WriteRenamedFont(const std::filesystem::path& to, const FamilyNames& families);
void WriteRenamedFont(const std::filesystem::path& to, const std::string& family);

// A private fontconfig world: FONTCONFIG_FILE names a configuration whose font folders are
// a "system" folder and the Fonts folder, both temporary, and which includes our reject file;
// the XDG folders point into the same temporary folder. The environment is restored after.
class FontconfigSandbox {
  public:
    FontconfigSandbox();
    ~FontconfigSandbox();

    std::filesystem::path SystemFolder() const { return dir_ / "system"; }
    std::filesystem::path FontsFolder() const { return dir_ / "data" / "fonts"; }
    std::filesystem::path RejectFile() const;
    std::filesystem::path KeyFile() const { return dir_ / "data" / "glyphwell" / "fonts-key"; }
    // The font system's paths in this world.
    fonts::FontconfigPaths Paths() const {
        return {FontsFolder().string() + "/", RejectFile(), KeyFile()};
    }

  private:
    TempDir dir_;
    std::map<std::string, std::string> savedEnvironment_;
};

// The files `fc-list` shows in another process.
std::vector<std::string> FcListFiles();

}  // namespace glyphwell::test
