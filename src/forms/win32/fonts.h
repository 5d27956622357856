#pragma once

#include "layout.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quorvel::forms::win32 {

// The layout's font at `dpi`, or where its family is missing the first installed stand-in of similar
// metrics. With `outline`, a family installed only as bitmaps counts as missing: MS Sans Serif is on
// Windows the bitmap font sserife.fon, with the Western code page's characters alone, a glyph index no
// fallback looks past, no ClearType and no sizes between its bitmaps; the text fields, which show any
// message at any scale, draw with its outline successor instead.
HFONT CreateLayoutFont(const Font& font, UINT dpi, bool outline = false);

// The system's message font at `dpi`, for windows whose layout names no font.
HFONT CreateSystemFont(UINT dpi);

}  // namespace quorvel::forms::win32
