#include "fonts/FontRegistry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/StartupLoader.h"
#include "fonts/FontFixtures.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace glyphwell::fonts {
namespace {

// A key held in memory; records what the primitives asked for.
class FakeFontSystem : public FontSystem {
  public:
    explicit FakeFontSystem(std::string fontsFolder) : fontsFolder_(std::move(fontsFolder)) {}

    std::string FontsFolder() override { return fontsFolder_; }
    std::vector<FontsKeyValue> EnumerateFontsKey() override { return values; }
    bool SetFontsKeyValue(const std::string& name, const std::string& data) override {
        for (FontsKeyValue& value : values) {
            if (value.name == name) {
                value.data = data;
                return true;
            }
        }
        values.push_back({name, data});
        return true;
    }
    bool DeleteFontsKeyValue(const std::string& name, const std::string&) override {
        std::erase_if(values, [&](const FontsKeyValue& value) { return value.name == name; });
        return true;
    }
    bool AddFontResource(const std::string& filePath) override {
        added.push_back(filePath);
        return true;
    }
    bool RemoveFontResource(const std::string& filePath) override {
        removed.push_back(filePath);
        return removable;
    }
    void AnnounceFontChange() override { ++announcements; }

    std::vector<FontsKeyValue> values;
    std::vector<std::string> added;
    std::vector<std::string> removed;
    bool removable = true;
    int announcements = 0;

  private:
    std::string fontsFolder_;
};

class FontRegistryTest : public ::testing::Test {
  protected:
    std::string Folder() const { return fontsFolder_.Path().string() + "/"; }

    test::TempDir fontsFolder_;
    FakeFontSystem system_{Folder()};
    FontRegistry registry_{system_};
};

TEST_F(FontRegistryTest, LoadKeepsTheFirstOfEachNameAndSkipsFilesWithoutOne) {
    test::WriteRenamedFont(fontsFolder_ / "two.ttf", "Two Words");
    ASSERT_TRUE(platform::WriteWholeFile(fontsFolder_ / "text.ttf", "plain text"));
    std::string dejaVu = test::kDejaVuFolder.string();
    system_.values = {
        {"DejaVu Sans Bold (TrueType)", dejaVu + "/DejaVuSans-Bold.ttf"},
        {"Gone (TrueType)", "gone.ttf"},
        {"DejaVu Sans (TrueType)", dejaVu + "/DejaVuSans.ttf"},  // same face name: skipped
        {"Text (TrueType)", "text.ttf"},
        {"TwoWords (TrueType)", "two.ttf"},
        {"WenQuanYi (TrueType)", test::kMicroHei.string()},
    };
    registry_.LoadFontTable();
    ASSERT_EQ(registry_.Count(), 3);
    EXPECT_EQ(registry_.DisplayNames(),
              (std::vector<std::string>{"DejaVu Sans", "Two Words", "文泉驿微米黑"}));
    EXPECT_EQ(registry_.FilePath(1), dejaVu + "/DejaVuSans-Bold.ttf");
    EXPECT_EQ(registry_.ValueName(1), "DejaVu Sans Bold (TrueType)");
    EXPECT_EQ(registry_.FilePath(2), Folder() + "two.ttf");
    EXPECT_EQ(registry_.ValueName(3), "WenQuanYi (TrueType)");
    EXPECT_EQ(registry_.DisplayName(0), "");
    EXPECT_EQ(registry_.DisplayName(4), "");

    // A reload replaces the table.
    system_.values.erase(system_.values.begin());
    registry_.LoadFontTable();
    EXPECT_EQ(registry_.ValueName(1), "DejaVu Sans (TrueType)");
    EXPECT_EQ(registry_.Count(), 3);
}

TEST_F(FontRegistryTest, FindIsExactAndCaseSensitive) {
    system_.values = {{"a", test::kDejaVuSans.string()}, {"b", test::kUMing.string()}};
    registry_.LoadFontTable();
    struct Case {
        std::string name;
        int position;
    } cases[] = {
        {"DejaVu Sans", 1}, {"AR PL UMing CN", 2}, {"dejavu sans", 0},
        {"DejaVu", 0},      {"DejaVu Sans ", 0},   {"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(registry_.FindFontEntry(c.name), c.position) << c.name;
        EXPECT_EQ(registry_.InstalledMark(c.name), c.position != 0 ? 3 : 1) << c.name;
    }
}

TEST_F(FontRegistryTest, LoaderStepFillsTheTableAndTheSnapshotInTableOrder) {
    system_.values = {{"b", test::kMicroHei.string()}, {"a", test::kDejaVuSans.string()}};
    test::TempDir run;
    app::StartupSteps steps;
    steps.loadFontTable = LoadFontTableStep(registry_);
    app::StartupLoader loader(std::move(steps), run / "xtzt.data");
    loader.RunSteps();
    EXPECT_EQ(registry_.Count(), 2);
    EXPECT_EQ(platform::GbkToUtf8(platform::ReadWholeFile(run / "xtzt.data").value()),
              ",文泉驿微米黑,DejaVu Sans,");
}

TEST_F(FontRegistryTest, LoadsNameFilesThroughTheNameCacheAndSeeFilesReplacedInPlace) {
    const std::filesystem::path cacheFile = fontsFolder_ / "cache";
    const auto load = [&] {
        FontRegistry registry(
            system_, std::make_unique<DisplayNameCache>(cacheFile, std::chrono::nanoseconds(0)));
        registry.LoadFontTable();
        return registry.DisplayNames();
    };
    test::WriteRenamedFont(fontsFolder_ / "a.ttf", "Alpha Face");
    test::WriteRenamedFont(fontsFolder_ / "b.ttf", "Beta Face");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    system_.values = {{"A (TrueType)", "a.ttf"}, {"B (TrueType)", "b.ttf"}};
    EXPECT_EQ(load(), (std::vector<std::string>{"Alpha Face", "Beta Face"}));
    // A name of the cache file shows as long as its file is unchanged...
    const std::string a = Folder() + "a.ttf";
    ASSERT_TRUE(platform::WriteWholeFile(
        cacheFile, SerialiseDisplayNames({{a, IdentifyFile(a).value(), "Cached Face"}})));
    EXPECT_EQ(load(), (std::vector<std::string>{"Cached Face", "Beta Face"}));
    // ...and the font's own name once another font was copied over it.
    platform::CopyFile(fontsFolder_ / "b.ttf", fontsFolder_ / "a.ttf", true);
    EXPECT_EQ(load(), (std::vector<std::string>{"Beta Face"}));
}

TEST_F(FontRegistryTest, InstallNamesTheValueAndTheCopyWithoutSpaces) {
    test::TempDir source;
    test::WriteRenamedFont(source / "Two Words.ttf", "Two\u3000Words Sans");
    std::string sourcePath = (source / "Two Words.ttf").string();
    struct Case {
        std::string target;
        std::string expected;
    } cases[] = {
        {"My Font.ttf", "MyFont.ttf"},
        {"\u3000全角 空格.ttf", "全角空格.ttf"},
        {"", "Two Words.ttf"},  // the source's own file name, as it is
    };
    for (const Case& c : cases) {
        std::string target = c.target;
        EXPECT_EQ(InstallFont(system_, sourcePath, target), 1);
        EXPECT_EQ(target, c.expected);
        EXPECT_EQ(platform::ReadWholeFile(fontsFolder_ / c.expected),
                  platform::ReadWholeFile(sourcePath));
        EXPECT_EQ(system_.added.back(), Folder() + c.expected);
        ASSERT_EQ(system_.values.size(), 1u);
        EXPECT_EQ(system_.values[0].name, "TwoWordsSans (TrueType)");
        EXPECT_EQ(system_.values[0].data, c.expected);
    }
    // Installing again overwrites the copy and adds the file a second time.
    std::string target = "My Font.ttf";
    EXPECT_EQ(InstallFont(system_, sourcePath, target), 1);
    EXPECT_EQ(std::count(system_.added.begin(), system_.added.end(), Folder() + "MyFont.ttf"), 2);
    EXPECT_EQ(system_.announcements, 0);
}

TEST_F(FontRegistryTest, InstallFromAPathWithoutSlashUsesItWholeAsTargetName) {
    test::TempDir cwd;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(cwd.Path());
    std::filesystem::copy_file(test::kDejaVuSans, "local.ttf");
    std::string target;
    int result = InstallFont(system_, "local.ttf", target);
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(target, "local.ttf");
    EXPECT_TRUE(platform::FileExists(fontsFolder_ / "local.ttf"));
}

TEST_F(FontRegistryTest, InstallWithoutDisplayNameDoesNothing) {
    test::TempDir source;
    ASSERT_TRUE(platform::WriteWholeFile(source / "bad.ttf", "not a font"));
    for (const std::string& path : {(source / "bad.ttf").string(), (source / "none").string()}) {
        std::string target = "a b.ttf";
        EXPECT_EQ(InstallFont(system_, path, target), 0);
        EXPECT_EQ(target, "ab.ttf");
    }
    EXPECT_TRUE(platform::ListFiles(fontsFolder_.Path()).empty());
    EXPECT_TRUE(system_.added.empty());
    EXPECT_TRUE(system_.values.empty());
}

TEST_F(FontRegistryTest, UninstallKeepsTheValueWhenTheFontCannotBeRemoved) {
    std::filesystem::copy_file(test::kDejaVuSans, fontsFolder_ / "f.ttf");
    ASSERT_TRUE(platform::SetReadOnly(fontsFolder_ / "f.ttf", true));
    system_.values = {{"DejaVuSans (TrueType)", "f.ttf"}};
    registry_.LoadFontTable();

    system_.removable = false;
    EXPECT_FALSE(UninstallFont(registry_, 1));
    EXPECT_EQ(system_.values.size(), 1u);
    // The file is left writable for the caller either way.
    EXPECT_FALSE(platform::IsReadOnly(fontsFolder_ / "f.ttf"));

    system_.removable = true;
    EXPECT_TRUE(UninstallFont(registry_, 1));
    EXPECT_TRUE(system_.values.empty());
    EXPECT_TRUE(platform::FileExists(fontsFolder_ / "f.ttf"));
    EXPECT_EQ(system_.announcements, 0);
    EXPECT_FALSE(UninstallFont(registry_, 2));  // no such entry
}

TEST_F(FontRegistryTest, ReleaseAnnouncesOnlyWhenTheFileWasRemoved) {
    EXPECT_TRUE(ReleaseFontFile(system_, "/x.ttf"));
    EXPECT_EQ(system_.announcements, 1);
    system_.removable = false;
    EXPECT_FALSE(ReleaseFontFile(system_, "/x.ttf"));
    EXPECT_EQ(system_.announcements, 1);
}

TEST_F(FontRegistryTest, ReadersNeverSeeAHalfLoadedTable) {
    system_.values = {{"a", test::kDejaVuSans.string()}, {"b", test::kUMing.string()}};
    registry_.LoadFontTable();
    std::atomic<bool> done = false;
    std::thread reader([&] {
        while (!done) {
            EXPECT_EQ(registry_.FindFontEntry("AR PL UMing CN"), 2);
            EXPECT_EQ(registry_.Count(), 2);
        }
    });
    for (int i = 0; i < 5; ++i) {
        registry_.LoadFontTable();
        registry_.WithTable([](std::vector<FontEntry>& entries) {
            std::swap(entries[0], entries[1]);
            std::swap(entries[0], entries[1]);
        });
    }
    done = true;
    reader.join();
}

}  // namespace
}  // namespace glyphwell::fonts
