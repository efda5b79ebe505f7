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
