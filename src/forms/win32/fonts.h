#pragma once

#include "layout.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quorvel::forms::win32 {

// The layout's font at `dpi`, or where its family is missing the first installed stand-in of similar
// metrics.
HFONT CreateLayoutFont(const Font& font, UINT dpi);

// The system's message font at `dpi`, for windows whose layout names no font.
HFONT CreateSystemFont(UINT dpi);

}  // namespace quorvel::forms::win32
