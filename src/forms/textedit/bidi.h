#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string_view>

// What a paragraph's base direction is decided from: the Bidi_Class of Unicode's bidirectional algorithm
// (UAX #9), as far as its rules P2 and P3 read it. The range table behind BidiClassOf is generated at build
// time from the Unicode Character Database's DerivedBidiClass.txt, with the right-to-left defaults it gives
// for unassigned code points in right-to-left blocks; the generator reads the names below.
namespace quorvel::forms::textedit {

// The strong classes, the isolate initiators and their terminator, and the paragraph separator; every
// other class (weak, neutral, the embeddings and overrides) is Other, which P2 passes over.
enum class BidiClass : std::uint8_t { Other, L, R, AL, LRI, RLI, FSI, PDI, B };
inline constexpr std::string_view BidiClassNames[] = {"Other", "L",   "R",   "AL", "LRI",
                                                      "RLI",   "FSI", "PDI", "B"};

// The generated table: each entry is a code point shifted left by BidiClassBits with the class in the
// low bits, the class of every code point from it up to the next entry's; the first entry is U+0000.
inline constexpr unsigned BidiClassBits = 4;
extern const std::uint32_t BidiRanges[];
extern const std::size_t BidiRangeCount;

BidiClass BidiClassOf(char32_t c);

// Whether `unit` ends a paragraph for the bidirectional algorithm (class B: CR, LF, U+001C..U+001E,
// U+0085, U+2029).
// Asked for every unit when a paragraph is looked for in a long text: one bit each, from the table.
const std::bitset<0x10000>& BidiParagraphSeparators();
inline bool IsBidiParagraphSeparator(char16_t unit) { return BidiParagraphSeparators()[unit]; }

enum class TextDirection : std::uint8_t { LeftToRight, RightToLeft };

// The base direction of the paragraph that `text` starts (rules P2 and P3): that of its first character
// of class L, R or AL, passing over the characters between an isolate initiator and its matching PDI (or
// the paragraph's end), and left to right when there is none. The paragraph ends at the first paragraph
// separator. `decidedAt` is where the character that decided ends, or the paragraph's end when none did
// (`decided` false): nothing from there on can change the direction.
struct BaseDirection {
    TextDirection direction = TextDirection::LeftToRight;
    std::size_t decidedAt = 0;
    bool decided = false;
};
BaseDirection FindBaseDirection(std::u16string_view text);

}  // namespace quorvel::forms::textedit
