#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

// What the editing core needs to know of the text around a position: clusters, paragraph breaks, row-break
// opportunities and words, by Unicode's rules and from its Character Database (unicode_properties.h).
// Every function takes any text (lone surrogates, U+FFFF, control characters) and any position up to the
// text's length; positions beyond are treated as the text's end.
namespace quorvel::forms::textedit {

inline bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
inline bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// The code point that starts at `position`: a surrogate pair's, or a lone surrogate's own value.
char32_t CodePointAt(std::u16string_view text, std::size_t position);

// The general cases of IsClusterBoundary, IsHangingSpace and IsBreakOpportunity below, whose common
// cases (Latin and ASCII text, coded text) are decided inline: layout asks them for every cluster.
bool IsClusterBoundaryInGeneral(std::u16string_view text, std::size_t position);
bool IsHangingSpaceInGeneral(char16_t unit);
bool IsBreakOpportunityInGeneral(std::u16string_view text, std::size_t position);

// Whether a caret may stand at `position`: at an extended grapheme cluster boundary (a letter with its
// marks, a Hangul syllable sequence, an emoji sequence and a flag are each one cluster), never inside a
// surrogate pair or CR LF. A lone surrogate is a cluster of its own.
inline bool IsClusterBoundary(std::u16string_view text, std::size_t position) {
    // Between two units below U+0300 only CR LF stays together: none of them prepends, extends or joins.
    if (position > 0 && position < text.size() && text[position] < 0x0300 && text[position - 1] < 0x0300)
        return text[position - 1] != u'\r' || text[position] != u'\n';
    return IsClusterBoundaryInGeneral(text, position);
}
// Whether `cluster` holds an emoji (Extended_Pictographic) or a regional indicator: an emoji with its
// modifier or variation selector, an emoji ZWJ sequence, a flag.
bool IsEmojiCluster(std::u16string_view cluster);
// Whether `cluster` is shown as an emoji picture rather than as text: an emoji cluster, a keycap (a
// digit, "#" or "*" with U+20E3) or any character asking for it with U+FE0F, unless U+FE0E asks for
// text.
bool IsEmojiPresentation(std::u16string_view cluster);
// The next cluster boundary after `position` (the text's length at its end).
std::size_t NextCluster(std::u16string_view text, std::size_t position);
// The cluster boundary before `position` (0 at the start).
std::size_t PreviousCluster(std::u16string_view text, std::size_t position);
// `position` if it is a cluster boundary, else the boundary before it.
std::size_t ClusterFloor(std::u16string_view text, std::size_t position);
// `position` if it is a cluster boundary, else the boundary after it.
std::size_t ClusterCeil(std::u16string_view text, std::size_t position);

// CR and LF; CR LF, a lone CR and a lone LF are each one paragraph break.
inline bool IsParagraphBreakUnit(char16_t unit) { return unit == u'\r' || unit == u'\n'; }

// The common case decided at a glance, for layout and measuring in Latin and coded text: `unit`, followed
// by `next`, is a cluster of its own when both are below U+0300, where nothing joins a cluster but CR LF,
// and `unit` is no paragraph break.
inline bool IsLoneUnitCluster(char16_t unit, char16_t next) {
    return unit < 0x0300 && next < 0x0300 && !IsParagraphBreakUnit(unit);
}
// How many units the paragraph break at `position` has: 2 for CR LF, 1 for a lone CR or LF, else 0.
std::size_t ParagraphBreakLength(std::u16string_view text, std::size_t position);
// The first unit of the paragraph holding `position`.
std::size_t ParagraphStart(std::u16string_view text, std::size_t position);
// Where the paragraph holding `position` ends: at its paragraph break, or at the text's end.
std::size_t ParagraphEnd(std::u16string_view text, std::size_t position);

// Spaces that hang at the end of a row without counting to its width: the tab and the spaces that
// separate words (Word_Break WSegSpace: not the no-break ones).
inline bool IsHangingSpace(char16_t unit) {
    return unit < 0x80 ? unit == u' ' || unit == u'\t' : IsHangingSpaceInGeneral(unit);
}

// The rules of row breaking between two ASCII units, decided ahead for IsBreakOpportunity from the
// units' Line_Break classes, which the Character Database gives when the program starts. Until then the
// table is all zero, and zero asks the general rules.
struct AsciiLineBreaks {
    enum Answer : std::uint8_t { Ask, AfterSpaces, No, Yes };
    // By the units before and after a position.
    Answer pair[0x80][0x80];
    // For AfterSpaces: by the unit before the run of spaces and the unit after it. What comes before a
    // run of spaces is never a space, so the space stands for the text's start.
    Answer afterSpaces[0x80][0x80];
};
extern const AsciiLineBreaks AsciiLineBreakTable;

// Whether the table alone rules out a break opportunity between the ASCII units `before` and `after`:
// so it does for most of ASCII prose and coded text.
inline bool IsNoBreakBetweenAscii(char16_t before, char16_t after) {
    const unsigned b = before, a = after;
    return (b | a) < 0x80 && AsciiLineBreakTable.pair[b][a] == AsciiLineBreaks::No;
}

// Whether a wrapped row may start at `position` inside a paragraph, by Unicode's line breaking algorithm
// (UAX #14, with numbers kept together as the test file Unicode publishes for it does): after a run of
// spaces, after a hyphen, around ideographs, never before closing punctuation or after opening
// punctuation, always after a line separator (IsRowEndUnit). Answered at every code point boundary,
// inside clusters as the rules have it; the row layout takes only those at cluster boundaries. A run
// with no opportunity is broken anywhere, at a cluster boundary, by the row layout. False at 0, at the text's
// end and next to CR or LF, whose paragraph breaks the row layout handles.
inline bool IsBreakOpportunity(std::u16string_view text, std::size_t position) {
    if (position > 0 && position < text.size()) {
        // Two ASCII units: ASCII prose and coded text are decided here, all but a few pairs of them by
        // their classes alone.
        const char16_t before = text[position - 1], after = text[position];
        if ((before | after) < 0x80) {
            const AsciiLineBreaks& table = AsciiLineBreakTable;
            AsciiLineBreaks::Answer answer = table.pair[before][after];
            if (answer == AsciiLineBreaks::AfterSpaces) {
                // What comes before the spaces decides; a run of them is read only where it ends.
                std::size_t run = position - 1;
                while (run > 0 && text[run - 1] == u' ')
                    --run;
                const char16_t first = run == 0 ? u' ' : text[run - 1];
                answer = first < 0x80 ? table.afterSpaces[first][after] : AsciiLineBreaks::Ask;
            }
            if (answer == AsciiLineBreaks::No)
                return false;
            if (answer == AsciiLineBreaks::Yes)
                return true;
        }
    }
    return IsBreakOpportunityInGeneral(text, position);
}

// The mandatory breaks that are not paragraph breaks: line tabulation and form feed (U+000B, U+000C),
// next line (U+0085), the line and paragraph separators (U+2028, U+2029). They stay in the text as code
// units of their paragraph and end the row they are in: the row ends right after them as a wrapped row
// does, also at the paragraph's end (the rest of the paragraph is then an empty row), so that a U+2028
// pasted into a field shows as a line break and every code unit is kept.
inline bool IsRowEndUnit(char16_t unit) {
    return unit == 0x0B || unit == 0x0C || unit == 0x85 || unit == 0x2028 || unit == 0x2029;
}

// Whether IsClusterBoundary and IsBreakOpportunity at the positions after `position` read nothing
// before the code point that ends at `position`: the code point at `position` is not one of those the
// rules look back across (combining marks and joiners, spaces, number punctuation, closing brackets,
// hyphens and break-afters, regional indicators). The row layout lines its rows up only at such points.
bool BoundsLookBehind(std::u16string_view text, std::size_t position);

// Whether a word boundary of Unicode's text segmentation (UAX #29) falls at `position`: words, numbers,
// runs of spaces, each punctuation mark and each paragraph break are segments of their own.
bool IsWordBoundary(std::u16string_view text, std::size_t position);
// Ctrl+Right: the start of the next segment after `position` that is not white space; a paragraph break
// is a stop on both of its sides.
std::size_t NextWordStart(std::u16string_view text, std::size_t position);
// Ctrl+Left: the start of the segment before `position` that is not white space (or of the one it is
// in); a paragraph break is a stop on both of its sides.
std::size_t PreviousWordStart(std::u16string_view text, std::size_t position);
// Double-click: the segment at `position` (the one after it, or before it at the text's end or a
// paragraph break), as [begin, end).
std::pair<std::size_t, std::size_t> WordAt(std::u16string_view text, std::size_t position);

}  // namespace quorvel::forms::textedit
