#include "fonts/FontconfigFontSystem.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fonts/FontDisplayName.h"
#include "fonts/FontFileOrder.h"
#include "fonts/FontconfigText.h"
#include "fonts/FontsKeyText.h"
#include "platform/FileLock.h"
#include "platform/Files.h"
#include "platform/RunDirectory.h"

namespace glyphwell::fonts {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kValueSuffix = " (TrueType)";

fs::path UserConfigHome() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return configHome;
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "/tmp") / ".config";
}

// Calls `visit` with every pattern of the system and application sets.
template <typename Visit>
void ForEachFont(FcConfig* config, Visit visit) {
    for (FcSetName setName : {FcSetSystem, FcSetApplication}) {
        FcFontSet* set = FcConfigGetFonts(config, setName);
        for (int i = 0; set != nullptr && i < set->nfont; ++i) {
            visit(set->fonts[i]);
        }
    }
}

}  // namespace

FontconfigPaths DefaultFontconfigPaths() {
    return {platform::PathToUtf8(platform::UserDataHome() / "fonts") + "/",
            UserConfigHome() / "fontconfig" / "conf.d" / kRejectFileName,
            platform::UserDataHome() / "glyphwell" / kFontsKeyFileName};
}

FontconfigFontSystem::FontconfigFontSystem(FontconfigPaths paths) : paths_(std::move(paths)) {
    if (paths_.fontsFolder.empty() || paths_.fontsFolder.back() != '/') {
        paths_.fontsFolder += '/';
    }
    MoveLegacyKeyFile();
}

bool FontconfigFontSystem::KeepsFileName(const std::string& name) {
    return name == kLegacyFontsKeyFileName;
}

void FontconfigFontSystem::MoveLegacyKeyFile() {
    // Once: users keep the value names they installed their fonts under.
    fs::path legacy = platform::PathFromUtf8(paths_.fontsFolder + kLegacyFontsKeyFileName);
    if (!platform::FileExists(legacy)) {
        return;
    }
    platform::ExclusiveFileLock writer(WriteLockFile());
    if (platform::FileExists(paths_.keyFile) || !platform::FileExists(legacy)) {
        return;
    }
    std::optional<std::string> text = platform::ReadWholeFile(legacy);
    if (text && WriteKeyFile(ParseKeyText(*text, false))) {
        platform::DeleteFile(legacy);
    }
}

FontconfigFontSystem::~FontconfigFontSystem() {
    if (config_ != nullptr) {
        FcConfigDestroy(config_);
    }
}

FcConfig* FontconfigFontSystem::Config() {
    if (stale_ || config_ == nullptr) {
        Rebuild();
    }
    return config_;
}

void FontconfigFontSystem::Rebuild() {
    // Loading validates every folder's cache and rescans (and rewrites) the stale ones.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        return;
    }
    for (const std::string& file : appFonts_) {
        FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file.c_str()));
    }
    if (config_ != nullptr) {
        FcConfigDestroy(config_);
    }
    config_ = config;
    rejectTime_ = RejectFileTime();
    stale_ = false;
}

void FontconfigFontSystem::NoticeOutsideChanges() {
    // Another program may have installed or removed fonts since the configuration was built.
    // Our rule file is not watched by fontconfig while it is missing, so we watch it ourselves.
    if (config_ != nullptr && (!FcConfigUptoDate(config_) || RejectFileTime() != rejectTime_)) {
        stale_ = true;
    }
}

std::optional<fs::file_time_type> FontconfigFontSystem::RejectFileTime() const {
    std::error_code ec;
    fs::file_time_type time = fs::last_write_time(paths_.rejectFile, ec);
    return ec ? std::nullopt : std::optional(time);
}

bool FontconfigFontSystem::InFontSet(const std::string& filePath) {
    FcConfig* config = Config();
    bool found = false;
    if (config != nullptr) {
        ForEachFont(config, [&](FcPattern* pattern) {
            found = found || PatternText(pattern, FC_FILE) == filePath;
        });
    }
    return found;
}

std::string FontconfigFontSystem::KeyData(const std::string& filePath) const {
    std::string_view path = filePath;
    if (path.starts_with(paths_.fontsFolder)) {
        std::string_view name = path.substr(paths_.fontsFolder.size());
        if (!name.empty() && name.find('/') == std::string_view::npos) {
            return std::string(name);
        }
    }
    return filePath;
}

std::vector<FontsKeyValue> FontconfigFontSystem::ReadKeyFile() const {
    std::optional<std::string> text = platform::ReadWholeFile(paths_.keyFile);
    return text ? ParseKeyText(*text, true) : std::vector<FontsKeyValue>();
}

bool FontconfigFontSystem::WriteKeyFile(const std::vector<FontsKeyValue>& values,
                                        const std::string& coming) {
    std::string text;
    for (const FontsKeyValue& value : values) {
        // Names of files that were deleted behind our back are dropped with them; the file
        // being installed is recorded before it comes.
        if (value.data == coming || RecordedFileExists(value.data)) {
            text += EscapeKeyText(value.data) + "\t" + EscapeKeyText(value.name) + "\n";
        }
    }
    std::error_code ec;
    fs::create_directories(paths_.keyFile.parent_path(), ec);
    return Written(platform::WriteWholeFile(paths_.keyFile, text, &ec), ec);
}

fs::path FontconfigFontSystem::OwnedFilesFile() const {
    return paths_.keyFile.parent_path() / kOwnedFilesFileName;
}

std::set<std::string> FontconfigFontSystem::ReadOwned() const {
    // The key's own line format, each line a file name and no value name.
    std::set<std::string> names;
    if (std::optional<std::string> text = platform::ReadWholeFile(OwnedFilesFile())) {
        for (FontsKeyValue& value : ParseKeyText(*text, true)) {
            names.insert(std::move(value.data));
        }
    }
    return names;
}

bool FontconfigFontSystem::AddOwned(const std::string& data) {
    if (IsAbsoluteFontPath(data)) {
        return true;
    }
    std::set<std::string> names = ReadOwned();
    if (!names.insert(data).second) {
        return true;
    }
    std::string text;
    for (const std::string& name : names) {
        // Names whose files are gone are dropped with them.
        if (name == data || RecordedFileExists(name)) {
            text += EscapeKeyText(name) + "\t\n";
        }
    }
    std::error_code ec;
    fs::create_directories(OwnedFilesFile().parent_path(), ec);
    return Written(platform::WriteWholeFile(OwnedFilesFile(), text, &ec), ec);
}

bool FontconfigFontSystem::Written(bool ok, const std::error_code& error) {
    if (!ok && !lastWriteError_) {
        lastWriteError_ = error ? error : std::make_error_code(std::errc::io_error);
    }
    return ok;
}

std::error_code FontconfigFontSystem::LastWriteError() {
    std::lock_guard lock(mutex_);
    return lastWriteError_;
}

void FontconfigFontSystem::ForgetWriteErrors() {
    std::lock_guard lock(mutex_);
    lastWriteError_.clear();
}

void FontconfigFontSystem::TidyRecords() {
    platform::ExclusiveFileLock writer(WriteLockFile());
    std::lock_guard lock(mutex_);
    auto gone = [this](const std::string& data) { return !RecordedFileExists(data); };
    const std::vector<FontsKeyValue> values = ReadKeyFile();
    if (std::any_of(values.begin(), values.end(),
                    [&](const FontsKeyValue& value) { return gone(value.data); })) {
        WriteKeyFile(values);
    }
    const std::set<std::string> rejected = ReadRejected();
    if (std::any_of(rejected.begin(), rejected.end(), gone)) {
        WriteRejected(rejected);
        stale_ = true;
    }
}

std::vector<fs::path> FontconfigFontSystem::PlacesThatChange() {
    return {platform::PathFromUtf8(paths_.fontsFolder), paths_.keyFile, paths_.rejectFile,
            paths_.keyFile.parent_path(), paths_.rejectFile.parent_path()};
}

fs::path FontconfigFontSystem::WriteLockFile() {
    return paths_.keyFile.parent_path() / kWriteLockFileName;
}

bool FontconfigFontSystem::OwnsFile(const std::string& filePath) {
    const std::string data = KeyData(filePath);
    if (IsAbsoluteFontPath(data) ||
        platform::KindOf(platform::PathFromUtf8(filePath)) != platform::EntryKind::kRegularFile) {
        return false;
    }
    std::lock_guard lock(mutex_);
    if (ReadOwned().contains(data)) {
        return true;
    }
    // Installed by a version that kept no list of its files: its key still names them.
    const std::vector<FontsKeyValue> values = ReadKeyFile();
    return std::any_of(values.begin(), values.end(),
                       [&](const FontsKeyValue& value) { return value.data == data; });
}

std::set<std::string> FontconfigFontSystem::ReadRejected() const {
    std::set<std::string> files;
    auto text = platform::ReadWholeFile(paths_.rejectFile);
    std::string_view rest = text ? std::string_view(*text) : std::string_view();
    constexpr std::string_view kOpen = "<glob>";
    constexpr std::string_view kClose = "</glob>";
    for (std::size_t open = rest.find(kOpen); open != std::string_view::npos;
         open = rest.find(kOpen)) {
        rest.remove_prefix(open + kOpen.size());
        std::size_t close = rest.find(kClose);
        if (close == std::string_view::npos) {
            break;
        }
        files.insert(XmlUnescape(rest.substr(0, close)));
        rest.remove_prefix(close + kClose.size());
    }
    return files;
}

bool FontconfigFontSystem::WriteRejected(const std::set<std::string>& files) {
    std::string text =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<!-- Fonts uninstalled with Glyphwell. The files stay on disk. -->\n"
        "<fontconfig>\n"
        "  <selectfont>\n"
        "    <rejectfont>\n";
    for (const std::string& file : files) {
        // Rules for files that are gone only slow every program down.
        if (FitsInRule(file) && platform::FileExists(platform::PathFromUtf8(file))) {
            text += "      <glob>" + XmlEscape(file) + "</glob>\n";
        }
    }
    text +=
        "    </rejectfont>\n"
        "  </selectfont>\n"
        "</fontconfig>\n";
    std::error_code ec;
    fs::create_directories(paths_.rejectFile.parent_path(), ec);
    return Written(platform::WriteWholeFile(paths_.rejectFile, text, &ec), ec);
}

FontconfigFontSystem::RuleChange FontconfigFontSystem::SetRejected(const std::string& filePath,
                                                                   bool rejected) {
    std::set<std::string> files = ReadRejected();
    const bool changed = rejected ? files.insert(filePath).second : files.erase(filePath) > 0;
    if (!changed) {
        return RuleChange::kAsAsked;
    }
    if (!WriteRejected(files)) {
        return RuleChange::kNotWritten;
    }
    stale_ = true;
    return RuleChange::kChanged;
}

bool FontconfigFontSystem::RecordedFileExists(const std::string& data) const {
    return platform::FileExists(platform::PathFromUtf8(AbsoluteFontPath(data, paths_.fontsFolder)));
}

std::vector<std::string> FontconfigFontSystem::RejectedFiles() {
    std::lock_guard lock(mutex_);
    std::set<std::string> files = ReadRejected();
    return {files.begin(), files.end()};
}

std::vector<FontsKeyValue> FontconfigFontSystem::EnumerateFontsKey() {
    std::lock_guard lock(mutex_);
    NoticeOutsideChanges();
    FcConfig* config = Config();
    if (config == nullptr) {
        return {};
    }
    // One value per file, named after its first face, in path order.
    std::vector<FileFace> faces;
    ForEachFont(config, [&](FcPattern* pattern) {
        std::string file = PatternText(pattern, FC_FILE);
        if (!file.empty()) {
            faces.push_back({std::move(file), FirstFaceOf(pattern)});
        }
    });
    std::stable_sort(faces.begin(), faces.end(),
                     [](const FileFace& a, const FileFace& b) { return a.file < b.file; });
    // Of a file's faces, the one with the lowest index; the first seen among equals.
    std::size_t kept = 0;
    for (std::size_t k = 0; k < faces.size(); ++k) {
        if (kept > 0 && faces[kept - 1].file == faces[k].file) {
            if (faces[k].face.index < faces[kept - 1].face.index) {
                faces[kept - 1] = std::move(faces[k]);
            }
        } else if (kept != k) {
            faces[kept++] = std::move(faces[k]);
        } else {
            ++kept;
        }
    }
    faces.resize(kept);
    const std::vector<std::size_t> files = RegularFacesFirst(faces);
    std::unordered_map<std::string, std::string> recorded;
    for (FontsKeyValue& value : ReadKeyFile()) {
        recorded.emplace(std::move(value.data), std::move(value.name));
    }
    std::vector<FontsKeyValue> values;
    values.reserve(files.size());
    for (const std::size_t place : files) {
        const FileFace& each = faces[place];
        std::string data = KeyData(each.file);
        auto it = recorded.find(data);
        values.push_back(
            {it != recorded.end() ? it->second : each.face.family + std::string(kValueSuffix),
             std::move(data)});
    }
    return values;
}

bool FontconfigFontSystem::SetFontsKeyValue(const std::string& name, const std::string& data) {
    platform::ExclusiveFileLock writer(WriteLockFile());
    std::lock_guard lock(mutex_);
    if (!AddOwned(data)) {
        return false;
    }
    std::vector<FontsKeyValue> values = ReadKeyFile();
    bool replaced = false;
    for (FontsKeyValue& value : values) {
        if (value.data == data) {
            value.name = name;
            replaced = true;
        }
    }
    if (!replaced) {
        values.push_back({name, data});
    }
    bool ok = WriteKeyFile(values, data);
    ok =
        SetRejected(AbsoluteFontPath(data, paths_.fontsFolder), false) != RuleChange::kNotWritten &&
        ok;
    // The key changed: the next listing must look at the folders again.
    stale_ = true;
    return ok;
}

bool FontconfigFontSystem::DeleteFontsKeyValue(const std::string& name,
                                               const std::string& filePath) {
    platform::ExclusiveFileLock writer(WriteLockFile());
    std::lock_guard lock(mutex_);
    std::string data = KeyData(filePath);
    std::vector<FontsKeyValue> values = ReadKeyFile();
    bool recorded = false;
    bool recordedUnderOtherName = false;
    for (const FontsKeyValue& value : values) {
        recorded = recorded || value.data == data;
        recordedUnderOtherName =
            recordedUnderOtherName || (value.data == data && value.name != name);
    }
    if (recordedUnderOtherName) {
        return false;
    }
    std::erase_if(values, [&](const FontsKeyValue& value) { return value.data == data; });
    // Its file stays the program's to delete after the key forgets it.
    if ((recorded && !AddOwned(data)) || !WriteKeyFile(values)) {
        return false;
    }
    const bool hidden = SetRejected(filePath, true) != RuleChange::kNotWritten;
    stale_ = true;
    return hidden;
}

bool FontconfigFontSystem::AddFontResource(const std::string& filePath) {
    platform::ExclusiveFileLock writer(WriteLockFile());
    std::lock_guard lock(mutex_);
    if (std::find(appFonts_.begin(), appFonts_.end(), filePath) == appFonts_.end()) {
        appFonts_.push_back(filePath);
    }
    if (SetRejected(filePath, false) == RuleChange::kChanged) {
        // The rebuilt configuration adds it with the other files of this process.
        return InFontSet(filePath);
    }
    FcConfig* config = Config();
    return config != nullptr &&
           FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(filePath.c_str()));
}

bool FontconfigFontSystem::RemoveFontResource(const std::string& filePath) {
    platform::ExclusiveFileLock writer(WriteLockFile());
    std::lock_guard lock(mutex_);
    NoticeOutsideChanges();
    // A file our own rule rejects is out of the set already: seeing that needs no rebuild of a
    // configuration the uninstall just made stale.
    if (!FitsInRule(filePath) || ReadRejected().contains(filePath) || !InFontSet(filePath)) {
        return false;
    }
    // A rule that could not be written hides nothing: the font is still in the set.
    if (SetRejected(filePath, true) != RuleChange::kChanged) {
        return false;
    }
    std::erase(appFonts_, filePath);
    stale_ = true;
    return true;
}

void FontconfigFontSystem::AnnounceFontChange() {
    std::lock_guard lock(mutex_);
    Rebuild();
}

}  // namespace glyphwell::fonts
