// A catalogue file as the server delivers it: every read must end, without a crash, whatever
// the bytes. Inputs are whole files; seed the corpus with files from the Jet writer
// (fuzz_make_seeds) or start from fuzz/corpus/catalogue_file.

#include <cstddef>
#include <cstdint>

#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!glyphwell::fuzz::ReadCatalogueFile({data, size})) {
        __builtin_trap();
    }
    return 0;
}
