#include "fonts/FontRegistry.h"

#include <algorithm>
#include <unordered_set>

#include "fonts/FontDisplayName.h"
#include "platform/FileLock.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/WorkerThreads.h"

namespace glyphwell::fonts {

namespace {

constexpr std::size_t kCapacityStep = 100;
// The file systems take 255 bytes; the copy's temporary name beside it needs a few more.
constexpr std::size_t kFileNameMaxBytes = 200;

constexpr const char* kNameNotUtf8Reason = "文件名不是有效的UTF-8文本";
constexpr const char* kDotNameReason = "以“.”开头的文件名不会被字体系统列出";
constexpr const char* kUnusableNameReason = "不是字体文件夹里可用的文件名";
constexpr const char* kNotAFontReason = "不是可以安装的字体文件";
constexpr const char* kNoSuchFileReason = "文件不存在";

}  // namespace

FontRegistry::FontRegistry(FontSystem& system, std::unique_ptr<DisplayNameCache> names)
    : system_(system), names_(names ? std::move(names) : std::make_unique<DisplayNameCache>()) {}

void FontRegistry::LoadFontTable() {
    // Built outside the lock: naming the files is slow and readers need not wait for it.
    std::vector<FontEntry> entries;
    std::unordered_set<std::string> seen;
    const std::string fontsFolder = system_.FontsFolder();
    // Taken before the listing: a change while it runs shows as a change after it.
    std::string stamp = platform::ModificationStamp(system_.PlacesThatChange());
    // The name cache is read while fontconfig lists the files: neither needs the other.
    std::vector<FontsKeyValue> values;
    platform::RunAlongside([this] { names_->ReadFile(); },
                           [&] { values = system_.EnumerateFontsKey(); });
    std::vector<std::string> named;
    named.reserve(values.size());
    for (FontsKeyValue& value : values) {
        named.push_back(AbsoluteFontPath(std::move(value.data), fontsFolder));
    }
    // Taken before any file is read, so that a change while it is read shows next time.
    const std::vector<std::optional<FileIdentity>> identities = IdentifyFiles(named);
    seen.reserve(values.size());
    // Every value may give an entry: the capacity takes its steps of 100 at once, as growing
    // one step at a time moves the whole table a hundred times over with 10,000 fonts.
    entries.reserve((values.size() + kCapacityStep - 1) / kCapacityStep * kCapacityStep);
    for (std::size_t k = 0; k < values.size(); ++k) {
        std::string name = names_->Name(named[k], identities[k]);
        if (name.empty() || !seen.insert(name).second) {
            continue;
        }
        entries.push_back({std::move(name), named[k], std::move(values[k].name)});
    }
    entries.shrink_to_fit();
    {
        std::unique_lock lock(mutex_);
        entries_ = std::move(entries);
        stampAtLoad_ = std::move(stamp);
        ++generation_;
    }
    names_->EndLoad(named);
}

bool FontRegistry::ChangedSinceLoad() const {
    const std::string now = platform::ModificationStamp(system_.PlacesThatChange());
    std::shared_lock lock(mutex_);
    return now != stampAtLoad_;
}

int FontRegistry::FindFontEntry(std::string_view displayName) const {
    std::shared_lock lock(mutex_);
    const auto found = std::ranges::find(entries_, displayName, &FontEntry::DisplayName);
    return found == entries_.end() ? 0 : static_cast<int>(found - entries_.begin()) + 1;
}

std::optional<FontEntry> FontRegistry::FindEntry(std::string_view displayName) const {
    std::shared_lock lock(mutex_);
    const auto found = std::ranges::find(entries_, displayName, &FontEntry::DisplayName);
    return found == entries_.end() ? std::nullopt : std::optional<FontEntry>(*found);
}

int FontRegistry::InstalledMark(std::string_view displayName) const {
    return FindFontEntry(displayName) != 0 ? kInstalledMark : kNotInstalledMark;
}

int FontRegistry::Count() const {
    std::shared_lock lock(mutex_);
    return static_cast<int>(entries_.size());
}

FontEntry FontRegistry::Entry(int n) const {
    std::shared_lock lock(mutex_);
    if (n < 1 || static_cast<std::size_t>(n) > entries_.size()) {
        return {};
    }
    return entries_[static_cast<std::size_t>(n) - 1];
}

std::string FontRegistry::DisplayName(int n) const {
    return Entry(n).DisplayName;
}

std::string FontRegistry::FilePath(int n) const {
    return Entry(n).FilePath;
}

std::string FontRegistry::ValueName(int n) const {
    return Entry(n).ValueName;
}

std::vector<std::string> FontRegistry::DisplayNames() const {
    std::shared_lock lock(mutex_);
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const FontEntry& entry : entries_) {
        names.push_back(entry.DisplayName);
    }
    return names;
}

void FontRegistry::WithTable(const std::function<void(std::vector<FontEntry>&)>& change) {
    std::unique_lock lock(mutex_);
    change(entries_);
}

std::string InstallTargetName(FontSystem& system, const std::string& sourcePath,
                              const std::string& targetName, std::string* reason) {
    std::string name = RemoveSpaces(targetName);
    const bool given = !name.empty();
    if (!given) {
        std::size_t slash = sourcePath.rfind('/');
        name = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
    }
    auto refuse = [&](const char* why) {
        if (reason != nullptr) {
            *reason = why;
        }
        return std::string();
    };
    if (!platform::IsValidUtf8(name)) {
        return refuse(kNameNotUtf8Reason);
    }
    if (name.starts_with('.')) {
        return refuse(kDotNameReason);
    }
    if (name.empty() || name.size() > kFileNameMaxBytes ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string::npos ||
        (given &&
         (platform::HasControlCharacter(name) || name.find_first_of("*?") != std::string::npos)) ||
        system.KeepsFileName(name)) {
        return refuse(kUnusableNameReason);
    }
    return name;
}

int InstallFont(FontSystem& system, const std::string& sourcePath, std::string& targetName,
                std::string* failure) {
    auto fail = [&](std::string why) {
        if (failure != nullptr) {
            *failure = std::move(why);
        }
        return 0;
    };
    std::string displayName = RemoveSpaces(ReadFaceName(sourcePath));
    std::string reason;
    std::string name = InstallTargetName(system, sourcePath, targetName, &reason);
    targetName = RemoveSpaces(targetName);
    if (displayName.empty()) {
        return fail(platform::FileExists(platform::PathFromUtf8(sourcePath)) ? kNotAFontReason
                                                                             : kNoSuchFileReason);
    }
    if (name.empty()) {
        return fail(reason);
    }
    targetName = std::move(name);
    // Downloads and local pages install from different threads, other processes at the same
    // time: one at a time, and nothing is written (not even the lock) for a refused font.
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    std::string fontsFolder = system.FontsFolder();
    std::filesystem::path folder = platform::PathFromUtf8(fontsFolder);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    platform::SetReadOnly(folder, false);
    std::string destination = fontsFolder + targetName;
    system.ForgetWriteErrors();
    // Recorded before the copy: a record of a file that never came is dropped at the next write,
    // while a copy without its record would not be the program's to remove.
    if (!system.SetFontsKeyValue(displayName + " (TrueType)", targetName)) {
        return fail(platform::WriteErrorText(system.LastWriteError()));
    }
    if (!platform::CopyFile(platform::PathFromUtf8(sourcePath), platform::PathFromUtf8(destination),
                            true, &ec)) {
        return fail(platform::WriteErrorText(ec));
    }
    system.AddFontResource(destination);
    return 1;
}

bool UninstallFont(const FontRegistry& registry, int n, std::error_code* writeError) {
    return UninstallFont(registry.System(), registry.Entry(n), writeError);
}

bool UninstallFont(FontSystem& system, const FontEntry& entry, std::error_code* writeError) {
    if (writeError != nullptr) {
        writeError->clear();
    }
    if (entry.FilePath.empty()) {
        return false;
    }
    platform::ExclusiveFileLock writer(system.WriteLockFile());
    // So that the caller can delete a read-only file afterwards (only a file of ours).
    if (system.OwnsFile(entry.FilePath)) {
        platform::SetReadOnly(platform::PathFromUtf8(entry.FilePath), false);
    }
    system.ForgetWriteErrors();
    const bool removed = system.RemoveFontResource(entry.FilePath);
    if (removed && !system.DeleteFontsKeyValue(entry.ValueName, entry.FilePath) &&
        system.LastWriteError()) {
        // Half an uninstall is none: the font comes back as it was.
        const std::error_code why = system.LastWriteError();
        system.AddFontResource(entry.FilePath);
        if (writeError != nullptr) {
            *writeError = why;
        }
        return false;
    }
    if (!removed && writeError != nullptr) {
        *writeError = system.LastWriteError();
    }
    return removed;
}

bool ReleaseFontFile(FontSystem& system, const std::string& filePath) {
    if (!system.RemoveFontResource(filePath)) {
        return false;
    }
    system.AnnounceFontChange();
    return true;
}

std::function<std::vector<std::string>()> LoadFontTableStep(FontRegistry& registry) {
    return [&registry] {
        registry.LoadFontTable();
        return registry.DisplayNames();
    };
}

}  // namespace glyphwell::fonts
