#include "cluster_walk.h"

#include "units.h"

#include <algorithm>
#include <numeric>

namespace quorvel::forms::textedit {
namespace {

constexpr std::size_t FirstPieceLength = 256;

}  // namespace

ClusterWalk::ClusterWalk(std::u16string_view text, std::size_t begin, Measurer& measurer)
    : text_(text), measurer_(measurer), position_(begin), pieceBegin_(begin), pieceEnd_(begin),
      pieceLength_(FirstPieceLength) {
    Settle();
}

int ClusterWalk::AdvanceOfLongerCluster() const {
    const auto first = advances_.begin() + static_cast<std::ptrdiff_t>(position_ - pieceBegin_);
    return std::accumulate(first, first + static_cast<std::ptrdiff_t>(clusterEnd_ - position_), 0);
}

bool ClusterWalk::EveryUnitCarries(std::size_t from, int advance) const {
    // Without a branch, so that the loop vectorizes: it runs for every row of coded text.
    int differs = 0;
    for (std::size_t unit = from - pieceBegin_; unit < position_ - pieceBegin_; ++unit)
        differs |= advances_[unit] ^ advance;
    return differs == 0;
}

void ClusterWalk::Seek(std::size_t position) {
    position_ = position;
    Settle();
}

void ClusterWalk::Restart(std::size_t position) {
    advances_.clear();
    position_ = pieceBegin_ = pieceEnd_ = position;
    keep_ = std::numeric_limits<std::size_t>::max();
    pieceLength_ = FirstPieceLength;
    Settle();
}

void ClusterWalk::Settle() {
    if (AtEnd())
        return;
    clusterEnd_ = NextCluster(text_, position_);
    if (clusterEnd_ <= pieceEnd_)
        return;
    // The next piece follows the last: up to the paragraph's break, at most twice as long as the last
    // up to MaxPieceLength units, cut at a cluster boundary (longer only when a single cluster is).
    // What is behind both the current cluster and the kept point is dropped.
    const std::size_t drop = std::clamp(std::min(keep_, position_), pieceBegin_, pieceEnd_);
    advances_.erase(advances_.begin(), advances_.begin() + static_cast<std::ptrdiff_t>(drop - pieceBegin_));
    pieceBegin_ = drop;
    std::size_t end = pieceEnd_;
    const std::size_t limit = std::min(text_.size(), pieceEnd_ + pieceLength_);
    pieceLength_ = std::min(2 * pieceLength_, Measurer::MaxPieceLength);
    while (end < limit && !IsParagraphBreakUnit(text_[end]))
        ++end;
    end = std::max(ClusterFloor(text_, end), clusterEnd_);
    const std::size_t kept = advances_.size();
    advances_.resize(kept + end - pieceEnd_);
    measurer_.Advances(text_.substr(pieceEnd_, end - pieceEnd_), std::span<int>(advances_).subspan(kept));
    pieceEnd_ = end;
}

}  // namespace quorvel::forms::textedit
