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
// than one unit (a letter with its marks, a surrogate pair, an emoji sequence, a keycap), or a unit of
// a script that joins, reorders or stacks (right-to-left scripts, the scripts of South, South-East and
// Central Asia), a combining mark standing alone, a joiner or direction mark, or a presentation form.
// Both platforms' fields ask this one table.
inline bool NeedsShaping(std::u16string_view text, std::size_t begin, std::size_t end) {
    if (end - begin > 1)
        return true;
    const char16_t unit = text[begin];
    const auto in = [unit](char16_t first, char16_t last) { return unit >= first && unit <= last; };
    return in(0x0300, 0x036F) || in(0x0483, 0x0489) || in(0x0590, 0x109F) || in(0x135D, 0x135F) ||
           in(0x1700, 0x1C7F) || in(0x1CC0, 0x1CFF) || in(0x1DC0, 0x1DFF) || in(0x200C, 0x200F) ||
           in(0x202A, 0x202E) || in(0x2066, 0x2069) || in(0x20D0, 0x20FF) || in(0x2CEF, 0x2CF1) ||
           in(0x2D7F, 0x2D7F) || in(0x2DE0, 0x2DFF) || in(0x302A, 0x302F) || in(0x3099, 0x309A) ||
           in(0xA66F, 0xA672) || in(0xA674, 0xA67D) || in(0xA69E, 0xA69F) || in(0xA6F0, 0xA6F1) ||
           in(0xA800, 0xA95F) || in(0xA980, 0xAAFF) || in(0xABC0, 0xABFF) || in(0xFB1D, 0xFEFF);
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
