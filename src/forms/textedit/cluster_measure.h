#pragma once

#include "measurer.h"
#include "units.h"

#include <cstddef>
#include <span>
#include <string_view>

// How a view's measurer walks a piece of text: a character that is a cluster of its own and is drawn
// alone takes its remembered width, and a run of clusters that need shaping is shaped as one, at most a
// piece long. Both platforms' measurers walk text this way; they differ only in how they measure.
namespace quorvel::forms::textedit {

// Whether the cluster [begin, end) of `text` needs a shaping engine to be drawn right: a cluster of more
// than one unit (a letter with its marks, a surrogate pair, an emoji sequence), or a unit of a script
// that joins, reorders or stacks (combining marks, right-to-left scripts, the scripts of South and
// South-East Asia), a joiner or direction mark, or a presentation form. Both platforms' fields ask this
// one table.
inline bool NeedsShaping(std::u16string_view text, std::size_t begin, std::size_t end) {
    if (end - begin > 1)
        return true;
    const char16_t unit = text[begin];
    return (unit >= 0x0300 && unit <= 0x036F) || (unit >= 0x0590 && unit <= 0x109F) ||
           (unit >= 0x1780 && unit <= 0x17FF) || (unit >= 0x200C && unit <= 0x200F) ||
           (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069) ||
           (unit >= 0xFB1D && unit <= 0xFEFF);
}

// Whether the unit at `at` of `text`, not its last, is a cluster of its own that is drawn alone, decided
// at a glance for ASCII, which coded text is and every font has, and else as `needsShaping` tells.
template <typename NeedsShaping>
bool DrawnAlone(std::u16string_view text, std::size_t at, NeedsShaping& needsShaping) {
    return IsLoneUnitCluster(text[at], text[at + 1]) && (text[at] < 0x80 || !needsShaping(text, at, at + 1));
}

// Fills `advances` for `piece`: `width(unit)` for a cluster drawn alone (its first unit), and
// `shape(run, advances)` for each run of clusters for which `needsShaping(text, begin, end)` holds.
template <typename Width, typename NeedsShaping, typename Shape>
void MeasureClusters(std::u16string_view piece, std::span<int> advances, Width width,
                     NeedsShaping needsShaping, Shape shape) {
    std::size_t at = 0;
    while (at < piece.size()) {
        // The common case first: a character that is a cluster of its own and is drawn alone.
        if (at + 1 < piece.size() && DrawnAlone(piece, at, needsShaping)) {
            advances[at] = width(piece[at]);
            ++at;
            continue;
        }
        std::size_t next = NextCluster(piece, at);
        if (!needsShaping(piece, at, next)) {
            advances[at] = width(piece[at]);
            at = next;
            continue;
        }
        const std::size_t begin = at;
        while (next < piece.size() && next - begin < Measurer::MaxPieceLength) {
            const std::size_t after = NextCluster(piece, next);
            if (!needsShaping(piece, next, after))
                break;
            next = after;
        }
        shape(piece.substr(begin, next - begin), advances.subspan(begin, next - begin));
        at = next;
    }
}

// Whether any cluster of `text` needs shaping, as `needsShaping(text, begin, end)` tells.
template <typename NeedsShaping>
bool AnyClusterNeedsShaping(std::u16string_view text, NeedsShaping needsShaping) {
    for (std::size_t at = 0; at < text.size();) {
        if (at + 1 < text.size() && DrawnAlone(text, at, needsShaping)) {
            ++at;
            continue;
        }
        const std::size_t next = NextCluster(text, at);
        if (needsShaping(text, at, next))
            return true;
        at = next;
    }
    return false;
}

}  // namespace quorvel::forms::textedit
