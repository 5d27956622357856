#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The Unicode properties that clusters, words and row breaks are decided from, for every code point.
// The tables behind PropertiesOf are generated at build time from the Unicode Character Database that
// the system installs; the names below are the property values as the database spells them, in the
// order of the enumerations, and the generator reads them from here.
namespace quorvel::forms::textedit {

// Grapheme_Cluster_Break.
enum class GraphemeBreak : std::uint8_t {
    Other,
    CR,
    LF,
    Control,
    Extend,
    ZWJ,
    RegionalIndicator,
    Prepend,
    SpacingMark,
    L,
    V,
    T,
    LV,
    LVT,
};
inline constexpr std::string_view GraphemeBreakNames[] = {
    "Other",   "CR",          "LF", "Control", "Extend", "ZWJ", "Regional_Indicator",
    "Prepend", "SpacingMark", "L",  "V",       "T",      "LV",  "LVT",
};

// Word_Break.
enum class WordBreak : std::uint8_t {
    Other,
    CR,
    LF,
    Newline,
    Extend,
    ZWJ,
    RegionalIndicator,
    Format,
    Katakana,
    HebrewLetter,
    ALetter,
    SingleQuote,
    DoubleQuote,
    MidNumLet,
    MidLetter,
    MidNum,
    Numeric,
    ExtendNumLet,
    WSegSpace,
};
inline constexpr std::string_view WordBreakNames[] = {
    "Other",
    "CR",
    "LF",
    "Newline",
    "Extend",
    "ZWJ",
    "Regional_Indicator",
    "Format",
    "Katakana",
    "Hebrew_Letter",
    "ALetter",
    "Single_Quote",
    "Double_Quote",
    "MidNumLet",
    "MidLetter",
    "MidNum",
    "Numeric",
    "ExtendNumLet",
    "WSegSpace",
};

// Line_Break, as the default algorithm's first rule resolves it: AI, SG and XX are stored as AL, SA as
// CM for marks and AL otherwise, CJ as NS. Those five values are never looked up.
enum class LineBreak : std::uint8_t {
    BK,
    CR,
    LF,
    CM,
    NL,
    SG,
    WJ,
    ZW,
    GL,
    SP,
    ZWJ,
    B2,
    BA,
    BB,
    HY,
    CB,
    CL,
    CP,
    EX,
    IN,
    NS,
    OP,
    QU,
    IS,
    NU,
    PO,
    PR,
    SY,
    AI,
    AL,
    CJ,
    EB,
    EM,
    H2,
    H3,
    HL,
    ID,
    JL,
    JV,
    JT,
    RI,
    SA,
    XX,
};
inline constexpr std::string_view LineBreakNames[] = {
    "BK", "CR", "LF", "CM", "NL", "SG", "WJ", "ZW", "GL", "SP", "ZWJ", "B2", "BA", "BB", "HY",
    "CB", "CL", "CP", "EX", "IN", "NS", "OP", "QU", "IS", "NU", "PO",  "PR", "SY", "AI", "AL",
    "CJ", "EB", "EM", "H2", "H3", "HL", "ID", "JL", "JV", "JT", "RI",  "SA", "XX",
};

// Binary properties, one bit each.
enum PropertyFlag : std::uint8_t {
    // Extended_Pictographic, from the emoji data.
    ExtendedPictographicFlag = 1,
    // Extended_Pictographic and not yet assigned (General_Category Cn): such a code point takes an emoji
    // modifier in row breaking.
    UnassignedPictographicFlag = 2,
    // East_Asian_Width Fullwidth, Wide or Halfwidth: brackets of this width allow a break beside letters.
    EastAsianWideFlag = 4,
    // White_Space.
    WhiteSpaceFlag = 8,
};

struct CharProperties {
    GraphemeBreak grapheme;
    WordBreak word;
    LineBreak line;
    std::uint8_t flags;

    bool Has(PropertyFlag flag) const { return (flags & flag) != 0; }
};

// The generated two-stage table: the block of a code point, then its entry in the block.
inline constexpr std::size_t PropertyBlockBits = 7;
extern const std::uint16_t PropertyBlocks[];
extern const CharProperties PropertyEntries[];

// The properties of `c`; anything past U+10FFFF has those of an unassigned code point.
inline CharProperties PropertiesOf(char32_t c) {
    if (c > 0x10FFFF)
        c = 0x10FFFF;
    constexpr char32_t mask = (1u << PropertyBlockBits) - 1;
    return PropertyEntries[(std::size_t{PropertyBlocks[c >> PropertyBlockBits]} << PropertyBlockBits) |
                           (c & mask)];
}

// The version of the Unicode Character Database the tables were made from, as "15.0.0".
extern const char UnicodeVersion[];

}  // namespace quorvel::forms::textedit
