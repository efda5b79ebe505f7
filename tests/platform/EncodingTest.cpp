#include "platform/Encoding.h"

#include <gtest/gtest.h>

namespace glyphwell::platform {
namespace {

TEST(Encoding, RoundTripsThroughGbk) {
    struct Case {
        const char* utf8;
        const char* gbk;
    };
    const Case cases[] = {
        {"", ""},
        {"abc 123", "abc 123"},
        {"宋体", "\xCB\xCE\xCC\xE5"},
        {"\xE3\x80\x80", "\xA1\xA1"},  // U+3000, the ideographic space
        {"字体下载目录", "\xD7\xD6\xCC\xE5\xCF\xC2\xD4\xD8\xC4\xBF\xC2\xBC"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.utf8;
    }
}

TEST(Encoding, CharactersOutsideGbkBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                        "b"),
              "a?b");  // an emoji
    EXPECT_EQ(Utf8ToGbk("a\xFF"
                        "b"),
              "a?b");                                // not UTF-8 at all
    EXPECT_EQ(GbkToUtf8("a\x81"), "a\xEF\xBF\xBD");  // a lead byte with nothing after
}

TEST(Encoding, ByteHelpersStepOverDoubleByteCharacters) {
    std::string gbk = Utf8ToGbk("a宋b");
    ASSERT_EQ(gbk.size(), 4u);
    EXPECT_EQ(GbkCharLength(gbk, 0), 1u);
    EXPECT_EQ(GbkCharLength(gbk, 1), 2u);
    EXPECT_EQ(GbkCharLength(gbk, 3), 1u);
    EXPECT_EQ(GbkCharLength("\xCB", 0), 1u);  // a lead byte at the very end
    EXPECT_TRUE(IsGbkLeadByte(0x81));
    EXPECT_FALSE(IsGbkLeadByte(0x80));
    EXPECT_TRUE(IsGbkTrailByte(0x40));
    EXPECT_FALSE(IsGbkTrailByte(0x7F));
}

TEST(Encoding, CutsOnCharacterBoundaries) {
    std::string gbk = Utf8ToGbk("a宋体");
    EXPECT_EQ(CutGbk(gbk, 0), "");
    EXPECT_EQ(CutGbk(gbk, 1), "a");
    EXPECT_EQ(CutGbk(gbk, 2), "a");  // never half a character
    EXPECT_EQ(CutGbk(gbk, 3), Utf8ToGbk("a宋"));
    EXPECT_EQ(CutGbk(gbk, 99), gbk);
    EXPECT_EQ(CutUtf8ToGbkBytes("a宋体", 4), "a宋");
    EXPECT_EQ(CutUtf8ToGbkBytes("a\xF0\x9F\x98\x80宋", 3), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(GbkLength("a宋体"), 5u);
}

}  // namespace
}  // namespace glyphwell::platform
