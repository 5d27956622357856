// Row-break opportunities held to Unicode's own test file, LineBreakTest.txt, line by line; the inline
// common cases held to the general rules; and text made to make a rule read far.
#include "measurers.h"
#include "row_layout.h"
#include "unicode_test_file.h"
#include "units.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::forms::textedit {
namespace {

using testing::BreakTestCase;

bool NextToParagraphBreak(std::u16string_view text, std::size_t position) {
    return IsParagraphBreakUnit(text[position - 1]) || IsParagraphBreakUnit(text[position]);
}

// The case as the file writes it, with IsBreakOpportunity's answers at the positions it is asked for:
// all but the two ends and those next to CR or LF (which the row layout ends rows at). An answer that
// is wrong inside a surrogate pair, where the file lists no position, spoils the line.
std::string AsAnswered(const BreakTestCase& test) {
    std::string line;
    std::size_t listed = 0;
    for (std::size_t position = 0; position <= test.text.size(); ++position) {
        const bool isListed = listed < test.positions.size() && test.positions[listed].first == position;
        const bool asked =
            position > 0 && position < test.text.size() && !NextToParagraphBreak(test.text, position);
        const bool breaks =
            asked ? IsBreakOpportunity(test.text, position) : isListed && test.positions[listed].second;
        if (!isListed) {
            if (breaks)
                return "a break inside a surrogate pair";
            continue;
        }
        ++listed;
        line += breaks ? "\xC3\xB7" : "\xC3\x97";
        if (position < test.text.size()) {
            char code[16];
            std::snprintf(code, sizeof code, " %04X ",
                          static_cast<unsigned>(CodePointAt(test.text, position)));
            line += code;
        }
    }
    return line;
}

TEST(LineBreakTestFile, EveryLineAsTheFileHasIt) {
    const auto cases = testing::ReadBreakTestFile(testing::UnicodeDataFile("auxiliary/LineBreakTest.txt"));
    ASSERT_EQ(cases.size(), 7654u) << "LineBreakTest.txt of Unicode 15.0 has 7,654 cases";
    std::size_t right = 0;
    for (const BreakTestCase& test : cases) {
        const std::string answered = AsAnswered(test);
        if (answered == test.line)
            ++right;
        else
            ADD_FAILURE() << "line " << test.lineNumber << "\n  file:     " << test.line
                          << "\n  answered: " << answered;
    }
    std::printf("LineBreakTest.txt: %zu of %zu lines as the file has them\n", right, cases.size());
    EXPECT_EQ(right, cases.size());
}

using Positions = std::vector<std::size_t>;

Positions Opportunities(std::u16string_view text) {
    Positions positions;
    for (std::size_t position = 0; position <= text.size(); ++position)
        if (IsBreakOpportunity(text, position))
            positions.push_back(position);
    return positions;
}

TEST(LineBreaks, AfterASolidusNotAfterAnOpeningBracketAndItsSpacesAlwaysAfterALineSeparator) {
    // A solidus keeps the letter before it (LB13) but not the one after it.
    EXPECT_EQ(Opportunities(u"a/b"), (Positions{2}));
    // An opening bracket keeps what follows it, spaces too (LB14).
    EXPECT_EQ(Opportunities(u"( a"), (Positions{}));
    EXPECT_EQ(Opportunities(u"x ( a"), (Positions{2}));
    // Control characters are combining marks: they keep what is around them (LB9, LB28).
    EXPECT_EQ(Opportunities(u"a\u0001b"), (Positions{}));
    // After line tabulation, form feed, next line and the line and paragraph separators (LB4, LB5),
    // but next to a paragraph break the row layout ends the row.
    EXPECT_EQ(Opportunities(u"a\vb\fc\u0085d\u2028e\u2029f"), (Positions{2, 4, 6, 8, 10}));
    EXPECT_EQ(Opportunities(u"a\u2028\nb \u2028c"), (Positions{6}));
    // Numbers: a currency sign, a bracket and the digits stay together, and so do digits and their
    // punctuation up to a percent sign (LB25).
    EXPECT_EQ(Opportunities(u"x $(12.5)% y"), (Positions{2, 11}));
}

// Every pair of ASCII units, with every ASCII unit before them and runs of spaces between: the answers
// decided inline are those of the general rules.
TEST(LineBreaks, AsciiAnswersDecidedInlineAreTheGeneralRules) {
    const auto check = [](std::u16string_view text) {
        const std::size_t position = text.size() - 1;
        ASSERT_EQ(IsBreakOpportunity(text, position), IsBreakOpportunityInGeneral(text, position))
            << "before the last unit of " << ::testing::PrintToString(std::u16string(text));
    };
    for (char16_t first = 0; first < 0x80; ++first)
        for (char16_t before = 0; before < 0x80; ++before)
            for (char16_t after = 0; after < 0x80; ++after) {
                const char16_t text[] = {first, before, after};
                check(std::u16string_view(text + 1, 2));
                check(std::u16string_view(text, 3));
                if (before == u' ') {
                    const char16_t spaces[] = {first, u' ', u' ', u' ', after};
                    check(std::u16string_view(spaces, 5));
                    check(std::u16string_view(spaces + 1, 4));
                }
            }
}

// Text that makes a rule read back or ahead across a long run, in ASCII (decided inline) and not. Each
// is asked at every position and laid out; reading a run again at every position of it would take far
// longer than the test is given.
TEST(LineBreaks, LongRunsAreReadOnceWhereTheyEnd) {
    const auto everyPosition = [](std::u16string_view text) {
        std::size_t breaks = 0;
        for (std::size_t position = 0; position <= text.size(); ++position)
            breaks += IsBreakOpportunity(text, position);
        testing::TestMeasurer measurer = testing::FixedMeasurer();
        RowLayout rows;
        rows.Layout(text, 200, measurer);
        return breaks;
    };
    // `first`, then `count` times `unit`, then `last`.
    const auto run = [](std::u16string_view first, std::size_t count, char16_t unit,
                        std::u16string_view last) {
        std::u16string text(first);
        text.append(count, unit);
        text.append(last);
        return text;
    };
    const std::size_t million = 1'000'000;
    // Marks on one letter: one cluster; a letter after it stays (LB9, LB28).
    EXPECT_EQ(everyPosition(run(u"a", 30'000, u'\u0308', u"b")), 0u);
    // Control characters are combining marks to the rules (LB9) but clusters of their own.
    EXPECT_EQ(everyPosition(run(u"a", 30'000, u'\u0001', u"b")), 0u);
    // Nothing after an opening bracket and spaces (LB14); after spaces, before a letter otherwise.
    EXPECT_EQ(everyPosition(run(u"(", million, u' ', u"a")), 0u);
    EXPECT_EQ(everyPosition(run(u"\uFF08", million, u' ', u"\u4E00")), 0u);
    EXPECT_EQ(everyPosition(run(u"x", million, u' ', u"a")), 1u);
    // Digits and opening brackets, ASCII and Arabic-Indic digits and fullwidth brackets.
    EXPECT_EQ(everyPosition(std::u16string(million, u'7')), 0u);
    EXPECT_EQ(everyPosition(std::u16string(million, u'\u0661')), 0u);
    EXPECT_EQ(everyPosition(std::u16string(million, u'(')), 0u);
    EXPECT_EQ(everyPosition(std::u16string(million, u'\uFF08')), 0u);
    // A number's punctuation, however long, keeps the digit after it (LB25): commas and Arabic commas.
    EXPECT_EQ(everyPosition(run(u"1", million, u',', u"1")), 0u);
    EXPECT_EQ(everyPosition(run(u"\u0661", million, u'\u060C', u"\u0661")), 0u);
    // A megabyte of regional indicators: a break between each two of the first 128 flags, and from the
    // 257th indicator on before each indicator, as no more than 256 are counted back.
    std::u16string flags;
    while (flags.size() < (1u << 19))
        flags += u"\U0001F1E6";
    EXPECT_EQ(everyPosition(flags), 128 + (flags.size() / 2 - 1 - 256));
}

}  // namespace
}  // namespace quorvel::forms::textedit
