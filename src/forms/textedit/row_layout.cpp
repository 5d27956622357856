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

// How far breaking a uniform row of `units` units reads: its units, the next one (which does not fit)
// and the read-ahead.
std::uint32_t UniformReach(std::size_t units) { return Saturated(units + 1 + ReadAhead); }

}  // namespace

RowLayout::RowLayout() : rows_{Row{0, 0, 0, 0}} {}

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
    // For uniform rows: the first cluster's advance, and whether a cluster is a space.
    int firstAdvance = 0;
    bool spaces = false;
    for (; !walk.AtEnd(); walk.Next()) {
        const std::size_t position = walk.Position();
        const int advance = walk.Advance();
        if (position == start) {
            used = std::min(advance, width_);
            firstAdvance = advance;
            spaces = IsHangingSpace(text[position]);
            continue;
        }
        if (!IsNoBreakBetweenAscii(text[position - 1], text[position])) {
            if (IsRowEndUnit(text[position - 1])) {
                next = position;
                return {start, Saturated(walk.ClusterEnd() + ReadAhead - start), 0, 0};
            }
            candidate = position;
        }
        if (IsHangingSpace(text[position])) {
            spaces = true;
        } else if (used + advance > width_) {
            const std::size_t lastBreak = LastBreakOpportunity(text, start, candidate);
            next = lastBreak > start ? lastBreak : position;
            // Uniform when broken for want of an opportunity, with no space, when one more unit of
            // the first one's advance would not have fitted either, and when each unit is a cluster
            // of that advance. Only then are the advances looked at again, so that prose pays nothing.
            const bool uniform = lastBreak == start && !spaces && firstAdvance > 0 &&
                                 used + firstAdvance > width_ &&
                                 firstAdvance <= std::numeric_limits<std::uint16_t>::max() &&
                                 walk.EveryUnitCarries(start, firstAdvance);
            const Row row{start, Saturated(walk.ClusterEnd() + ReadAhead - start), 0,
                          static_cast<std::uint16_t>(uniform ? firstAdvance : 0)};
            walk.Seek(next);
            return row;
        }
        used += advance;
    }
    const std::size_t end = walk.Position();
    if (end > start && IsRowEndUnit(text[end - 1])) {
        // A line separator at the paragraph's end: what is left of the paragraph is an empty row.
        next = end;
        return {start, Saturated(end + ReadAhead - start), 0, 0};
    }
    const std::size_t length = ParagraphBreakLength(text, end);
    next = end + length;
    return {start, Saturated(end + ReadAhead - start), static_cast<std::uint8_t>(length), 0};
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
                out.push_back({start, Saturated(end + ReadAhead - start), 0, 0});
                if (stop(end))
                    return;
                start = end;
                continue;
            }
            const std::size_t length = ParagraphBreakLength(text, end);
            out.push_back({start, Saturated(end + ReadAhead - start), static_cast<std::uint8_t>(length), 0});
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
    //
    // A row that starts as far past the edit and at such a point, but inside a stretch of old uniform
    // rows of one advance (in old positions), reads only units of the stretch, each a cluster of one
    // unit of that advance, no space, with no break opportunity before any of them but the stretch's
    // first: it holds as many units as the old rows there, and so does each next row as long as its
    // units and the one after them lie in the stretch. Those rows are written down without reading
    // the text, and breaking resumes after them.
    std::vector<Row> fresh;
    std::size_t broken = 0;
    std::size_t old = first + 1;
    bool linedUp = false;
    // The old row that holds the new row start in old positions, and the row that ends the stretch of
    // uniform rows of its advance (found again once `holding` reaches it).
    std::size_t holding = first;
    std::size_t stretchEnd = first;
    std::size_t start = rows_[first].start;
    for (;;) {
        std::size_t uniformRows = 0, units = 0;
        std::uint16_t advance = 0;
        const std::size_t before = fresh.size();
        BreakFrom(text, start, measurer, fresh, [&](std::size_t next) {
            if (next < from + inserted + ReadBehind)
                return false;
            // In old positions, `next` is next - inserted + removed.
            const std::size_t was = next - inserted + removed;
            while (old < rows_.size() && rows_[old].start < was)
                ++old;
            if (old < rows_.size() && rows_[old].start == was && BoundsLookBehind(text, next)) {
                linedUp = true;
                return true;
            }
            while (holding + 1 < rows_.size() && rows_[holding + 1].start <= was)
                ++holding;
            advance = rows_[holding].uniformAdvance;
            if (advance == 0)
                return false;
            if (stretchEnd <= holding) {
                // A uniform row is never a paragraph's last: the stretch ends before the rows' end.
                stretchEnd = holding + 1;
                while (rows_[stretchEnd].uniformAdvance == advance)
                    ++stretchEnd;
            }
            units = rows_[holding + 1].start - rows_[holding].start;
            const std::size_t end = rows_[stretchEnd].start;
            if (was + units >= end || !BoundsLookBehind(text, next))
                return false;
            // Rows of `units` units from `next` while each unit of a row and the one after it lie
            // before `end`.
            uniformRows = (end - was - 1) / units;
            start = next;
            return true;
        });
        broken += fresh.size() - before;
        if (uniformRows == 0)
            break;
        for (std::size_t row = 0; row < uniformRows; ++row, start += units)
            fresh.push_back({start, UniformReach(units), 0, advance});
    }

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
    rowsBroken_ = broken;
}

}  // namespace quorvel::forms::textedit
