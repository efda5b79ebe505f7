// Writes a private fontconfig setup with the benchmarks' renamed font copies into a folder
// that outlives the program, for measuring the whole desktop program against it:
//   make_font_copies DIR [COUNT]
// DIR/fonts.conf is the FONTCONFIG_FILE; DIR/data is XDG_DATA_HOME, so DIR/data/fonts is the
// Fonts folder.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FontCopies.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_font_copies DIR [COUNT]\n");
        return 2;
    }
    const fs::path dir = fs::absolute(argv[1]);
    const int count = argc == 3 ? std::atoi(argv[2]) : glyphwell::bench::kFontCopyCount;
    for (const char* folder : {"system", "data/fonts", "config", "cache"}) {
        fs::create_directories(dir / folder);
    }
    std::ofstream conf(dir / "fonts.conf");
    conf << "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" << (dir / "system").string()
         << "</dir>\n  <dir>" << (dir / "data" / "fonts").string() << "</dir>\n  <cachedir>"
         << (dir / "cache" / "fontconfig").string() << "</cachedir>\n</fontconfig>\n";
    glyphwell::bench::WriteFontCopies(dir / "data" / "fonts", count);
    glyphwell::bench::LinkInterfaceFont(dir / "system");
    std::printf("%d fonts in %s\n", count, (dir / "data" / "fonts").c_str());
    return conf ? 0 : 1;
}
