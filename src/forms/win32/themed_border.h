#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <uxtheme.h>

namespace quorvel::forms::win32 {

// A field's border as the system's visual style draws an edit control's: in the style's colours for
// the field at rest, under the pointer, with the focus and disabled. uxtheme is loaded at run time;
// with visual styles off, or no uxtheme, nothing is drawn here and the window keeps the classic sunken
// edge its WS_EX_CLIENTEDGE gives it.
class ThemedBorder {
public:
    enum class State { Normal, Hot, Focused, Disabled };

    ThemedBorder() = default;
    ~ThemedBorder() { Close(); }
    ThemedBorder(const ThemedBorder&) = delete;
    ThemedBorder& operator=(const ThemedBorder&) = delete;

    // Opens the style's data for `window`'s edit controls, again after the style changed
    // (WM_THEMECHANGED); none while visual styles are off.
    void Open(HWND window);
    bool Themed() const { return theme_ != nullptr; }

    // WM_NCPAINT: draws the border of `window` (a WS_EX_CLIENTEDGE window) in `state` within `region`,
    // and has the window's frame paint the rest (its scroll bar). Classic when not themed.
    void Paint(HWND window, HRGN region, State state) const;

    // The part and state of the style drawn for `state`, the theme's own parts for an edit control's
    // border with a vertical scroll bar where the style has them, else its text box's.
    struct Drawn {
        int part = 0;
        int state = 0;
    };
    static Drawn PartOf(HTHEME theme, State state);

private:
    void Close();

    HTHEME theme_ = nullptr;
};

}  // namespace quorvel::forms::win32
