#include "cluster_walk.h"

#include "units.h"

#include <numeric>

namespace quorvel::forms::textedit {

ClusterWalk::ClusterWalk(std::u16string_view text, std::size_t begin, Measurer& measurer)
    : text_(text), measurer_(measurer), position_(begin) {
    Settle();
}

int ClusterWalk::Advance() const {
    const auto first = advances_.begin() + static_cast<std::ptrdiff_t>(position_ - pieceBegin_);
    return std::accumulate(first, first + static_cast<std::ptrdiff_t>(clusterEnd_ - position_), 0);
}

void ClusterWalk::Next() {
    position_ = clusterEnd_;
    Settle();
}

void ClusterWalk::Settle() {
    if (AtEnd())
        return;
    clusterEnd_ = NextCluster(text_, position_);
    if (clusterEnd_ <= pieceEnd_ && position_ >= pieceBegin_)
        return;
    // The next piece: up to the paragraph's break, at most MaxPieceLength units, cut at a cluster
    // boundary (past the limit only when a single cluster is longer).
    std::size_t end = position_;
    const std::size_t limit = std::min(text_.size(), position_ + Measurer::MaxPieceLength);
    while (end < limit && !IsBreak(text_[end]))
        ++end;
    end = std::max(ClusterFloor(text_, end), clusterEnd_);
    pieceBegin_ = position_;
    pieceEnd_ = end;
    advances_.assign(end - position_, 0);
    measurer_.Advances(text_.substr(position_, end - position_), advances_);
}

}  // namespace quorvel::forms::textedit
