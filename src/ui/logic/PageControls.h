#pragma once
// The controls of the main window's eight pages: where each sits, whether it shows at start
// and its first text. The pages are built from this table, and tests check them against it.

#include <span>

#include "ui/logic/FrameLayout.h"

namespace glyphwell::ui {

enum class ControlKind {
    kGraphicButton,
    kLabel,
    kCheckBox,
    kEditBox,
    kGrid,
    kGroupBox,
    kTabStrip,
    kCanvas,
    kBrowserBox,
};

struct ControlInfo {
    const char* name;  // the control's objectName
    ControlKind kind;
    int page;               // index in the page container, or -1 inside `container`
    const char* container;  // for page -1: the control it sits in
    Rect rect;              // relative to its page or container
    bool shownAtStart;
    const char* text;  // first text, or the caption in a graphic button's images
};

// Every page control, in the order they are created (later ones lie above earlier ones).
std::span<const ControlInfo> PageControls();

// The entry of `name`, or nullptr.
const ControlInfo* FindPageControl(const char* name);

// Container page names, index 0 to 7.
extern const char* const kPageNames[kPageBarItemCount];

}  // namespace glyphwell::ui
