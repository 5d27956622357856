#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

// What the editing core needs to know of single UTF-16 code units and their neighbours, decided from the
// units themselves with no table from the system: clusters, paragraph breaks, line-break opportunities
// and words. Every function takes any text (lone surrogates, U+FFFF, control characters) and any
// position up to the text's length; positions beyond are treated as the text's end.
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

// Whether a caret may stand at `position`: not inside a surrogate pair or CR LF, not before a combining
// mark, a variation selector or an emoji modifier, not on either side of a zero-width joiner.
inline bool IsClusterBoundary(std::u16string_view text, std::size_t position) {
    // Nothing joins a unit below U+0300 to the one before it, but CR LF and a zero-width joiner.
    if (position > 0 && position < text.size() && text[position] < 0x0300 && text[position - 1] != 0x200D)
        return text[position - 1] != u'\r' || text[position] != u'\n';
    return IsClusterBoundaryInGeneral(text, position);
}
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

// Spaces that hang at the end of a row without counting to its width: space, tab and the other
// breaking spaces (not the no-break ones).
inline bool IsHangingSpace(char16_t unit) {
    return unit < 0x80 ? unit == u' ' || unit == u'\t' : IsHangingSpaceInGeneral(unit);
}
// Whether a wrapped row may start at `position` inside a paragraph: after a run of breaking spaces,
// after a hyphen between letters, after a zero-width space, before and after CJK ideographs, kana and
// hangul, never before closing punctuation or after opening punctuation, never at a cluster boundary's
// inside. A run with no opportunity is broken anywhere by the row layout.
inline bool IsBreakOpportunity(std::u16string_view text, std::size_t position) {
    if (position > 0 && position < text.size()) {
        // ASCII without a hyphen: only after spaces, and not into a paragraph break or more spaces.
        const char16_t before = text[position - 1], after = text[position];
        if (before < 0x80 && after < 0x80 && before != u'-')
            return (before == u' ' || before == u'\t') && after != u' ' && after != u'\t' && after != u'\r' &&
                   after != u'\n';
    }
    return IsBreakOpportunityInGeneral(text, position);
}

// What a unit counts as for word moves and double-click.
enum class WordClass { Space, ParagraphBreak, Punctuation, Word };
// The class of the unit at `position` (a surrogate pair or a lone surrogate counts as a word unit).
WordClass WordClassAt(std::u16string_view text, std::size_t position);
// Ctrl+Right: the start of the next word after `position`, stopping at a paragraph break's both sides.
std::size_t NextWordStart(std::u16string_view text, std::size_t position);
// Ctrl+Left: the start of the word before `position` (or of the one it is in).
std::size_t PreviousWordStart(std::u16string_view text, std::size_t position);
// Double-click: the run of one class around `position` (the unit after it, or before it at a run's
// or the text's end), as [begin, end); a paragraph break is a run of its own.
std::pair<std::size_t, std::size_t> WordAt(std::u16string_view text, std::size_t position);

}  // namespace quorvel::forms::textedit
