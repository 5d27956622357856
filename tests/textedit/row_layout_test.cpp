#include "../support/prose.h"
#include "measurers.h"
#include "row_layout.h"
#include "units.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quorvel::forms::textedit {
namespace {

using namespace std::string_literals;
using testing::FixedMeasurer;
using testing::TestMeasurer;
using Starts = std::vector<std::size_t>;

Starts RowStarts(const RowLayout& rows) {
    Starts starts;
    for (std::size_t row = 0; row < rows.RowCount(); ++row)
        starts.push_back(rows.RowStart(row));
    return starts;
}

Starts Layout(std::u16string_view text, int width, Measurer& measurer) {
    RowLayout rows;
    rows.Layout(text, width, measurer);
    return RowStarts(rows);
}

Starts Layout(std::u16string_view text, int width) {
    TestMeasurer measurer = FixedMeasurer();
    return Layout(text, width, measurer);
}

// Widths that differ from character to character: narrow, wide and zero-width letters, wide ideographs.
int VariedAdvance(char32_t c) {
    switch (c) {
    case u'i':
        return 4;
    case u'W':
        return 25;
    case u'z':
        return 0;
    default:
        return c >= 0x3000 ? 20 : 10;
    }
}

bool IsBreak(char16_t unit) { return unit == u'\r' || unit == u'\n'; }

// The rows said plainly, and slowly: from each row start, the row runs to the furthest break
// opportunity (or paragraph end, or end of its first line separator) up to which its text fits, not
// counting the spaces that end it and counting its first cluster as at most the width; or, when there is
// none, to the furthest cluster boundary up to which it fits; and it holds at least one cluster. A line
// separator at a paragraph's end is followed by an empty row.
Starts ReferenceStarts(std::u16string_view text, int width, int (*advance)(char32_t)) {
    auto visibleWidth = [&](std::size_t start, std::size_t end) {
        long long total = 0, visible = 0;
        for (std::size_t p = start; p < end; p = NextCluster(text, p)) {
            const int a = advance(CodePointAt(text, p));
            total += p == start ? std::min(a, width) : a;
            if (!IsHangingSpace(text[p]))
                visible = total;
        }
        return visible;
    };
    Starts starts;
    std::size_t paragraph = 0;
    for (;;) {
        std::size_t end = paragraph;
        while (end < text.size() && !IsBreak(text[end]))
            ++end;
        std::size_t start = paragraph;
        for (;;) {
            starts.push_back(start);
            if (start == end)
                break;
            std::size_t limit = start;
            while (limit < end && !IsRowEndUnit(text[limit]))
                ++limit;
            limit = std::min(limit + 1, end);
            if (width <= 0) {
                start = limit;
            } else {
                std::size_t atOpportunity = 0, anywhere = 0;
                for (std::size_t q = NextCluster(text, start); q <= limit; q = NextCluster(text, q)) {
                    if (visibleWidth(start, q) <= width) {
                        anywhere = q;
                        if (q == limit || IsBreakOpportunity(text, q))
                            atOpportunity = q;
                    }
                    if (q == text.size())
                        break;
                }
                start = atOpportunity ? atOpportunity : anywhere ? anywhere : NextCluster(text, start);
            }
            if (start == end && !IsRowEndUnit(text[end - 1]))
                break;
        }
        if (end == text.size())
            return starts;
        paragraph = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
        if (paragraph == text.size()) {
            starts.push_back(paragraph);
            return starts;
        }
    }
}

TEST(RowLayout, ProseWrapsBetweenWordsAndTrailingSpacesHang) {
    // Ten pixels a cluster: a width of 70 holds seven.
    EXPECT_EQ(Layout(u"aaa bbb ccc", 70), (Starts{0, 8}));
    EXPECT_EQ(Layout(u"aaaa      bb", 50), (Starts{0, 10}));
    EXPECT_EQ(Layout(u"well-known", 70), (Starts{0, 5}));
    // A word longer than the row goes to a row of its own and breaks there.
    EXPECT_EQ(Layout(u"ab cdefghij", 40), (Starts{0, 3, 7}));
    // No row starts with closing punctuation; no-break spaces bind.
    EXPECT_EQ(Layout(u"ab cd!", 50), (Starts{0, 3}));
    EXPECT_EQ(Layout(u"ab\u00A0cd ef", 40), (Starts{0, 4}));
    // Ideographs break between themselves, but not before closing punctuation.
    EXPECT_EQ(Layout(u"漢字。漢字", 20), (Starts{0, 1, 3}));
}

TEST(RowLayout, CodedTextBreaksAnywhereButNeverInsideACluster) {
    EXPECT_EQ(Layout(u"%7%%5%%12%", 30), (Starts{0, 3, 6, 9}));
    EXPECT_EQ(Layout(u"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600", 30), (Starts{0, 6}));
    EXPECT_EQ(Layout(u"e\u0301e\u0301e\u0301e\u0301", 20), (Starts{0, 4}));
    EXPECT_EQ(Layout(u"\xD800\xD800\xDC00\xDC00"s, 10), (Starts{0, 1, 3}));
    // A cluster wider than the row is a row of its own; spaces after it still hang.
    TestMeasurer measurer(VariedAdvance);
    EXPECT_EQ(Layout(u"WW  W", 20, measurer), (Starts{0, 1, 4}));
    // Less than a cluster wide: a cluster a row.
    EXPECT_EQ(Layout(u"abc", 1), (Starts{0, 1, 2}));
}

TEST(RowLayout, ParagraphBreaksEndRowsAndEmptyParagraphsAreRows) {
    RowLayout rows;
    TestMeasurer measurer = FixedMeasurer();
    rows.Layout(u"ab\r\ncd\ref\ngh\r\n", 100, measurer);
    EXPECT_EQ(RowStarts(rows), (Starts{0, 4, 7, 10, 14}));
    EXPECT_EQ(rows.RowEnd(0), 2u);
    EXPECT_EQ(rows.RowEnd(1), 6u);
    EXPECT_EQ(rows.RowEnd(2), 9u);
    EXPECT_EQ(rows.RowEnd(3), 12u);
    EXPECT_EQ(rows.RowEnd(4), 14u);
    EXPECT_FALSE(rows.IsWrapped(0));
    EXPECT_EQ(Layout(u"", 100), (Starts{0}));
    EXPECT_EQ(Layout(u"\n\n", 100), (Starts{0, 1, 2}));
    EXPECT_EQ(Layout(u"\r\n", 100), (Starts{0, 2}));
    // No width: a row a paragraph.
    EXPECT_EQ(Layout(u"aaaa bbbb\ncc", RowLayout::Unlimited), (Starts{0, 10}));
}

TEST(RowLayout, LineSeparatorsEndTheirRowAndStayInIt) {
    // Line tabulation, form feed, next line and the line and paragraph separators end the row they are
    // in as a wrapped row ends, and are its last unit.
    for (const char16_t separator : {u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        const std::u16string text = u"ab"s + separator + u"cd";
        RowLayout rows;
        TestMeasurer measurer = FixedMeasurer();
        rows.Layout(text, 100, measurer);
        EXPECT_EQ(RowStarts(rows), (Starts{0, 3})) << int(separator);
        EXPECT_EQ(rows.RowEnd(0), 3u);
        EXPECT_TRUE(rows.IsWrapped(0));
        EXPECT_EQ(rows.RowOf(3), 1u);
        EXPECT_EQ(Layout(text, RowLayout::Unlimited), (Starts{0, 3}));
    }
    // At a paragraph's end or the text's end an empty row follows, as after a paragraph break.
    EXPECT_EQ(Layout(u"ab\u2028\r\ncd", 100), (Starts{0, 3, 5}));
    EXPECT_EQ(Layout(u"ab\u2028", 100), (Starts{0, 3}));
    EXPECT_EQ(Layout(u"\u2028\u2028", 100), (Starts{0, 1, 2}));
    EXPECT_EQ(Layout(u"ab\u2028", RowLayout::Unlimited), (Starts{0, 3}));
    // The rows after it wrap as before.
    EXPECT_EQ(Layout(u"aaa bbb\u2028ccc ddd", 50), (Starts{0, 4, 8, 12}));
}

TEST(RowLayout, RowOfAPositionWhereARowIsWrapped) {
    RowLayout rows;
    TestMeasurer measurer = FixedMeasurer();
    rows.Layout(u"aaaa bbbb\r\ncc", 50, measurer);
    ASSERT_EQ(RowStarts(rows), (Starts{0, 5, 11}));
    EXPECT_EQ(rows.RowOf(4), 0u);
    EXPECT_EQ(rows.RowOf(5), 1u);
    EXPECT_EQ(rows.RowOf(5, true), 0u);
    EXPECT_TRUE(rows.IsWrapped(0));
    EXPECT_EQ(rows.RowEnd(0), 5u);
    EXPECT_EQ(rows.RowEnd(1), 9u);
    // After a paragraph break there is no end-of-row position to keep.
    EXPECT_EQ(rows.RowOf(11, true), 2u);
    EXPECT_EQ(rows.RowOf(13), 2u);
}

// Random text from units that matter to wrapping: letters of several widths, spaces, hyphens,
// punctuation, every kind of line break and line separator, clusters of several units, lone
// surrogates, and what the rules read far back across: marks, control characters, number punctuation
// and regional indicators.
std::u16string RandomText(std::mt19937& random, std::size_t length) {
    static const std::u16string pieces[] = {
        u"a",      u"b",      u"i",       u"W",      u"z",       u" ",       u" ",          u"  ",
        u"-",      u"%",      u"7",       u"!",      u"(",       u"\r\n",    u"\n",         u"\r",
        u"漢",     u"\u00A0", u"e\u0301", u"\u0301", u"\xD83D"s, u"\xDE00"s, u"\U0001F600", u"\t",
        u"\u2028", u"\v",     u"\u0085",  u")",      u",",       u"\u0001",  u"\u200D",     u"\U0001F1E6",
    };
    std::u16string text;
    while (text.size() < length)
        text += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(random)];
    return text;
}

TEST(RowLayout, EqualsThePlainDefinition) {
    std::mt19937 random(11);
    TestMeasurer measurer(VariedAdvance);
    for (int i = 0; i < 3000; ++i) {
        const std::u16string text =
            RandomText(random, std::uniform_int_distribution<std::size_t>(0, 60)(random));
        const int width = std::uniform_int_distribution<int>(1, 90)(random);
        ASSERT_EQ(Layout(text, width, measurer), ReferenceStarts(text, width, VariedAdvance))
            << "width " << width << " case " << i;
    }
}

TEST(RowLayout, NoRowIsWiderThanTheWidthUnlessOneClusterIs) {
    std::mt19937 random(5);
    TestMeasurer measurer(VariedAdvance);
    for (int i = 0; i < 300; ++i) {
        const std::u16string text = RandomText(random, 400);
        const int width = std::uniform_int_distribution<int>(1, 120)(random);
        RowLayout rows;
        rows.Layout(text, width, measurer);
        for (std::size_t row = 0; row < rows.RowCount(); ++row) {
            const std::size_t start = rows.RowStart(row), end = rows.RowEnd(row);
            ASSERT_TRUE(IsClusterBoundary(text, start));
            // What shows of the row, with its first cluster counted as at most the width: only a
            // cluster wider than the row may make it wider.
            int visible = 0, total = 0;
            for (std::size_t p = start; p < end; p = NextCluster(text, p)) {
                const int advance = VariedAdvance(CodePointAt(text, p));
                total += p == start ? std::min(advance, width) : advance;
                if (!IsHangingSpace(text[p]))
                    visible = total;
            }
            ASSERT_LE(visible, width) << "row " << row << " width " << width;
            ASSERT_LE(end, rows.RowLimit(row));
        }
    }
}

TEST(RowLayout, EachUnitIsMeasuredOnceInBoundedPieces) {
    std::u16string text;
    for (int i = 0; i < 5000; ++i)
        text += u"%7%%5%%12%";
    text += u"\r\nsome prose\n";
    TestMeasurer measurer = FixedMeasurer();
    RowLayout rows;
    rows.Layout(text, 330, measurer);
    EXPECT_EQ(measurer.measured, text.size() - 3);
    EXPECT_LE(measurer.longestPiece, Measurer::MaxPieceLength);
    EXPECT_EQ(rows.RowCount(), 1667u + 2);
}

TEST(RowLayout, UpdateAfterRandomEditsEqualsAWholeLayout) {
    std::mt19937 random(3);
    TestMeasurer measurer(VariedAdvance);
    for (int round = 0; round < 200; ++round) {
        std::u16string text = RandomText(random, std::uniform_int_distribution<std::size_t>(0, 300)(random));
        const int width =
            round % 10 == 0 ? RowLayout::Unlimited : std::uniform_int_distribution<int>(1, 100)(random);
        RowLayout rows;
        rows.Layout(text, width, measurer);
        for (int edit = 0; edit < 40; ++edit) {
            const std::size_t from = std::uniform_int_distribution<std::size_t>(0, text.size())(random);
            const std::size_t removed = std::uniform_int_distribution<std::size_t>(
                0, std::min<std::size_t>(text.size() - from, 6))(random);
            const std::u16string inserted =
                RandomText(random, std::uniform_int_distribution<std::size_t>(0, 4)(random));
            text.replace(from, removed, inserted);
            rows.Update(text, from, removed, inserted.size(), measurer);
            RowLayout whole;
            whole.Layout(text, width, measurer);
            ASSERT_EQ(RowStarts(rows), RowStarts(whole)) << "round " << round << " edit " << edit;
            ASSERT_EQ(rows.TextLength(), text.size());
            for (std::size_t row = 0; row < rows.RowCount(); ++row)
                ASSERT_EQ(rows.RowEnd(row), whole.RowEnd(row));
        }
    }
}

TEST(RowLayout, AnEditBeforeARunTheRulesReadAcrossBreaksTheRunsRowsAgain) {
    // A number's punctuation keeps the digits after it when a digit comes before it (LB25); after a
    // letter, a row may start at those digits. The punctuation is broken anywhere, and the rows after
    // the edit line up with the old ones inside it.
    std::u16string text = u"1" + std::u16string(25, u',') + std::u16string(10, u'1');
    TestMeasurer measurer = FixedMeasurer();
    RowLayout rows;
    rows.Layout(text, 100, measurer);
    ASSERT_EQ(RowStarts(rows), (Starts{0, 10, 20, 30}));
    text[0] = u'a';
    rows.Update(text, 0, 1, 1, measurer);
    EXPECT_EQ(RowStarts(rows), (Starts{0, 10, 20, 26}));
    text[0] = u'1';
    rows.Update(text, 0, 1, 1, measurer);
    EXPECT_EQ(RowStarts(rows), (Starts{0, 10, 20, 30}));
}

TEST(RowLayout, AKeystrokeInALongParagraphBreaksOnlyTheRowsAroundIt) {
    // Prose: the rows line up with the old ones a row after the edit, and from there they are only
    // moved.
    std::u16string prose = quorvel::testing::Prose(200000, quorvel::testing::Shape::Paragraph);
    TestMeasurer fixed = FixedMeasurer();
    RowLayout rows;
    rows.Layout(prose, 600, fixed);
    for (const std::size_t at : {100000u, 100001u, 0u, 199999u, 200001u}) {
        prose.insert(at, 1, u'x');
        fixed.measured = 0;
        rows.Update(prose, at, 0, 1, fixed);
        EXPECT_LE(rows.RowsBrokenLastTime(), 3u) << at;
        EXPECT_LE(fixed.measured, 256u) << at;
        RowLayout whole;
        whole.Layout(prose, 600, fixed);
        ASSERT_EQ(RowStarts(rows), RowStarts(whole)) << at;
    }

    // A space typed into a long word lets part of it up to the row before.
    std::u16string text = u"aaaa bbbbbbbbbb cc";
    rows.Layout(text, 100, fixed);
    ASSERT_EQ(RowStarts(rows), (Starts{0, 5, 16}));
    text.insert(8, 1, u' ');
    rows.Update(text, 8, 0, 1, fixed);
    EXPECT_EQ(RowStarts(rows), (Starts{0, 9}));
}

TEST(RowLayout, AKeystrokeInLongCodedTextBreaksRowsUntilTheyLineUp) {
    // Coded text in a proportional font: what a typed unit pushes on from row to row is soon taken up
    // by a row's slack, and from there the old rows hold, shifted.
    std::mt19937 random(23);
    std::u16string text;
    while (text.size() < 200000) {
        text += u'%';
        text.append(std::uniform_int_distribution<std::size_t>(1, 3)(random), u'1');
        text.back() = static_cast<char16_t>(u'0' + std::uniform_int_distribution<int>(0, 9)(random));
    }
    TestMeasurer measurer([](char32_t c) { return c == u'%' ? 13 : c == u'1' ? 5 : 7; });
    RowLayout rows;
    rows.Layout(text, 400, measurer);
    for (const std::size_t at : {100000u, 100007u, 150000u}) {
        text.insert(at, 1, u'%');
        rows.Update(text, at, 0, 1, measurer);
        EXPECT_LT(rows.RowsBrokenLastTime(), rows.RowCount() / 4) << at;
        RowLayout whole;
        whole.Layout(text, 400, measurer);
        ASSERT_EQ(RowStarts(rows), RowStarts(whole)) << at;
    }
}

// Coded text: '%' and digits, with no break opportunity anywhere, all of one advance.
std::u16string CodedRun(std::size_t length) {
    static constexpr std::u16string_view kCoded = u"%7%12%5%30%4%61%9";
    std::u16string text;
    while (text.size() < length)
        text += kCoded;
    text.resize(length);
    return text;
}

// Applies an edit to the text and to the rows, and checks the rows against a whole layout.
void EditAndCompare(RowLayout& rows, std::u16string& text, std::size_t from, std::size_t removed,
                    std::u16string_view inserted, Measurer& measurer) {
    text.replace(from, removed, inserted);
    rows.Update(text, from, removed, inserted.size(), measurer);
    RowLayout whole;
    whole.Layout(text, rows.Width(), measurer);
    ASSERT_EQ(RowStarts(rows), RowStarts(whole));
    for (std::size_t row = 0; row < rows.RowCount(); ++row)
        ASSERT_EQ(rows.RowEnd(row), whole.RowEnd(row)) << "row " << row;
}

TEST(RowLayout, UpdateInLongCodedTextOfEqualAdvancesEqualsAWholeLayout) {
    // A hundred rows of ten units each; edits one after another on the same rows, each checked
    // against a whole layout: at the text's start, in the middle and near the end, typed and removed,
    // one unit and several, units of other widths and of several units, a break opportunity, number
    // punctuation the rules read back across, paragraph breaks and line separators.
    struct Edit {
        std::size_t from, removed;
        std::u16string inserted;
    };
    const Edit edits[] = {
        {0, 0, u"%"},         {0, 1, u""},         {0, 0, u"%%%"},
        {0, 3, u""},          {1, 0, u"7"},        {0, 2, u""},
        {505, 0, u"%"},       {500, 0, u"5"},      {500, 2, u""},
        {990, 0, u"%%"},      {995, 4, u""},       {0, 0, u"W"},
        {1, 0, u"i"},         {3, 0, u"e\u0301"},  {200, 0, u"\U0001F600"},
        {150, 0, u"\xD83D"s}, {300, 0, u" "},      {300, 1, u""},
        {250, 0, u","},       {400, 0, u"\n"},     {600, 0, u"\r\n"},
        {600, 1, u""},        {700, 0, u"\u2028"}, {0, 0, u"%"},
        {398, 6, u"%%"},      {0, 1, u""},         {0, 5, u""},
    };
    TestMeasurer measurer(VariedAdvance);
    for (const int width : {100, 95, 10, 5, 20}) {
        std::u16string text = CodedRun(1000);
        RowLayout rows;
        rows.Layout(text, width, measurer);
        for (const Edit& edit : edits) {
            EditAndCompare(rows, text, edit.from, edit.removed, edit.inserted, measurer);
            ASSERT_FALSE(HasFailure()) << "width " << width << " at " << edit.from;
        }
    }
}

TEST(RowLayout, UpdateAfterRandomEditsInCodedTextEqualsAWholeLayout) {
    // Runs of equal advances, and now and then what interrupts or changes them.
    static const std::u16string pieces[] = {
        u"%7", u"%12", u"%5", u"7", u"b",  u"%30",  u"W",      u"i",       u" ",          u"\n",
        u"!",  u",",   u"%",  u"z", u"漢", u"\r\n", u"\u2028", u"e\u0301", u"\U0001F600", u"\xDE00"s,
    };
    auto randomPieces = [&](std::mt19937& random, std::size_t length, std::size_t kinds) {
        std::u16string text;
        while (text.size() < length)
            text += pieces[std::uniform_int_distribution<std::size_t>(0, kinds - 1)(random)];
        return text;
    };
    std::mt19937 random(7);
    TestMeasurer measurer(VariedAdvance);
    for (int round = 0; round < 100; ++round) {
        // Mostly coded units: a few kinds of piece, or all of them now and then.
        std::u16string text = randomPieces(random, std::uniform_int_distribution<std::size_t>(0, 600)(random),
                                           round % 4 == 0 ? std::size(pieces) : 6);
        const int width = std::uniform_int_distribution<int>(1, 120)(random);
        RowLayout rows;
        rows.Layout(text, width, measurer);
        for (int edit = 0; edit < 40; ++edit) {
            const std::size_t from = std::uniform_int_distribution<std::size_t>(0, text.size())(random);
            const std::size_t removed = std::uniform_int_distribution<std::size_t>(
                0, std::min<std::size_t>(text.size() - from, 12))(random);
            const std::u16string inserted =
                randomPieces(random, std::uniform_int_distribution<std::size_t>(0, 3)(random),
                             edit % 3 == 0 ? std::size(pieces) : 6);
            EditAndCompare(rows, text, from, removed, inserted, measurer);
            ASSERT_FALSE(HasFailure()) << "round " << round << " edit " << edit << " width " << width;
        }
    }
}

TEST(RowLayout, AnEditInLongCodedTextOfEqualAdvancesBreaksOnlyTheRowsAroundIt) {
    // A unit typed moves the text of every row after it, but each row still holds as many units as
    // fit: the rows up to the paragraph's end are not broken again.
    TestMeasurer fixed = FixedMeasurer();
    std::u16string text = CodedRun(1000) + u"\n" + CodedRun(1000);
    RowLayout rows;
    rows.Layout(text, 100, fixed);
    ASSERT_EQ(rows.RowCount(), 200u);
    struct Edit {
        std::size_t from, removed;
        std::u16string inserted;
    };
    for (const Edit& edit : {Edit{0, 0, u"%"}, Edit{0, 1, u""}, Edit{503, 0, u"77"}, Edit{503, 2, u""},
                             Edit{1505, 0, u"7"}, Edit{1505, 1, u""}}) {
        EditAndCompare(rows, text, edit.from, edit.removed, edit.inserted, fixed);
        EXPECT_LE(rows.RowsBrokenLastTime(), 3u) << edit.from;
    }
    // A unit wider than the others: the first row holds it and seven units (25 + 7 * 10 pixels), and
    // the rows after it start a unit earlier, still ten units each.
    TestMeasurer varied(VariedAdvance);
    rows.Layout(text, 100, varied);
    EditAndCompare(rows, text, 0, 0, u"W", varied);
    EXPECT_LE(rows.RowsBrokenLastTime(), 3u);
    EXPECT_EQ(rows.RowStart(1), 8u);
    EXPECT_EQ(rows.RowStart(2), 18u);
}

TEST(RowLayout, RowsFollowWithoutReadingOnlyWhereBreakingCannotTellTheUnitsApart) {
    // Number punctuation after a digit keeps the digits after it (LB25), after a letter it does not:
    // the rows over the punctuation are alike, but where a row may start depends on the unit before
    // them all.
    TestMeasurer fixed = FixedMeasurer();
    std::u16string text = u"1" + std::u16string(25, u',') + std::u16string(40, u'1');
    RowLayout rows;
    rows.Layout(text, 100, fixed);
    ASSERT_EQ(RowStarts(rows), (Starts{0, 10, 20, 30, 40, 50, 60}));
    EditAndCompare(rows, text, 0, 1, u"a", fixed);
    EXPECT_EQ(RowStarts(rows), (Starts{0, 10, 20, 26, 36, 46, 56}));
    EditAndCompare(rows, text, 0, 1, u"1", fixed);
    EXPECT_EQ(RowStarts(rows), (Starts{0, 10, 20, 30, 40, 50, 60}));

    // Spaces before exclamation marks are no break opportunity, but they hang: a row holds one more
    // unit when a space comes where the next row would start.
    text.clear();
    for (int i = 0; i < 250; ++i)
        text += u"!!! ";
    rows.Layout(text, 90, fixed);
    EditAndCompare(rows, text, 0, 0, u"!", fixed);
    EditAndCompare(rows, text, 0, 1, u"", fixed);
    EditAndCompare(rows, text, 0, 0, u"!!", fixed);
    EditAndCompare(rows, text, 500, 0, u"!", fixed);
}

}  // namespace
}  // namespace quorvel::forms::textedit
