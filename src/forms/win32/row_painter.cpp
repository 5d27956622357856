#include "row_painter.h"

#include "units.h"

#include <usp10.h>

#include <algorithm>
#include <climits>

namespace quorvel::forms::win32 {
namespace {

// A row shaped by Uniscribe for drawing and hit-testing, laid out in its paragraph's base direction and
// drawn from its left edge, freed when it goes.
class ShapedRow {
public:
    ShapedRow(HDC dc, std::u16string_view row, textedit::TextDirection direction) {
        const int length = static_cast<int>(row.size());
        const bool rtl = direction == textedit::TextDirection::RightToLeft;
        SCRIPT_CONTROL control{};
        SCRIPT_STATE state{};
        state.uBidiLevel = rtl ? 1 : 0;
        if (length > 0 &&
            ScriptStringAnalyse(dc, row.data(), length, length * 3 / 2 + 16, -1,
                                SSA_GLYPHS | SSA_FALLBACK | SSA_LINK | (rtl ? SSA_RTL : 0), 0, &control,
                                &state, nullptr, nullptr, nullptr, &analysis_) != S_OK)
            analysis_ = nullptr;
    }
    ~ShapedRow() {
        if (analysis_)
            ScriptStringFree(&analysis_);
    }
    ShapedRow(const ShapedRow&) = delete;
    ShapedRow& operator=(const ShapedRow&) = delete;

    SCRIPT_STRING_ANALYSIS get() const { return analysis_; }

private:
    SCRIPT_STRING_ANALYSIS analysis_ = nullptr;
};

// An x in the view, kept where GDI's int holds it: a row of a million hanging tabs is wider.
int OnCanvas(long long x) { return static_cast<int>(std::clamp<long long>(x, INT_MIN / 2, INT_MAX / 2)); }

}  // namespace

void RowPainter::Paint(HDC dc, int left, const textedit::RowPaint& row, const Colours& colours,
                       const textedit::Field& field) {
    SetBkMode(dc, TRANSPARENT);
    if (row.shaped)
        PaintShaped(dc, left, row, colours);
    else
        PaintPlain(dc, left, row, colours);
    if (row.composing)
        Underline(dc, left, row, colours.text, field);
}

void RowPainter::PaintPlain(HDC dc, int left, const textedit::RowPaint& row, const Colours& colours) {
    const int y = OnCanvas(row.y);
    if (row.selectionLeft < row.selectionRight) {
        const RECT selected{OnCanvas(left + row.selectionLeft), y, OnCanvas(left + row.selectionRight),
                            y + measurer_.LineHeight()};
        SetBkColor(dc, colours.selection);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &selected, nullptr, 0, nullptr);
    }
    const std::u16string_view text = row.Drawn();
    for (const textedit::RowPaint::Run& run : row.runs) {
        SetTextColor(dc, run.selected ? colours.selectedText : colours.text);
        ExtTextOutW(dc, OnCanvas(left + run.x), y, ETO_IGNORELANGUAGE, nullptr,
                    reinterpret_cast<LPCWSTR>(text.data() + run.begin),
                    static_cast<UINT>(run.end - run.begin), row.advances.data() + run.begin);
    }
}

void RowPainter::PaintShaped(HDC dc, int left, const textedit::RowPaint& row, const Colours& colours) {
    const std::u16string_view text = row.Drawn();
    const ShapedRow shaped(dc, text, row.direction);
    SetTextColor(dc, colours.text);
    if (!shaped.get()) {
        ExtTextOutW(dc, left, OnCanvas(row.y), 0, nullptr, reinterpret_cast<LPCWSTR>(text.data()),
                    static_cast<UINT>(text.size()), nullptr);
        return;
    }
    SetBkColor(dc, colours.selection);
    // Uniscribe draws the selected glyphs in the system's selection colours itself, in visual order.
    ScriptStringOut(shaped.get(), left, OnCanvas(row.y), 0, nullptr, static_cast<int>(row.selectionBegin),
                    static_cast<int>(row.selectionEnd), FALSE);
}

void RowPainter::Underline(HDC dc, int left, const textedit::RowPaint& row, COLORREF colour,
                           const textedit::Field& field) {
    const int thin = std::max(1, measurer_.LineHeight() / 14);
    const int bottom = OnCanvas(row.y) + measurer_.LineHeight();
    SetBkColor(dc, colour);
    for (const textedit::Preedit::Span& span : row.preedit) {
        const int begin = OnCanvas(field.X(row.composed, span.begin, row.direction));
        const int end = OnCanvas(field.X(row.composed, span.begin + span.length, row.direction));
        const int thickness = span.style == textedit::Preedit::Style::Selected ? 2 * thin : thin;
        // One pixel short at the right, so that pieces side by side stay apart.
        const RECT line{left + std::min(begin, end), bottom - thickness, left + std::max(begin, end) - 1,
                        bottom};
        if (line.left < line.right)
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    }
}

int RowPainter::ShapedX(std::u16string_view row, std::size_t offset, textedit::TextDirection direction) {
    const ShapedRow shaped(measurer_.dc(), row, direction);
    int x = 0;
    if (!shaped.get())
        return 0;
    if (offset < row.size())
        ScriptStringCPtoX(shaped.get(), static_cast<int>(offset), FALSE, &x);
    else
        ScriptStringCPtoX(shaped.get(), static_cast<int>(row.size()) - 1, TRUE, &x);
    return x;
}

std::size_t RowPainter::ShapedOffsetAt(std::u16string_view row, int x, textedit::TextDirection direction) {
    const ShapedRow shaped(measurer_.dc(), row, direction);
    if (!shaped.get())
        return 0;
    int character = 0;
    int trailing = 0;
    if (ScriptStringXtoCP(shaped.get(), x, &character, &trailing) != S_OK)
        return 0;
    if (character < 0)
        return 0;
    // Uniscribe names a character and its edge; a cluster's characters share the cluster's edges.
    const auto at = static_cast<std::size_t>(character);
    return trailing ? textedit::ClusterCeil(row, std::min(row.size(), at + 1))
                    : textedit::ClusterFloor(row, at);
}

}  // namespace quorvel::forms::win32
