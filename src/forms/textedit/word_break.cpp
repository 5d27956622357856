// Word boundaries by the rules of Unicode's text segmentation (UAX #29), and the word moves and
// double-click built on them. A run the rules give no boundary in, such as a long word or number, is
// one segment however long: a move crosses it whole, reading it once.
#include "code_points.h"
#include "unicode_properties.h"
#include "units.h"

#include <algorithm>

namespace quorvel::forms::textedit {
namespace {

using enum WordBreak;

WordBreak WordBreakBefore(std::u16string_view text, std::size_t position) {
    return PropertiesOf(CodePointBefore(text, position)).word;
}

// Format characters, extending marks and the joiner belong to what comes before them.
bool IsIgnored(WordBreak value) { return value == Extend || value == Format || value == ZWJ; }
bool IsParagraphOrNewline(WordBreak value) { return value == CR || value == LF || value == Newline; }
bool IsLetter(WordBreak value) { return value == ALetter || value == HebrewLetter; }
bool IsMidLetter(WordBreak value) { return value == MidLetter || value == MidNumLet || value == SingleQuote; }
bool IsMidNumber(WordBreak value) { return value == MidNum || value == MidNumLet || value == SingleQuote; }

// The start of the code point that ends at `position`, after skipping back over ignored characters; npos
// where the ignored run starts the text or follows a line break, so that it stands alone.
std::size_t EffectiveStartBefore(std::u16string_view text, std::size_t position) {
    while (position > 0) {
        const std::size_t start = CodePointStartBefore(text, position);
        const WordBreak value = WordBreakBefore(text, position);
        if (!IsIgnored(value))
            return IsParagraphOrNewline(value) ? std::u16string_view::npos : start;
        position = start;
    }
    return std::u16string_view::npos;
}

// The class of the character before `position` with ignored characters skipped, Other where there is none.
WordBreak EffectiveBefore(std::u16string_view text, std::size_t position) {
    const std::size_t start = EffectiveStartBefore(text, position);
    return start == std::u16string_view::npos ? Other : PropertiesOf(CodePointAt(text, start)).word;
}

// The class of the first character after the one at `position`, ignored characters skipped.
WordBreak EffectiveAfterNext(std::u16string_view text, std::size_t position) {
    position += IsHighSurrogate(text[position]) && position + 1 < text.size() ? 2 : 1;
    while (position < text.size()) {
        const char32_t c = CodePointAt(text, position);
        const WordBreak value = PropertiesOf(c).word;
        if (!IsIgnored(value))
            return value;
        position += c > 0xFFFF ? 2 : 1;
    }
    return Other;
}

// Whether an odd number of regional indicators, with ignored characters between them, ends at
// `position`; counted back no further than the cluster rules count.
bool OddRegionalIndicatorsIgnoringBefore(std::u16string_view text, std::size_t position) {
    std::size_t count = 0;
    while (position > 0) {
        const WordBreak value = WordBreakBefore(text, position);
        if (value == RegionalIndicator && ++count > MaxRegionalIndicatorRun)
            return false;
        if (value != RegionalIndicator && !IsIgnored(value))
            break;
        position = CodePointStartBefore(text, position);
    }
    return count % 2 == 1;
}

// Where a word move or double-click may stop: a word boundary that is also a cluster boundary.
bool IsStop(std::u16string_view text, std::size_t position) {
    return IsClusterBoundary(text, position) && IsWordBoundary(text, position);
}

std::size_t NextStop(std::u16string_view text, std::size_t position) {
    do
        ++position;
    while (position < text.size() && !IsStop(text, position));
    return std::min(position, text.size());
}

std::size_t PreviousStop(std::u16string_view text, std::size_t position) {
    do
        --position;
    while (position > 0 && !IsStop(text, position));
    return position;
}

// Whether the segment at `position` is white space other than a paragraph break, which word moves pass.
bool IsSpaceSegment(std::u16string_view text, std::size_t position) {
    return !IsParagraphBreakUnit(text[position]) &&
           PropertiesOf(CodePointAt(text, position)).Has(WhiteSpaceFlag);
}

}  // namespace

bool IsWordBoundary(std::u16string_view text, std::size_t position) {
    if (position == 0 || position >= text.size())
        return true;
    if (InsideSurrogatePair(text, position))
        return false;
    const WordBreak before = WordBreakBefore(text, position);
    const CharProperties afterProperties = PropertiesOf(CodePointAt(text, position));
    const WordBreak after = afterProperties.word;
    if (before == CR && after == LF)
        return false;
    if (IsParagraphOrNewline(before) || IsParagraphOrNewline(after))
        return true;
    if (before == ZWJ && afterProperties.Has(ExtendedPictographicFlag))
        return false;
    if (before == WSegSpace && after == WSegSpace)
        return false;
    if (IsIgnored(after))
        return false;

    const std::size_t start = EffectiveStartBefore(text, position);
    if (start == std::u16string_view::npos)
        return true;
    const WordBreak left = PropertiesOf(CodePointAt(text, start)).word;
    if (IsLetter(left) && IsLetter(after))
        return false;
    if (IsLetter(left) && IsMidLetter(after) && IsLetter(EffectiveAfterNext(text, position)))
        return false;
    if (IsMidLetter(left) && IsLetter(after) && IsLetter(EffectiveBefore(text, start)))
        return false;
    if (left == HebrewLetter && after == SingleQuote)
        return false;
    if (left == HebrewLetter && after == DoubleQuote && EffectiveAfterNext(text, position) == HebrewLetter)
        return false;
    if (left == DoubleQuote && after == HebrewLetter && EffectiveBefore(text, start) == HebrewLetter)
        return false;
    if ((left == Numeric || IsLetter(left)) && after == Numeric)
        return false;
    if (left == Numeric && IsLetter(after))
        return false;
    if (IsMidNumber(left) && after == Numeric && EffectiveBefore(text, start) == Numeric)
        return false;
    if (left == Numeric && IsMidNumber(after) && EffectiveAfterNext(text, position) == Numeric)
        return false;
    if (left == Katakana && after == Katakana)
        return false;
    if ((IsLetter(left) || left == Numeric || left == Katakana || left == ExtendNumLet) &&
        after == ExtendNumLet)
        return false;
    if (left == ExtendNumLet && (IsLetter(after) || after == Numeric || after == Katakana))
        return false;
    if (left == RegionalIndicator && after == RegionalIndicator)
        return !OddRegionalIndicatorsIgnoringBefore(text, position);
    return true;
}

std::size_t NextWordStart(std::u16string_view text, std::size_t position) {
    position = ClusterFloor(text, position);
    if (position >= text.size())
        return text.size();
    if (IsParagraphBreakUnit(text[position]))
        return position + ParagraphBreakLength(text, position);
    position = NextStop(text, position);
    while (position < text.size() && IsSpaceSegment(text, position))
        position = NextStop(text, position);
    return position;
}

std::size_t PreviousWordStart(std::u16string_view text, std::size_t position) {
    const std::size_t start = ClusterFloor(text, position);
    position = start;
    while (position > 0) {
        const std::size_t previous = PreviousStop(text, position);
        if (!IsSpaceSegment(text, previous))
            break;
        position = previous;
    }
    if (position == 0)
        return 0;
    const std::size_t previous = PreviousStop(text, position);
    if (IsParagraphBreakUnit(text[previous]))
        return position != start ? position : previous;
    return previous;
}

std::pair<std::size_t, std::size_t> WordAt(std::u16string_view text, std::size_t position) {
    if (text.empty())
        return {0, 0};
    position = ClusterFloor(text, position);
    const bool atEnd = position >= text.size() || IsParagraphBreakUnit(text[position]);
    if (atEnd && position > 0 && !IsParagraphBreakUnit(text[PreviousCluster(text, position)]))
        position = PreviousCluster(text, position);
    if (position >= text.size())
        return {position, position};
    if (IsParagraphBreakUnit(text[position]))
        return {position, position + ParagraphBreakLength(text, position)};
    const std::size_t begin = IsStop(text, position) ? position : PreviousStop(text, position);
    return {begin, NextStop(text, position)};
}

}  // namespace quorvel::forms::textedit
