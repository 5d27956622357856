#pragma once

#include "code_table.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace quorvel::testing {

// Makes messages that are hard on the cipher: mostly "%", digits, capital letters and pieces of
// codes, mixed with any other code unit of the 16-bit range (lone surrogates and NUL included).
class MessageGenerator {
public:
    explicit MessageGenerator(std::uint32_t seed) : random_(seed) {}

    std::u16string Message(std::size_t length) {
        std::u16string text;
        text.reserve(length);
        while (text.size() < length)
            AppendPiece(text);
        text.resize(length);
        return text;
    }

    // A message shorter than 64 code units, short ones more likely than long ones.
    std::u16string Message() { return Message(Below(Below(64) + 1)); }

private:
    std::size_t Below(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }

    void AppendPiece(std::u16string& text) {
        static constexpr std::u16string_view kCodeAlphabet = u"%%%%0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        const CodeRow& row = CodeTable[Below(CodeTable.size())];
        switch (Below(8)) {
        case 0:
        case 1:
            text += kCodeAlphabet[Below(kCodeAlphabet.size())];
            break;
        case 2:
            text += row.code;
            break;
        case 3:
            text += row.code.substr(0, 1 + Below(row.code.size()));
            break;
        case 4:
        case 5:
            text += static_cast<char16_t>(Below(128));
            break;
        case 6:
            text += row.source;
            break;
        default:
            text += static_cast<char16_t>(Below(0x10000));
            break;
        }
    }

    std::mt19937 random_;
};

}  // namespace quorvel::testing
