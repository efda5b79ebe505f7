#include "fonts/FontFileOrder.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "fonts/FontconfigText.h"

namespace glyphwell::fonts {
namespace {

static_assert(FirstFace{}.weight == FC_WEIGHT_REGULAR && FirstFace{}.slant == FC_SLANT_ROMAN &&
              FirstFace{}.width == FC_WIDTH_NORMAL);

// How far a face is from its family's regular one: upright first, then the weight and the width
// nearest to normal.
std::tuple<bool, int, int> DistanceFromRegular(const FirstFace& face) {
    return {face.slant != FC_SLANT_ROMAN, std::abs(face.weight - FC_WEIGHT_REGULAR),
            std::abs(face.width - FC_WIDTH_NORMAL)};
}

}  // namespace

FirstFace FirstFaceOf(FcPattern* pattern) {
    FirstFace face;
    FcPatternGetInteger(pattern, FC_INDEX, 0, &face.index);
    face.family = PatternText(pattern, FC_FAMILY);
    FcPatternGetInteger(pattern, FC_WEIGHT, 0, &face.weight);
    FcPatternGetInteger(pattern, FC_SLANT, 0, &face.slant);
    FcPatternGetInteger(pattern, FC_WIDTH, 0, &face.width);
    return face;
}

std::vector<std::size_t> RegularFacesFirst(const std::vector<FileFace>& faces) {
    // Places grouped by family, each group in path order.
    std::vector<std::size_t> byFamily(faces.size());
    for (std::size_t k = 0; k < faces.size(); ++k) {
        byFamily[k] = k;
    }
    std::stable_sort(byFamily.begin(), byFamily.end(), [&](std::size_t a, std::size_t b) {
        return faces[a].face.family < faces[b].face.family;
    });
    std::vector<std::size_t> files(faces.size());
    for (std::size_t k = 0; k < faces.size(); ++k) {
        files[k] = k;
    }
    for (std::size_t begin = 0; begin < byFamily.size();) {
        std::size_t end = begin + 1;
        while (end < byFamily.size() &&
               faces[byFamily[end]].face.family == faces[byFamily[begin]].face.family) {
            ++end;
        }
        if (end - begin > 1) {
            std::vector<std::size_t> members(byFamily.begin() + static_cast<std::ptrdiff_t>(begin),
                                             byFamily.begin() + static_cast<std::ptrdiff_t>(end));
            std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
                return DistanceFromRegular(faces[a].face) < DistanceFromRegular(faces[b].face);
            });
            // The family's places (in path order) take its members in their new order.
            for (std::size_t k = begin; k < end; ++k) {
                files[byFamily[k]] = members[k - begin];
            }
        }
        begin = end;
    }
    return files;
}

}  // namespace glyphwell::fonts
