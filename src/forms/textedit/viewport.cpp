#include "viewport.h"

#include <algorithm>

namespace quorvel::forms::textedit {

void Viewport::SetGeometry(int height, int topMargin, int lineHeight) {
    height_ = height;
    topMargin_ = topMargin;
    lineHeight_ = std::max(1, lineHeight);
}

std::size_t Viewport::PageRows() const {
    return static_cast<std::size_t>(std::max(1, (height_ - topMargin_) / lineHeight_));
}

std::size_t Viewport::ShownRows() const {
    return static_cast<std::size_t>(std::max(1, (height_ - topMargin_ + lineHeight_ - 1) / lineHeight_));
}

std::size_t Viewport::LastTopRow() const {
    const std::size_t count = rows_.RowCount();
    return count > PageRows() ? count - PageRows() : 0;
}

long long Viewport::RowY(std::size_t row) const {
    return topMargin_ + (static_cast<long long>(row) - static_cast<long long>(top_)) * lineHeight_;
}

std::size_t Viewport::RowAtY(int y) const {
    // Rounded down both ways: a y just above the view is in the row just above it.
    const long long offset = static_cast<long long>(y) - topMargin_;
    const long long rows = offset < 0 ? -((-offset + lineHeight_ - 1) / lineHeight_) : offset / lineHeight_;
    return static_cast<std::size_t>(std::clamp<long long>(static_cast<long long>(top_) + rows, 0,
                                                          static_cast<long long>(rows_.RowCount()) - 1));
}

bool Viewport::ScrollTo(std::size_t top) {
    top = std::min(top, LastTopRow());
    if (top == top_)
        return false;
    top_ = top;
    return true;
}

bool Viewport::ScrollBy(long long rows) {
    const long long top = static_cast<long long>(top_) + rows;
    return ScrollTo(top < 0 ? 0 : static_cast<std::size_t>(top));
}

void Viewport::KeepInRange() { top_ = std::min(top_, LastTopRow()); }

void Viewport::ShowRow(std::size_t row) {
    const std::size_t page = PageRows();
    if (row < top_)
        top_ = row;
    else if (row >= top_ + page)
        top_ = row - page + 1;
    KeepInRange();
}

bool Viewport::ScrollIntoView(std::size_t position, bool alignToTop) {
    const std::size_t row = rows_.RowOf(std::min(position, rows_.TextLength()));
    const std::size_t page = PageRows();
    return ScrollTo(alignToTop || row < page ? row : row - page + 1);
}

long long Viewport::WheelRows(int delta, std::size_t rowsPerNotch) {
    if (wheelInPixels_ || (delta < 0) != (wheelLeft_ < 0))
        DropWheel();
    wheelInPixels_ = false;
    wheelLeft_ += static_cast<long long>(delta) * static_cast<long long>(rowsPerNotch);
    const long long rows = wheelLeft_ / kWheelNotch;
    wheelLeft_ %= kWheelNotch;
    return -rows;
}

long long Viewport::WheelPixelRows(int pixels) {
    if (!wheelInPixels_ || (pixels < 0) != (wheelLeft_ < 0))
        DropWheel();
    wheelInPixels_ = true;
    wheelLeft_ += pixels;
    const long long rows = wheelLeft_ / lineHeight_;
    wheelLeft_ %= lineHeight_;
    return -rows;
}

Viewport::AutoScroll Viewport::AutoScrollAt(int y) const {
    if (y < 0)
        return AutoScroll::Up;
    return y >= height_ ? AutoScroll::Down : AutoScroll::None;
}

}  // namespace quorvel::forms::textedit
