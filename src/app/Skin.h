#pragma once
// The skin the main window and the palette window paint with, and the rules that change it.
// Colours are 0x00BBGGRR.

#include <cstdint>
#include <functional>

#include "app/Settings.h"

namespace glyphwell::app {

using Colour = std::uint32_t;  // 0x00BBGGRR

constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline constexpr int kSkinCount = 9;
inline constexpr Colour kPlainSkinColour = 0xDEA64D;
inline constexpr int kDefaultSkinNumber = 8;

struct SkinTableEntry {
    int pictureNumber;  // 0 for the plain skin; 2..9 name the pictures A..H
    Colour accentColour;
    Colour textColour;
};

// The nine skins, index 0 = skin 1.
extern const SkinTableEntry kSkinTable[kSkinCount];

struct Skin {
    int Picture = 0;  // number of the skin picture shown (0: none loaded yet)
    Colour BackgroundColour = 0;
    Colour AccentColour = 0;
    Colour TextColour = 0xFFFFFF;
};

enum BackgroundKindValue : int { kPlainColourBackground = 1, kSkinPictureBackground = 2 };

struct SkinState {
    Skin skin;
    int SkinNumber = 0;
    int BackgroundKind = 0;
    int PaletteSkinNumber = 0;
};

// Applies a skin and/or a plain colour, stores "pf" and "lb", then calls `invalidate` so the
// window repaints.
void ApplySkin(SkinState& state, const Settings& settings, int skinNumber, bool applySkin,
               Colour colour, bool applyColour, const std::function<void()>& invalidate = {});

}  // namespace glyphwell::app
