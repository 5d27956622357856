#include "units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quorvel::forms::textedit {
namespace {

using namespace std::string_literals;

using Positions = std::vector<std::size_t>;

// The positions of `text` where `is` holds.
Positions Where(std::u16string_view text, bool (*is)(std::u16string_view, std::size_t)) {
    Positions result;
    for (std::size_t position = 0; position <= text.size(); ++position)
        if (is(text, position))
            result.push_back(position);
    return result;
}

Positions Boundaries(std::u16string_view text) { return Where(text, IsClusterBoundary); }

TEST(Clusters, SurrogatePairsCrLfAndCombiningSequencesStayWhole) {
    EXPECT_EQ(Boundaries(u"a\U0001F600b"), (Positions{0, 1, 3, 4}));
    EXPECT_EQ(Boundaries(u"a\r\nb\n\rc"), (Positions{0, 1, 3, 4, 5, 6, 7}));
    // Combining acute and circumflex join their letter; a mark after a line break stands alone.
    EXPECT_EQ(Boundaries(u"e\u0301\u0302x\n\u0301"), (Positions{0, 3, 4, 5, 6}));
    // Devanagari vowel sign and virama, Hebrew point, Arabic harakat.
    EXPECT_EQ(Boundaries(u"\u0915\u093F\u0937\u094D"), (Positions{0, 2, 4}));
    EXPECT_EQ(Boundaries(u"\u05E9\u05C1\u0628\u064E"), (Positions{0, 2, 4}));
    // Emoji: a ZWJ sequence, a skin tone modifier, a variation selector.
    EXPECT_EQ(Boundaries(u"\U0001F468\u200D\U0001F469x"), (Positions{0, 5, 6}));
    EXPECT_EQ(Boundaries(u"\U0001F44D\U0001F3FDx"), (Positions{0, 4, 5}));
    EXPECT_EQ(Boundaries(u"\u2764\uFE0Fx"), (Positions{0, 2, 3}));
}

TEST(Clusters, LoneSurrogatesAreClustersOfTheirOwn) {
    EXPECT_EQ(Boundaries(u"a\xD800"s), (Positions{0, 1, 2}));
    EXPECT_EQ(Boundaries(u"\xDC00\xD800"s), (Positions{0, 1, 2}));
    EXPECT_EQ(Boundaries(u"\xD800\xD800\xDC00"s), (Positions{0, 1, 3}));
    // A combining mark does not join a lone surrogate.
    EXPECT_EQ(Boundaries(u"\xDC00\u0301"s), (Positions{0, 1, 2}));
    EXPECT_EQ(CodePointAt(u"\xD83D\xDE00"s, 0), char32_t{0x1F600});
    EXPECT_EQ(CodePointAt(u"\xD83D"s, 0), char32_t{0xD83D});
}

TEST(Clusters, StepsVisitEveryBoundaryForAnyCodeUnit) {
    // Every code unit, alone and between letters, high and low surrogates next to each other.
    std::u16string text;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        text += static_cast<char16_t>(unit);
        if (unit % 3 == 0)
            text += u'a';
    }
    text += u"\xDBFF\xDFFF\xD800"s;
    const Positions boundaries = Boundaries(text);
    Positions forward{0}, backward{text.size()};
    for (std::size_t p = 0; p < text.size();)
        forward.push_back(p = NextCluster(text, p));
    for (std::size_t p = text.size(); p > 0;)
        backward.push_back(p = PreviousCluster(text, p));
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, boundaries);
    EXPECT_EQ(backward, boundaries);
    for (std::size_t p = 0; p <= text.size(); ++p) {
        ASSERT_TRUE(IsClusterBoundary(text, ClusterFloor(text, p)));
        ASSERT_TRUE(IsClusterBoundary(text, ClusterCeil(text, p)));
        ASSERT_LE(ClusterFloor(text, p), p);
        ASSERT_GE(ClusterCeil(text, p), p);
        if (IsBreakOpportunity(text, p)) {
            ASSERT_FALSE(p > 0 && IsHighSurrogate(text[p - 1]) && IsLowSurrogate(text[p])) << p;
        }
        // Word moves read whole runs; a sample of positions keeps this quick.
        if (p % 997 != 0)
            continue;
        ASSERT_TRUE(IsClusterBoundary(text, NextWordStart(text, p)));
        ASSERT_TRUE(IsClusterBoundary(text, PreviousWordStart(text, p)));
        const auto [begin, end] = WordAt(text, p);
        ASSERT_TRUE(IsClusterBoundary(text, begin) && IsClusterBoundary(text, end)) << p;
        ASSERT_LE(begin, end);
    }
}

TEST(Paragraphs, CrLfLoneCrAndLoneLfAreEachOneBreak) {
    const std::u16string text = u"ab\r\ncd\ref\ngh";
    EXPECT_EQ(ParagraphBreakLength(text, 2), 2u);
    EXPECT_EQ(ParagraphBreakLength(text, 6), 1u);
    EXPECT_EQ(ParagraphBreakLength(text, 9), 1u);
    EXPECT_EQ(ParagraphBreakLength(text, 1), 0u);
    EXPECT_EQ(ParagraphBreakLength(u"\r", 0), 1u);
    EXPECT_EQ(ParagraphStart(text, 5), 4u);
    EXPECT_EQ(ParagraphEnd(text, 4), 6u);
    EXPECT_EQ(ParagraphStart(text, 12), 10u);
    EXPECT_EQ(ParagraphEnd(text, 10), 12u);
}

Positions Opportunities(std::u16string_view text) { return Where(text, IsBreakOpportunity); }

TEST(BreakOpportunities, AfterSpacesAndHyphensBetweenLettersAndAroundIdeographs) {
    // After a run of spaces or a tab, never inside it.
    EXPECT_EQ(Opportunities(u"ab  cd\tef"), (Positions{4, 7}));
    // A hyphen allows a break after it, also after a space, but not before a digit.
    EXPECT_EQ(Opportunities(u"well-known 1-2 -x"), (Positions{5, 11, 15, 16}));
    // No-break spaces and the word joiner bind; a zero-width space allows a break.
    EXPECT_EQ(Opportunities(u"a\u00A0b\u202Fc\u2060d\u200Be"), (Positions{8}));
    // Coded text: only between two "%", which no rule keeps together.
    EXPECT_EQ(Opportunities(u"%7%%5%%12%"), (Positions{3, 6}));
    // Around ideographs, kana and hangul, but never before closing or after opening punctuation.
    EXPECT_EQ(Opportunities(u"漢字。かな「한」"), (Positions{1, 3, 4, 5}));
    EXPECT_EQ(Opportunities(u"ab cd! (ef)"), (Positions{3, 7}));
    // Not inside a cluster, and not at a paragraph break.
    EXPECT_EQ(Opportunities(u"a b\u0301 c\r\nd"), (Positions{2, 5}));
    EXPECT_EQ(Opportunities(u"a \U00020000\U00020001"), (Positions{2, 4}));
}

TEST(Words, CtrlRightGoesToTheNextWordStartAndCtrlLeftBack) {
    const std::u16string text = u"Hello, world  foo\r\nbar";
    Positions right{0};
    while (right.back() < text.size())
        right.push_back(NextWordStart(text, right.back()));
    EXPECT_EQ(right, (Positions{0, 5, 7, 14, 17, 19, 22}));
    Positions left{text.size()};
    while (left.back() > 0)
        left.push_back(PreviousWordStart(text, left.back()));
    EXPECT_EQ(left, (Positions{22, 19, 17, 14, 7, 5, 0}));
    // From inside a word, Ctrl+Left goes to its start.
    EXPECT_EQ(PreviousWordStart(text, 9), 7u);
    // Spaces at a line's start: Ctrl+Left stops after the break.
    EXPECT_EQ(PreviousWordStart(u"ab\n   ", 6), 3u);
    // Coded text: each "%" is a segment, and so is each run of digits and capital letters.
    EXPECT_EQ(NextWordStart(u"%7%%5%", 0), 1u);
    EXPECT_EQ(NextWordStart(u"%7%%5%", 2), 3u);
    EXPECT_EQ(NextWordStart(u"%12AB%", 1), 5u);
    // An emoji is a segment of its own, and its surrogate pair is never split.
    EXPECT_EQ(NextWordStart(u"a\U0001F600b c", 0), 1u);
    EXPECT_EQ(NextWordStart(u"a\U0001F600b c", 1), 3u);
}

TEST(Words, DoubleClickTakesTheRunAtThePosition) {
    const std::u16string text = u"Hello, world\r\n\r\n  x";
    using Range = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(WordAt(text, 2), (Range{0, 5}));
    EXPECT_EQ(WordAt(text, 5), (Range{5, 6}));
    EXPECT_EQ(WordAt(text, 6), (Range{6, 7}));
    // At a line's end, the word before it.
    EXPECT_EQ(WordAt(text, 12), (Range{7, 12}));
    // An empty line's break.
    EXPECT_EQ(WordAt(text, 14), (Range{14, 16}));
    EXPECT_EQ(WordAt(text, 16), (Range{16, 18}));
    EXPECT_EQ(WordAt(text, 19), (Range{18, 19}));
    EXPECT_EQ(WordAt(u"", 0), (Range{0, 0}));
}

}  // namespace
}  // namespace quorvel::forms::textedit
