#pragma once

#include "field.h"
#include "glyph_measurer.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <string_view>

namespace quorvel::forms::win32 {

// Draws a text field's rows as the field plans them, and tells where positions are in a row that needs
// shaping. A plain row goes out in ExtTextOutW runs at the measured advances; a shaped row (right-to-left
// text, combining marks, Indic scripts, surrogate pairs, characters the font lacks) goes through
// Uniscribe with font fallback and linking, which also places its selection and caret in visual order.
class RowPainter {
public:
    explicit RowPainter(GlyphMeasurer& measurer) : measurer_(measurer) {}

    struct Colours {
        COLORREF text, selectedText, selection;
    };

    // Draws `row` with the text's left edge at `left` into `dc` over the background already filled. A
    // composing row has each piece of the pre-edit underlined as Windows does, thin for composing text
    // and thick for the piece being converted, with a gap between pieces, placed by `field`.
    void Paint(HDC dc, int left, const textedit::RowPaint& row, const Colours& colours,
               const textedit::Field& field);

    // Uniscribe's caret x before `offset` in a shaped row of a paragraph of `direction`, and the cluster
    // boundary nearest to `x`, both from the row's left edge.
    int ShapedX(std::u16string_view row, std::size_t offset, textedit::TextDirection direction);
    std::size_t ShapedOffsetAt(std::u16string_view row, int x, textedit::TextDirection direction);

private:
    void PaintPlain(HDC dc, int left, const textedit::RowPaint& row, const Colours& colours);
    void PaintShaped(HDC dc, int left, const textedit::RowPaint& row, const Colours& colours);
    void Underline(HDC dc, int left, const textedit::RowPaint& row, COLORREF colour,
                   const textedit::Field& field);

    GlyphMeasurer& measurer_;
};

}  // namespace quorvel::forms::win32
