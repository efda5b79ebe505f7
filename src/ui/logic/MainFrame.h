#pragma once
// The main window frame's element states and mouse rules: title buttons, page bar and
// palette button. The window implements MainFrameView to draw and act; this class decides.

#include <array>
#include <functional>

#include "ui/logic/FrameLayout.h"

namespace glyphwell::ui {

// A title button's state; the palette button is pressed while its window is open.
enum class ButtonState : int {
    kNormal = 0,
    kHover = 1,
    kPressed = 2,
};

// A page-bar item's state.
enum class ItemState : int {
    kNormal = 0,
    kHover = 1,
    kSelected = 2,
    kHoverSuspended = 5,  // while the palette window is open
};

inline constexpr int kFadeIntervalMs = 20;
inline constexpr int kFadeStep = 5;
inline constexpr int kOpaque = 255;

class MainFrameView {
  public:
    virtual ~MainFrameView() = default;
    // Alpha counts only when fading; values above 255 draw opaque.
    virtual void RedrawTitleButton(int button, int alpha, bool fading) = 0;
    virtual void RedrawPageBarItem(int item) = 0;
    virtual void RedrawPaletteButton() = 0;
    virtual void RepaintWindow() = 0;
    virtual void StartFadeTimer(int intervalMs) = 0;
    virtual void StopFadeTimer() = 0;
    virtual void StartWindowDrag() = 0;
    virtual void OpenPalette() = 0;
    virtual void ClosePalette() = 0;
    virtual void RunTitleButtonAction(int button) = 0;
    virtual void ShowPage(int pageIndex) = 0;
    // The status line in the skin's text colour.
    virtual void DrawStatusLine() = 0;
};

// What choosing a page refills; owned by the pages' areas, empty until they plug in.
struct PageFillHooks {
    std::function<void()> refillDownloadedFonts;
    std::function<void()> refillRecycleBin;
    std::function<void()> fillBackupList;
};

class MainFrame {
  public:
    explicit MainFrame(MainFrameView& view, PageFillHooks hooks = {});

    void SetPageFillHooks(PageFillHooks hooks) { hooks_ = std::move(hooks); }

    // Recomputes the title-button rectangles for a window `width` wide.
    void Layout(int width);
    // Start-up marks item 1 selected before the first paint.
    void MarkFirstItemSelected();

    void MouseMove(int px, int py);
    void FadeTick();
    void MouseLeave();
    void LeftPress(int px, int py);
    void LeftRelease(int px, int py);
    // A press on the page container closes an open palette window.
    void PageContainerPressed(bool paletteWindowOpen);
    void SelectPage(int item);

    ButtonState TitleButtonState(int button) const { return titleButtons_[Index(button)].state; }
    const Rect& TitleButtonRectOf(int button) const { return titleButtons_[Index(button)].rect; }
    ItemState PageBarItemState(int item) const { return items_[Index(item)]; }
    // The first selected item, 0 for none.
    int SelectedItem() const;
    int FadeValue() const { return fade_; }
    bool FadeRunning() const { return fadeRunning_; }

  private:
    struct TitleButton {
        Rect rect;
        ButtonState state = ButtonState::kNormal;
    };
    static std::size_t Index(int number) { return static_cast<std::size_t>(number - 1); }
    void StartFade();
    void StopFade();
    void SetUnselectedItems(ItemState state);

    MainFrameView& view_;
    PageFillHooks hooks_;
    std::array<TitleButton, kTitleButtonCount> titleButtons_{};
    std::array<ItemState, kPageBarItemCount> items_{};
    int fade_ = 0;
    bool fadeRunning_ = false;
    bool backupListFilled_ = false;
};

}  // namespace glyphwell::ui
