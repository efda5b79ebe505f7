// A catalogue file as the server delivers it: every read must end, without a crash, whatever
// the bytes. Inputs are whole files; seed the corpus with files from the Jet writer.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "catalogue/CatalogueDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One scratch file a process, removed at exit.
    static const struct Scratch {
        std::string path = "/tmp/glyphwell-fuzz-" + std::to_string(getpid()) + ".mdb";
        ~Scratch() { std::remove(path.c_str()); }
    } scratch;
    const std::string& path = scratch.path;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    glyphwell::catalogue::CatalogueDatabase db(path);
    db.OpenCatalogue();
    for (int index = 0; index < 9; ++index) {
        for (const std::string& name : db.ReadSubcategoryNames(index)) {
            const int pages = glyphwell::catalogue::PageCount(db.CountCatalogueFonts(name));
            for (int page = 1; page <= pages && page <= 4; ++page) {
                db.ReadCataloguePage(name, page);
            }
        }
    }
    return 0;
}
