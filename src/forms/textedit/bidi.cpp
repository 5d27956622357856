#include "bidi.h"

#include "units.h"

#include <algorithm>
#include <bitset>

namespace quorvel::forms::textedit {

BidiClass BidiClassOf(char32_t c) {
    const std::uint32_t key =
        (std::min<char32_t>(c, 0x10FFFF) << BidiClassBits) | ((1u << BidiClassBits) - 1);
    const std::uint32_t* entry = std::upper_bound(BidiRanges, BidiRanges + BidiRangeCount, key) - 1;
    return static_cast<BidiClass>(*entry & ((1u << BidiClassBits) - 1));
}

const std::bitset<0x10000>& BidiParagraphSeparators() {
    static const std::bitset<0x10000> separators = [] {
        std::bitset<0x10000> bits;
        for (char32_t c = 0; c < 0x10000; ++c)
            bits[c] = BidiClassOf(c) == BidiClass::B;
        return bits;
    }();
    return separators;
}

BaseDirection FindBaseDirection(std::u16string_view text) {
    std::size_t isolates = 0;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = CodePointAt(text, at);
        const std::size_t next = at + (c > 0xFFFF ? 2 : 1);
        switch (BidiClassOf(c)) {
        case BidiClass::L:
            if (isolates == 0)
                return {TextDirection::LeftToRight, next, true};
            break;
        case BidiClass::R:
        case BidiClass::AL:
            if (isolates == 0)
                return {TextDirection::RightToLeft, next, true};
            break;
        case BidiClass::LRI:
        case BidiClass::RLI:
        case BidiClass::FSI:
            ++isolates;
            break;
        case BidiClass::PDI:
            // A PDI with no initiator open matches nothing.
            if (isolates > 0)
                --isolates;
            break;
        case BidiClass::B:
            return {TextDirection::LeftToRight, at, false};
        case BidiClass::Other:
            break;
        }
        at = next;
    }
    return {TextDirection::LeftToRight, text.size(), false};
}

}  // namespace quorvel::forms::textedit
