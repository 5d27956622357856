#pragma once

#include "code_table.h"

#include <string>
#include <string_view>

// The cipher's operations said as plainly as possible, to check the fast ones against.
namespace quorvel::reference {

// One position at a time: a match of `find` is replaced, any other code unit copied.
inline std::u16string ReplaceAll(std::u16string_view text, std::u16string_view find,
                                 std::u16string_view replacement) {
    std::u16string result;
    for (std::size_t position = 0; position < text.size();) {
        if (!find.empty() && text.substr(position).starts_with(find)) {
            result += replacement;
            position += find.size();
        } else {
            result += text[position++];
        }
    }
    return result;
}

// At each position the longest code that starts there becomes its row's character.
inline std::u16string LongestMatchDecode(std::u16string_view coded) {
    std::u16string plain;
    for (std::size_t i = 0; i < coded.size();) {
        const CodeRow* best = nullptr;
        for (const CodeRow& row : CodeTable)
            if (coded.substr(i).starts_with(row.code) && (!best || row.code.size() > best->code.size()))
                best = &row;
        plain += best ? best->source : coded[i];
        i += best ? best->code.size() : 1;
    }
    return plain;
}

}  // namespace quorvel::reference
