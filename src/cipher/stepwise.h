#pragma once

#include "code_table.h"
#include "passes.h"

#include <string>
#include <string_view>

// Both passes written as the code table defines them: one ReplaceAll per row, first row first, each
// on the result of the one before. They are the plain reference that the one-sweep passes are checked
// and measured against. Decoding this way is not exact: a code can arise across the boundary of two
// codes, or out of characters that earlier rows have put back, and is decoded all the same.
namespace quorvel::stepwise {

inline std::u16string EncodeMessage(std::u16string_view plain) {
    std::u16string text(plain);
    for (const CodeRow& row : CodeTable)
        text = ReplaceAll(text, std::u16string_view(&row.source, 1), row.code);
    return text;
}

inline std::u16string DecodeMessage(std::u16string_view coded) {
    std::u16string text(coded);
    for (const CodeRow& row : CodeTable)
        text = ReplaceAll(text, row.code, std::u16string_view(&row.source, 1));
    return text;
}

}  // namespace quorvel::stepwise
