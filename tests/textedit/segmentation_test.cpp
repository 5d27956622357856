// Clusters and words held to Unicode's own test files, line by line.
#include "unicode_test_file.h"
#include "units.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvel::forms::textedit
