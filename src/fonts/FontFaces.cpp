#include "fonts/FontFaces.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "fonts/FontconfigText.h"
#include "platform/Files.h"
#include "platform/RunDirectory.h"

namespace glyphwell::fonts {
namespace fs = std::filesystem;

namespace {

std::mutex sharedListMutex;
// The whole shared configuration while the current one is limited; holds a reference.
FcConfig* setAsideConfig = nullptr;

// The configuration that lists every installed font, referenced: release with FcConfigDestroy.
FcConfig* WholeConfig() {
    std::lock_guard lock(sharedListMutex);
    return FcConfigReference(setAsideConfig);
}

}  // namespace

std::vector<std::string> UserFontFolders() {
    const char* home = std::getenv("HOME");
    std::vector<std::string> folders;
    for (const fs::path& folder : {platform::UserDataHome() / "fonts",
                                   home != nullptr ? fs::path(home) / ".fonts" : fs::path()}) {
        // fontconfig names the files under a folder as it canonicalises the folder.
        std::string path = platform::PathToUtf8((folder / "").lexically_normal());
        if (path.starts_with('/')) {
            folders.push_back(std::move(path));
        }
    }
    return folders;
}

bool LimitSharedFontList(const std::vector<std::string>& userFolders,
                         const std::vector<std::string>& keepFiles) {
    std::string rules = "<fontconfig><selectfont>";
    for (const std::string& file : keepFiles) {
        if (FitsInRule(file)) {
            rules += "<acceptfont><glob>" + XmlEscape(file) + "</glob></acceptfont>";
        }
    }
    rules += "<rejectfont>";
    bool rejects = false;
    for (const std::string& folder : userFolders) {
        // A glob character in the name would reject more than the folder.
        if (FitsInRule(folder) && folder.starts_with('/') && folder.ends_with('/') &&
            folder.find_first_of("*?[") == std::string::npos) {
            rules += "<glob>" + XmlEscape(folder) + "*</glob>";
            rejects = true;
        }
    }
    rules += "</rejectfont></selectfont></fontconfig>";
    std::lock_guard lock(sharedListMutex);
    if (!rejects || setAsideConfig != nullptr) {
        return rejects;
    }
    // The desktop's own configuration with the rules after it.
    FcConfig* limited = FcInitLoadConfig();
    if (limited == nullptr) {
        return false;
    }
    FcConfig* whole = FcConfigReference(nullptr);
    const bool made = whole != nullptr &&
                      FcConfigParseAndLoadFromMemory(
                          limited, reinterpret_cast<const FcChar8*>(rules.c_str()), FcTrue) &&
                      FcConfigBuildFonts(limited) && FcConfigSetCurrent(limited);
    FcConfigDestroy(limited);  // the current configuration keeps its own reference
    if (!made) {
        if (whole != nullptr) {
            FcConfigDestroy(whole);
        }
        return false;
    }
    setAsideConfig = whole;
    return true;
}

bool RestoreSharedFontList() {
    std::lock_guard lock(sharedListMutex);
    if (setAsideConfig == nullptr) {
        return false;
    }
    FcConfigSetCurrent(setAsideConfig);
    FcConfigDestroy(setAsideConfig);
    setAsideConfig = nullptr;
    return true;
}

std::string FontFileOfFamily(const std::string& family) {
    FcConfig* config = WholeConfig();
    FcPattern* wanted = FcPatternCreate();
    FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(config, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, wanted, &result);
    FcPatternDestroy(wanted);
    std::string file;
    if (match != nullptr) {
        // The match is the closest font, whatever its family; only the family asked for counts.
        for (int k = 0; file.empty(); ++k) {
            FcChar8* name = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, k, &name) != FcResultMatch) {
                break;
            }
            if (SameFamily(reinterpret_cast<const char*>(name), family)) {
                file = PatternText(match, FC_FILE);
            }
        }
        FcPatternDestroy(match);
    }
    if (config != nullptr) {
        FcConfigDestroy(config);
    }
    return file;
}

InstalledFace FirstFaceForGenericFamily(const std::string& generic) {
    FcConfig* config = WholeConfig();
    FcPattern* wanted = FcPatternCreate();
    FcValue value{};
    value.type = FcTypeString;
    value.u.s = reinterpret_cast<const FcChar8*>("");
    FcPatternAdd(wanted, FC_FAMILY, value, FcTrue);
    FcPatternAddInteger(wanted, FC_SLANT, FC_SLANT_ROMAN);
    value.u.s = reinterpret_cast<const FcChar8*>(generic.c_str());
    FcPatternAddWeak(wanted, FC_FAMILY, value, FcTrue);
    FcConfigSubstitute(config, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    FcFontSet* sorted = FcFontSort(config, wanted, FcFalse, nullptr, &result);
    FcPatternDestroy(wanted);
    InstalledFace face;
    for (int i = 0; sorted != nullptr && i < sorted->nfont && face.family.empty(); ++i) {
        face = {PatternText(sorted->fonts[i], FC_FAMILY), PatternText(sorted->fonts[i], FC_FILE)};
    }
    if (sorted != nullptr) {
        FcFontSetDestroy(sorted);
    }
    if (config != nullptr) {
        FcConfigDestroy(config);
    }
    return face;
}

}  // namespace glyphwell::fonts
