#pragma once

#include "unicode_properties.h"
#include "units.h"

#include <cstddef>
#include <string_view>

// What the cluster, word and row-break rules read of the text around a position: whole code points
// backwards, and runs of regional indicators. Internal to the editing core.
namespace quorvel::forms::textedit {

// The code point that ends at `position` (exclusive, `position` > 0): a surrogate pair's, or a lone
// surrogate's own value.
inline char32_t CodePointBefore(std::u16string_view text, std::size_t position) {
    const char16_t unit = text[position - 1];
    if (IsLowSurrogate(unit) && position >= 2 && IsHighSurrogate(text[position - 2]))
        return 0x10000 + ((char32_t(text[position - 2]) - 0xD800) << 10) + (unit - 0xDC00);
    return unit;
}

// Where the code point that ends at `position` starts.
inline std::size_t CodePointStartBefore(std::u16string_view text, std::size_t position) {
    return position >= 2 && IsLowSurrogate(text[position - 1]) && IsHighSurrogate(text[position - 2])
               ? position - 2
               : position - 1;
}

// Whether `position` falls between the two units of a surrogate pair.
inline bool InsideSurrogatePair(std::u16string_view text, std::size_t position) {
    return position > 0 && position < text.size() && IsHighSurrogate(text[position - 1]) &&
           IsLowSurrogate(text[position]);
}

// Whether an odd number of regional indicators ends at `position`, so that the one there would pair
// with the last of them into a flag. Flags pair from the start of their run; to keep every question
// short, no more than MaxRegionalIndicatorRun of them are counted back: past the 128th flag of a run the
// indicators stand alone. The answer depends on the run alone, not on where it stands in the text, so
// an edit before a run changes nothing in it.
inline constexpr std::size_t MaxRegionalIndicatorRun = 256;
bool OddRegionalIndicatorsBefore(std::u16string_view text, std::size_t position);

}  // namespace quorvel::forms::textedit
