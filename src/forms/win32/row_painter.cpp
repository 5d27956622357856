#include "row_painter.h"

#include "units.h"

#include <usp10.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace quorvel::forms::win32 {
namespace {

// One analysis for a whole row would be simpler, but Wine 8's ScriptStringAnalyse with a right-to-left
// base level puts the row's left-to-right runs and its words in the wrong order ("abc def" after the
// Hebrew and Arabic instead of before them). So the row is cut into its runs of one embedding level, as
// ScriptItemize finds them from the paragraph's base direction, placed in the visual order ScriptLayout
// gives, and each run is shaped alone in its own direction; runs of different levels never join.
class ShapedRow {
public:
    ShapedRow(HDC dc, std::u16string_view row, textedit::TextDirection direction) {
        if (row.empty())
            return;
        std::vector<Run> logical = LevelRuns(row, direction);
        std::vector<BYTE> levels;
        for (const Run& run : logical)
            levels.push_back(run.level);
        std::vector<int> visual(logical.size());
        ScriptLayout(static_cast<int>(logical.size()), levels.data(), visual.data(), nullptr);
        int x = 0;
        for (int index : visual) {
            Run& run = logical[static_cast<std::size_t>(index)];
            run.analysis = Analyse(dc, row.substr(run.begin, run.end - run.begin), run.level);
            if (!run.analysis)
                continue;
            run.x = x;
            x += ScriptString_pSize(run.analysis)->cx;
            runs_.push_back(run);
        }
    }
    ~ShapedRow() {
        for (Run& run : runs_)
            ScriptStringFree(&run.analysis);
    }
    ShapedRow(const ShapedRow&) = delete;
    ShapedRow& operator=(const ShapedRow&) = delete;

    bool empty() const { return runs_.empty(); }

    // Draws the row from `left`, the characters from `selectionBegin` to `selectionEnd` selected.
    void Out(int left, int y, std::size_t selectionBegin, std::size_t selectionEnd) const {
        for (const Run& run : runs_) {
            const std::size_t begin = std::clamp(selectionBegin, run.begin, run.end) - run.begin;
            const std::size_t end = std::clamp(selectionEnd, run.begin, run.end) - run.begin;
            ScriptStringOut(run.analysis, left + run.x, y, 0, nullptr, static_cast<int>(begin),
                            static_cast<int>(end), FALSE);
        }
    }

    // The x of the leading, or with `trailing` the trailing, edge of the character at `offset`.
    int X(std::size_t offset, bool trailing) const {
        for (const Run& run : runs_) {
            if (offset < run.begin || offset >= run.end)
                continue;
            int x = 0;
            ScriptStringCPtoX(run.analysis, static_cast<int>(offset - run.begin), trailing, &x);
            return run.x + x;
        }
        return 0;
    }

    // The character under `x` and whether `x` is nearer its trailing edge; beyond either end of the
    // row, the character drawn at that end.
    std::pair<std::size_t, bool> CharacterAt(int x) const {
        const Run* under = &runs_.front();
        for (const Run& run : runs_)
            if (x >= run.x)
                under = &run;
        const bool rtl = under->level % 2 == 1;
        if (x < under->x)
            return rtl ? std::pair{under->end - 1, true} : std::pair{under->begin, false};
        if (x >= under->x + ScriptString_pSize(under->analysis)->cx)
            return rtl ? std::pair{under->begin, false} : std::pair{under->end - 1, true};
        int character = 0;
        int trailing = 0;
        if (ScriptStringXtoCP(under->analysis, x - under->x, &character, &trailing) != S_OK)
            return {under->begin, false};
        const auto last = static_cast<int>(under->end - under->begin) - 1;
        return {under->begin + static_cast<std::size_t>(std::clamp(character, 0, last)), trailing != 0};
    }

private:
    struct Run {
        std::size_t begin = 0, end = 0;
        BYTE level = 0;
        int x = 0;
        SCRIPT_STRING_ANALYSIS analysis = nullptr;
    };

    // The row's runs of one embedding level, in logical order.
    static std::vector<Run> LevelRuns(std::u16string_view row, textedit::TextDirection direction) {
        const int length = static_cast<int>(row.size());
        SCRIPT_CONTROL control{};
        SCRIPT_STATE state{};
        state.uBidiLevel = direction == textedit::TextDirection::RightToLeft ? 1 : 0;
        std::vector<SCRIPT_ITEM> items(row.size() + 2);
        int count = 0;
        if (ScriptItemize(reinterpret_cast<const WCHAR*>(row.data()), length, length + 1, &control, &state,
                          items.data(), &count) != S_OK)
            return {{0, row.size(), static_cast<BYTE>(state.uBidiLevel)}};
        std::vector<Run> runs;
        for (int i = 0; i < count; ++i) {
            const auto begin = static_cast<std::size_t>(items[i].iCharPos);
            const auto end = static_cast<std::size_t>(items[i + 1].iCharPos);
            const BYTE level = static_cast<BYTE>(items[i].a.s.uBidiLevel);
            if (!runs.empty() && runs.back().level == level)
                runs.back().end = end;
            else
                runs.push_back({begin, end, level});
        }
        return runs;
    }

    static SCRIPT_STRING_ANALYSIS Analyse(HDC dc, std::u16string_view run, BYTE level) {
        const int length = static_cast<int>(run.size());
        const bool rtl = level % 2 == 1;
        SCRIPT_CONTROL control{};
        SCRIPT_STATE state{};
        state.uBidiLevel = rtl ? 1 : 0;
        SCRIPT_STRING_ANALYSIS analysis = nullptr;
        if (ScriptStringAnalyse(dc, run.data(), length, length * 3 / 2 + 16, -1,
                                SSA_GLYPHS | SSA_FALLBACK | SSA_LINK | (rtl ? SSA_RTL : 0), 0, &control,
                                &state, nullptr, nullptr, nullptr, &analysis) != S_OK)
            return nullptr;
        return analysis;
    }

    std::vector<Run> runs_;
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
    if (shaped.empty()) {
        ExtTextOutW(dc, left, OnCanvas(row.y), 0, nullptr, reinterpret_cast<LPCWSTR>(text.data()),
                    static_cast<UINT>(text.size()), nullptr);
        return;
    }
    SetBkColor(dc, colours.selection);
    // Uniscribe draws the selected glyphs in the system's selection colours itself, in visual order.
    shaped.Out(left, OnCanvas(row.y), row.selectionBegin, row.selectionEnd);
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
    if (shaped.empty())
        return 0;
    return offset < row.size() ? shaped.X(offset, false) : shaped.X(row.size() - 1, true);
}

std::size_t RowPainter::ShapedOffsetAt(std::u16string_view row, int x, textedit::TextDirection direction) {
    const ShapedRow shaped(measurer_.dc(), row, direction);
    if (shaped.empty())
        return 0;
    // Uniscribe names a character and its edge; a cluster's characters share the cluster's edges.
    const auto [at, trailing] = shaped.CharacterAt(x);
    return trailing ? textedit::ClusterCeil(row, std::min(row.size(), at + 1))
                    : textedit::ClusterFloor(row, at);
}

}  // namespace quorvel::forms::win32
