#pragma once
// FontSystem on fontconfig, so that what Glyphwell installs or removes is what every program on
// the desktop lists. The Fonts folder is the user's fontconfig font folder; a file's value name
// is kept in a key file of our own outside it, where no font's file name can reach it; a
// removed font is rejected by a rule in a configuration file of our own in the user's
// fontconfig conf.d.

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fonts/FontFaces.h"
#include "fonts/FontSystem.h"

struct _FcConfig;

namespace glyphwell::fonts {

inline constexpr const char* kFontsKeyFileName = "fonts-key";
// Where earlier versions kept the key: in the Fonts folder. Moved out once, and never a font's
// name, so that no font can pose as the old key.
inline constexpr const char* kLegacyFontsKeyFileName = ".glyphwell-fonts-key";
inline constexpr const char* kRejectFileName = "85-glyphwell-rejected.conf";
// Beside the key: the lock every writer holds, and the names of the files the program put into
// the Fonts folder (kept after an uninstall, so that their files stay ours to delete).
inline constexpr const char* kWriteLockFileName = "records.lock";
inline constexpr const char* kOwnedFilesFileName = "installed-files";

struct FontconfigPaths {
    // Ends with '/'.
    std::string fontsFolder;
    std::filesystem::path rejectFile;
    std::filesystem::path keyFile;
};

// $XDG_DATA_HOME/fonts/, $XDG_CONFIG_HOME/fontconfig/conf.d/ and $XDG_DATA_HOME/glyphwell/
// (defaults ~/.local/share and ~/.config).
FontconfigPaths DefaultFontconfigPaths();

class FontconfigFontSystem : public FontSystem {
  public:
    explicit FontconfigFontSystem(FontconfigPaths paths = DefaultFontconfigPaths());
    ~FontconfigFontSystem() override;
    FontconfigFontSystem(const FontconfigFontSystem&) = delete;
    FontconfigFontSystem& operator=(const FontconfigFontSystem&) = delete;

    std::string FontsFolder() override { return paths_.fontsFolder; }
    bool KeepsFileName(const std::string& name) override;
    std::vector<FontsKeyValue> EnumerateFontsKey() override;
    bool SetFontsKeyValue(const std::string& name, const std::string& data) override;
    bool DeleteFontsKeyValue(const std::string& name, const std::string& filePath) override;
    bool AddFontResource(const std::string& filePath) override;
    bool RemoveFontResource(const std::string& filePath) override;
    void AnnounceFontChange() override;
    std::filesystem::path WriteLockFile() override;
    bool OwnsFile(const std::string& filePath) override;
    std::vector<std::string> HiddenFiles() override { return RejectedFiles(); }
    std::error_code LastWriteError() override;
    void ForgetWriteErrors() override;
    void TidyRecords() override;
    std::vector<std::filesystem::path> PlacesThatChange() override;

    // The files listed by rejection rules.
    std::vector<std::string> RejectedFiles();

  private:
    // All private members expect mutex_ held.
    _FcConfig* Config();
    void Rebuild();
    void NoticeOutsideChanges();
    std::optional<std::filesystem::file_time_type> RejectFileTime() const;
    bool InFontSet(const std::string& filePath);
    std::set<std::string> ReadRejected() const;
    bool WriteRejected(const std::set<std::string>& files);
    // Whether the file's rule is as asked now, and whether this call changed it.
    enum class RuleChange { kAsAsked, kChanged, kNotWritten };
    RuleChange SetRejected(const std::string& filePath, bool rejected);
    // The file a record names (a bare name in the Fonts folder, or a path) is still there.
    bool RecordedFileExists(const std::string& data) const;
    void MoveLegacyKeyFile();
    std::vector<FontsKeyValue> ReadKeyFile() const;
    bool WriteKeyFile(const std::vector<FontsKeyValue>& values, const std::string& coming = {});
    std::string KeyData(const std::string& filePath) const;
    std::filesystem::path OwnedFilesFile() const;
    std::set<std::string> ReadOwned() const;
    bool AddOwned(const std::string& data);
    // Keeps the first write error since ForgetWriteErrors.
    bool Written(bool ok, const std::error_code& error);

    FontconfigPaths paths_;
    std::mutex mutex_;
    _FcConfig* config_ = nullptr;
    bool stale_ = true;
    std::optional<std::filesystem::file_time_type> rejectTime_;
    // Files added for this process; they are added again to every rebuilt configuration.
    std::vector<std::string> appFonts_;
    std::error_code lastWriteError_;
};

}  // namespace glyphwell::fonts
