#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvel {

// One row of the code table: a plain character and the code that stands for it in coded text.
struct CodeRow {
    char16_t source;
    std::u16string_view code;
};

// Every code starts with this character, and the character itself has the first row.
inline constexpr char16_t kEscape = u'%';

inline constexpr std::size_t kCodeTableRows = 95;

// The fixed code table, the cipher's whole secret. Coded text written by every copy of the program
// depends on these codes, so they never change.
//
// The order is significant: the rows are applied first to last. Each code is made of "%", digits
// and capital letters, and every character after its "%" is the source of an earlier row or of the
// row itself, so no later row ever rewrites a code an earlier one has written. Where one code begins
// with another, the longer code has the earlier row. A character with two rows is encoded by the
// first of them.
inline constexpr std::array<CodeRow, kCodeTableRows> CodeTable{{
    // The escape character: written twice, so that a "%" of the message is never taken for a code.
    {u'%', u"%%"},
    // Digits.
    {u'0', u"%000"},
    {u'1', u"%101"},
    {u'2', u"%201"},
    {u'3', u"%311"},
    {u'4', u"%432"},
    {u'5', u"%550"},
    {u'6', u"%512"},
    {u'7', u"%620"},
    {u'8', u"%255"},
    {u'9', u"%872"},
    // Punctuation, first group.
    {u'!', u"%498"},
    {u'@', u"%934"},
    {u'#', u"%878"},
    {u'$', u"%414"},
    {u'^', u"%123"},
    {u'&', u"%337"},
    {u'*', u"%136"},
    {u'(', u"%166"},
    {u')', u"%314"},
    {u'-', u"%356"},
    {u'=', u"%085"},
    {u'_', u"%467"},
    {u'+', u"%783"},
    {u'[', u"%099"},
    {u'{', u"%615"},
    {u']', u"%176"},
    {u'}', u"%888"},
    // Punctuation, second group.
    {u';', u"%640"},
    {u'`', u"%813"},
    {u':', u"%112"},
    {u'\'', u"%288"},
    {u',', u"%452"},
    {u'.', u"%983"},
    {u'/', u"%086"},
    {u'<', u"%917"},
    {u'>', u"%080"},
    {u'|', u"%017"},
    {u'?', u"%745"},
    {u'\\', u"%943"},
    // A second row for ":". Encoding never reaches it (the row above takes every ":"), but decoding
    // turns its code into ":" as well.
    {u':', u"%855"},
    {u'~', u"%096"},
    // Capital letters. Some codes begin with another code; the longer one always comes first.
    {u'A', u"%AA2"},
    {u'B', u"%321"},
    {u'C', u"%4C371"},
    {u'D', u"%69B"},
    {u'E', u"%5D8"},
    {u'F', u"%BD0"},
    {u'G', u"%240"},
    {u'H', u"%BD93C"},
    {u'I', u"%7C7E1"},
    {u'J', u"%3C8"},
    {u'K', u"%K7B20"},
    {u'L', u"%FEL"},
    {u'M', u"%E82MM"},
    {u'N', u"%5C1"},
    {u'O', u"%GAJ"},
    {u'P', u"%MB85M"},
    {u'Q', u"%Q5H1D0"},
    {u'R', u"%Q5H1"},
    {u'S', u"%133R7"},
    {u'T', u"%BOLPJ"},
    {u'U', u"%JQUFO"},
    {u'V', u"%MGVI0"},
    {u'W', u"%LGKWK"},
    {u'X', u"%WJEJCP"},
    {u'Y', u"%36HLC"},
    {u'Z', u"%WG4ZC"},
    // Small letters.
    {u'a', u"%O6V"},
    {u'b', u"%O0G4"},
    {u'c', u"%VLS"},
    {u'd', u"%8M9RA"},
    {u'e', u"%D0SK5"},
    {u'f', u"%OOB"},
    {u'g', u"%PUYMR"},
    {u'h', u"%2Q1"},
    {u'i', u"%R55"},
    {u'j', u"%2HXP7"},
    {u'k', u"%K7B"},
    {u'l', u"%XCT"},
    {u'm', u"%NEXII"},
    {u'n', u"%0D9"},
    {u'o', u"%IDW"},
    {u'p', u"%HZC"},
    {u'q', u"%5D6T"},
    {u'r', u"%32BNZ"},
    {u's', u"%2N5SI"},
    {u't', u"%WHP"},
    {u'u', u"%IXGII"},
    {u'v', u"%ICBUP"},
    {u'w', u"%Y0J3"},
    {u'x', u"%Y8L61"},
    {u'y', u"%J2X"},
    {u'z', u"%Z0Z91"},
    // The space.
    {u' ', u"%Z0Z"},
}};

// The row with the given number, counted from 1 as the table is usually spoken of.
constexpr const CodeRow& CodeTableRow(std::size_t number) { return CodeTable.at(number - 1); }

}  // namespace quorvel
