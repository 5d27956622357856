#pragma once

#include <string>
#include <string_view>

// The cipher's passes work on message text as the text fields hold it: 16-bit code units, compared
// exactly, with no case folding, locale or normalisation. Every input is accepted, lone surrogates
// and NUL included; nothing fails or throws except on running out of memory.
namespace quorvel {

// Replaces every occurrence of `find` in `text`, left to right and without overlaps. What has been
// appended as `replacement` is never looked at again. An empty `find` matches nothing.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view find,
                          std::u16string_view replacement);

// Replaces each character that has a row in the code table by that row's code and keeps every other
// code unit as it is.
std::u16string EncodeMessage(std::u16string_view plain);

// Turns coded text back into the message. At each "%" the longest code that starts there becomes its
// row's character; a "%" that starts no code and every other code unit are kept. For every text that
// EncodeMessage produced this gives back exactly the message.
std::u16string DecodeMessage(std::u16string_view coded);

}  // namespace quorvel
