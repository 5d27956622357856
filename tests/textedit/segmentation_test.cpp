// Clusters and words held to Unicode's own test files, line by line, and the characters that need
// shaping to Unicode's own data files.
#include "cluster_measure.h"
#include "unicode_test_file.h"
#include "units.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace quorvel::forms::textedit {
namespace {

using testing::BreakTestCase;

// Checks every position of every case of a test file against `is`, and between the positions the file
// lists (inside surrogate pairs) that there is no break; returns how many cases were right throughout.
template <typename Is> std::size_t RightCases(const std::vector<BreakTestCase>& cases, Is is) {
    std::size_t right = 0;
    for (const BreakTestCase& test : cases) {
        bool allRight = true;
        std::size_t listed = 0;
        for (std::size_t position = 0; position <= test.text.size(); ++position) {
            const bool isListed = listed < test.positions.size() && test.positions[listed].first == position;
            const bool expected = isListed && test.positions[listed].second;
            listed += isListed;
            if (is(test.text, position) != expected) {
                ADD_FAILURE() << "line " << test.lineNumber << " at unit " << position << ": " << test.line;
                allRight = false;
            }
        }
        right += allRight;
    }
    return right;
}

TEST(UnicodeTestFiles, EveryGraphemeBreakTestLine) {
    const auto cases =
        testing::ReadBreakTestFile(testing::UnicodeDataFile("auxiliary/GraphemeBreakTest.txt"));
    ASSERT_EQ(cases.size(), 602u) << "GraphemeBreakTest.txt of Unicode 15.0 has 602 cases";
    EXPECT_EQ(RightCases(cases, IsClusterBoundary), 602u);
}

TEST(UnicodeTestFiles, EveryWordBreakTestLine) {
    const auto cases = testing::ReadBreakTestFile(testing::UnicodeDataFile("auxiliary/WordBreakTest.txt"));
    ASSERT_EQ(cases.size(), 1823u) << "WordBreakTest.txt of Unicode 15.0 has 1,823 cases";
    EXPECT_EQ(RightCases(cases, IsWordBoundary), 1823u);
}

// Standing alone, every combining mark of the Basic Multilingual Plane (General_Category Mn, Mc, Me in
// UnicodeData.txt) and every character of the scripts that join, reorder or stack (Scripts.txt) needs
// shaping; the scripts drawn letter by letter keep the per-character path.
TEST(UnicodeDataFiles, MarksAndScriptsThatJoinNeedShapingAndAlphabetsDoNot) {
    const std::set<std::string> joining = {
        "Arabic",     "Hebrew",       "Syriac",      "Thaana",     "Nko",      "Samaritan", "Mandaic",
        "Devanagari", "Bengali",      "Gurmukhi",    "Gujarati",   "Oriya",    "Tamil",     "Telugu",
        "Kannada",    "Malayalam",    "Sinhala",     "Thai",       "Lao",      "Tibetan",   "Myanmar",
        "Khmer",      "Mongolian",    "Tagalog",     "Hanunoo",    "Buhid",    "Tagbanwa",  "Limbu",
        "Tai_Le",     "New_Tai_Lue",  "Buginese",    "Tai_Tham",   "Balinese", "Sundanese", "Batak",
        "Lepcha",     "Syloti_Nagri", "Phags_Pa",    "Saurashtra", "Kayah_Li", "Rejang",    "Javanese",
        "Cham",       "Tai_Viet",     "Meetei_Mayek"};
    const std::set<std::string> alphabets = {"Latin",    "Greek",    "Cyrillic", "Han",
                                             "Hiragana", "Katakana", "Hangul"};
    std::vector<bool> mark(0x10000);
    std::ifstream data(testing::UnicodeDataFile("UnicodeData.txt"));
    for (std::string line; std::getline(data, line);) {
        const unsigned long c = std::stoul(line, nullptr, 16);
        const std::string category = line.substr(line.find(';', line.find(';') + 1) + 1, 2);
        if (c < mark.size() && category[0] == 'M')
            mark[c] = true;
    }
    std::ifstream scripts(testing::UnicodeDataFile("Scripts.txt"));
    int checked = 0;
    for (std::string line; std::getline(scripts, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string range, semicolon, script;
        fields >> range >> semicolon >> script;
        const unsigned long first = std::stoul(range, nullptr, 16);
        const std::size_t dots = range.find("..");
        const unsigned long last =
            dots == std::string::npos ? first : std::stoul(range.substr(dots + 2), nullptr, 16);
        for (unsigned long c = first; c <= last && c < 0xD800; ++c) {
            const std::u16string unit(1, static_cast<char16_t>(c));
            const bool shaped = mark[c] || joining.contains(script);
            if (shaped || alphabets.contains(script)) {
                EXPECT_EQ(NeedsShaping(unit, 0, 1), shaped) << std::hex << c << " " << script;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 40000);
}

}  // namespace
}  // namespace quorvel::forms::textedit
