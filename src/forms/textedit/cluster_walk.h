#pragma once

#include "measurer.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace quorvel::forms::textedit {

// Walks the clusters of a paragraph forward from a cluster boundary up to the paragraph's end, with
// each cluster's advance. The text ahead is measured in pieces of bounded length, so that every unit is
// measured once per walk and no more than one piece of advances is held at a time.
class ClusterWalk {
public:
    ClusterWalk(std::u16string_view text, std::size_t begin, Measurer& measurer);

    // Whether the walk stands at its paragraph's break or the text's end.
    bool AtEnd() const { return position_ >= text_.size() || IsBreak(text_[position_]); }
    // The start of the current cluster.
    std::size_t Position() const { return position_; }
    // The end of the current cluster.
    std::size_t ClusterEnd() const { return clusterEnd_; }
    // The current cluster's advance.
    int Advance() const;
    // Steps to the next cluster.
    void Next();

private:
    static bool IsBreak(char16_t unit) { return unit == u'\r' || unit == u'\n'; }
    void Settle();

    std::u16string_view text_;
    Measurer& measurer_;
    std::size_t position_;
    std::size_t clusterEnd_ = 0;
    std::size_t pieceBegin_ = 0;
    std::size_t pieceEnd_ = 0;
    std::vector<int> advances_;
};

}  // namespace quorvel::forms::textedit
