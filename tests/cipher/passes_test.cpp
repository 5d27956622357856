#include "code_table.h"
#include "passes.h"
#include "stepwise.h"

#include "../support/message_generator.h"
#include "../support/reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quorvel {
namespace {

using testing::MessageGenerator;
using namespace std::string_literals;

std::u16string CodeOf(char16_t c) {
    for (const CodeRow& row : CodeTable)
        if (row.source == c)
            return std::u16string(row.code);
    return std::u16string(1, c);
}

std::string Printable(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F)
            out += static_cast<char>(c);
        else
            out += "\\u{" + std::to_string(static_cast<unsigned>(c)) + "}";
    }
    return out;
}

TEST(ReplaceAll, AgreesWithTheLiteralDefinition) {
    std::mt19937 random(7);
    auto pick = [&random](std::size_t maxLength) {
        std::u16string s(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), u'a');
        for (char16_t& c : s)
            c = static_cast<char16_t>(u'a' + std::uniform_int_distribution<int>(0, 2)(random));
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::u16string text = pick(24), find = pick(3), replacement = pick(4);
        ASSERT_EQ(ReplaceAll(text, find, replacement), reference::ReplaceAll(text, find, replacement))
            << Printable(text) << " / " << Printable(find) << " / " << Printable(replacement);
    }
}

TEST(ReplaceAll, LeftmostMatchWinsAndReplacementsAreNotRescanned) {
    EXPECT_EQ(ReplaceAll(u"aaaaa", u"aa", u"b"), u"bba");
    EXPECT_EQ(ReplaceAll(u"%%%", u"%", u"%%"), u"%%%%%%");
    EXPECT_EQ(ReplaceAll(u"abab", u"ab", u"abab"), u"abababab");
    EXPECT_EQ(ReplaceAll(u"", u"a", u"b"), u"");
    EXPECT_EQ(ReplaceAll(u"abc", u"", u"x"), u"abc");
    EXPECT_EQ(ReplaceAll(std::u16string(3, u'\0'), std::u16string(1, u'\0'), u"z"), u"zzz");
}

TEST(EncodeMessage, EqualsTheRowByRowDefinition) {
    MessageGenerator messages(1);
    for (int i = 0; i < 3000; ++i) {
        const std::u16string m = messages.Message();
        ASSERT_EQ(EncodeMessage(m), stepwise::EncodeMessage(m)) << Printable(m);
    }
}

TEST(EncodeMessage, ReplacesEachCharacterWithARowByItsCodeAndKeepsTheRest) {
    EXPECT_EQ(EncodeMessage(u""), u"");
    EXPECT_EQ(EncodeMessage(u"%"), u"%%");
    EXPECT_EQ(EncodeMessage(u":"), CodeTableRow(31).code);
    EXPECT_NE(EncodeMessage(u"A"), EncodeMessage(u"a"));
    const std::u16string rowless = u"\t\r\n\"\u00e9\u2028\0\xd800\xdfff"s;
    EXPECT_EQ(EncodeMessage(rowless), rowless);
    EXPECT_EQ(EncodeMessage(u"a\nb"), CodeOf(u'a') + u"\n" + CodeOf(u'b'));
    // A surrogate pair stays a pair, in its place.
    EXPECT_EQ(EncodeMessage(u"x\U0001F600y"), CodeOf(u'x') + u"\U0001F600" + CodeOf(u'y'));
}

TEST(DecodeMessage, GivesBackEveryGeneratedMessage) {
    MessageGenerator messages(2);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string m = messages.Message();
        ASSERT_EQ(DecodeMessage(EncodeMessage(m)), m) << Printable(m);
    }
    const std::u16string big = messages.Message(1 << 20);
    EXPECT_EQ(DecodeMessage(EncodeMessage(big)), big);
}

TEST(DecodeMessage, GivesBackEveryMessageOfUpToTwoCharacters) {
    std::u16string alphabet = u"\t\n\"\u00e9";
    for (const CodeRow& row : CodeTable)
        if (alphabet.find(row.source) == std::u16string::npos)
            alphabet += row.source;
    ASSERT_EQ(alphabet.size(), 98u);

    EXPECT_EQ(DecodeMessage(EncodeMessage(u"")), u"");
    for (char16_t a : alphabet) {
        const std::u16string one(1, a);
        ASSERT_EQ(DecodeMessage(EncodeMessage(one)), one) << Printable(one);
        for (char16_t b : alphabet) {
            const std::u16string two{a, b};
            ASSERT_EQ(DecodeMessage(EncodeMessage(two)), two) << Printable(two);
        }
    }
}

TEST(DecodeMessage, LeavesTextWithoutEscapeAlone) {
    MessageGenerator messages(3);
    for (int i = 0; i < 3000; ++i) {
        std::u16string text = messages.Message();
        std::erase(text, kEscape);
        ASSERT_EQ(DecodeMessage(text), text) << Printable(text);
    }
}

TEST(DecodeMessage, TakesTheLongestCodeAtEveryEscapeOfAnyText) {
    MessageGenerator messages(6);
    for (int i = 0; i < 3000; ++i) {
        // Long enough for the windowed fast path, and as likely to hold broken codes as whole ones.
        const std::u16string text = messages.Message(64 + static_cast<std::size_t>(i % 200));
        ASSERT_EQ(DecodeMessage(text), reference::LongestMatchDecode(text)) << Printable(text);
    }
}

TEST(DecodeMessage, KeepsAnEscapeThatStartsNoCode) {
    EXPECT_EQ(DecodeMessage(u"%"), u"%");
    EXPECT_EQ(DecodeMessage(u"%%"), u"%");
    EXPECT_EQ(DecodeMessage(u"%%%"), u"%%");
    EXPECT_EQ(DecodeMessage(u"100%"), u"100%");
    EXPECT_EQ(DecodeMessage(u"%\"" + CodeOf(u'a')), u"%\"a");
    // A code cut short at the end of the text is not a code.
    const std::u16string_view longest = CodeTableRow(59).code;
    EXPECT_EQ(longest.size(), 7u);
    EXPECT_EQ(DecodeMessage(longest.substr(0, 3)), longest.substr(0, 3));
}

TEST(DecodeMessage, ReadsTheSecondColonCodeAsAColon) {
    EXPECT_EQ(DecodeMessage(CodeTableRow(41).code), u":");
}

TEST(DecodeMessage, ReadsCodedTextThatWasEncodedAgain) {
    MessageGenerator messages(4);
    for (int i = 0; i < 2000; ++i) {
        const std::u16string m = messages.Message();
        const std::u16string coded = EncodeMessage(m);
        const std::u16string twice = EncodeMessage(coded);
        ASSERT_EQ(DecodeMessage(twice), coded) << Printable(m);
        ASSERT_EQ(DecodeMessage(coded), m) << Printable(m);
    }
}

// Row-by-row decoding takes a code wherever one appears in the working text, also where earlier rows
// have just put its characters back. These messages come back changed from it but exact from the
// one-sweep decoder.
TEST(DecodeMessage, GivesBackMessagesThatRowByRowDecodingChanges) {
    std::vector<std::u16string> messages;
    // "%" followed by the rest of a code that does not hold its own row's character.
    for (const CodeRow& row : CodeTable)
        if (row.code.size() > 2 && row.code.find(row.source) == std::u16string_view::npos)
            messages.push_back(std::u16string(row.code) + u" and more");
    // A shorter code's character followed by what completes a longer code beginning with it.
    for (const CodeRow& shorter : CodeTable)
        for (const CodeRow& longer : CodeTable)
            if (longer.code.size() > shorter.code.size() && longer.code.starts_with(shorter.code))
                messages.push_back(shorter.source + std::u16string(longer.code.substr(shorter.code.size())));
    ASSERT_GE(messages.size(), 40u);

    for (const std::u16string& m : messages) {
        const std::u16string coded = EncodeMessage(m);
        EXPECT_NE(stepwise::DecodeMessage(coded), m) << Printable(m);
        EXPECT_EQ(DecodeMessage(coded), m) << Printable(m);
    }
}

TEST(DecodeMessage, AgreesWithRowByRowDecodingWhereNoCodeCanArise) {
    // Without "%", digits and capitals nothing can form a code that the encoder did not write.
    MessageGenerator messages(5);
    for (int i = 0; i < 3000; ++i) {
        std::u16string m = messages.Message();
        std::erase_if(m, [](char16_t c) {
            return c == kEscape || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z');
        });
        const std::u16string coded = EncodeMessage(m);
        ASSERT_EQ(DecodeMessage(coded), stepwise::DecodeMessage(coded)) << Printable(m);
    }
}

}  // namespace
}  // namespace quorvel
