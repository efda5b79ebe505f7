#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include "platform/Encoding.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace glyphwell::platform {
namespace {

class IniFileTest : public ::testing::Test {
  protected:
    test::TempDir dir_;
    std::filesystem::path file_ = dir_ / "pos.ini";
};

TEST_F(IniFileTest, AbsentFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(ReadIniString(file_, "potpz", "pf", "8"), "8");
    ASSERT_TRUE(WriteWholeFile(file_, "[other]\npf=3\n[potpz]\nlb=2\n"));
    EXPECT_EQ(ReadIniString(file_, "potpz", "pf", "8"), "8");
    EXPECT_EQ(ReadIniString(file_, "missing", "lb", ""), "");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndValuesAreTrimmed) {
    ASSERT_TRUE(WriteWholeFile(file_, "; settings\r\n[PotPZ]\r\n  PF =  3 \r\nlb=\"2\"\r\n"));
    EXPECT_EQ(ReadIniString(file_, "potpz", "pf", "8"), "3");
    EXPECT_EQ(ReadIniString(file_, "POTPZ", "LB", ""), "2");
}

TEST_F(IniFileTest, WriteCreatesFileSectionAndKeyAndKeepsOtherLines) {
    ASSERT_TRUE(WriteIniString(file_, "potpz", "pf", "3"));
    EXPECT_EQ(ReadWholeFile(file_), "[potpz]\npf=3\n");

    ASSERT_TRUE(WriteWholeFile(file_, "; keep me\n[a]\nx=1\n\n[potpz]\npf=3\nlb=2\n\n[b]\ny=2\n"));
    ASSERT_TRUE(WriteIniString(file_, "POTPZ", "PF", "9"));
    ASSERT_TRUE(WriteIniString(file_, "potpz", "bbh", "1.2"));
    ASSERT_TRUE(WriteIniString(file_, "new", "k", "v"));
    EXPECT_EQ(ReadWholeFile(file_),
              "; keep me\n[a]\nx=1\n\n[potpz]\nPF=9\nlb=2\nbbh=1.2\n\n[b]\ny=2\n[new]\nk=v\n");
}

TEST_F(IniFileTest, KeepsWindowsLineEnds) {
    ASSERT_TRUE(WriteWholeFile(file_, "[potpz]\r\npf=3\r\n"));
    ASSERT_TRUE(WriteIniString(file_, "potpz", "lb", "2"));
    EXPECT_EQ(ReadWholeFile(file_), "[potpz]\r\npf=3\r\nlb=2\r\n");
}

TEST_F(IniFileTest, FileIsGbkAndLongValuesComeBackCut) {
    ASSERT_TRUE(WriteIniString(file_, "mulu", "mulu", "/home/用户/字体"));
    EXPECT_EQ(ReadWholeFile(file_), Utf8ToGbk("[mulu]\nmulu=/home/用户/字体\n"));
    EXPECT_EQ(ReadIniString(file_, "mulu", "mulu", ""), "/home/用户/字体");

    // The buffer holds 10239 bytes and a terminator; a double-byte character is not split.
    std::string longValue = std::string(10238, 'x') + "字字";
    ASSERT_TRUE(WriteIniString(file_, "mulu", "mulu", longValue));
    EXPECT_EQ(ReadIniString(file_, "mulu", "mulu", ""), std::string(10238, 'x'));
    std::string asciiValue(20000, 'y');
    ASSERT_TRUE(WriteIniString(file_, "mulu", "mulu", asciiValue));
    EXPECT_EQ(ReadIniString(file_, "mulu", "mulu", "").size(), kIniValueBufferSize - 1);
}

TEST_F(IniFileTest, WriteIntoAMissingFolderFails) {
    EXPECT_FALSE(WriteIniString(dir_ / "missing" / "pos.ini", "potpz", "pf", "3"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

}  // namespace
}  // namespace glyphwell::platform
