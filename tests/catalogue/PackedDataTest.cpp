#include "catalogue/PackedData.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace glyphwell::catalogue {
namespace {

std::string Bytes(std::size_t count, char fill = 'x') {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<char>(fill + i % 7));
    }
    return bytes;
}

// A valid container of `content` whose recorded size is then replaced by `size`.
std::string WithSize(const std::string& content, std::int32_t size) {
    std::string packed = PackData(content);
    const auto raw = static_cast<std::uint32_t>(size);
    for (int i = 0; i < 4; ++i) {
        packed[4 + i] = static_cast<char>((raw >> (8 * i)) & 0xFF);
    }
    return packed;
}

TEST(PackedData, RoundTrips) {
    for (const std::string& content : {Bytes(1), Bytes(5000), std::string(100000, '\0')}) {
        const std::string packed = PackData(content);
        EXPECT_EQ(packed.substr(0, 4), std::string("\x0D\x0F\x3E\x03"));
        EXPECT_EQ(UnpackData(packed), content);
    }
}

TEST(PackedData, UnpackFollowsTheBoundOfTwiceTheRecordedSize) {
    std::string damagedTrailer = PackData(Bytes(100));
    damagedTrailer.back() = static_cast<char>(damagedTrailer.back() ^ 0x55);
    std::string otherMagic = PackData(Bytes(10));
    otherMagic[0] = 0x0E;
    const std::string good = PackData(Bytes(100));

    struct Case {
        const char* what;
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"7 bytes", good.substr(0, 7), ""},
        {"8 bytes of another magic", otherMagic.substr(0, 8), ""},
        {"another magic", otherMagic, ""},
        {"header only", good.substr(0, 8), ""},
        {"size 0", WithSize(Bytes(100), 0), ""},
        {"negative size", WithSize(Bytes(100), -100), ""},
        {"size whose double wraps negative", WithSize(Bytes(100), 0x40000000), ""},
        {"150 bytes within a bound of 200", WithSize(Bytes(150), 100), Bytes(150)},
        {"200 bytes exactly at the bound", WithSize(Bytes(200), 100), Bytes(200)},
        {"250 bytes over a bound of 200", WithSize(Bytes(250), 100), ""},
        {"damaged Adler-32", damagedTrailer, ""},
        {"stream cut short", good.substr(0, good.size() - 5), ""},
        {"bound over the 512 MiB cap", WithSize(Bytes(100), 256 * 1024 * 1024 + 1), ""},
        {"fewer bytes than recorded", WithSize(Bytes(10), 5000), Bytes(10)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnpackData(c.input), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace glyphwell::catalogue
