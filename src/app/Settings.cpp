#include "app/Settings.h"

#include "platform/IniFile.h"

namespace glyphwell::app {

Settings::Settings(std::filesystem::path runDirectory)
    : file_(std::move(runDirectory) / kSettingsFileName) {}

std::string Settings::ReadSetting(std::string_view key, std::string_view defaultText) const {
    return platform::ReadIniString(file_, kSettingsSection, key, defaultText);
}

bool Settings::WriteSetting(std::string_view key, std::string_view text) const {
    return platform::WriteIniString(file_, kSettingsSection, key, text);
}

}  // namespace glyphwell::app

namespace glyphwell::app {

bool WriteInstallPath(std::string_view folder) {
    return platform::WriteIniString(kInstallPathFileName, kInstallPathSection, kInstallPathKey,
                                    folder);
}

}  // namespace glyphwell::app
