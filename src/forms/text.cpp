#include "text.h"

namespace quorvel::forms {

std::u16string Utf16(std::string_view utf8) {
    std::u16string units;
    units.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            point = (point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (point < 0x10000) {
            units.push_back(static_cast<char16_t>(point));
        } else {
            point -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
        }
    }
    return units;
}

}  // namespace quorvel::forms
