#include "fonts/DisplayNameCache.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <thread>

#include "fonts/FontFixtures.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace glyphwell::fonts {
namespace {

using namespace std::chrono_literals;

std::vector<CachedName> SomeNames() {
    return {{"/fonts/a.ttf", {1, 2, 3, 4, 5}, "Alpha"},
            {"/fonts/宋体.ttf", {1, 3, 70000, -1, 1'700'000'000'000'000'000}, "宋体"},
            {"/fonts/line\nbreak\t.ttf", {~0ULL, 9, 0, 0, 0}, ""}};
}

TEST(DisplayNameCache, WrittenNamesReadBack) {
    EXPECT_EQ(ParseDisplayNames(SerialiseDisplayNames(SomeNames())), SomeNames());
    EXPECT_EQ(ParseDisplayNames(SerialiseDisplayNames({})), std::vector<CachedName>());
}

// Every way a file can be damaged, planted or left by another version reads as no cache at all.
TEST(DisplayNameCache, AnyDamageRefusesTheWholeFile) {
    const std::string good = SerialiseDisplayNames(SomeNames());
    const auto withName = [](std::string path, std::string name) {
        return SerialiseDisplayNames({{std::move(path), {}, std::move(name)}});
    };
    std::string flipped = good;
    flipped[flipped.size() - 20] ^= 0x01;  // inside a record: the checksum no longer holds
    std::string otherVersion = good;
    otherVersion[8] = static_cast<char>(kDisplayNameCacheVersion + 1);
    std::string moreRecords = good;
    moreRecords[12] = static_cast<char>(SomeNames().size() + 1);
    std::string badMagic = good;
    badMagic[0] = 'X';
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"header only, cut", good.substr(0, 20)},
        {"cut in a record", good.substr(0, good.size() - 3)},
        {"one byte more", good + "x"},
        {"flipped byte", flipped},
        {"other version", otherVersion},
        {"count beyond the records", moreRecords},
        {"other magic", badMagic},
        {"relative path", withName("fonts/a.ttf", "A")},
        {"empty path", withName("", "A")},
        {"zero in path", withName(std::string("/a\0b", 4), "A")},
        {"zero in name", withName("/a", std::string("A\0B", 3))},
        {"name not UTF-8", withName("/a", "\xC3\x28")},
        {"overlong UTF-8", withName("/a", "\xC0\xAF")},
        {"name too long", withName("/a", std::string(kCachedNameMaxBytes + 1, 'n'))},
        {"path too long", withName("/" + std::string(kCachedPathMaxBytes, 'p'), "A")},
        {"same path twice", SerialiseDisplayNames({{"/a", {}, "A"}, {"/a", {}, "B"}})},
        {"over the size cap", std::string(kDisplayNameCacheMaxBytes + 1, '\0')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDisplayNames(c.bytes), std::nullopt) << c.what;
    }
}

class DisplayNameCacheFileTest : public ::testing::Test {
  protected:
    // A font file whose last change lies safely behind the coarse clock, so the cache keeps it.
    void WriteFont(const std::string& family) {
        test::WriteRenamedFont(font_, family);
        std::this_thread::sleep_for(30ms);
    }
    // Overwrites the file's bytes in place: same path, same inode.
    void OverwriteFontInPlace(const std::string& family) {
        test::WriteRenamedFont(dir_ / "other.ttf", family);
        const std::string bytes = platform::ReadWholeFile(dir_ / "other.ttf").value();
        const int fd = ::open(font_.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
        std::this_thread::sleep_for(30ms);
    }
    // A new process's first look at the font through the cache file.
    std::string NameInNewProcess() {
        DisplayNameCache cache(cacheFile_, 0ms);
        std::string name = cache.Name(font_.string(), IdentifyFile(font_.string()));
        cache.EndLoad({font_.string()});
        return name;
    }
    // A cache file that names the font file, as it is now, `name`.
    void PlantName(const std::string& name) {
        std::filesystem::create_directories(cacheFile_.parent_path());
        ASSERT_TRUE(platform::WriteWholeFile(
            cacheFile_,
            SerialiseDisplayNames({{font_.string(), IdentifyFile(font_.string()).value(), name}})));
    }

    test::TempDir dir_;
    std::filesystem::path font_ = dir_ / "font.ttf";
    std::filesystem::path cacheFile_ = dir_ / "cache" / "display-names";
};

TEST_F(DisplayNameCacheFileTest, ANameIsUsedOnlyWhileItsFileIsUnchanged) {
    WriteFont("Alpha Face");
    EXPECT_EQ(NameInNewProcess(), "Alpha Face");
    EXPECT_EQ(ParseDisplayNames(platform::ReadWholeFile(cacheFile_).value()).value().at(0).name,
              "Alpha Face");
    // The next process takes the name from the cache, not from the font.
    PlantName("From The Cache");
    EXPECT_EQ(NameInNewProcess(), "From The Cache");

    // Same path, same inode, same size: only the times tell the new font from the old one.
    OverwriteFontInPlace("Omega Face");
    EXPECT_EQ(std::filesystem::file_size(font_), std::filesystem::file_size(dir_ / "other.ttf"));
    EXPECT_EQ(NameInNewProcess(), "Omega Face");
    EXPECT_EQ(NameInNewProcess(), "Omega Face");

    // Replaced by another file under the same path.
    test::WriteRenamedFont(dir_ / "next.ttf", "Delta Face");
    std::filesystem::rename(dir_ / "next.ttf", font_);
    EXPECT_EQ(NameInNewProcess(), "Delta Face");

    std::filesystem::remove(font_);
    EXPECT_EQ(NameInNewProcess(), "");
}

TEST_F(DisplayNameCacheFileTest, ADamagedOrForeignCacheIsIgnoredAndWrittenAnew) {
    WriteFont("Alpha Face");
    PlantName("Wrong Name");
    std::string planted = platform::ReadWholeFile(cacheFile_).value();
    std::string flipped = planted;
    flipped.back() ^= 0x20;
    std::string otherVersion = planted;
    otherVersion[8] = static_cast<char>(kDisplayNameCacheVersion + 1);
    for (const std::string& bytes : {flipped, otherVersion, planted.substr(0, planted.size() / 2),
                                     std::string("not a cache")}) {
        ASSERT_TRUE(platform::WriteWholeFile(cacheFile_, bytes));
        EXPECT_EQ(NameInNewProcess(), "Alpha Face");
        EXPECT_EQ(NameInNewProcess(), "Alpha Face");  // from the file written anew
        EXPECT_TRUE(ParseDisplayNames(platform::ReadWholeFile(cacheFile_).value()));
    }
}

TEST_F(DisplayNameCacheFileTest, FreshFilesAndRemovedOnesAreNotKept) {
    test::WriteRenamedFont(font_, "Alpha Face");
    // Changed within the settle time: read every time, never written down.
    DisplayNameCache settling(cacheFile_, 60s);
    EXPECT_EQ(settling.Name(font_.string(), IdentifyFile(font_.string())), "Alpha Face");
    settling.EndLoad({font_.string()});
    EXPECT_EQ(ParseDisplayNames(platform::ReadWholeFile(cacheFile_).value()),
              std::vector<CachedName>());

    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(NameInNewProcess(), "Alpha Face");
    DisplayNameCache cache(cacheFile_, 0ms);
    cache.EndLoad({});  // the font is no longer installed
    EXPECT_EQ(ParseDisplayNames(platform::ReadWholeFile(cacheFile_).value()),
              std::vector<CachedName>());
}

}  // namespace
}  // namespace glyphwell::fonts
