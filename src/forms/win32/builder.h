#pragma once

#include "layout.h"
#include "picture_box.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <vector>

namespace quorvel::forms::win32 {

// A control made from its layout, with what its window keeps of it.
struct BuiltControl {
    const ControlLayout* layout;
    HWND handle;
    Picture picture;  // a picture box's bitmaps
    std::function<void()> clicked;
};

// Creates the top-level window of a layout, of the window class `className`: its caption, frame and
// icon, its client area sized and the window placed as the layout says, at the system's DPI. Not yet
// shown.
HWND CreateTopLevel(const WindowLayout& layout, const wchar_t* className);

// Creates the layout's controls as children of `window`, in tab order, which is the order in which
// the dialog manager moves the focus; each is named for screen readers. Their ids count from 1.
std::vector<BuiltControl> CreateControls(HWND window, const WindowLayout& layout);

// Puts the controls at their places and gives them their fonts, at `dpi`. Returns the fonts made for
// them, which must live as long as the controls use them.
std::vector<HFONT> PlaceControls(const std::vector<BuiltControl>& controls, const WindowLayout& layout,
                                 UINT dpi);

}  // namespace quorvel::forms::win32
