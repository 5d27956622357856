#include "units.h"
#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
namespace quorvel::forms::textedit {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Code points that extend the cluster before them: combining marks (nonspacing, enclosing and spacing),
// the zero-width non-joiner, conjoining hangul vowels and finals, variation selectors, emoji modifiers
// and tags. Sorted.
constexpr Range Extending[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489},   {0x0591, 0x05BD},   {0x05BF, 0x05BF},   {0x05C1, 0x05C2},
    {0x05C4, 0x05C5},   {0x05C7, 0x05C7},   {0x0610, 0x061A},   {0x064B, 0x065F},   {0x0670, 0x0670},
    {0x06D6, 0x06DC},   {0x06DF, 0x06E4},   {0x06E7, 0x06E8},   {0x06EA, 0x06ED},   {0x0711, 0x0711},
    {0x0730, 0x074A},   {0x07A6, 0x07B0},   {0x07EB, 0x07F3},   {0x0816, 0x082D},   {0x0859, 0x085B},
    {0x08D3, 0x08E1},   {0x08E3, 0x0903},   {0x093A, 0x093C},   {0x093E, 0x094F},   {0x0951, 0x0957},
    {0x0962, 0x0963},   {0x0981, 0x0983},   {0x09BC, 0x09BC},   {0x09BE, 0x09CD},   {0x09D7, 0x09D7},
    {0x09E2, 0x09E3},   {0x0A01, 0x0A03},   {0x0A3C, 0x0A51},   {0x0A70, 0x0A71},   {0x0A75, 0x0A75},
    {0x0A81, 0x0A83},   {0x0ABC, 0x0ABC},   {0x0ABE, 0x0ACD},   {0x0AE2, 0x0AE3},   {0x0B01, 0x0B03},
    {0x0B3C, 0x0B3C},   {0x0B3E, 0x0B57},   {0x0B62, 0x0B63},   {0x0B82, 0x0B82},   {0x0BBE, 0x0BCD},
    {0x0BD7, 0x0BD7},   {0x0C00, 0x0C04},   {0x0C3E, 0x0C56},   {0x0C62, 0x0C63},   {0x0C81, 0x0C83},
    {0x0CBC, 0x0CBC},   {0x0CBE, 0x0CD6},   {0x0CE2, 0x0CE3},   {0x0D00, 0x0D03},   {0x0D3B, 0x0D3C},
    {0x0D3E, 0x0D4D},   {0x0D57, 0x0D57},   {0x0D62, 0x0D63},   {0x0D81, 0x0D83},   {0x0DCA, 0x0DDF},
    {0x0DF2, 0x0DF3},   {0x0E31, 0x0E31},   {0x0E34, 0x0E3A},   {0x0E47, 0x0E4E},   {0x0EB1, 0x0EB1},
    {0x0EB4, 0x0EBC},   {0x0EC8, 0x0ECD},   {0x0F18, 0x0F19},   {0x0F35, 0x0F35},   {0x0F37, 0x0F37},
    {0x0F39, 0x0F39},   {0x0F3E, 0x0F3F},   {0x0F71, 0x0F84},   {0x0F86, 0x0F87},   {0x0F8D, 0x0FBC},
    {0x0FC6, 0x0FC6},   {0x102B, 0x103E},   {0x1056, 0x1059},   {0x105E, 0x1060},   {0x1062, 0x1064},
    {0x1067, 0x106D},   {0x1071, 0x1074},   {0x1082, 0x108D},   {0x108F, 0x108F},   {0x109A, 0x109D},
    {0x1160, 0x11FF},   {0x135D, 0x135F},   {0x1712, 0x1714},   {0x1732, 0x1734},   {0x1752, 0x1753},
    {0x1772, 0x1773},   {0x17B4, 0x17D3},   {0x17DD, 0x17DD},   {0x180B, 0x180D},   {0x1885, 0x1886},
    {0x18A9, 0x18A9},   {0x1920, 0x193B},   {0x1A17, 0x1A1B},   {0x1A55, 0x1A7F},   {0x1AB0, 0x1AFF},
    {0x1B00, 0x1B04},   {0x1B34, 0x1B44},   {0x1B6B, 0x1B73},   {0x1B80, 0x1B82},   {0x1BA1, 0x1BAD},
    {0x1BE6, 0x1BF3},   {0x1C24, 0x1C37},   {0x1CD0, 0x1CD2},   {0x1CD4, 0x1CE8},   {0x1CED, 0x1CED},
    {0x1CF4, 0x1CF4},   {0x1CF7, 0x1CF9},   {0x1DC0, 0x1DFF},   {0x200C, 0x200C},   {0x20D0, 0x20FF},
    {0x2CEF, 0x2CF1},   {0x2D7F, 0x2D7F},   {0x2DE0, 0x2DFF},   {0x302A, 0x302F},   {0x3099, 0x309A},
    {0xA66F, 0xA672},   {0xA674, 0xA67D},   {0xA69E, 0xA69F},   {0xA6F0, 0xA6F1},   {0xA802, 0xA802},
    {0xA806, 0xA806},   {0xA80B, 0xA80B},   {0xA823, 0xA827},   {0xA880, 0xA881},   {0xA8B4, 0xA8C5},
    {0xA8E0, 0xA8F1},   {0xA926, 0xA92D},   {0xA947, 0xA953},   {0xA980, 0xA983},   {0xA9B3, 0xA9C0},
    {0xAA29, 0xAA36},   {0xAA43, 0xAA43},   {0xAA4C, 0xAA4D},   {0xAAEB, 0xAAEF},   {0xAAF5, 0xAAF6},
    {0xABE3, 0xABEA},   {0xABEC, 0xABED},   {0xFB1E, 0xFB1E},   {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F},
    {0xFF9E, 0xFF9F},   {0x11000, 0x11002}, {0x11038, 0x11046}, {0x1107F, 0x11082}, {0x110B0, 0x110BA},
    {0x1D165, 0x1D169}, {0x1D16D, 0x1D172}, {0x1D17B, 0x1D182}, {0x1D185, 0x1D18B}, {0x1D1AA, 0x1D1AD},
    {0x1F3FB, 0x1F3FF}, {0xE0020, 0xE007F}, {0xE0100, 0xE01EF},
};

// Punctuation and symbols, which word moves and double-click treat apart from words. Sorted.
constexpr Range Punctuation[] = {
    {0x0000, 0x0008}, {0x000E, 0x001F}, {0x0021, 0x002F}, {0x003A, 0x0040}, {0x005B, 0x005E},
    {0x0060, 0x0060}, {0x007B, 0x009F}, {0x00A1, 0x00A9}, {0x00AB, 0x00B1}, {0x00B4, 0x00B4},
    {0x00B6, 0x00B8}, {0x00BB, 0x00BB}, {0x00BF, 0x00BF}, {0x00D7, 0x00D7}, {0x00F7, 0x00F7},
    {0x2010, 0x2027}, {0x2030, 0x205E}, {0x20A0, 0x20CF}, {0x2190, 0x23FF}, {0x2500, 0x27BF},
    {0x3001, 0x3003}, {0x3008, 0x3011}, {0x3014, 0x301F}, {0x30FB, 0x30FB}, {0xFE10, 0xFE1F},
    {0xFE30, 0xFE6F}, {0xFF01, 0xFF0F}, {0xFF1A, 0xFF20}, {0xFF3B, 0xFF40}, {0xFF5B, 0xFF65},
};

// Ideographs, kana, hangul and the like: a row may break before and after each of them. Sorted.
constexpr Range Ideographic[] = {
    {0x2E80, 0x2FFF}, {0x3040, 0x30FA}, {0x30FC, 0x31FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF}, {0xAC00, 0xD7AF}, {0xF900, 0xFAFF}, {0xFF66, 0xFF9D}, {0x20000, 0x3FFFF},
};

// No row starts with these.
constexpr char32_t Closing[] = {
    u')',   u',',   u'.',   u':',   u';',   u'!',   u'?',   u']',   u'}',   0x00BB, 0x2019, 0x201D,
    0x2026, 0x203A, 0x3001, 0x3002, 0x3009, 0x300B, 0x300D, 0x300F, 0x3011, 0x3015, 0x3017, 0x3019,
    0x301B, 0x30FC, 0xFF01, 0xFF09, 0xFF0C, 0xFF0E, 0xFF1A, 0xFF1B, 0xFF1F, 0xFF3D, 0xFF5D,
};

// No row ends with these.
constexpr char32_t Opening[] = {
    u'(',   u'[',   u'{',   0x00A1, 0x00AB, 0x00BF, 0x2018, 0x201C, 0x2039, 0x3008, 0x300A,
    0x300C, 0x300E, 0x3010, 0x3014, 0x3016, 0x3018, 0x301A, 0xFF08, 0xFF3B, 0xFF5B,
};

template <std::size_t N> bool InRanges(const Range (&ranges)[N], char32_t c) {
    const auto it = std::upper_bound(std::begin(ranges), std::end(ranges), c,
                                     [](char32_t value, const Range& range) { return value < range.first; });
    return it != std::begin(ranges) && c <= std::prev(it)->last;
}

constexpr char16_t ZeroWidthJoiner = 0x200D;

enum Flag : std::uint8_t {
    ExtendingFlag = 1,
    PunctuationFlag = 2,
    IdeographicFlag = 4,
    ClosingFlag = 8,
    OpeningFlag = 16,
};

// What the tables above say of each code point of the Basic Multilingual Plane, looked up at once.
constexpr std::array<std::uint8_t, 0x10000> BuildFlags() {
    std::array<std::uint8_t, 0x10000> flags{};
    const auto markRanges = [&flags](const auto& ranges, std::uint8_t flag) {
        for (const Range& range : ranges)
            for (char32_t c = range.first; c <= range.last && c < flags.size(); ++c)
                flags[c] |= flag;
    };
    markRanges(Extending, ExtendingFlag);
    markRanges(Punctuation, PunctuationFlag);
    markRanges(Ideographic, IdeographicFlag);
    for (char32_t c : Closing)
        flags[c] |= ClosingFlag;
    for (char32_t c : Opening)
        flags[c] |= OpeningFlag;
    return flags;
}

constexpr std::array<std::uint8_t, 0x10000> Flags = BuildFlags();

template <std::size_t N> bool Has(char32_t c, Flag flag, const Range (&ranges)[N]) {
    return c < Flags.size() ? (Flags[c] & flag) != 0 : InRanges(ranges, c);
}

bool IsExtending(char32_t c) { return Has(c, ExtendingFlag, Extending); }
bool IsPunctuation(char32_t c) { return Has(c, PunctuationFlag, Punctuation); }
bool IsIdeographic(char32_t c) { return Has(c, IdeographicFlag, Ideographic); }
bool IsClosing(char32_t c) { return c < Flags.size() && (Flags[c] & ClosingFlag) != 0; }
bool IsOpening(char32_t c) { return c < Flags.size() && (Flags[c] & OpeningFlag) != 0; }

// The code point that ends at `position` (exclusive).
char32_t CodePointBefore(std::u16string_view text, std::size_t position) {
    const char16_t unit = text[position - 1];
    if (IsLowSurrogate(unit) && position >= 2 && IsHighSurrogate(text[position - 2]))
        return 0x10000 + ((char32_t(text[position - 2]) - 0xD800) << 10) + (unit - 0xDC00);
    return unit;
}

// Whether the unit before `position` ends a code point of its own rather than a lone surrogate.
bool EndsWholeCodePoint(std::u16string_view text, std::size_t position) {
    const char16_t unit = text[position - 1];
    if (IsHighSurrogate(unit))
        return false;
    return !IsLowSurrogate(unit) || (position >= 2 && IsHighSurrogate(text[position - 2]));
}

// The spaces that neither hang nor allow a break.
bool IsNoBreakSpace(char16_t unit) {
    return unit == 0x00A0 || unit == 0x2007 || unit == 0x202F || unit == 0x2060 || unit == 0xFEFF;
}

bool IsLetter(char32_t c) {
    return !(c >= u'0' && c <= u'9') && !IsPunctuation(c) && !IsHangingSpace(static_cast<char16_t>(c)) &&
           !IsParagraphBreakUnit(static_cast<char16_t>(c)) && c > 0x20;
}

}  // namespace

bool IsBreakOpportunityInGeneral(std::u16string_view text, std::size_t position) {
    if (position == 0 || position >= text.size() || !IsClusterBoundary(text, position))
        return false;
    const char16_t before = text[position - 1], after = text[position];
    if (IsParagraphBreakUnit(before) || IsParagraphBreakUnit(after) || IsHangingSpace(after))
        return false;
    if (IsHangingSpace(before) || before == 0x200B)
        return true;
    if (IsNoBreakSpace(before) || IsNoBreakSpace(after))
        return false;
    const char32_t previous = CodePointBefore(text, position), next = CodePointAt(text, position);
    if (IsClosing(next) || IsOpening(previous))
        return false;
    if ((before == u'-' || before == 0x2010) && position >= 2 &&
        IsLetter(CodePointBefore(text, position - 1)) && IsLetter(next))
        return true;
    return IsIdeographic(previous) || IsIdeographic(next);
}

}
