#include "ui/logic/PaletteChooser.h"

namespace glyphwell::ui {

// Columns run through the hues (reds to crimsons, then greys), rows from dark to light.
const std::array<app::Colour, kSwatchCount> kSwatchColours = {
    0x00007E, 0x004A84, 0x006774, 0x006A48, 0x565C00, 0x6C4B0B,
    0x583100, 0x4C0001, 0x4A002F, 0x400050, 0x350170, 0x202020,  // row 0
    0x000096, 0x005496, 0x008996, 0x00764D, 0x616800, 0x825500,
    0x743C00, 0x742E00, 0x410044, 0x3F0166, 0x2E00A4, 0x353535,  // row 1
    0x0000B2, 0x0069AC, 0x01B6C2, 0x0F946A, 0x7A8200, 0xAA7400,
    0x864B00, 0x843400, 0x7A0053, 0x560088, 0x3500BE, 0x4F4F4F,  // row 2
    0x0500E6, 0x0791E8, 0x00CFDC, 0x14AD7C, 0x8F9C00, 0xB88600,
    0xBE6733, 0x9E4600, 0x86005B, 0x631EA9, 0x4600E6, 0x6E6E6E,  // row 3
    0x2B44D8, 0x0095F4, 0x00E1F0, 0x1FC28E, 0x9DAC00, 0xE49C01,
    0xC98944, 0xC56A4A, 0xA6317B, 0x700CD7, 0x7366EB, 0x8F8F8F,  // row 4
    0x4169EC, 0x31AFFF, 0x53F0FF, 0x65D4B3, 0xB7C207, 0xF4B801,
    0xE89665, 0xC4806B, 0xA05789, 0x965FE8, 0x8880F5, 0xACACAC,  // row 5
    0x759BF2, 0x8AC6F9, 0x8FF5FF, 0x98E1CA, 0xC8CC85, 0xF4CB7D,
    0xDAAB89, 0xCA978D, 0xBC89A9, 0xBB9EF1, 0x9C9CF1, 0xC6C6C6,  // row 6
};

Rect PaletteTabRect(int tab) {
    return {40 * tab, 0, 40, 30};
}

Rect ThumbnailRect(int thumbnail) {
    constexpr int kLefts[] = {6, 74, 142};
    constexpr int kTops[] = {33, 76, 119};
    const int index = thumbnail - 1;
    return {kLefts[index % 3], kTops[index / 3], 67, 42};
}

Rect SwatchRect(int swatch) {
    const int row = (swatch - 1) / kSwatchColumns;
    const int column = (swatch - 1) % kSwatchColumns;
    return {6 + 17 * column, 34 + 18 * row, 16, 17};
}

app::Colour SwatchColour(int swatch) {
    return kSwatchColours[static_cast<std::size_t>(swatch - 1)];
}

void PaletteChooser::Opened(PaletteView& view) {
    view_ = &view;
    const int active = skin_.PaletteSkinNumber != 0 ? kSkinsTab : kColoursTab;
    const int other = 1 - active;
    SetTabState(active, kTabActive);
    if (TabState(other) == kTabActive) {
        SetTabState(other, kTabNormal);
    }
}

void PaletteChooser::AfterPaint() {
    if (view_ == nullptr) {
        return;
    }
    // The full paint showed the inactive tab plain.
    if (ActiveTab() == kSkinsTab) {
        SetTabState(kColoursTab, kTabNormal);
    }
    if (skin_.PaletteSkinNumber >= 1 && skin_.PaletteSkinNumber <= kThumbnailCount &&
        ActiveTab() == kSkinsTab) {
        thumbnails_[Index(skin_.PaletteSkinNumber)] = kThumbnailChosen;
        view_->RedrawThumbnail(skin_.PaletteSkinNumber);
    }
    if (selectedColourIndex_ != 0 && ActiveTab() == kColoursTab) {
        swatches_[Index(selectedColourIndex_)] = kSwatchChosen;
        view_->RedrawSwatch(selectedColourIndex_);
    }
}

void PaletteChooser::MouseMove(int px, int py) {
    if (view_ == nullptr) {
        return;
    }
    if (ActiveTab() == kSkinsTab) {
        MoveOverThumbnails(px, py);
    }
    MoveOverTabs(px, py);
    if (ActiveTab() == kColoursTab) {
        MoveOverSwatches(px, py);
    }
}

void PaletteChooser::MoveOverThumbnails(int px, int py) {
    for (int i = 1; i <= kThumbnailCount; ++i) {
        int& state = thumbnails_[Index(i)];
        if (Contains(ThumbnailRect(i), px, py)) {
            // A colour is current, so an outline left over from an earlier skin is stale.
            if (selectedColourIndex_ != 0) {
                state = kThumbnailNormal;
            }
            if (state == kThumbnailNormal) {
                state = kThumbnailHover;
                view_->RedrawThumbnail(i);
            }
            if (state == kThumbnailChosen) {
                state = kThumbnailChosenHover;
                view_->RedrawThumbnail(i);
            }
        } else if (state == kThumbnailHover) {
            state = kThumbnailNormal;
            view_->RedrawThumbnail(i);
        } else if (state == kThumbnailChosenHover) {
            state = kThumbnailChosen;
            view_->RedrawThumbnail(i);
        }
    }
}

void PaletteChooser::MoveOverTabs(int px, int py) {
    for (int tab = 0; tab < kPaletteTabCount; ++tab) {
        const bool inside = Contains(PaletteTabRect(tab), px, py);
        if (inside && TabState(tab) == kTabNormal) {
            SetTabState(tab, kTabHover);
            view_->RedrawTab(tab);
        } else if (!inside && TabState(tab) == kTabHover) {
            SetTabState(tab, kTabNormal);
            view_->RedrawTab(tab);
        }
    }
}

void PaletteChooser::MoveOverSwatches(int px, int py) {
    for (int j = 1; j <= kSwatchCount; ++j) {
        int& state = swatches_[Index(j)];
        const bool inside = Contains(SwatchRect(j), px, py);
        if (inside && state == kSwatchNormal) {
            state = kSwatchHover;
            view_->RedrawSwatch(j);
        } else if (!inside && state == kSwatchHover) {
            state = kSwatchNormal;
            view_->RedrawSwatch(j);
        }
    }
}

void PaletteChooser::LeftPress(int px, int py) {
    if (view_ == nullptr) {
        return;
    }
    if (ActiveTab() == kSkinsTab) {
        PressThumbnails(px, py);
    }
    PressTabs(px, py);
    // After the tabs: a press that just opened the colours tab clears a stale frame.
    if (ActiveTab() == kColoursTab) {
        PressSwatches(px, py);
    }
}

void PaletteChooser::PressThumbnails(int px, int py) {
    const bool inArea = Contains(kThumbnailArea, px, py);
    for (int i = 1; i <= kThumbnailCount; ++i) {
        int& state = thumbnails_[Index(i)];
        const bool inside = Contains(ThumbnailRect(i), px, py);
        if (inside && state != kThumbnailChosenHover) {
            state = kThumbnailChosenHover;
            skin_.PaletteSkinNumber = i;
            selectedColourIndex_ = 0;
            view_->RedrawThumbnail(i);
            view_->ApplySkin(i, true, 0, false);
        } else if (inArea && !inside &&
                   (state == kThumbnailChosen || state == kThumbnailChosenHover)) {
            state = kThumbnailNormal;
            view_->RedrawThumbnail(i);
        }
    }
}

void PaletteChooser::PressTabs(int px, int py) {
    for (int tab = 0; tab < kPaletteTabCount; ++tab) {
        if (Contains(PaletteTabRect(tab), px, py) && TabState(tab) != kTabActive) {
            SetTabState(tab, kTabActive);
            SetTabState(1 - tab, kTabNormal);
            view_->RepaintPalette();
            return;
        }
    }
}

void PaletteChooser::PressSwatches(int px, int py) {
    for (int j = 1; j <= kSwatchCount; ++j) {
        int& state = swatches_[Index(j)];
        const bool inside = Contains(SwatchRect(j), px, py);
        if (inside && state != kSwatchChosen) {
            state = kSwatchChosen;
            skin_.PaletteSkinNumber = 0;
            selectedColourIndex_ = j;
            view_->RedrawSwatch(j);
            view_->ApplySkin(0, false, SwatchColour(j), true);
        } else if (!inside && state == kSwatchChosen) {
            state = kSwatchNormal;
            view_->RedrawSwatch(j);
        }
    }
}

}  // namespace glyphwell::ui
