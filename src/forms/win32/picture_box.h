#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string_view>

namespace quorvel::forms::win32 {

// The bitmap resource a picture box's layout names, or nullptr.
HBITMAP LoadPicture(std::string_view resource);

// Draws a picture box for WM_DRAWITEM: the picture unscaled at 96 dpi, from the box's top-left corner
// and cut off at its edges, on the window's colour.
void DrawPicture(const DRAWITEMSTRUCT& item, HBITMAP picture, UINT dpi);

}  // namespace quorvel::forms::win32
