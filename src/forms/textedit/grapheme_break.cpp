// Extended grapheme clusters, by the rules of Unicode's text segmentation (UAX #29), with one addition:
// a lone surrogate, which the rules leave out, is a cluster of its own (its property is Control).
#include "code_points.h"
#include "unicode_properties.h"
#include "units.h"

namespace quorvel::forms::textedit {
namespace {

using enum GraphemeBreak;

// Whether an emoji, then any extending marks, then the zero-width joiner end at `position`.
bool PictographicSequenceBefore(std::u16string_view text, std::size_t position) {
    position = CodePointStartBefore(text, position);  // the joiner
    while (position > 0) {
        const std::size_t start = CodePointStartBefore(text, position);
        const CharProperties before = PropertiesOf(CodePointBefore(text, position));
        if (before.grapheme != Extend)
            return before.Has(ExtendedPictographicFlag);
        position = start;
    }
    return false;
}

}  // namespace

bool IsClusterBoundaryInGeneral(std::u16string_view text, std::size_t position) {
    if (position == 0 || position >= text.size())
        return true;
    if (InsideSurrogatePair(text, position))
        return false;
    const char32_t beforeCode = CodePointBefore(text, position), afterCode = CodePointAt(text, position);
    // A lone surrogate's value is its own code point, which is no other's.
    if ((beforeCode >= 0xD800 && beforeCode <= 0xDFFF) || (afterCode >= 0xD800 && afterCode <= 0xDFFF))
        return true;
    const GraphemeBreak before = PropertiesOf(beforeCode).grapheme;
    const CharProperties afterProperties = PropertiesOf(afterCode);
    const GraphemeBreak after = afterProperties.grapheme;
    if (before == CR && after == LF)
        return false;
    if (before == CR || before == LF || before == Control || after == CR || after == LF || after == Control)
        return true;
    // Hangul syllable sequences.
    if (before == L && (after == L || after == V || after == LV || after == LVT))
        return false;
    if ((before == LV || before == V) && (after == V || after == T))
        return false;
    if ((before == LVT || before == T) && after == T)
        return false;
    if (after == Extend || after == ZWJ || after == SpacingMark || before == Prepend)
        return false;
    if (before == ZWJ && afterProperties.Has(ExtendedPictographicFlag))
        return !PictographicSequenceBefore(text, position);
    if (before == RegionalIndicator && after == RegionalIndicator)
        return !OddRegionalIndicatorsBefore(text, position);
    return true;
}

bool IsEmojiCluster(std::u16string_view cluster) {
    for (std::size_t position = 0; position < cluster.size(); ++position) {
        const CharProperties properties = PropertiesOf(CodePointAt(cluster, position));
        if (properties.Has(ExtendedPictographicFlag) || properties.grapheme == RegionalIndicator)
            return true;
    }
    return false;
}

bool IsEmojiPresentation(std::u16string_view cluster) {
    if (cluster.find(u'\uFE0E') != std::u16string_view::npos)
        return false;
    return cluster.find(u'\uFE0F') != std::u16string_view::npos ||
           cluster.find(u'\u20E3') != std::u16string_view::npos || IsEmojiCluster(cluster);
}

}  // namespace quorvel::forms::textedit
