// A paragraph's base direction, by rules P2 and P3 of Unicode's bidirectional algorithm, and the
// directions a field keeps for its paragraphs through edits.
#include "bidi.h"
#include "paragraph_directions.h"

#include "unicode_test_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace quorvel::forms::textedit {
namespace {

constexpr auto L = TextDirection::LeftToRight;
constexpr auto R = TextDirection::RightToLeft;

std::u16string FromCodePoints(const std::string& hex) {
    std::u16string text;
    std::istringstream in(hex);
    for (std::string word; in >> word;) {
        const auto c = static_cast<char32_t>(std::stoul(word, nullptr, 16));
        if (c > 0xFFFF) {
            text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(c);
        }
    }
    return text;
}

// A character of each class, for BidiTest.txt's sequences of classes.
char16_t OfClass(const std::string& name) {
    static const std::map<std::string, char16_t> characters = {
        {"L", u'a'},     {"R", 0x05D0},   {"AL", 0x0627},  {"EN", u'1'},    {"ES", u'+'},    {"ET", u'%'},
        {"AN", 0x0661},  {"CS", u','},    {"NSM", 0x0300}, {"BN", 0x00AD},  {"S", u'\t'},    {"WS", u' '},
        {"ON", u'!'},    {"LRE", 0x202A}, {"LRO", 0x202D}, {"RLE", 0x202B}, {"RLO", 0x202E}, {"PDF", 0x202C},
        {"LRI", 0x2066}, {"RLI", 0x2067}, {"FSI", 0x2068}, {"PDI", 0x2069}};
    return characters.at(name);
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream split(line.substr(0, line.find('#')));
    for (std::string field; std::getline(split, field, ';');)
        fields.push_back(field);
    return fields;
}

// Every paragraph of Unicode's bidirectional tests whose direction is left to the algorithm has the
// direction they resolve it to: alone, and inside a text between a right-to-left paragraph before it and
// one after a paragraph separator. BidiCharacterTest.txt gives it (field 2 is 2, field 3 the level);
// BidiTest.txt gives the levels that hold for the paragraph directions of a bit set, so a set of the
// automatic one (1) and one other (2 left to right, 4 right to left) tells which it resolves to.
TEST(BidiTest, AParagraphTakesTheDirectionOfItsFirstStrongCharacterOutsideIsolatesAsUnicodesTestsHaveIt) {
    int cases = 0;
    const auto check = [&](const std::u16string& paragraph, TextDirection expected, const std::string& line) {
        ++cases;
        EXPECT_EQ(FindBaseDirection(paragraph).direction, expected) << line;
        const std::u16string text = u"\u05D0\r\n" + paragraph + u"\u2029\u05D0";
        ParagraphDirections directions;
        EXPECT_EQ(directions.At(text, 3), expected) << line;
        EXPECT_EQ(directions.At(text, 3 + paragraph.size()), expected) << line;
        EXPECT_EQ(directions.At(text, text.size()), R) << line;
    };
    std::ifstream characterTest(testing::UnicodeDataFile("BidiCharacterTest.txt"));
    for (std::string line; std::getline(characterTest, line);)
        if (const std::vector<std::string> fields = Fields(line); fields.size() >= 3 && fields[1] == "2")
            check(FromCodePoints(fields[0]), fields[2] == "1" ? R : L, line);
    std::ifstream classTest(testing::UnicodeDataFile("BidiTest.txt"));
    for (std::string line; std::getline(classTest, line);) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() != 2 || line[0] == '@' || (fields[1] != " 3" && fields[1] != " 5"))
            continue;
        std::u16string paragraph;
        std::istringstream classes(fields[0]);
        for (std::string name; classes >> name;)
            paragraph += name == "B" ? u'\0' : OfClass(name);
        if (paragraph.find(u'\0') == std::u16string::npos)
            check(paragraph, fields[1] == " 5" ? R : L, line);
    }
    EXPECT_GT(cases, 200000);
}

// The directions kept through edits are those found afresh in the edited text, whatever the edit
// does: moving a paragraph, typing after or before what decided it, splitting or joining paragraphs,
// closing an isolate, making a surrogate pair.
TEST(BidiTest, ADirectionKeptThroughEditsIsTheOneFoundAfresh) {
    struct Edit {
        std::size_t position, removed;
        std::u16string inserted;
    };
    // Left to right, right to left, and none outside an isolate.
    std::u16string text = u"a\n(\u05D0 b)\n12 \u2067x\u05D1\n";
    const char16_t high = 0xD802, low = 0xDC00;  // U+10800, right to left
    const std::vector<Edit> edits = {
        {1, 0, u"x"},                                    // in the first paragraph, after its "a"
        {4, 0, u"c"},                                    // in the one it moved, before its letter
        {0, 0, u"("},                                    // before the "a", passed over
        {0, 0, u"\u05D0"},                               // before it, strong: right to left
        {4, 1, u""},                                     // its line break: joined to the next
        {0, 3, u""},                                     // what decided it goes
        {4, 0, u"\r\n\u05D4"},                           // split again, the new one right to left
        {11, 0, u"7"},                                   // before the isolate: nothing strong outside it
        {16, 0, u"\u2069"},                              // the isolate closed before its "x"
        {16, 1, u""},                                    // and open again
        {18, 0, u"\u2069\u05D3"},                        // closed at the end, before a strong letter
        {21, 0, std::u16string{u'(', high, u'x', low}},  // a new paragraph with lone surrogates
        {23, 1, u""},                                    // that become a pair
    };
    ParagraphDirections directions;
    const auto fresh = [&](std::size_t position) {
        std::size_t start = position, end = position;
        while (start > 0 && !IsBidiParagraphSeparator(text[start - 1]))
            --start;
        while (end < text.size() && !IsBidiParagraphSeparator(text[end]))
            ++end;
        return FindBaseDirection(std::u16string_view(text).substr(start, end - start)).direction;
    };
    for (const Edit& edit : edits) {
        for (std::size_t at = 0; at <= text.size(); ++at)
            directions.At(text, at);
        const std::u16string removed = text.substr(edit.position, edit.removed);
        text.replace(edit.position, edit.removed, edit.inserted);
        directions.Edited(text, {edit.position, edit.removed, edit.inserted.size(), removed});
        for (std::size_t at = 0; at <= text.size(); ++at)
            EXPECT_EQ(directions.At(text, at), fresh(at))
                << "at " << at << " after the edit at " << edit.position;
    }
}

}  // namespace
}  // namespace quorvel::forms::textedit
