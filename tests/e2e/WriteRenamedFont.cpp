// write_renamed_font OUT FAMILY: a real font file under a family name of the caller's choosing,
// for tests that run whole programs.

#include <cstdio>

#include "fonts/FontFixtures.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_renamed_font OUT FAMILY\n");
        return 2;
    }
    glyphwell::test::WriteRenamedFont(argv[1], argv[2]);
    return 0;
}
