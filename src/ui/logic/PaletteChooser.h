#pragma once
// The palette window's tabs, skin thumbnails and colour swatches: their states and mouse rules.
// The chooser lives for the whole run, so the states and the current choice survive while the
// window is closed; each new window attaches itself as the view.

#include <array>
#include <cstddef>

#include "app/Skin.h"
#include "ui/logic/FrameLayout.h"

namespace glyphwell::ui {

inline constexpr int kPaletteWidth = 218;
inline constexpr int kPaletteHeight = 173;

inline constexpr int kPaletteTabCount = 2;
inline constexpr int kSkinsTab = 0;
inline constexpr int kColoursTab = 1;
inline constexpr int kTabNormal = 0;
inline constexpr int kTabHover = 1;
inline constexpr int kTabActive = 2;

inline constexpr int kThumbnailCount = 9;
inline constexpr int kThumbnailNormal = 0;
inline constexpr int kThumbnailHover = 1;
inline constexpr int kThumbnailChosen = 2;
inline constexpr int kThumbnailChosenHover = 3;
// Presses here but off a thumbnail clear the chosen outline.
inline constexpr Rect kThumbnailArea{6, 33, 200, 128};

inline constexpr int kSwatchRows = 7;
inline constexpr int kSwatchColumns = 12;
inline constexpr int kSwatchCount = kSwatchRows * kSwatchColumns;
inline constexpr int kSwatchNormal = 0;
inline constexpr int kSwatchHover = 1;
inline constexpr int kSwatchChosen = 2;
// Where the picture of all swatches is drawn.
inline constexpr Rect kPalettePictureRect{6, 33, 206, 128};

// Index 0 = swatch 1; swatch (row r, column c) is number 12r + c + 1. Colours are 0x00BBGGRR.
extern const std::array<app::Colour, kSwatchCount> kSwatchColours;

// Tab 0 or 1.
Rect PaletteTabRect(int tab);
// Thumbnail 1 to 9, row by row; thumbnail i shows skin i.
Rect ThumbnailRect(int thumbnail);
// Swatch 1 to 84, row by row.
Rect SwatchRect(int swatch);
app::Colour SwatchColour(int swatch);

class PaletteView {
  public:
    virtual ~PaletteView() = default;
    virtual void RedrawThumbnail(int thumbnail) = 0;
    virtual void RedrawSwatch(int swatch) = 0;
    virtual void RedrawTab(int tab) = 0;
    virtual void RepaintPalette() = 0;
    virtual void ApplySkin(int skinNumber, bool applySkin, app::Colour colour,
                           bool applyColour) = 0;
};

class PaletteChooser {
  public:
    // PaletteSkinNumber is kept in `skin`, beside the skin it copies.
    explicit PaletteChooser(app::SkinState& skin) : skin_(skin) {}

    // A new window attaches and picks its first tab: skins while a skin is current, else
    // colours.
    void Opened(PaletteView& view);
    // The window is going away; nothing is drawn until the next one opens.
    void Closed() { view_ = nullptr; }
    bool IsOpen() const { return view_ != nullptr; }

    // After a full paint: puts the outline or frame back on the current choice.
    void AfterPaint();
    void MouseMove(int px, int py);
    void LeftPress(int px, int py);

    int ActiveTab() const { return tabs_[kColoursTab] == kTabActive ? kColoursTab : kSkinsTab; }
    int TabState(int tab) const { return tabs_[static_cast<std::size_t>(tab)]; }
    int ThumbnailState(int thumbnail) const { return thumbnails_[Index(thumbnail)]; }
    int SwatchState(int swatch) const { return swatches_[Index(swatch)]; }
    int SelectedColourIndex() const { return selectedColourIndex_; }
    int PaletteSkinNumber() const { return skin_.PaletteSkinNumber; }

  private:
    static std::size_t Index(int number) { return static_cast<std::size_t>(number - 1); }
    void SetTabState(int tab, int state) { tabs_[static_cast<std::size_t>(tab)] = state; }
    void MoveOverThumbnails(int px, int py);
    void MoveOverTabs(int px, int py);
    void MoveOverSwatches(int px, int py);
    void PressThumbnails(int px, int py);
    void PressTabs(int px, int py);
    void PressSwatches(int px, int py);

    app::SkinState& skin_;
    PaletteView* view_ = nullptr;
    std::array<int, kPaletteTabCount> tabs_{kTabActive, kTabNormal};
    std::array<int, kThumbnailCount> thumbnails_{};
    std::array<int, kSwatchCount> swatches_{};
    int selectedColourIndex_ = 0;
};

}  // namespace glyphwell::ui
