#pragma once

#include "measurer.h"
#include "units.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

namespace quorvel::forms::textedit::testing {

// Gives each cluster the advance a function of its first code point says, and counts the units it
// was asked to measure.
class TestMeasurer : public Measurer {
public:
    explicit TestMeasurer(std::function<int(char32_t)> advance) : advance_(std::move(advance)) {}

    void Advances(std::u16string_view piece, std::span<int> advances) override {
        measured += piece.size();
        longestPiece = std::max(longestPiece, piece.size());
        for (std::size_t i = 0; i < piece.size(); ++i)
            advances[i] = IsClusterBoundary(piece, i) ? advance_(CodePointAt(piece, i)) : 0;
    }

    // A character the view's font lacks, sent to the shaping engine as the table's are.
    bool NeedsShaping(std::u16string_view text, std::size_t begin, std::size_t end) override {
        return Measurer::NeedsShaping(text, begin, end) || (lacking != 0 && text[begin] == lacking);
    }

    std::size_t measured = 0;
    std::size_t longestPiece = 0;
    char16_t lacking = 0;

private:
    std::function<int(char32_t)> advance_;
};

// Every cluster 10 pixels wide.
inline TestMeasurer FixedMeasurer() {
    return TestMeasurer([](char32_t) { return 10; });
}

}  // namespace quorvel::forms::textedit::testing
