#include "row_layout.h"

#include "cluster_walk.h"
#include "units.h"

#include <algorithm>
#include <limits>

namespace quorvel::forms::textedit {
namespace {

// How many units before a row's start breaking it may read when the row starts at a point where the
// rules' look-backs stop (BoundsLookBehind): the code point before it, and a unit more for a lone
// surrogate.
constexpr std::size_t ReadBehind = 3;
// How many units past the last cluster it examined breaking a row may read (a cluster boundary and a
// break opportunity look at the code point after them).
constexpr std::size_t ReadAhead = 2;

// The last break opportunity at a cluster boundary in (start, position], or `start` if there is none.
std::size_t LastBreakOpportunity(std::u16string_view text, std::size_t start, std::size_t position) {
    for (; position > start; --position)
        if (!IsNoBreakBetweenAscii(text[position - 1], text[position]) && IsClusterBoundary(text, position) &&
            IsBreakOpportunity(text, position))
            return position;
    return start;
}

std::uint32_t Saturated(std::size_t value) {
    return static_cast<std::uint32_t>(
        std::min<std::size_t>(value, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

RowLayout::RowLayout() : rows_{Row{0, 0, 0}} {}

std::size_t RowLayout::RowLimit(std::size_t row) const {
    return row + 1 < rows_.size() ? rows_[row + 1].start : textLength_;
}

std::size_t RowLayout::RowEnd(std::size_t row) const { return RowLimit(row) - rows_[row].breakLength; }

bool RowLayout::IsWrapped(std::size_t row) const {
    return row + 1 < rows_.size() && rows_[row].breakLength == 0;
}

std::size_t RowLayout::RowOf(std::size_t position, bool atEndOfRow) const {
    const auto after = std::upper_bound(rows_.begin(), rows_.end(), position,
                                        [](std::size_t value, const Row& row) { return value < row.start; });
    std::size_t row = static_cast<std::size_t>(after - rows_.begin()) - 1;
    if (atEndOfRow && row > 0 && rows_[row].start == position && IsWrapped(row - 1))
        --row;
    return row;
}

RowLayout::Row RowLayout::BreakRow(std::u16string_view text, ClusterWalk& walk, std::size_t& next) const {
    // Clusters are taken while they fit; spaces hang and never overflow; a line separator ends the row
    // after it. At the first cluster that does not fit, the row ends at the last break opportunity, or
    // else before that cluster. The row's first cluster always stays, counted as at most the width.
    // Opportunities are asked for only then, backwards from the last position the ASCII table does not
    // rule out, so that prose asks about a row's last word and coded text about none.
    const std::size_t start = walk.Position();
    walk.Keep(start);
    long long used = 0;
    std::size_t candidate = start;
    for (; !walk.AtEnd(); walk.Next()) {
        const std::size_t position = walk.Position();
        const int advance = walk.Advance();
        if (position == start) {
            used = std::min(advance, width_);
            continue;
        }
        if (!IsNoBreakBetweenAscii(text[position - 1], text[position])) {
            if (IsRowEndUnit(text[position - 1])) {
                next = position;
                return {start, Saturated(walk.ClusterEnd() + ReadAhead - start), 0};
            }
            candidate = position;
        }
        if (!IsHangingSpace(text[position]) && used + advance > width_) {
            const std::size_t lastBreak = LastBreakOpportunity(text, start, candidate);
            next = lastBreak > start ? lastBreak : position;
            const Row row{start, Saturated(walk.ClusterEnd() + ReadAhead - start), 0};
            walk.Seek(next);
            return row;
        }
        used += advance;
    }
    const std::size_t end = walk.Position();
    if (end > start && IsRowEndUnit(text[end - 1])) {
        // A line separator at the paragraph's end: what is left of the paragraph is an empty row.
        next = end;
        return {start, Saturated(end + ReadAhead - start), 0};
    }
    const std::size_t length = ParagraphBreakLength(text, end);
    next = end + length;
    return {start, Saturated(end + ReadAhead - start), static_cast<std::uint8_t>(length)};
}

template <typename Stop>
void RowLayout::BreakFrom(std::u16string_view text, std::size_t start, Measurer& measurer,
                          std::vector<Row>& out, Stop stop) const {
    if (width_ <= Unlimited) {
        // A row per paragraph and line separator, nothing measured.
        for (;;) {
            std::size_t end = start;
            while (end < text.size() && !IsParagraphBreakUnit(text[end]) && !IsRowEndUnit(text[end]))
                ++end;
            if (end < text.size() && IsRowEndUnit(text[end])) {
                ++end;
                out.push_back({start, Saturated(end + ReadAhead - start), 0});
                if (stop(end))
                    return;
                start = end;
                continue;
            }
            const std::size_t length = ParagraphBreakLength(text, end);
            out.push_back({start, Saturated(end + ReadAhead - start), static_cast<std::uint8_t>(length)});
            if (length == 0 || stop(end + length))
                return;
            start = end + length;
        }
    }
    ClusterWalk walk(text, start, measurer);
    for (;;) {
        std::size_t next = 0;
        const Row row = BreakRow(text, walk, next);
        out.push_back(row);
        // The last row ends at the text's end without a paragraph break or a line separator; after a
        // final one comes one more, empty row.
        if (row.breakLength == 0 && next >= text.size() &&
            (next == row.start || !IsRowEndUnit(text[next - 1])))
            return;
        if (stop(next))
            return;
        if (row.breakLength > 0)
            walk.Restart(next);
    }
}

void RowLayout::Layout(std::u16string_view text, int width, Measurer& measurer) {
    width_ = width;
    textLength_ = text.size();
    rows_.clear();
    BreakFrom(text, 0, measurer, rows_, [](std::size_t) { return false; });
    rowsBroken_ = rows_.size();
}

void RowLayout::Update(std::u16string_view text, std::size_t from, std::size_t removed, std::size_t inserted,
                       Measurer& measurer) {
    from = std::min(from, textLength_);
    removed = std::min(removed, textLength_ - from);
    // The first row to break again is the first whose breaking read the edited units, or the units
    // around the edit point. How far a row's breaking reads never decreases from row to row.
    std::size_t first = RowOf(from);
    while (first > 0 && rows_[first - 1].start + rows_[first - 1].reach > from)
        --first;

    // Rows are broken again until one starts where an old row started, shifted by the edit, far enough
    // past the edit, and at a point the rules' look-backs stop at, that nothing its breaking reads
    // changed: from there on the old rows hold.
    std::vector<Row> fresh;
    std::size_t old = first + 1;
    bool linedUp = false;
    BreakFrom(text, rows_[first].start, measurer, fresh, [&](std::size_t next) {
        if (next < from + inserted + ReadBehind)
            return false;
        // In old positions, `next` is next - inserted + removed.
        while (old < rows_.size() && rows_[old].start + inserted < next + removed)
            ++old;
        linedUp = old < rows_.size() && rows_[old].start + inserted == next + removed &&
                  BoundsLookBehind(text, next);
        return linedUp;
    });

    const std::size_t kept = linedUp ? old : rows_.size();
    if (fresh.size() > kept - first)
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(kept), fresh.size() - (kept - first), Row{});
    else
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(first + fresh.size()),
                    rows_.begin() + static_cast<std::ptrdiff_t>(kept));
    std::copy(fresh.begin(), fresh.end(), rows_.begin() + static_cast<std::ptrdiff_t>(first));
    for (auto row = rows_.begin() + static_cast<std::ptrdiff_t>(first + fresh.size()); row != rows_.end();
         ++row)
        row->start = row->start + inserted - removed;
    textLength_ = text.size();
    rowsBroken_ = fresh.size();
}

}  // namespace quorvel::forms::textedit
