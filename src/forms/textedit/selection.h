#pragma once

#include <algorithm>
#include <cstddef>

namespace quorvel::forms::textedit {

// A selection: where it was started and where the caret is; empty when both are the same.
struct Selection {
    std::size_t anchor = 0;
    std::size_t caret = 0;

    std::size_t begin() const { return std::min(anchor, caret); }
    std::size_t end() const { return std::max(anchor, caret); }
    bool empty() const { return anchor == caret; }
    friend bool operator==(const Selection&, const Selection&) = default;
};

}  // namespace quorvel::forms::textedit
