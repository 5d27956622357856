// Turns arbitrary bytes into 16-bit text and checks the passes on it: encoding then decoding gives the
// text back, decoding arbitrary text takes the longest code at every "%", and ReplaceAll agrees with
// a literal reading of its definition.
#include "passes.h"

#include "../tests/support/reference.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::u16string ToUnits(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t k = 0; k < text.size(); ++k)
        text[k] = static_cast<char16_t>(data[2 * k] | (data[2 * k + 1] << 8));
    return text;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = ToUnits(data, size);

    Check(quorvel::DecodeMessage(quorvel::EncodeMessage(text)) == text);
    Check(quorvel::DecodeMessage(text) == quorvel::reference::LongestMatchDecode(text));

    // The first two units choose how much of the rest is `find` and `replacement`.
    if (text.size() >= 2) {
        const std::u16string_view rest = std::u16string_view(text).substr(2);
        const std::size_t findLength = 1 + text[0] % 4;
        const std::size_t replacementLength = text[1] % 6;
        if (rest.size() >= findLength + replacementLength) {
            const std::u16string_view find = rest.substr(0, findLength);
            const std::u16string_view replacement = rest.substr(findLength, replacementLength);
            const std::u16string_view haystack = rest.substr(findLength + replacementLength);
            Check(quorvel::ReplaceAll(haystack, find, replacement) ==
                  quorvel::reference::ReplaceAll(haystack, find, replacement));
        }
    }
    return 0;
}
