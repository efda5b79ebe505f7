#pragma once
// The program's settings: section "potpz" of "pos.ini" in the RunDirectory.

#include <filesystem>
#include <string>
#include <string_view>

namespace glyphwell::app {

inline constexpr const char* kSettingsFileName = "pos.ini";
inline constexpr const char* kSettingsSection = "potpz";

class Settings {
  public:
    explicit Settings(std::filesystem::path runDirectory);

    std::string ReadSetting(std::string_view key, std::string_view defaultText) const;
    // False when "pos.ini" cannot be written; callers go on, as settings are best effort.
    bool WriteSetting(std::string_view key, std::string_view text) const;

    const std::filesystem::path& File() const { return file_; }

  private:
    std::filesystem::path file_;
};

}  // namespace glyphwell::app

namespace glyphwell::app {

// ".\peizhi.ini" in the current directory: the folder chosen in the install-path window.
inline constexpr const char* kInstallPathFileName = "peizhi.ini";
inline constexpr const char* kInstallPathSection = "mulu";
inline constexpr const char* kInstallPathKey = "mulu";

// False when the file cannot be written.
bool WriteInstallPath(std::string_view folder);

}  // namespace glyphwell::app
