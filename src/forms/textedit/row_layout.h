#pragma once

#include "cluster_walk.h"
#include "measurer.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvel::forms::textedit {

// The rows of a whole text wrapped at a width: where each row starts, in one pass over the text,
// linear in its length, holding no per-unit data. A row is never wider than the width unless a single
// cluster is (then it holds that cluster alone); prose wraps between words, with the spaces that end a
// row hanging past the width; a run with no break opportunity breaks anywhere between clusters; a line
// separator (IsRowEndUnit) ends its row as a wrapped row ends; an empty paragraph is one row, and the
// text after a final paragraph break, or after a line separator at a paragraph's end, is one empty row.
//
// Breaking a row reads the text from its start up to the first cluster that does not fit. Each row
// keeps how far that reach went, so that an edit re-breaks only the rows that read the edited units
// and those after them until the row starts line up again with the old ones.
//
// In coded text of equal advances the rows after an edit do not line up with the old ones: a unit
// typed moves every later row's text by a unit, up to the paragraph's end. So each row also keeps
// whether it is uniform: broken anywhere for want of a break opportunity (none in it nor at its end),
// its clusters single units, none a space, all of one advance, and as many as fit at that advance. In
// a stretch of uniform rows of one advance every unit is alike to breaking, so a row that starts
// anywhere inside it holds as many units as the old rows did. Once a new row starts far enough past
// the edit inside such a stretch, the rows up to near the stretch's end follow by arithmetic, without
// reading the text, and breaking resumes there.
class RowLayout {
public:
    // A width of 0 or less means no wrapping: a row per paragraph and line separator, without measuring.
    static constexpr int Unlimited = 0;

    RowLayout();

    // Lays out all of `text` again at `width` (after SetText, a resize, a font or DPI change).
    void Layout(std::u16string_view text, int width, Measurer& measurer);
    // Lays out again after [from, from + removed) of the text last laid out became `inserted` units,
    // with `text` the text after the edit. The rows equal Layout(text, Width(), measurer)'s when the
    // measurer's advances do not depend on the text outside the piece asked for; where they do (a
    // shaping engine may join across a piece's edge), they may differ by what that dependence moves.
    void Update(std::u16string_view text, std::size_t from, std::size_t removed, std::size_t inserted,
                Measurer& measurer);

    int Width() const { return width_; }
    // The length of the text laid out.
    std::size_t TextLength() const { return textLength_; }
    // At least 1.
    std::size_t RowCount() const { return rows_.size(); }
    // The row's first unit.
    std::size_t RowStart(std::size_t row) const { return rows_[row].start; }
    // Where the row's text ends: before its paragraph break, if it ends one (hanging spaces included).
    std::size_t RowEnd(std::size_t row) const;
    // Where the next row starts: after the row's paragraph break, if any (the text's length for the last).
    std::size_t RowLimit(std::size_t row) const;
    // Whether the row is wrapped: followed by a row of the same paragraph.
    bool IsWrapped(std::size_t row) const;
    // The row holding `position`; a position where a row is wrapped belongs to the next row, unless
    // `atEndOfRow` (a caret that stands after the row's last cluster).
    std::size_t RowOf(std::size_t position, bool atEndOfRow = false) const;

    // How many rows the last Layout or Update broke (the rest of an Update's rows were only moved, or
    // followed from uniform rows without reading the text).
    std::size_t RowsBrokenLastTime() const { return rowsBroken_; }

private:
    struct Row {
        std::size_t start;
        // How many units past the start breaking this row read (saturated at the type's maximum).
        std::uint32_t reach;
        // The length of the paragraph break the row ends with: 0, 1 or 2.
        std::uint8_t breakLength;
        // The advance of each of the row's clusters if the row is uniform, else 0.
        std::uint16_t uniformAdvance;
    };

    // Breaks rows from `start` (a row start) into `out` until the text's end, or until the next row
    // would start at a position `stop` accepts.
    template <typename Stop>
    void BreakFrom(std::u16string_view text, std::size_t start, Measurer& measurer, std::vector<Row>& out,
                   Stop stop) const;
    // The row that starts where `walk` stands; `next` becomes where the next row starts.
    Row BreakRow(std::u16string_view text, ClusterWalk& walk, std::size_t& next) const;

    std::vector<Row> rows_;
    int width_ = Unlimited;
    std::size_t textLength_ = 0;
    std::size_t rowsBroken_ = 0;
};

}  // namespace quorvel::forms::textedit
