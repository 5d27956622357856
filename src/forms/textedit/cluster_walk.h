#pragma once

#include "measurer.h"
#include "units.h"

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

namespace quorvel::forms::textedit {

// Walks the clusters of a paragraph forward from a cluster boundary up to the paragraph's end, with
// each cluster's advance. The text ahead is measured in pieces of bounded length, each unit once per
// walk; of what is behind, only the advances from the point Keep names are held. Pieces start short
// and grow, so that a walk of a few rows measures little more than those.
class ClusterWalk {
public:
    ClusterWalk(std::u16string_view text, std::size_t begin, Measurer& measurer);

    // Whether the walk stands at its paragraph's break or the text's end.
    bool AtEnd() const { return position_ >= text_.size() || IsParagraphBreakUnit(text_[position_]); }
    // The start of the current cluster.
    std::size_t Position() const { return position_; }
    // The end of the current cluster.
    std::size_t ClusterEnd() const { return clusterEnd_; }
    // The current cluster's advance.
    int Advance() const {
        return clusterEnd_ == position_ + 1 ? advances_[position_ - pieceBegin_] : AdvanceOfLongerCluster();
    }
    // Steps to the next cluster.
    void Next() {
        position_ = clusterEnd_;
        if (position_ + 1 < pieceEnd_ && IsLoneUnitCluster(text_[position_], text_[position_ + 1]))
            clusterEnd_ = position_ + 1;
        else
            Settle();
    }
    // Holds the advances from `position` (a cluster boundary walked over) on, so that Seek may return.
    void Keep(std::size_t position) { keep_ = position; }
    // Whether every unit from `from` (at or after the point Keep named) up to the current cluster
    // carries `advance`: when it is positive, each of those units is a cluster of its own.
    bool EveryUnitCarries(std::size_t from, int advance) const;
    // Goes back to a cluster boundary at or after the point Keep named, in the same paragraph.
    void Seek(std::size_t position);
    // Starts again at `position`, a cluster boundary in another paragraph, forgetting all advances.
    void Restart(std::size_t position);

private:
    void Settle();
    int AdvanceOfLongerCluster() const;

    std::u16string_view text_;
    Measurer& measurer_;
    std::size_t position_;
    std::size_t clusterEnd_ = 0;
    std::size_t keep_ = std::numeric_limits<std::size_t>::max();
    // advances_ holds the advances of [pieceBegin_, pieceEnd_).
    std::size_t pieceBegin_ = 0;
    std::size_t pieceEnd_ = 0;
    std::vector<int> advances_;
    std::size_t pieceLength_;
};

}  // namespace quorvel::forms::textedit
