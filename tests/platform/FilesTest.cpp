#include "platform/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace glyphwell::platform {
namespace {

TEST(Files, ListsFilesIncludingHiddenOnesAndSkipsFolders) {
    test::TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir / "b.ttf", "b"));
    ASSERT_TRUE(WriteWholeFile(dir / ".hidden.ttf", "h"));
    ASSERT_TRUE(WriteWholeFile(dir / PathFromUtf8("宋体.ttf"), "s"));
    ASSERT_TRUE(CreateFolder(dir / "sub"));
    EXPECT_EQ(ListFiles(dir.Path()),
              (std::vector<std::string>{".hidden.ttf", "b.ttf", "宋体.ttf"}));
    EXPECT_TRUE(ListFiles(dir / "missing").empty());
}

TEST(Files, CopyHonoursOverwriteAndLeavesNoTemporaryFiles) {
    test::TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir / "a", "new"));
    ASSERT_TRUE(WriteWholeFile(dir / "b", "old"));
    EXPECT_FALSE(CopyFile(dir / "a", dir / "b", false));
    EXPECT_EQ(ReadWholeFile(dir / "b"), "old");
    EXPECT_TRUE(CopyFile(dir / "a", dir / "b", true));
    EXPECT_EQ(ReadWholeFile(dir / "b"), "new");
    EXPECT_FALSE(CopyFile(dir / "missing", dir / "c", true));
    EXPECT_FALSE(CopyFile(dir / "a", dir / "no-folder" / "c", true));
    EXPECT_EQ(ListFiles(dir.Path()), (std::vector<std::string>{"a", "b"}));
}

TEST(Files, ReadOnlyDeleteAndTimes) {
    test::TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir / "f", "12345"));
    EXPECT_FALSE(IsReadOnly(dir / "f"));
    EXPECT_TRUE(SetReadOnly(dir / "f", true));
    EXPECT_TRUE(IsReadOnly(dir / "f"));
    EXPECT_TRUE(SetReadOnly(dir / "f", false));
    EXPECT_EQ(FileSize(dir / "f"), 5);
    EXPECT_TRUE(CreationTime(dir / "f").has_value());
    EXPECT_FALSE(CreationTime(dir / "missing").has_value());
    EXPECT_TRUE(DeleteFile(dir / "f"));
    EXPECT_FALSE(DeleteFile(dir / "f"));
    EXPECT_FALSE(ReadWholeFile(dir / "f").has_value());
}

TEST(Files, ReadRegularFileTakesOnlyRegularFilesWithinTheCap) {
    test::TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir / "four", "1234"));
    ASSERT_TRUE(WriteWholeFile(dir / "empty", ""));
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);  // must not wait for a writer
    EXPECT_EQ(ReadRegularFile(dir / "four", 4), "1234");
    EXPECT_EQ(ReadRegularFile(dir / "four", 3), std::nullopt);
    EXPECT_EQ(ReadRegularFile(dir / "empty", 0), "");
    EXPECT_EQ(ReadRegularFile(dir / "pipe", 100), std::nullopt);
    EXPECT_EQ(ReadRegularFile(dir.Path(), 100), std::nullopt);
    EXPECT_EQ(ReadRegularFile(dir / "missing", 100), std::nullopt);
}

}  // namespace
}  // namespace glyphwell::platform
