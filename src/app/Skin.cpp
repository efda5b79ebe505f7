#include "app/Skin.h"

#include <string>

namespace glyphwell::app {

const SkinTableEntry kSkinTable[kSkinCount] = {
    {0, 0xDEA64D, 0xFFFFFF}, {2, 0xDCB36A, 0x000000}, {3, 0x2BB06F, 0xFFFFFF},
    {4, 0xD7A162, 0xFFFFFF}, {5, 0xDD9B59, 0xFFFFFF}, {6, 0x7C5810, 0xFFFFFF},
    {7, 0x7E7B75, 0xFFFFFF}, {8, 0x30507F, 0xFFFFFF}, {9, 0xA786F8, 0x000000},
};

void ApplySkin(SkinState& state, const Settings& settings, int skinNumber, bool applySkin,
               Colour colour, bool applyColour, const std::function<void()>& invalidate) {
    if (applyColour) {
        state.skin.BackgroundColour = colour;
        state.skin.AccentColour = colour;
        state.BackgroundKind = kPlainColourBackground;
    }
    if (applySkin) {
        if (skinNumber == 1) {
            state.skin.BackgroundColour = kPlainSkinColour;
            state.skin.AccentColour = kPlainSkinColour;
        } else if (skinNumber >= 2 && skinNumber <= kSkinCount) {
            const SkinTableEntry& entry = kSkinTable[skinNumber - 1];
            state.skin.Picture = entry.pictureNumber;
            state.skin.AccentColour = entry.accentColour;
        }
        state.skin.TextColour = (skinNumber == 2 || skinNumber == 9) ? 0x000000 : 0xFFFFFF;
        state.SkinNumber = skinNumber;
        state.PaletteSkinNumber = skinNumber;
        state.BackgroundKind = kSkinPictureBackground;
    }
    settings.WriteSetting("pf", std::to_string(state.SkinNumber));
    settings.WriteSetting("lb", std::to_string(state.BackgroundKind));
    if (invalidate) {
        invalidate();
    }
}

}  // namespace glyphwell::app
