#include "row_painter.h"

#include "units.h"

#include <usp10.h>

#include <algorithm>
#include <climits>

namespace quorvel::forms::win32 {
namespace {

// A row shaped by Uniscribe for drawing and hit-testing, freed when it goes.
class ShapedRow {
public:
    ShapedRow(HDC dc, std::u16string_view row) {
        const int length = static_cast<int>(row.size());
        if (length > 0 &&
            ScriptStringAnalyse(dc, row.data(), length, length * 3 / 2 + 16, -1, SSA_GLYPHS | SSA_FALLBACK, 0,
                                nullptr, nullptr, nullptr, nullptr, nullptr, &analysis_) != S_OK)
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

}  // namespace

bool RowPainter::Shaped(std::u16string_view row) {
    return !row.empty() && row.size() <= MaxShapedLength && measurer_.AnyNeedsShaping(row);
}

void RowPainter::Paint(HDC dc, int x, int y, std::u16string_view row, std::size_t selectionBegin,
                       std::size_t selectionEnd, const Colours& colours) {
    if (row.empty())
        return;
    selectionEnd = std::min(selectionEnd, row.size());
    selectionBegin = std::min(selectionBegin, selectionEnd);
    if (Shaped(row))
        PaintShaped(dc, x, y, row, selectionBegin, selectionEnd, colours);
    else
        PaintPlain(dc, x, y, row, selectionBegin, selectionEnd, colours);
}

void RowPainter::PaintPlain(HDC dc, int x, int y, std::u16string_view row, std::size_t selectionBegin,
                            std::size_t selectionEnd, const Colours& colours) {
    advances_.assign(row.size(), 0);
    measurer_.Advances(row, advances_);
    // A tab is a gap; the font's glyph for it would be a box.
    drawn_.assign(row);
    std::ranges::replace(drawn_, u'\t', u' ');
    const auto draw = [&](std::size_t begin, std::size_t end, int at) {
        if (begin < end)
            ExtTextOutW(dc, at, y, ETO_IGNORELANGUAGE, nullptr,
                        reinterpret_cast<LPCWSTR>(drawn_.data() + begin), static_cast<UINT>(end - begin),
                        advances_.data() + begin);
    };
    // Summed wide: a row of a million hanging tabs is wider than an int counts.
    long long selectionLeft = x;
    for (std::size_t i = 0; i < selectionBegin; ++i)
        selectionLeft += advances_[i];
    long long selectionRight = selectionLeft;
    for (std::size_t i = selectionBegin; i < selectionEnd; ++i)
        selectionRight += advances_[i];
    const auto onCanvas = [](long long at) { return static_cast<int>(std::min<long long>(at, INT_MAX / 2)); };

    // Drawn up to the first unit past the canvas's right edge, and no more than MaxShapedLength units
    // of marks that stack at one place.
    RECT canvas{};
    GetClipBox(dc, &canvas);
    std::size_t shown = 0;
    for (int right = x; shown < row.size() && shown < MaxShapedLength && right <= canvas.right; ++shown)
        right += advances_[shown];
    selectionBegin = std::min(selectionBegin, shown);
    selectionEnd = std::min(selectionEnd, shown);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    draw(0, selectionBegin, x);
    draw(selectionEnd, shown, onCanvas(selectionRight));
    if (selectionLeft < selectionRight) {
        const RECT selected{onCanvas(selectionLeft), y, onCanvas(selectionRight), y + measurer_.LineHeight()};
        SetBkColor(dc, colours.selection);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &selected, nullptr, 0, nullptr);
        SetTextColor(dc, colours.selectedText);
        draw(selectionBegin, selectionEnd, onCanvas(selectionLeft));
    }
}

void RowPainter::PaintShaped(HDC dc, int x, int y, std::u16string_view row, std::size_t selectionBegin,
                             std::size_t selectionEnd, const Colours& colours) {
    const ShapedRow shaped(dc, row);
    if (!shaped.get()) {
        PaintPlain(dc, x, y, row, selectionBegin, selectionEnd, colours);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    SetBkColor(dc, colours.selection);
    // Uniscribe draws the selected glyphs in the system's selection colours itself, in visual order.
    ScriptStringOut(shaped.get(), x, y, 0, nullptr, static_cast<int>(selectionBegin),
                    static_cast<int>(selectionEnd), FALSE);
}

void RowPainter::PaintComposing(HDC dc, int x, int y, const textedit::Preedit::ShownRow& shown,
                                const Colours& colours) {
    Paint(dc, x, y, shown.text, 0, 0, colours);
    const int thin = std::max(1, measurer_.LineHeight() / 14);
    const int bottom = y + measurer_.LineHeight();
    SetBkColor(dc, colours.text);
    for (const textedit::Preedit::Span& span : shown.spans) {
        const int begin = X(shown.text, span.begin);
        const int end = X(shown.text, span.begin + span.length);
        const int thickness = span.style == textedit::Preedit::Style::Selected ? 2 * thin : thin;
        // One pixel short at the right, so that pieces side by side stay apart.
        const RECT line{x + std::min(begin, end), bottom - thickness, x + std::max(begin, end) - 1, bottom};
        if (line.left < line.right)
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    }
}

int RowPainter::X(std::u16string_view row, std::size_t position) {
    position = std::min(position, row.size());
    if (Shaped(row))
        return ShapedX(row, position);
    advances_.assign(position, 0);
    measurer_.Advances(row.substr(0, position), advances_);
    long long x = 0;
    for (const int advance : advances_)
        x += advance;
    return static_cast<int>(std::min<long long>(x, INT_MAX / 2));
}

int RowPainter::ShapedX(std::u16string_view row, std::size_t position) {
    const ShapedRow shaped(measurer_.dc(), row);
    int x = 0;
    if (!shaped.get())
        return 0;
    if (position < row.size())
        ScriptStringCPtoX(shaped.get(), static_cast<int>(position), FALSE, &x);
    else
        ScriptStringCPtoX(shaped.get(), static_cast<int>(row.size()) - 1, TRUE, &x);
    return x;
}

std::size_t RowPainter::ShapedPositionAt(std::u16string_view row, int x) {
    const ShapedRow shaped(measurer_.dc(), row);
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
