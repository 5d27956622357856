#pragma once

#include "row_layout.h"

#include <cstddef>

namespace quorvel::forms::textedit {

// Which rows of a text field are in view, in the view's own coordinates (device pixels, y down from the
// view's top): the first row in view, how many fit, the row under a point, the mouse wheel and the
// scrolling a drag past the view's edge asks for. The rows are those of an editor; the view tells the
// viewport its height and its line height whenever they change, and paints from TopRow() and RowY().
class Viewport {
public:
    // A wheel delta of this much is one notch, in Windows' and Qt's units alike.
    static constexpr int kWheelNotch = 120;

    // Where a drag's pointer asks the view to go on scrolling while the button stays down.
    enum class AutoScroll { None, Up, Down };

    // `rows` must outlive the viewport.
    explicit Viewport(const RowLayout& rows) : rows_(rows) {}

    // The view is `height` high, its first row starts `topMargin` below its top, and each row is
    // `lineHeight` high (at least 1).
    void SetGeometry(int height, int topMargin, int lineHeight);

    std::size_t TopRow() const { return top_; }
    // How many whole rows the view shows, at least 1: what a page is.
    std::size_t PageRows() const;
    // How many rows the view shows at least a part of, at least 1.
    std::size_t ShownRows() const;
    // The last row that may be the top one: with it at the top the last row is the page's last.
    std::size_t LastTopRow() const;
    // The y of the top of `row`, which is negative for rows above the view.
    long long RowY(std::size_t row) const;
    // The row under `y`, rows above and below the view included; the first or last row beyond the text.
    std::size_t RowAtY(int y) const;

    // Scrolls so that `top` is the top row, kept to [0, LastTopRow()]; whether the top row changed.
    bool ScrollTo(std::size_t top);
    // Scrolls `rows` rows down, or up when negative, kept to the first and last top row.
    bool ScrollBy(long long rows);
    // Puts the top row back within the last top row after the rows or the view's height changed.
    void KeepInRange();
    // Scrolls as little as brings `row` into the page (the caret's row after an edit or a move).
    void ShowRow(std::size_t row);
    // Scrolls the row of `position` to the top with `alignToTop`; otherwise to the page's bottom when
    // there are rows enough above it to fill the page, and to the top when there are not.
    bool ScrollIntoView(std::size_t position, bool alignToTop);

    // How many rows a turn of the wheel by `delta` scrolls, `rowsPerNotch` rows a whole notch and a part
    // of a notch in proportion (touchpads and precision wheels turn by less): what is left below a row is
    // kept for the next turn the same way. Away from the user (positive) scrolls up (negative).
    long long WheelRows(int delta, std::size_t rowsPerNotch);
    // The same for a turn the system tells in pixels.
    long long WheelPixelRows(int pixels);
    // Forgets what is left of a turn: on a change of direction, and when the field loses the focus.
    void DropWheel() { wheelLeft_ = 0; }

    // Whether a drag's pointer at `y` is above or below the view, where the view goes on scrolling
    // towards it while the button is down.
    AutoScroll AutoScrollAt(int y) const;

private:
    const RowLayout& rows_;
    std::size_t top_ = 0;
    int height_ = 0;
    int topMargin_ = 0;
    int lineHeight_ = 1;
    // What is left below a row of the turns so far, in 120ths of a row or in pixels.
    long long wheelLeft_ = 0;
    bool wheelInPixels_ = false;
};

}  // namespace quorvel::forms::textedit
