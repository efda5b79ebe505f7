#pragma once
// The status line's version text. Read by the window, changed by the catalogue update check
// on its own thread, so every access is locked.

#include <mutex>
#include <string>

namespace glyphwell::app {

// The project's version, from the build.
inline constexpr const char* kProgramVersion = GLYPHWELL_VERSION;
inline constexpr const char* kProgramVersionPrefix = "主程序版本:" GLYPHWELL_VERSION;
inline constexpr const char* kCatalogueVersionPrefix = "     字库版本号:";
// The setting that records the installed catalogue's version.
inline constexpr const char* kCatalogueVersionSetting = "bbh";

// "主程序版本:3.8" + "     字库版本号:" + catalogue version + status suffix.
std::string ComposeVersionLine(const std::string& catalogueVersionText,
                               const std::string& statusSuffix);

class VersionLine {
  public:
    void SetCatalogueVersionText(std::string text);
    void SetStatusSuffix(std::string suffix);
    // Rebuilds the line from the current catalogue version and suffix.
    void BuildVersionLine();

    std::string Text() const;
    std::string CatalogueVersionText() const;
    std::string StatusSuffix() const;

  private:
    mutable std::mutex mutex_;
    std::string catalogueVersionText_;
    std::string statusSuffix_;
    std::string text_;
};

}  // namespace glyphwell::app
