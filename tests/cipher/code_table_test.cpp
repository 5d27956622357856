#include "code_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace quorvel {
namespace {

bool IsCodeCharacter(char16_t c) {
    return c == kEscape || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z');
}

TEST(CodeTable, SourcesStandInTheirFixedOrder) {
    std::u16string sources;
    for (const CodeRow& row : CodeTable)
        sources += row.source;
    EXPECT_EQ(sources, u"%0123456789!@#$^&*()-=_+[{]};`:',./<>|?\\:~"
                       u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz ");
}

TEST(CodeTable, SecondColonRowHasACodeOfItsOwn) {
    EXPECT_EQ(CodeTableRow(31).source, u':');
    EXPECT_EQ(CodeTableRow(41).source, u':');
    EXPECT_NE(CodeTableRow(31).code, CodeTableRow(41).code);
}

TEST(CodeTable, OnlyPrintableAsciiButTheDoubleQuoteHasARow) {
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const bool hasRow = std::any_of(CodeTable.begin(), CodeTable.end(),
                                        [c](const CodeRow& row) { return row.source == c; });
        const bool printable = c >= 0x20 && c < 0x7F && c != u'"';
        EXPECT_EQ(hasRow, printable) << "code unit " << static_cast<std::uint32_t>(c);
    }
}

TEST(CodeTable, EveryCodeStartsWithTheOnlyEscapeAndNoneButTheFirstEndsInOne) {
    EXPECT_EQ(CodeTableRow(1).code, u"%%");
    for (std::size_t n = 2; n <= kCodeTableRows; ++n) {
        const std::u16string_view code = CodeTableRow(n).code;
        ASSERT_FALSE(code.empty());
        EXPECT_EQ(code.front(), kEscape) << "row " << n;
        EXPECT_EQ(std::count(code.begin(), code.end(), kEscape), 1) << "row " << n;
        EXPECT_NE(code.back(), kEscape) << "row " << n;
    }
}

TEST(CodeTable, CodeLengthsFollowTheRowsAndAddUp) {
    std::map<std::size_t, int> lengths;
    for (std::size_t n = 1; n <= kCodeTableRows; ++n) {
        const std::size_t length = CodeTableRow(n).code.size();
        ++lengths[length];
        if (n == 1)
            EXPECT_EQ(length, 2u);
        else if (n >= 43 && n <= 94)
            EXPECT_TRUE(length >= 4 && length <= 7) << "row " << n;
        else
            EXPECT_EQ(length, 4u) << "row " << n;
    }
    EXPECT_EQ(lengths, (std::map<std::size_t, int>{{2, 1}, {4, 64}, {5, 4}, {6, 24}, {7, 2}}));
}

TEST(CodeTable, CodesAreSpeltWithEscapeDigitsAndCapitalsOnly) {
    for (const CodeRow& row : CodeTable)
        EXPECT_TRUE(std::all_of(row.code.begin(), row.code.end(), IsCodeCharacter))
            << "code of " << static_cast<char>(row.source);
}

TEST(CodeTable, CodeCharactersBelongToThisOrAnEarlierRowAndNoLaterOne) {
    for (std::size_t n = 1; n <= kCodeTableRows; ++n) {
        for (char16_t c : CodeTableRow(n).code.substr(1)) {
            bool earlierOrSelf = false;
            for (std::size_t m = 1; m <= kCodeTableRows; ++m) {
                if (CodeTableRow(m).source != c)
                    continue;
                if (m <= n)
                    earlierOrSelf = true;
                else
                    ADD_FAILURE() << "row " << n << " uses the source of later row " << m;
            }
            EXPECT_TRUE(earlierOrSelf) << "row " << n << " uses a character with no earlier row";
        }
    }
}

TEST(CodeTable, CodesAreDistinctAndLongerThanOneCharacter) {
    std::set<std::u16string_view> codes;
    for (const CodeRow& row : CodeTable) {
        EXPECT_GT(row.code.size(), 1u);
        EXPECT_TRUE(codes.insert(row.code).second) << "repeated code of " << static_cast<char>(row.source);
    }
}

TEST(CodeTable, ALongerCodeComesBeforeEveryCodeItBeginsWith) {
    int prefixPairs = 0;
    for (std::size_t shorter = 1; shorter <= kCodeTableRows; ++shorter) {
        for (std::size_t longer = 1; longer <= kCodeTableRows; ++longer) {
            const std::u16string_view a = CodeTableRow(shorter).code;
            const std::u16string_view b = CodeTableRow(longer).code;
            if (shorter == longer || !b.starts_with(a))
                continue;
            ++prefixPairs;
            EXPECT_LT(longer, shorter) << "row " << longer << " begins with the code of row " << shorter;
        }
    }
    // The decoder must meet codes that begin with other codes.
    EXPECT_GE(prefixPairs, 2);
}

// Coded text written by any copy of the program must stay readable, so the codes never change.
TEST(CodeTable, CodesNeverChange) {
    std::uint64_t digest = 14695981039346656037u;  // FNV-1a over every row
    for (const CodeRow& row : CodeTable) {
        std::u16string bytes(1, row.source);
        bytes.append(row.code).push_back(u'\n');
        for (char16_t unit : bytes) {
            digest = (digest ^ (unit & 0xFF)) * 1099511628211u;
            digest = (digest ^ (unit >> 8)) * 1099511628211u;
        }
    }
    EXPECT_EQ(digest, 12118580584016879436u);
}

}  // namespace
}  // namespace quorvel
