#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace quorvel::forms::textedit {

// How wide text is, in device pixels: what a view (with its font, DPI and shaping engine) gives the
// editing core. The core asks for pieces of at most MaxPieceLength units (longer only when one cluster
// is), each inside one paragraph and starting and ending at cluster boundaries, and never asks for the
// same text twice during one layout pass. Pieces are cut at any cluster boundary, and an edit measures
// again from other cuts than the first layout did: RowLayout::Update gives Layout's rows only when an
// advance does not depend on the text outside its piece.
class Measurer {
public:
    static constexpr std::size_t MaxPieceLength = 4096;
    // A tab is as wide as this many of the font's average characters, as an edit control's tab stops
    // are apart, but wherever it stands: a row's width must not depend on where the row starts.
    static constexpr int TabAverageCharacters = 8;

    virtual ~Measurer() = default;

    // Fills `advances` (as long as `piece`) with each unit's advance: the first unit of a cluster
    // carries the whole cluster's advance, the others 0. Advances are never negative.
    virtual void Advances(std::u16string_view piece, std::span<int> advances) = 0;

    // Whether the cluster [begin, end) of `text` goes to the shaping engine rather than being drawn unit
    // by unit: what the shared table says (NeedsShaping in cluster_measure.h), and for a view whose font
    // lacks a character also that one, for the engine's font fallback. A row with such a cluster is
    // drawn, measured and hit-tested by the engine.
    virtual bool NeedsShaping(std::u16string_view text, std::size_t begin, std::size_t end);
};

}  // namespace quorvel::forms::textedit
