#pragma once

#include "glyph_measurer.h"
#include "preedit.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::forms::win32 {

// Draws the rows of a text field one at a time, and tells where positions are in a row as drawn. A row
// of characters GDI draws alone goes out in one ExtTextOutW at the measured advances; a row that needs
// shaping (right-to-left text, combining marks, Indic scripts, surrogate pairs) goes through Uniscribe,
// which also places its selection and caret in visual order.
class RowPainter {
public:
    explicit RowPainter(GlyphMeasurer& measurer) : measurer_(measurer) {}

    struct Colours {
        COLORREF text, background, selectedText, selection;
    };

    // Draws `row` (a row's text, without its paragraph break) with its left edge at `x` and its top at
    // `y`, with [selectionBegin, selectionEnd) of it selected, into `dc` over the background already
    // filled.
    void Paint(HDC dc, int x, int y, std::u16string_view row, std::size_t selectionBegin,
               std::size_t selectionEnd, const Colours& colours);

    // Draws the caret's row while an input method composes: the row with the pre-edit in it, and each
    // piece of the pre-edit underlined as Windows does, thin for composing text and thick for the piece
    // being converted, with a gap between pieces. The row shows no selection meanwhile.
    void PaintComposing(HDC dc, int x, int y, const textedit::Preedit::ShownRow& shown,
                        const Colours& colours);
    // The x of `position` in `row` as drawn, from the row's left edge.
    int X(std::u16string_view row, std::size_t position);

    // Whether the row is shaped rather than drawn at the measured advances.
    bool Shaped(std::u16string_view row);
    // The caret's x for `position` in a shaped row, from the row's left edge.
    int ShapedX(std::u16string_view row, std::size_t position);
    // The position in a shaped row nearest to `x` from the row's left edge.
    std::size_t ShapedPositionAt(std::u16string_view row, int x);

    // Rows longer than the core's measured piece are drawn at the measured advances, unshaped, as they
    // were measured in pieces: a row of zero-width marks can be so long, and so can a word followed by
    // thousands of spaces, which hang past the row's end.
    static constexpr std::size_t MaxShapedLength = textedit::Measurer::MaxPieceLength;

private:
    void PaintPlain(HDC dc, int x, int y, std::u16string_view row, std::size_t selectionBegin,
                    std::size_t selectionEnd, const Colours& colours);
    void PaintShaped(HDC dc, int x, int y, std::u16string_view row, std::size_t selectionBegin,
                     std::size_t selectionEnd, const Colours& colours);

    GlyphMeasurer& measurer_;
    std::vector<int> advances_;
    std::u16string drawn_;
};

}  // namespace quorvel::forms::win32
