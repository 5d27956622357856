#include "units.h"

#include "code_points.h"
#include "unicode_properties.h"

#include <algorithm>

namespace quorvel::forms::textedit {

char32_t CodePointAt(std::u16string_view text, std::size_t position) {
    const char16_t unit = text[position];
    if (IsHighSurrogate(unit) && position + 1 < text.size() && IsLowSurrogate(text[position + 1]))
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[position + 1] - 0xDC00);
    return unit;
}

bool OddRegionalIndicatorsBefore(std::u16string_view text, std::size_t position) {
    // Regional indicators are U+1F1E6 to U+1F1FF, each a surrogate pair D83C DDE6 to D83C DDFF.
    const auto indicatorBefore = [text](std::size_t end) {
        return end >= 2 && text[end - 2] == 0xD83C && text[end - 1] >= 0xDDE6 && text[end - 1] <= 0xDDFF;
    };
    std::size_t count = 0;
    while (indicatorBefore(position)) {
        if (++count > MaxRegionalIndicatorRun)
            return false;
        position -= 2;
    }
    return count % 2 == 1;
}

std::size_t NextCluster(std::u16string_view text, std::size_t position) {
    if (position >= text.size())
        return text.size();
    do
        ++position;
    while (!IsClusterBoundary(text, position));
    return position;
}

std::size_t PreviousCluster(std::u16string_view text, std::size_t position) {
    position = std::min(position, text.size());
    if (position == 0)
        return 0;
    do
        --position;
    while (!IsClusterBoundary(text, position));
    return position;
}

std::size_t ClusterFloor(std::u16string_view text, std::size_t position) {
    position = std::min(position, text.size());
    while (!IsClusterBoundary(text, position))
        --position;
    return position;
}

std::size_t ClusterCeil(std::u16string_view text, std::size_t position) {
    position = std::min(position, text.size());
    while (!IsClusterBoundary(text, position))
        ++position;
    return position;
}

std::size_t ParagraphBreakLength(std::u16string_view text, std::size_t position) {
    if (position >= text.size() || !IsParagraphBreakUnit(text[position]))
        return 0;
    return text[position] == u'\r' && position + 1 < text.size() && text[position + 1] == u'\n' ? 2 : 1;
}

std::size_t ParagraphStart(std::u16string_view text, std::size_t position) {
    position = std::min(position, text.size());
    while (position > 0 && !IsParagraphBreakUnit(text[position - 1]))
        --position;
    return position;
}

std::size_t ParagraphEnd(std::u16string_view text, std::size_t position) {
    while (position < text.size() && !IsParagraphBreakUnit(text[position]))
        ++position;
    return std::min(position, text.size());
}

bool IsHangingSpaceInGeneral(char16_t unit) {
    return unit == u'\t' || PropertiesOf(unit).word == WordBreak::WSegSpace;
}

}  // namespace quorvel::forms::textedit
