#include "glyph_measurer.h"

#include "cluster_measure.h"

#include "units.h"

#include <usp10.h>

#include <algorithm>
#include <array>

namespace quorvel::forms::win32 {
namespace {

constexpr std::size_t kBlock = 256;
// Runs are shaped in pieces of at most the core's piece length. Only a single cluster is longer (a letter
// with thousands of marks), and that is measured unshaped: shaping it would cost time for nothing to see.
constexpr std::size_t kMaxShapedRun = textedit::Measurer::MaxPieceLength;

// Whether a unit is drawn with a glyph of its own: not a control character, which no font draws, nor
// half of a surrogate pair, which the table sends to Uniscribe with its other half.
bool IsDrawn(char16_t unit) {
    return unit >= 0x20 && (unit < 0x7F || unit > 0x9F) && (unit < 0xD800 || unit > 0xDFFF);
}

}  // namespace

GlyphMeasurer::GlyphMeasurer() {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    originalFont_ = GetCurrentObject(dc_, OBJ_FONT);
    SetFont(nullptr);
}

GlyphMeasurer::~GlyphMeasurer() {
    SelectObject(dc_, originalFont_);
    DeleteDC(dc_);
}

void GlyphMeasurer::SetFont(HFONT font) {
    font_ = font;
    SelectObject(dc_, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    lineHeight_ = std::max<int>(1, metrics.tmHeight);
    averageWidth_ = std::max<int>(1, metrics.tmAveCharWidth);
    tabWidth_ = textedit::Measurer::TabAverageCharacters * averageWidth_;
    known_.assign(0x10000, 0);
    lacking_.assign(0x10000, false);
    measuredBlocks_.assign(0x10000 / kBlock, false);
    for (char16_t unit = 0; unit < kMarks; ++unit)
        lacksBelowMarks_[unit] = Lacks(unit);
}

void GlyphMeasurer::MeasureBlock(char16_t first) {
    std::array<INT, kBlock> widths{};
    if (!GetCharWidth32W(dc_, first, first + kBlock - 1, widths.data()))
        widths.fill(averageWidth_);
    for (std::size_t i = 0; i < kBlock; ++i)
        known_[first + i] = std::max(0, widths[i]);
    known_[u'\t'] = tabWidth_;
    std::array<WCHAR, kBlock> units{};
    for (std::size_t i = 0; i < kBlock; ++i)
        units[i] = static_cast<WCHAR>(first + i);
    std::array<WORD, kBlock> glyphs{};
    if (GetGlyphIndicesW(dc_, units.data(), kBlock, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        glyphs.fill(0);
    for (std::size_t i = 0; i < kBlock; ++i)
        lacking_[first + i] = glyphs[i] == 0xFFFF && IsDrawn(units[i]);
    measuredBlocks_[first / kBlock] = true;
}

int GlyphMeasurer::Width(char16_t unit) {
    if (!measuredBlocks_[unit / kBlock])
        MeasureBlock(static_cast<char16_t>(unit - unit % kBlock));
    return known_[unit];
}

bool GlyphMeasurer::Lacks(char16_t unit) {
    if (!measuredBlocks_[unit / kBlock])
        MeasureBlock(static_cast<char16_t>(unit - unit % kBlock));
    return lacking_[unit];
}

bool GlyphMeasurer::NeedsShaping(std::u16string_view text, std::size_t begin, std::size_t end) {
    return textedit::NeedsShaping(text, begin, end) || Lacks(text[begin]);
}

void GlyphMeasurer::Advances(std::u16string_view piece, std::span<int> advances) {
    textedit::MeasureClusters(
        piece, advances, [this](char16_t unit) { return Width(unit); },
        [this](std::u16string_view text, std::size_t begin, std::size_t end) {
            // Coded text and Latin at a glance: below the combining marks the table shapes nothing.
            if (end - begin == 1 && text[begin] < kMarks)
                return lacksBelowMarks_[text[begin]];
            return NeedsShaping(text, begin, end);
        },
        [this](std::u16string_view run, std::span<int> runAdvances) { Shape(run, runAdvances); });
}

void GlyphMeasurer::Shape(std::u16string_view run, std::span<int> advances) {
    logical_.assign(run.size(), 0);
    SCRIPT_STRING_ANALYSIS analysis = nullptr;
    const int length = static_cast<int>(run.size());
    if (run.size() <= kMaxShapedRun &&
        ScriptStringAnalyse(dc_, run.data(), length, length * 3 / 2 + 16, -1,
                            SSA_GLYPHS | SSA_FALLBACK | SSA_LINK, 0, nullptr, nullptr, nullptr, nullptr,
                            nullptr, &analysis) == S_OK) {
        ScriptStringGetLogicalWidths(analysis, logical_.data());
        ScriptStringFree(&analysis);
    } else {
        for (std::size_t i = 0; i < run.size(); ++i)
            logical_[i] = Width(run[i]);
    }
    // Uniscribe spreads a cluster's width over its characters; the core wants it on the first unit.
    for (std::size_t at = 0; at < run.size();) {
        const std::size_t next = textedit::NextCluster(run, at);
        int width = 0;
        for (std::size_t i = at; i < next; ++i) {
            width += logical_[i];
            advances[i] = 0;
        }
        advances[at] = std::max(0, width);
        at = next;
    }
}

}  // namespace quorvel::forms::win32
