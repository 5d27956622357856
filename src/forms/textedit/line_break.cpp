// Row-break opportunities by Unicode's line breaking algorithm (UAX #14): its default rules, with numbers
// kept together as UAX #14 Example 7 does (the form Unicode's own test file uses). The rules answer at
// every code point boundary, inside extended grapheme clusters too (after a space, a combining mark
// stands alone to them); the row layout takes only the answers at cluster boundaries, so a row never
// starts inside a cluster. The rules are pair rules over the characters'
// Line_Break classes, some of which look back past runs of spaces, combining marks or number
// punctuation: such a run is read only at the position where it ends (inside it, the pair alone
// decides), so that asking at every position of a paragraph stays linear in its length. Runs of
// regional indicators are counted as far as OddRegionalIndicatorsBefore reads.
#include "code_points.h"
#include "unicode_properties.h"
#include "units.h"

namespace quorvel::forms::textedit {
namespace {

using enum LineBreak;

// One unit of the rules after LB9: a code point with the combining marks and joiners that follow it.
struct Item {
    LineBreak line;
    // The base code point's flags.
    std::uint8_t flags;
    // Where the base code point (or the first mark, for marks with no base) starts.
    std::size_t start;
};

bool IsMark(LineBreak line) { return line == CM || line == ZWJ; }
bool IsAlphabetic(LineBreak line) { return line == AL || line == HL; }
bool IsPrefixOrPostfix(LineBreak line) { return line == PR || line == PO; }
bool IsNumberPunctuation(LineBreak line) { return line == SY || line == IS; }
bool IsClosing(LineBreak line) { return line == CL || line == CP; }
bool IsHangul(LineBreak line) { return line == JL || line == JV || line == JT || line == H2 || line == H3; }

// The item that ends at `end` (> 0). LB9: marks belong to the code point before them, unless that is a
// mandatory break, a space or a zero-width space; LB10: marks with no such base are AL.
Item ItemBefore(std::u16string_view text, std::size_t end) {
    std::size_t start = end;
    while (start > 0) {
        const std::size_t previous = CodePointStartBefore(text, start);
        const CharProperties properties = PropertiesOf(CodePointBefore(text, start));
        if (!IsMark(properties.line)) {
            const LineBreak line = properties.line;
            if (start == end ||
                !(line == BK || line == CR || line == LF || line == NL || line == SP || line == ZW))
                return {line, properties.flags, previous};
            break;
        }
        start = previous;
    }
    return {AL, 0, start};
}

// LB25 in its Example 7 form, for the classes after LB13 and LB14 have had their say: whether a number
// goes on across `position`.
//   (PR | PO) × (OP | HY)? NU            (OP | HY) × NU
//   NU (NU | SY | IS)* × (NU | SY | IS | CL | CP)
//   NU (NU | SY | IS)* (CL | CP)? × (PO | PR)
// A hyphen after PR or PO, and SY, IS, CL and CP after a number, are kept by LB21 and LB13 already.
bool NumberContinues(std::u16string_view text, std::size_t position, Item before, LineBreak after) {
    if (IsPrefixOrPostfix(before.line)) {
        if (after == NU)
            return true;
        if (after == OP) {
            // The bracket's own marks, then a digit. Marks the bracket's cluster does not hold (control
            // characters) end the look: reading on would reach past the cluster after `position`.
            std::size_t next = position + 1;
            while (next < text.size()) {
                const char32_t c = CodePointAt(text, next);
                const LineBreak line = PropertiesOf(c).line;
                if (!IsMark(line))
                    return line == NU;
                if (IsClusterBoundary(text, next))
                    return false;
                next += c > 0xFFFF ? 2 : 1;
            }
            return false;
        }
    }
    if (before.line == HY && after == NU)
        return true;
    if (after != NU && !IsPrefixOrPostfix(after))
        return false;
    // Back over the number's punctuation, read only where it ends: a digit, a prefix or a postfix
    // follows it.
    Item item = before;
    if (IsPrefixOrPostfix(after) && IsClosing(item.line)) {
        if (item.start == 0)
            return false;
        item = ItemBefore(text, item.start);
    }
    while (IsNumberPunctuation(item.line)) {
        if (item.start == 0)
            return false;
        item = ItemBefore(text, item.start);
    }
    return item.line == NU;
}

// LB8 and LB14 to LB18: a run of spaces ends at `position`, and `after` (not a space) follows it.
bool BreaksAfterSpaces(std::u16string_view text, std::size_t position, LineBreak after) {
    std::size_t run = position - 1;
    while (run > 0 && text[run - 1] == u' ')
        --run;
    if (run > 0 && PropertiesOf(CodePointBefore(text, run)).line == ZW)
        return true;
    if (after == WJ || after == CL || after == CP || after == EX || after == IS || after == SY)
        return false;
    if (run == 0)
        return true;
    const LineBreak before = ItemBefore(text, run).line;
    if (before == OP || (before == QU && after == OP) || (IsClosing(before) && after == NS) ||
        (before == B2 && after == B2))
        return false;
    return true;
}

// LB11 to LB31 between two items, neither a space.
bool BreaksBetween(std::u16string_view text, std::size_t position, Item before,
                   CharProperties afterProperties, LineBreak after) {
    const LineBreak b = before.line;
    if (after == WJ || b == WJ || b == GL)
        return false;
    if (after == GL && b != BA && b != HY)
        return false;
    if (after == CL || after == CP || after == EX || after == IS || after == SY)
        return false;
    // LB14 to LB17 with no spaces between; LB16's NS is kept by LB21 as well.
    if (b == OP || (b == B2 && after == B2))
        return false;
    if (after == QU || b == QU)
        return false;
    if (after == CB || b == CB)
        return true;
    if (after == BA || after == HY || after == NS || b == BB)
        return false;
    // LB21a: a Hebrew letter, then a hyphen or a break-after.
    if ((b == HY || b == BA) && before.start > 0 && ItemBefore(text, before.start).line == HL)
        return false;
    if (b == SY && after == HL)
        return false;
    if (after == IN)
        return false;
    if ((IsAlphabetic(b) && after == NU) || (b == NU && IsAlphabetic(after)))
        return false;
    if ((b == PR && (after == ID || after == EB || after == EM)) ||
        ((b == ID || b == EB || b == EM) && after == PO))
        return false;
    if ((IsPrefixOrPostfix(b) && IsAlphabetic(after)) || (IsAlphabetic(b) && IsPrefixOrPostfix(after)))
        return false;
    if (NumberContinues(text, position, before, after))
        return false;
    if ((b == JL && (after == JL || after == JV || after == H2 || after == H3)) ||
        ((b == JV || b == H2) && (after == JV || after == JT)) || ((b == JT || b == H3) && after == JT))
        return false;
    if ((IsHangul(b) && after == PO) || (b == PR && IsHangul(after)))
        return false;
    if (IsAlphabetic(b) && IsAlphabetic(after))
        return false;
    if (b == IS && IsAlphabetic(after))
        return false;
    // LB30: narrow brackets only.
    if ((IsAlphabetic(b) || b == NU) && after == OP && !afterProperties.Has(EastAsianWideFlag))
        return false;
    if (b == CP && (before.flags & EastAsianWideFlag) == 0 && (IsAlphabetic(after) || after == NU))
        return false;
    // LB30a: flags pair up from the start of a run of regional indicators. After marks, the indicators
    // right before the marks are counted: marks between two indicators, which then make no flag, start
    // the count again.
    if (b == RI && after == RI)
        return !OddRegionalIndicatorsBefore(text, before.start + 2);
    if (after == EM && (b == EB || (before.flags & UnassignedPictographicFlag) != 0))
        return false;
    return true;
}

// Whether the ASCII table decides for units of class `line`: control characters, which are combining
// marks or mandatory breaks to the rules, are left to the general rules.
bool IsDecidedInAscii(LineBreak line) {
    switch (line) {
    case SP:
    case AL:
    case NU:
    case PO:
    case PR:
    case OP:
    case CP:
    case CL:
    case EX:
    case IS:
    case SY:
    case QU:
    case HY:
    case BA:
        return true;
    default:
        return false;
    }
}

// The rules between two ASCII units of classes `b` and `a`, where they decide alone. ASCII has no marks
// but control characters, no joiners, glue, ideographs or the like, and its brackets are narrow.
AsciiLineBreaks::Answer AsciiPair(LineBreak b, LineBreak a) {
    using enum AsciiLineBreaks::Answer;
    if (!IsDecidedInAscii(b) || !IsDecidedInAscii(a))
        return Ask;
    if (a == SP)
        return No;
    if (b == SP)
        return AfterSpaces;
    if (a == CL || a == CP || a == EX || a == IS || a == SY)
        return No;
    if (b == OP || a == QU || b == QU || a == BA || a == HY)
        return No;
    // LB21a needs what comes before the hyphen, but a digit after it stays either way (LB25).
    if (b == HY || b == BA)
        return b == HY && a == NU ? No : Ask;
    if ((IsAlphabetic(b) && a == NU) || (b == NU && IsAlphabetic(a)))
        return No;
    if ((IsPrefixOrPostfix(b) && IsAlphabetic(a)) || (IsAlphabetic(b) && IsPrefixOrPostfix(a)))
        return No;
    // LB25: a digit after a prefix or postfix, and a digit, prefix or postfix after a digit stay; after
    // an opening bracket or the number's punctuation, what comes after or before them decides.
    if (IsPrefixOrPostfix(b) && a == NU)
        return No;
    if (IsPrefixOrPostfix(b) && a == OP)
        return Ask;
    if (b == NU && (a == NU || IsPrefixOrPostfix(a)))
        return No;
    if ((IsNumberPunctuation(b) && (a == NU || IsPrefixOrPostfix(a))) ||
        (IsClosing(b) && IsPrefixOrPostfix(a)))
        return Ask;
    if ((IsAlphabetic(b) || b == IS) && IsAlphabetic(a))
        return No;
    if ((IsAlphabetic(b) || b == NU) && a == OP)
        return No;
    if (b == CP && (IsAlphabetic(a) || a == NU))
        return No;
    return Yes;
}

// The rules after a run of spaces between two ASCII units, with `first` the class of what comes before
// the run, SP for the text's start.
AsciiLineBreaks::Answer AsciiAfterSpaces(LineBreak first, LineBreak a) {
    using enum AsciiLineBreaks::Answer;
    if (!IsDecidedInAscii(first) || !IsDecidedInAscii(a))
        return Ask;
    if (a == SP || a == CL || a == CP || a == EX || a == IS || a == SY)
        return No;
    if (first == OP || (first == QU && a == OP))
        return No;
    return Yes;
}

AsciiLineBreaks MakeAsciiLineBreaks() {
    AsciiLineBreaks table{};
    for (char16_t before = 0; before < 0x80; ++before)
        for (char16_t after = 0; after < 0x80; ++after) {
            const LineBreak b = PropertiesOf(before).line, a = PropertiesOf(after).line;
            table.pair[before][after] = AsciiPair(b, a);
            table.afterSpaces[before][after] = AsciiAfterSpaces(b, a);
        }
    return table;
}

}  // namespace

const AsciiLineBreaks AsciiLineBreakTable = MakeAsciiLineBreaks();

bool BoundsLookBehind(std::u16string_view text, std::size_t position) {
    if (position >= text.size())
        return true;
    switch (PropertiesOf(CodePointAt(text, position)).line) {
    case CM:
    case ZWJ:
    case SP:
    case SY:
    case IS:
    case CL:
    case CP:
    case HY:
    case BA:
    case RI:
        return false;
    default:
        return true;
    }
}

bool IsBreakOpportunityInGeneral(std::u16string_view text, std::size_t position) {
    if (position == 0 || position >= text.size() || IsParagraphBreakUnit(text[position - 1]) ||
        IsParagraphBreakUnit(text[position]) || InsideSurrogatePair(text, position))
        return false;
    const LineBreak unitBefore = PropertiesOf(CodePointBefore(text, position)).line;
    const CharProperties afterProperties = PropertiesOf(CodePointAt(text, position));
    LineBreak after = afterProperties.line;
    // LB4 to LB8a.
    if (unitBefore == BK || unitBefore == NL)
        return true;
    if (after == BK || after == NL || after == SP || after == ZW)
        return false;
    if (unitBefore == ZW)
        return true;
    if (unitBefore == ZWJ)
        return false;
    // LB9 and LB10: marks stay with what they follow, unless that is a space.
    if (IsMark(after)) {
        if (unitBefore != SP)
            return false;
        after = AL;
    }
    if (unitBefore == SP)
        return BreaksAfterSpaces(text, position, after);
    return BreaksBetween(text, position, ItemBefore(text, position), afterProperties, after);
}

}  // namespace quorvel::forms::textedit
