#pragma once

#include "layout.h"

#include <optional>

namespace quorvel::forms {

struct Point {
    int x, y;
};

// A rectangle in pixels; right and bottom lie just outside it.
struct Rect {
    int left, top, right, bottom;
};

// Where a new window's outer frame goes on the screen, in pixels at `dpi`, for the placement its
// layout asks for. `frame` is the outer frame around a client area whose top-left corner is at (0, 0);
// `workArea` is the part of the screen that windows may cover. A centred window has its frame centred
// on the work area; a fixed one has its client area's top-left corner at the layout's position.
// Nothing: the window system's default place.
std::optional<Point> FramePosition(const WindowLayout& layout, Rect frame, Rect workArea, int dpi);

}  // namespace quorvel::forms
