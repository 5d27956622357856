#include "placement.h"

namespace quorvel::forms {

std::optional<Point> FramePosition(const WindowLayout& layout, Rect frame, Rect workArea, int dpi) {
    switch (layout.placement) {
    case Placement::Fixed:
        return Point{Pixels(layout.left, dpi) + frame.left, Pixels(layout.top, dpi) + frame.top};
    case Placement::CentreScreen:
        return Point{workArea.left + (workArea.right - workArea.left - (frame.right - frame.left)) / 2,
                     workArea.top + (workArea.bottom - workArea.top - (frame.bottom - frame.top)) / 2};
    case Placement::SystemDefault:
        break;
    }
    return std::nullopt;
}

}  // namespace quorvel::forms
