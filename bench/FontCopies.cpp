#include "FontCopies.h"

#include <array>

#include "fonts/FontFixtures.h"

namespace glyphwell::bench {

namespace {

constexpr std::array<const char*, 8> kWords = {"Alpine", "Harbor", "Quill",  "Meridian",
                                               "Tundra", "Vesper", "Zephyr", "Orchid"};
constexpr std::array<const char*, 5> kStyles = {"Sans", "Serif", "Mono", "Script", "Display"};
constexpr std::array<const char*, 3> kChinese = {"宋体", "黑体", "楷体"};

}  // namespace

std::string CopyFamilyName(int k) {
    return std::string(kWords[static_cast<std::size_t>(k) % kWords.size()]) + " " +
           kStyles[static_cast<std::size_t>(k / 8) % kStyles.size()] + " " + std::to_string(k);
}

std::string CopyChineseName(int k) {
    if (k % 10 != 0) {
        return "";
    }
    return std::string(kChinese[static_cast<std::size_t>(k / 10) % kChinese.size()]) +
           std::to_string(k);
}

void WriteFontCopies(const std::filesystem::path& folder, int count) {
    for (int k = 0; k < count; ++k) {
        test::FamilyNames names{{0x0409, CopyFamilyName(k)}};
        const std::string chinese = CopyChineseName(k);
        if (!chinese.empty()) {
            names[0x0804] = chinese;
        }
        test::WriteRenamedFont(folder / ("copy" + std::to_string(k) + ".ttf"), names);
    }
}

void LinkInterfaceFont(const std::filesystem::path& folder) {
    // The interface face and its stand-in, from fonts-noto-cjk and fonts-arphic-uming
    // (scripts/install-deps.sh).
    std::filesystem::create_directories(folder);
    for (const std::filesystem::path face :
         {"/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc",
          "/usr/share/fonts/truetype/arphic/uming.ttc"}) {
        std::error_code ignored;
        std::filesystem::create_symlink(face, folder / face.filename(), ignored);
    }
}

}  // namespace glyphwell::bench
