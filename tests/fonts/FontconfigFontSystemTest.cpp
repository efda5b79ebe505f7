#include "fonts/FontconfigFontSystem.h"

#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "fonts/FontFixtures.h"
#include "fonts/FontRegistry.h"
#include "platform/Files.h"

namespace glyphwell::fonts {
namespace {

namespace fs = std::filesystem;

bool Contains(const std::vector<std::string>& files, const fs::path& file) {
    return std::find(files.begin(), files.end(), file.string()) != files.end();
}

class FontconfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(test::kDejaVuSans, sandbox_.SystemFolder() / "DejaVuSans.ttf");
        fs::copy_file(test::kMicroHei, sandbox_.SystemFolder() / "wqy-microhei.ttc");
        fs::copy_file(test::kDejaVuFolder / "DejaVuSans-Bold.ttf",
                      sandbox_.FontsFolder() / "user-bold.ttf");
        test::WriteRenamedFont(source_ / "Two Words.ttf", "Two Words");
    }

    std::string Fonts() const { return sandbox_.FontsFolder().string() + "/"; }

    test::FontconfigSandbox sandbox_;
    test::TempDir source_;
};

TEST_F(FontconfigTest, DefaultPathsFollowTheXdgFolders) {
    FontconfigPaths paths = DefaultFontconfigPaths();
    EXPECT_EQ(paths.fontsFolder, Fonts());
    EXPECT_EQ(paths.rejectFile, sandbox_.RejectFile());
}

TEST_F(FontconfigTest, KeyListsEveryFontFileOnceInPathOrderRegularFacesFirst) {
    FontconfigFontSystem system;
    std::vector<FontsKeyValue> values = system.EnumerateFontsKey();
    std::string systemFolder = sandbox_.SystemFolder().string();
    ASSERT_EQ(values.size(), 3u);
    // The user's bold file comes first by path, but the family's regular face takes its place.
    EXPECT_EQ(values[0].data, systemFolder + "/DejaVuSans.ttf");
    EXPECT_EQ(values[0].name, "DejaVu Sans (TrueType)");
    EXPECT_EQ(values[1].data, "user-bold.ttf");
    // The collection's two faces give one value, named after its first face.
    EXPECT_EQ(values[2].data, systemFolder + "/wqy-microhei.ttc");
    EXPECT_EQ(values[2].name, "WenQuanYi Micro Hei (TrueType)");
}

TEST_F(FontconfigTest, TheRegularFaceStandsForAFamilyInFourStyles) {
    // By path the bold file would come first and stand for the family's shared name.
    for (const char* style : {"-Bold", "-BoldItalic", "-Italic", ""}) {
        const std::string file = std::string("DejaVuSerif") + style + ".ttf";
        fs::copy_file(test::kDejaVuFolder / file, sandbox_.FontsFolder() / file);
    }
    FontconfigFontSystem system;
    FontRegistry registry(system);
    registry.LoadFontTable();
    const int n = registry.FindFontEntry("DejaVu Serif");
    ASSERT_NE(n, 0);
    EXPECT_EQ(fs::path(registry.FilePath(n)).filename(), "DejaVuSerif.ttf");
}

TEST_F(FontconfigTest, FamilyFileIsFoundByTheFamilyAlone) {
    FcInitReinitialize();  // the process's configuration, read again for this sandbox
    const std::string systemFolder = sandbox_.SystemFolder().string();
    const struct {
        const char* family;
        std::string file;
    } cases[] = {
        {"WenQuanYi Micro Hei", systemFolder + "/wqy-microhei.ttc"},
        {"wenquanyi micro hei", systemFolder + "/wqy-microhei.ttc"},
        {"DejaVu Sans", systemFolder + "/DejaVuSans.ttf"},
        {"No Such Family", ""},  // not the closest font fontconfig would offer instead
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontFileOfFamily(c.family), c.file) << c.family;
    }
}

// The files the process's shared configuration lists.
std::set<std::string> SharedFiles() {
    std::set<std::string> files;
    FcConfig* config = FcConfigReference(nullptr);
    for (FcSetName setName : {FcSetSystem, FcSetApplication}) {
        FcFontSet* set = FcConfigGetFonts(config, setName);
        for (int i = 0; set != nullptr && i < set->nfont; ++i) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch) {
                files.insert(reinterpret_cast<const char*>(file));
            }
        }
    }
    FcConfigDestroy(config);
    return files;
}

TEST_F(FontconfigTest, TheSharedListCanLeaveOutTheUsersFoldersButAKeptFile) {
    fs::copy_file(source_ / "Two Words.ttf", sandbox_.FontsFolder() / "two.ttf");
    fs::copy_file(test::kDejaVuFolder / "DejaVuSerif.ttf", sandbox_.FontsFolder() / "kept.ttf");
    FcInitReinitialize();
    const std::string system = (sandbox_.SystemFolder() / "DejaVuSans.ttf").string();
    const std::string user = Fonts() + "user-bold.ttf";
    const std::string kept = Fonts() + "kept.ttf";
    ASSERT_EQ(UserFontFolders().front(), Fonts());

    ASSERT_TRUE(LimitSharedFontList(UserFontFolders(), {kept}));
    const std::set<std::string> shared = SharedFiles();
    EXPECT_TRUE(shared.contains(system));
    EXPECT_TRUE(shared.contains(kept));
    EXPECT_FALSE(shared.contains(user));
    EXPECT_FALSE(shared.contains(Fonts() + "two.ttf"));
    // Our own look-ups still see every installed font.
    EXPECT_EQ(FontFileOfFamily("Two Words"), Fonts() + "two.ttf");

    EXPECT_TRUE(RestoreSharedFontList());
    EXPECT_TRUE(SharedFiles().contains(user));
    EXPECT_FALSE(RestoreSharedFontList());

    // A folder no rule names exactly leaves the list whole.
    for (const std::string& folder :
         {Fonts() + "*/", std::string("relative/"), Fonts() + '\x01' + "/", Fonts() + "x"}) {
        EXPECT_FALSE(LimitSharedFontList({folder}, {})) << folder;
    }
    EXPECT_TRUE(SharedFiles().contains(user));
}

TEST_F(FontconfigTest, TheFirstFaceForAGenericNameMayBeAUsersFont) {
    // A desktop rule that prefers the user's font for fantasy.
    platform::WriteWholeFile(
        sandbox_.RejectFile(),
        "<fontconfig><alias><family>fantasy</family><prefer><family>Two Words</family></prefer>"
        "</alias></fontconfig>");
    fs::copy_file(source_ / "Two Words.ttf", sandbox_.FontsFolder() / "two.ttf");
    FcInitReinitialize();
    ASSERT_TRUE(LimitSharedFontList(UserFontFolders(), {}));
    const InstalledFace fantasy = FirstFaceForGenericFamily("fantasy");
    RestoreSharedFontList();
    EXPECT_EQ(fantasy.family, "Two Words");
    EXPECT_EQ(fantasy.file, Fonts() + "two.ttf");
}

TEST_F(FontconfigTest, InstallIsListedAtOnceAndUninstallHidesTheFileButKeepsIt) {
    FontconfigFontSystem system;
    FontRegistry registry(system);
    std::string target;
    ASSERT_EQ(InstallFont(system, (source_ / "Two Words.ttf").string(), target), 1);
    // Listed before any announcement, as the download path reloads first.
    registry.LoadFontTable();
    int n = registry.FindFontEntry("Two Words");
    ASSERT_NE(n, 0);
    EXPECT_EQ(registry.FilePath(n), Fonts() + "Two Words.ttf");
    EXPECT_EQ(registry.ValueName(n), "TwoWords (TrueType)");

    ASSERT_TRUE(UninstallFont(registry, n));
    // The second removal finds nothing left to remove.
    EXPECT_FALSE(ReleaseFontFile(system, Fonts() + "Two Words.ttf"));
    registry.LoadFontTable();
    EXPECT_EQ(registry.FindFontEntry("Two Words"), 0);
    EXPECT_TRUE(platform::FileExists(sandbox_.FontsFolder() / "Two Words.ttf"));
    EXPECT_EQ(system.RejectedFiles(), std::vector<std::string>{Fonts() + "Two Words.ttf"});

    // Installing again lifts the rejection.
    target.clear();
    ASSERT_EQ(InstallFont(system, (source_ / "Two Words.ttf").string(), target), 1);
    registry.LoadFontTable();
    EXPECT_NE(registry.FindFontEntry("Two Words"), 0);
    EXPECT_TRUE(system.RejectedFiles().empty());
}

TEST_F(FontconfigTest, ASecondFileWithAnInstalledNameAddsAValueButNoEntry) {
    FontconfigFontSystem system;
    FontRegistry registry(system);
    std::string target = "another.ttf";
    ASSERT_EQ(InstallFont(system, test::kDejaVuSans.string(), target), 1);
    std::vector<FontsKeyValue> values = system.EnumerateFontsKey();
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0].data, "another.ttf");
    EXPECT_EQ(values[0].name, "DejaVuSans (TrueType)");
    registry.LoadFontTable();
    // The first value in path order wins.
    EXPECT_EQ(registry.FilePath(registry.FindFontEntry("DejaVu Sans")), Fonts() + "another.ttf");
    EXPECT_EQ(registry.Count(), 2);
}

TEST_F(FontconfigTest, FontsRemovedByAnotherProgramAreNoticed) {
    FontconfigFontSystem system;
    ASSERT_EQ(system.EnumerateFontsKey().size(), 3u);
    {
        FontconfigFontSystem other;
        ASSERT_TRUE(other.RemoveFontResource(Fonts() + "user-bold.ttf"));
    }
    // Configuration times are kept in whole seconds.
    std::filesystem::last_write_time(
        sandbox_.RejectFile(),
        std::filesystem::file_time_type::clock::now() + std::chrono::seconds(2));
    EXPECT_FALSE(system.RemoveFontResource(Fonts() + "user-bold.ttf"));
    EXPECT_EQ(system.EnumerateFontsKey().size(), 2u);
}

TEST_F(FontconfigTest, UninstallOfAFontNoLongerInTheFontSetKeepsItsValue) {
    FontconfigFontSystem system;
    FontRegistry registry(system);
    std::string target = "kept.ttf";
    InstallFont(system, (source_ / "Two Words.ttf").string(), target);
    registry.LoadFontTable();
    int n = registry.FindFontEntry("Two Words");
    ASSERT_NE(n, 0);
    ASSERT_TRUE(ReleaseFontFile(system, Fonts() + "kept.ttf"));
    EXPECT_FALSE(UninstallFont(registry, n));
    std::string key = platform::ReadWholeFile(sandbox_.KeyFile()).value();
    EXPECT_NE(key.find("kept.ttf\tTwoWords (TrueType)"), std::string::npos);
}

// Every path under `root`, to show that nothing was written.
std::set<fs::path> Tree(const fs::path& root) {
    std::set<fs::path> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        paths.insert(entry.path());
    }
    return paths;
}

TEST_F(FontconfigTest, TargetNamesThatAreNoPlainFileNameAreRefused) {
    FontconfigFontSystem system;
    const fs::path sandboxRoot = sandbox_.FontsFolder().parent_path().parent_path();
    const std::set<fs::path> before = Tree(sandboxRoot);
    const std::set<fs::path> sourcesBefore = Tree(source_.Path());
    const std::string source = (source_ / "Two Words.ttf").string();
    const std::string names[] = {
        "../escape.ttf",
        "../../../escape.ttf",
        "sub/font.ttf",
        (source_ / "absolute.ttf").string(),
        "/",
        ".",
        "..",
        " . .",  // ".." once the spaces are gone
        "line\nbreak.ttf",
        "tab\t.ttf",
        "return\r.ttf",
        std::string("nul\0.ttf", 8),
        "delete\x7F.ttf",
        "next-line\xC2\x85.ttf",  // U+0085, a C1 control
        "*.ttf",
        "any?.ttf",
        kLegacyFontsKeyFileName,
        std::string(197, 'a') + ".ttf",
    };
    for (const std::string& name : names) {
        std::string target = name;
        EXPECT_EQ(InstallTargetName(system, source, target), "") << name;
        EXPECT_EQ(InstallFont(system, source, target), 0) << name;
    }
    EXPECT_EQ(Tree(sandboxRoot), before);
    EXPECT_EQ(Tree(source_.Path()), sourcesBefore);

    // The longest plain name still goes in.
    std::string longest = std::string(196, 'a') + ".ttf";
    EXPECT_EQ(InstallFont(system, source, longest), 1);
    EXPECT_TRUE(platform::FileExists(sandbox_.FontsFolder() / longest));
}

TEST_F(FontconfigTest, NoFontNameReachesTheRecordsOfEarlierInstalls) {
    FontconfigFontSystem system;
    std::string kept = "kept.ttf";
    ASSERT_EQ(InstallFont(system, test::kDejaVuSans.string(), kept), 1);
    const std::string source = (source_ / "Two Words.ttf").string();
    std::string legacyName = kLegacyFontsKeyFileName;
    EXPECT_EQ(InstallFont(system, source, legacyName), 0);
    // The key's own name is just a font's name in the Fonts folder.
    std::string keyName = sandbox_.KeyFile().filename().string();
    EXPECT_EQ(InstallFont(system, source, keyName), 1);

    FontconfigFontSystem fresh;
    std::map<std::string, std::string> names;
    for (const FontsKeyValue& value : fresh.EnumerateFontsKey()) {
        names[value.data] = value.name;
    }
    // Recorded names have no spaces; names made up from the font have.
    EXPECT_EQ(names["kept.ttf"], "DejaVuSans (TrueType)");
    EXPECT_EQ(names[keyName], "TwoWords (TrueType)");
    EXPECT_EQ(names.count(legacyName), 0u);
}

TEST_F(FontconfigTest, AnySourceFileNameRoundTripsThroughTheKey) {
    FontconfigFontSystem system;
    std::string kept = "kept.ttf";
    ASSERT_EQ(InstallFont(system, test::kDejaVuSans.string(), kept), 1);
    const std::string odd = "Two\nLines\tand \\n back\\.ttf";
    fs::copy_file(source_ / "Two Words.ttf", source_ / odd);
    std::string target;
    ASSERT_EQ(InstallFont(system, (source_ / odd).string(), target), 1);
    EXPECT_EQ(target, odd);

    FontconfigFontSystem fresh;
    FontRegistry registry(fresh);
    registry.LoadFontTable();
    int n = registry.FindFontEntry("Two Words");
    ASSERT_NE(n, 0);
    EXPECT_EQ(registry.FilePath(n), Fonts() + odd);
    EXPECT_EQ(registry.ValueName(n), "TwoWords (TrueType)");
    EXPECT_EQ(registry.ValueName(registry.FindFontEntry("DejaVu Sans")), "DejaVuSans (TrueType)");
}

TEST_F(FontconfigTest, AFileNoRuleCanNameStaysInstalledAndSpoilsNoOtherRule) {
    FontconfigFontSystem system;
    ASSERT_TRUE(system.RemoveFontResource(Fonts() + "user-bold.ttf"));
    const std::string bell = "bell\a.ttf";
    fs::copy_file(source_ / "Two Words.ttf", source_ / bell);
    std::string belled;
    ASSERT_EQ(InstallFont(system, (source_ / bell).string(), belled), 1);
    EXPECT_FALSE(system.RemoveFontResource(Fonts() + bell));
    // A name that is no UTF-8 could never be uninstalled again: refused, and said why.
    const std::string bad = "bad\xFF.ttf";
    fs::copy_file(source_ / "Two Words.ttf", source_ / bad);
    std::string refused;
    std::string reason;
    EXPECT_EQ(InstallFont(system, (source_ / bad).string(), refused, &reason), 0);
    EXPECT_EQ(reason, "文件名不是有效的UTF-8文本");
    EXPECT_FALSE(fs::exists(Fonts() + bad));
    // A carriage return survives the XML reader.
    const std::string returned = "return\r.ttf";
    fs::copy_file(source_ / "Two Words.ttf", source_ / returned);
    std::string target;
    ASSERT_EQ(InstallFont(system, (source_ / returned).string(), target), 1);
    EXPECT_TRUE(system.RemoveFontResource(Fonts() + target));
    EXPECT_EQ(system.RejectedFiles(),
              (std::vector<std::string>{Fonts() + target, Fonts() + "user-bold.ttf"}));
    std::vector<std::string> listed = test::FcListFiles();
    EXPECT_FALSE(Contains(listed, sandbox_.FontsFolder() / "user-bold.ttf"));
    EXPECT_FALSE(Contains(listed, sandbox_.FontsFolder() / target));
    EXPECT_TRUE(Contains(listed, sandbox_.FontsFolder() / bell));
}

TEST_F(FontconfigTest, TheOldKeyInTheFontsFolderIsMovedOnce) {
    const fs::path legacy = sandbox_.FontsFolder() / kLegacyFontsKeyFileName;
    ASSERT_TRUE(platform::WriteWholeFile(legacy, "user-bold.ttf\tMy Bold (TrueType)\n"));
    auto firstName = [] {
        FontconfigFontSystem system;
        for (FontsKeyValue& value : system.EnumerateFontsKey()) {
            if (value.data == "user-bold.ttf") {
                return value;
            }
        }
        return FontsKeyValue{};
    };
    FontsKeyValue first = firstName();
    EXPECT_EQ(first.data, "user-bold.ttf");
    EXPECT_EQ(first.name, "My Bold (TrueType)");
    EXPECT_FALSE(fs::exists(legacy));
    EXPECT_TRUE(platform::FileExists(sandbox_.KeyFile()));

    // A file by the old name that turns up later is not read again.
    ASSERT_TRUE(platform::WriteWholeFile(legacy, "user-bold.ttf\tOther (TrueType)\n"));
    EXPECT_EQ(firstName().name, "My Bold (TrueType)");
    EXPECT_TRUE(fs::exists(legacy));
}

TEST_F(FontconfigTest, SystemFontsAreRejectedForThisUser) {
    FontconfigFontSystem system;
    FontRegistry registry(system);
    registry.LoadFontTable();
    int n = registry.FindFontEntry("文泉驿微米黑");
    ASSERT_NE(n, 0);
    ASSERT_TRUE(UninstallFont(registry, n));
    system.AnnounceFontChange();
    registry.LoadFontTable();
    EXPECT_EQ(registry.FindFontEntry("文泉驿微米黑"), 0);
    EXPECT_TRUE(platform::FileExists(sandbox_.SystemFolder() / "wqy-microhei.ttc"));
    EXPECT_FALSE(Contains(test::FcListFiles(), sandbox_.SystemFolder() / "wqy-microhei.ttc"));
}

TEST_F(FontconfigTest, RulesForFilesThatAreGoneArePruned) {
    FontconfigFontSystem system;
    ASSERT_TRUE(system.RemoveFontResource(Fonts() + "user-bold.ttf"));
    ASSERT_TRUE(system.RemoveFontResource(sandbox_.SystemFolder().string() + "/DejaVuSans.ttf"));
    ASSERT_TRUE(platform::DeleteFile(sandbox_.FontsFolder() / "user-bold.ttf"));
    ASSERT_TRUE(system.RemoveFontResource(sandbox_.SystemFolder().string() + "/wqy-microhei.ttc"));
    EXPECT_EQ(system.RejectedFiles(),
              (std::vector<std::string>{sandbox_.SystemFolder().string() + "/DejaVuSans.ttf",
                                        sandbox_.SystemFolder().string() + "/wqy-microhei.ttc"}));
    EXPECT_FALSE(system.RemoveFontResource(Fonts() + "user-bold.ttf"));
    EXPECT_FALSE(system.RemoveFontResource("/no/such/font.ttf"));
}

TEST_F(FontconfigTest, AFontResourceAddedForThisProcessIsRemovableOnce) {
    FontconfigFontSystem system;
    std::string outside = (source_ / "Two Words.ttf").string();
    EXPECT_TRUE(system.AddFontResource(outside));
    system.AnnounceFontChange();
    // Added for this process only; still removable, once.
    EXPECT_TRUE(system.RemoveFontResource(outside));
    EXPECT_FALSE(system.RemoveFontResource(outside));
}

// The command-line program against another process's fc-list, in the same environment.
class CliTest : public FontconfigTest {
  protected:
    std::string Cli(const std::string& arguments, int* exitCode = nullptr) {
        return test::RunCli(home_ / "home", arguments, exitCode);
    }
    std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

    test::TempDir home_;
};

TEST_F(CliTest, InstallAndUninstallAreSeenByFcList) {
    int code = -1;
    fs::path installed = sandbox_.FontsFolder() / "TwoWords.ttf";
    EXPECT_EQ(Cli("install " + Quoted(source_ / "Two Words.ttf") + " 'Two Words.ttf'", &code),
              "display name: Two Words\nfile in the Fonts folder: TwoWords.ttf\n");
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Contains(test::FcListFiles(), installed));
    std::string listing = Cli("fonts");
    EXPECT_NE(listing.find("Two Words\t" + installed.string() + "\tTwoWords (TrueType)\n"),
              std::string::npos)
        << listing;

    EXPECT_EQ(Cli("uninstall 'Two Words'", &code), "");
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(Contains(test::FcListFiles(), installed));
    EXPECT_TRUE(platform::FileExists(installed));
    EXPECT_EQ(Cli("fonts").find("Two Words\t"), std::string::npos);

    Cli("uninstall 'Two Words' 2>/dev/null", &code);
    EXPECT_EQ(code, 1);
    Cli("uninstall 'two words' 2>/dev/null", &code);
    EXPECT_EQ(code, 1);
}

TEST_F(CliTest, InstallRefusesATargetOutsideTheFontsFolder) {
    int code = -1;
    std::string output =
        Cli("install " + Quoted(source_ / "Two Words.ttf") + " ../escape.ttf 2>&1", &code);
    EXPECT_EQ(code, 1);
    EXPECT_NE(output.find("\"../escape.ttf\" is not a file name a font may take"),
              std::string::npos)
        << output;
    EXPECT_FALSE(fs::exists(sandbox_.FontsFolder().parent_path() / "escape.ttf"));
}

TEST_F(CliTest, FontsListsTheTableAndNamePrintsDisplayNames) {
    std::string systemFolder = sandbox_.SystemFolder().string();
    // The family's regular face stands for its name, not the bold file that sorts first.
    EXPECT_EQ(Cli("fonts"), "DejaVu Sans\t" + systemFolder +
                                "/DejaVuSans.ttf\tDejaVu Sans (TrueType)\n"
                                "文泉驿微米黑\t" +
                                systemFolder +
                                "/wqy-microhei.ttc\tWenQuanYi Micro Hei (TrueType)\n");
    ASSERT_TRUE(platform::WriteWholeFile(source_ / "text.ttf", "text"));
    int code = -1;
    EXPECT_EQ(Cli("name user-bold.ttf " + Quoted(source_ / "text.ttf") + " " + Quoted(test::kUMing),
                  &code),
              "DejaVu Sans\n\nAR PL UMing CN\n");
    EXPECT_EQ(code, 1);  // the text file gave no name
    Cli("name user-bold.ttf", &code);
    EXPECT_EQ(code, 0);
    Cli("install " + Quoted(source_ / "text.ttf") + " 2>/dev/null", &code);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(platform::FileExists(sandbox_.FontsFolder() / "text.ttf"));
}

}  // namespace
}  // namespace glyphwell::fonts
