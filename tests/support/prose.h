#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel::testing {

enum class Shape { Lines, Paragraph };

// ASCII prose of `length` units: in lines of about 80 units, or one paragraph with spaces for line
// breaks. Its coded text has no line-break opportunity at all.
inline std::u16string Prose(std::size_t length, Shape shape, std::u16string_view lineBreak = u"\n") {
    static constexpr std::u16string_view kProse =
        u"Meet me at 7:30 by the old mill, bring 2 maps & the key (quite sure). Regards to all!";
    std::u16string text;
    text.reserve(length + kProse.size() + lineBreak.size());
    while (text.size() < length) {
        text += kProse;
        text += shape == Shape::Lines ? lineBreak : u" ";
    }
    text.resize(length);
    return text;
}

}  // namespace quorvel::testing
