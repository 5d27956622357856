#pragma once

#include <string>
#include <string_view>

namespace quorvel::forms {

// The layouts' texts are UTF-8; the controls and the cipher hold UTF-16 code units.
std::u16string Utf16(std::string_view utf8);

}  // namespace quorvel::forms
