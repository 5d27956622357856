// The layouts' UTF-8 texts as UTF-16 code units, against code units written out as numbers.
#include "text.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel::forms {
namespace {

TEST(Utf16, EverySequenceLengthGivesItsCodeUnits) {
    EXPECT_EQ(Utf16(""), u"");
    EXPECT_EQ(Utf16("A~\x7F"), (std::u16string{0x41, 0x7E, 0x7F}));
    // U+00E9, U+07FF: two bytes each.
    EXPECT_EQ(Utf16("\xC3\xA9\xDF\xBF"), (std::u16string{0xE9, 0x7FF}));
    // U+0800, U+20AC, U+FFFD, U+FFFF: three bytes each.
    EXPECT_EQ(Utf16("\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBD\xEF\xBF\xBF"),
              (std::u16string{0x800, 0x20AC, 0xFFFD, 0xFFFF}));
}

TEST(Utf16, FourByteSequencesBecomeSurrogatePairs) {
    // U+10000, the first code point beyond 16 bits.
    EXPECT_EQ(Utf16("\xF0\x90\x80\x80"), (std::u16string{0xD800, 0xDC00}));
    // U+1F600, between ASCII text.
    EXPECT_EQ(Utf16("a\xF0\x9F\x98\x80z"), (std::u16string{0x61, 0xD83D, 0xDE00, 0x7A}));
    // U+10FFFF, the last code point.
    EXPECT_EQ(Utf16("\xF4\x8F\xBF\xBF"), (std::u16string{0xDBFF, 0xDFFF}));
    // U+1D11E and U+20000 next to each other.
    EXPECT_EQ(Utf16("\xF0\x9D\x84\x9E\xF0\xA0\x80\x80"), (std::u16string{0xD834, 0xDD1E, 0xD840, 0xDC00}));
}

}  // namespace
}  // namespace quorvel::forms
