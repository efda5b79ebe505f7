// Writes the seed pictures of fuzz/corpus/pcx_image/ into the folder given: one small file of
// each layout the decoder reads.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "support/PcxFiles.h"

namespace {

// Bytes with runs in them, so that the seeds hold both codes.
std::vector<std::uint8_t> Lines(std::size_t size, int seed) {
    std::vector<std::uint8_t> raw(size);
    for (std::size_t i = 0; i < size; ++i) {
        raw[i] = static_cast<std::uint8_t>((i / 3 * 37 + static_cast<std::size_t>(seed)) % 251);
    }
    return raw;
}

}  // namespace

int main(int argc, char** argv) {
    using glyphwell::test::MakePcx;
    using glyphwell::test::PcxFile;
    if (argc != 2) {
        return 2;
    }
    const std::string folder = argv[1];
    const auto write = [&](const std::string& name, PcxFile file) {
        for (std::size_t i = 0; i < file.headerPalette.size(); ++i) {
            file.headerPalette[i] = static_cast<std::uint8_t>(i * 5);
        }
        std::ofstream(folder + "/" + name + ".pcx", std::ios::binary) << file.Bytes();
    };
    write("indexed8", MakePcx(8, 1, 16, 8, 16, Lines(16 * 8, 1)));
    PcxFile moved = MakePcx(8, 1, 5, 3, 6, Lines(6 * 3, 2));
    moved.xMin = 40;
    moved.xMax = 44;
    moved.yMin = 9;
    moved.yMax = 11;
    write("indexed8_origin_padded", moved);
    write("rgb24_padded", MakePcx(8, 3, 7, 4, 8, Lines(3 * 8 * 4, 3)));
    PcxFile mono = MakePcx(1, 1, 20, 6, 4, Lines(4 * 6, 4));
    mono.version = 0;
    write("mono_padded", mono);
    write("planes4", MakePcx(1, 4, 12, 4, 2, Lines(4 * 2 * 4, 5)));
    PcxFile standard = MakePcx(1, 4, 9, 3, 2, Lines(4 * 2 * 3, 6));
    standard.version = 3;
    write("planes4_version3", standard);
    write("planes3", MakePcx(1, 3, 8, 3, 2, Lines(3 * 2 * 3, 7)));
    write("bits2", MakePcx(2, 1, 7, 3, 2, Lines(2 * 3, 8)));
    write("bits4", MakePcx(4, 1, 5, 3, 4, Lines(4 * 3, 9)));
    return 0;
}
