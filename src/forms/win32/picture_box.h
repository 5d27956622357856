#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string_view>

namespace quorvel::forms::win32 {

// A picture's bitmaps: the one of 96 dpi, and the one of twice its size.
struct Picture {
    HBITMAP single = nullptr;
    HBITMAP doubled = nullptr;
};

// The bitmap resources of the picture a picture box's layout names; nullptr where one is missing.
Picture LoadPicture(std::string_view resource);
void FreePicture(const Picture& picture);

// Draws a picture box for WM_DRAWITEM at the window's `dpi`: of the picture's bitmaps the one for
// that dpi, drawn at the picture's 96-dpi size scaled to it, from the box's top-left corner and cut
// off at its edges, on the window's colour.
void DrawPicture(const DRAWITEMSTRUCT& item, const Picture& picture, UINT dpi);

}  // namespace quorvel::forms::win32
