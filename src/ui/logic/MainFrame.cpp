#include "ui/logic/MainFrame.h"

namespace glyphwell::ui {

MainFrame::MainFrame(MainFrameView& view, PageFillHooks hooks)
    : view_(view), hooks_(std::move(hooks)) {
    Layout(kCreatedWidth);
}

void MainFrame::Layout(int width) {
    for (int button = 1; button <= kTitleButtonCount; ++button) {
        titleButtons_[Index(button)].rect = TitleButtonRect(button, width);
    }
}

void MainFrame::MarkFirstItemSelected() {
    items_[0] = ItemState::kSelected;
}

int MainFrame::SelectedItem() const {
    for (int item = 1; item <= kPageBarItemCount; ++item) {
        if (items_[Index(item)] == ItemState::kSelected) {
            return item;
        }
    }
    return 0;
}

void MainFrame::StartFade() {
    fade_ = 0;
    fadeRunning_ = true;
    view_.StartFadeTimer(kFadeIntervalMs);
}

void MainFrame::StopFade() {
    if (fadeRunning_) {
        fadeRunning_ = false;
        view_.StopFadeTimer();
    }
}

void MainFrame::SetUnselectedItems(ItemState state) {
    for (ItemState& itemState : items_) {
        if (itemState != ItemState::kSelected) {
            itemState = state;
        }
    }
}

void MainFrame::MouseMove(int px, int py) {
    for (int item = 1; item <= kPageBarItemCount; ++item) {
        ItemState& itemState = items_[Index(item)];
        const bool inside = Contains(HoverRect(PageBarItemRect(item)), px, py);
        if (inside && itemState == ItemState::kNormal) {
            itemState = ItemState::kHover;
            view_.RedrawPageBarItem(item);
        } else if (!inside && itemState == ItemState::kHover) {
            itemState = ItemState::kNormal;
            view_.RedrawPageBarItem(item);
        }
    }
    for (int button = 1; button < kPaletteButton; ++button) {
        TitleButton& entry = titleButtons_[Index(button)];
        const bool inside = Contains(HoverRect(entry.rect), px, py);
        if (inside && entry.state == ButtonState::kNormal) {
            entry.state = ButtonState::kHover;
            // Buttons 1 to 3 show their hover image only through the fade.
            if (button > kFadingButtonCount) {
                view_.RedrawTitleButton(button, kOpaque, false);
            }
            StartFade();
        } else if (!inside && entry.state == ButtonState::kHover) {
            entry.state = ButtonState::kNormal;
            view_.RedrawTitleButton(button, kOpaque, false);
        }
    }
    TitleButton& palette = titleButtons_[Index(kPaletteButton)];
    const bool inside = Contains(HoverRect(palette.rect), px, py);
    if (inside && palette.state == ButtonState::kNormal) {
        palette.state = ButtonState::kHover;
        view_.RedrawPaletteButton();
    } else if (!inside && palette.state == ButtonState::kHover) {
        palette.state = ButtonState::kNormal;
        view_.RedrawPaletteButton();
    }
}

void MainFrame::FadeTick() {
    bool anyFading = false;
    for (int button = 1; button <= kFadingButtonCount; ++button) {
        if (titleButtons_[Index(button)].state != ButtonState::kHover) {
            continue;
        }
        anyFading = true;
        // The tick that finds the fade past opaque still draws once more, then stops.
        if (fade_ > kOpaque) {
            StopFade();
        }
        fade_ += kFadeStep;
        view_.RedrawTitleButton(button, fade_, true);
    }
    // Nothing left to fade in (the pointer moved on, or the hover was on button 4 or 5):
    // an idle timer would only tick for nothing.
    if (!anyFading) {
        StopFade();
    }
}

void MainFrame::MouseLeave() {
    for (int item = 1; item <= kPageBarItemCount; ++item) {
        if (items_[Index(item)] == ItemState::kHover) {
            items_[Index(item)] = ItemState::kNormal;
            view_.RedrawPageBarItem(item);
        }
    }
    for (int button = 1; button < kPaletteButton; ++button) {
        if (titleButtons_[Index(button)].state == ButtonState::kHover) {
            titleButtons_[Index(button)].state = ButtonState::kNormal;
            view_.RedrawTitleButton(button, kOpaque, false);
        }
    }
    if (titleButtons_[Index(kPaletteButton)].state == ButtonState::kHover) {
        titleButtons_[Index(kPaletteButton)].state = ButtonState::kNormal;
        view_.RedrawPaletteButton();
    }
}

void MainFrame::LeftPress(int px, int py) {
    bool hit = false;
    for (int button = 1; button < kPaletteButton; ++button) {
        TitleButton& entry = titleButtons_[Index(button)];
        if (!Contains(entry.rect, px, py)) {
            continue;
        }
        hit = true;
        if (entry.state != ButtonState::kPressed) {
            entry.state = ButtonState::kPressed;
            view_.RedrawTitleButton(button, kOpaque, false);
            break;
        }
    }
    for (int item = 1; item <= kPageBarItemCount; ++item) {
        if (!Contains(PageBarItemRect(item), px, py)) {
            continue;
        }
        hit = true;
        if (items_[Index(item)] != ItemState::kSelected) {
            items_[Index(item)] = ItemState::kSelected;
            view_.RedrawPageBarItem(item);
            SelectPage(item);
        }
        for (int other = 1; other <= kPageBarItemCount; ++other) {
            if (other != item) {
                items_[Index(other)] = ItemState::kNormal;
                view_.RedrawPageBarItem(other);
            }
        }
    }
    TitleButton& palette = titleButtons_[Index(kPaletteButton)];
    if (Contains(palette.rect, px, py)) {
        hit = true;
        if (palette.state != ButtonState::kPressed) {
            palette.state = ButtonState::kPressed;
            view_.RedrawPaletteButton();
            view_.OpenPalette();
            SetUnselectedItems(ItemState::kHoverSuspended);
        }
    } else if (palette.state == ButtonState::kPressed) {
        palette.state = ButtonState::kNormal;
        view_.ClosePalette();
        view_.RepaintWindow();
        SetUnselectedItems(ItemState::kNormal);
    }
    if (!hit) {
        view_.StartWindowDrag();
    }
}

void MainFrame::LeftRelease(int px, int py) {
    for (int button = 1; button < kPaletteButton; ++button) {
        TitleButton& entry = titleButtons_[Index(button)];
        if (entry.state != ButtonState::kPressed) {
            continue;
        }
        entry.state = ButtonState::kNormal;
        view_.RedrawTitleButton(button, kOpaque, false);
        if (Contains(entry.rect, px, py)) {
            view_.RunTitleButtonAction(button);
        }
        return;
    }
}

void MainFrame::PageContainerPressed(bool paletteWindowOpen) {
    if (!paletteWindowOpen) {
        return;
    }
    view_.ClosePalette();
    titleButtons_[Index(kPaletteButton)].state = ButtonState::kNormal;
    view_.RepaintWindow();
    SetUnselectedItems(ItemState::kNormal);
}

void MainFrame::SelectPage(int item) {
    auto run = [](const std::function<void()>& hook) {
        if (hook) {
            hook();
        }
    };
    if (item == 3) {
        run(hooks_.refillDownloadedFonts);
    } else if (item == 4) {
        run(hooks_.refillRecycleBin);
    } else if (item == 5 && !backupListFilled_) {
        backupListFilled_ = true;
        run(hooks_.fillBackupList);
    }
    view_.ShowPage(kPageBarItems[Index(item)].page);
    view_.DrawStatusLine();
}

}  // namespace glyphwell::ui
