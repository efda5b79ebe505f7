#pragma once
// The order of the installed files in the table: by path, except that within each family the
// regular face takes the family's first place.

#include <cstddef>
#include <string>
#include <vector>

struct _FcPattern;

namespace glyphwell::fonts {

// What the listing keeps of a file's first face.
struct FirstFace {
    int index = 0;
    std::string family;
    int weight = 80;  // FC_WEIGHT_REGULAR
    int slant = 0;    // FC_SLANT_ROMAN
    int width = 100;  // FC_WIDTH_NORMAL
};

FirstFace FirstFaceOf(_FcPattern* pattern);

struct FileFace {
    std::string file;
    FirstFace face;
};

// The files in path order, except that within each family the regular face takes the family's
// first place (and the others follow by their distance from it): the first file of a display
// name is the one that stands for the family when names are shared. `faces` is in path order.
std::vector<std::size_t> RegularFacesFirst(const std::vector<FileFace>& faces);

}  // namespace glyphwell::fonts
