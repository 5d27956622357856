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

// Characters GDI would draw in the wrong order or unjoined on their own: right-to-left scripts, the
// scripts of South and South-East Asia, joiners and direction marks. Uniscribe's own verdict is asked
// as well; this list covers what an older Uniscribe may call simple.
bool NeedsShapingByRange(char16_t unit) {
    constexpr std::array<std::pair<char16_t, char16_t>, 9> kRanges{{{0x0590, 0x08FF},
                                                                    {0x0900, 0x0DFF},
                                                                    {0x0E00, 0x0FFF},
                                                                    {0x1000, 0x109F},
                                                                    {0x1780, 0x17FF},
                                                                    {0x200C, 0x200F},
                                                                    {0x202A, 0x202E},
                                                                    {0x2066, 0x2069},
                                                                    {0xFB1D, 0xFEFF}}};
    return std::ranges::any_of(
        kRanges, [unit](const auto& range) { return unit >= range.first && unit <= range.second; });
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
    known_.assign(0x10000, Known{});
    measuredBlocks_.assign(0x10000 / kBlock, false);
}

void GlyphMeasurer::MeasureBlock(char16_t first) {
    std::array<INT, kBlock> widths{};
    if (!GetCharWidth32W(dc_, first, first + kBlock - 1, widths.data()))
        widths.fill(averageWidth_);
    for (std::size_t i = 0; i < kBlock; ++i) {
        const auto unit = static_cast<char16_t>(first + i);
        Known& entry = known_[unit];
        entry.width = std::max(0, widths[i]);
        entry.complex = !textedit::IsSurrogate(unit) &&
                        (NeedsShapingByRange(unit) ||
                         ScriptIsComplex(reinterpret_cast<const WCHAR*>(&unit), 1, SIC_COMPLEX) == S_OK);
    }
    known_[u'\t'].width = tabWidth_;
    measuredBlocks_[first / kBlock] = true;
}

const GlyphMeasurer::Known& GlyphMeasurer::Lookup(char16_t unit) {
    if (!measuredBlocks_[unit / kBlock])
        MeasureBlock(static_cast<char16_t>(unit - unit % kBlock));
    return known_[unit];
}

bool GlyphMeasurer::NeedsShaping(std::u16string_view text, std::size_t begin, std::size_t end) {
    return end - begin > 1 || Lookup(text[begin]).complex;
}

bool GlyphMeasurer::AnyNeedsShaping(std::u16string_view text) {
    return textedit::AnyClusterNeedsShaping(text,
                                            [this](std::u16string_view t, std::size_t begin,
                                                   std::size_t end) { return NeedsShaping(t, begin, end); });
}

void GlyphMeasurer::Advances(std::u16string_view piece, std::span<int> advances) {
    textedit::MeasureClusters(
        piece, advances, [this](char16_t unit) { return Lookup(unit).width; },
        [this](std::u16string_view t, std::size_t begin, std::size_t end) {
            return NeedsShaping(t, begin, end);
        },
        [this](std::u16string_view run, std::span<int> runAdvances) { Shape(run, runAdvances); });
}

void GlyphMeasurer::Shape(std::u16string_view run, std::span<int> advances) {
    logical_.assign(run.size(), 0);
    SCRIPT_STRING_ANALYSIS analysis = nullptr;
    const int length = static_cast<int>(run.size());
    if (run.size() <= kMaxShapedRun &&
        ScriptStringAnalyse(dc_, run.data(), length, length * 3 / 2 + 16, -1, SSA_GLYPHS | SSA_FALLBACK, 0,
                            nullptr, nullptr, nullptr, nullptr, nullptr, &analysis) == S_OK) {
        ScriptStringGetLogicalWidths(analysis, logical_.data());
        ScriptStringFree(&analysis);
    } else {
        for (std::size_t i = 0; i < run.size(); ++i)
            logical_[i] = Lookup(run[i]).width;
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
