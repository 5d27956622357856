#include "preedit.h"

#include "units.h"

#include <algorithm>

namespace quorvel::forms::textedit {

void Preedit::Set(std::u16string_view text, std::size_t cursor, std::vector<Span> spans) {
    text_ = text;
    cursor_ = ClusterFloor(text_, std::min(cursor, text_.size()));
    std::ranges::sort(spans, {}, &Span::begin);
    spans_.clear();
    std::size_t covered = 0;
    for (const Span& span : spans) {
        const std::size_t begin = ClusterFloor(text_, std::clamp(span.begin, covered, text_.size()));
        const std::size_t end =
            ClusterCeil(text_, std::min(text_.size(), span.begin + std::min(span.length, text_.size())));
        if (begin >= end || begin < covered)
            continue;
        spans_.push_back({begin, end - begin, span.style});
        covered = end;
    }
    if (spans_.empty() && !text_.empty())
        spans_.push_back({0, text_.size(), Style::Underline});
}

void Preedit::Clear() {
    text_.clear();
    cursor_ = 0;
    spans_.clear();
}

Preedit::ShownRow Preedit::Show(std::u16string_view row, std::size_t caret) const {
    caret = std::min(caret, row.size());
    ShownRow shown;
    shown.text.reserve(row.size() + text_.size());
    shown.text.append(row.substr(0, caret)).append(text_).append(row.substr(caret));
    shown.preeditBegin = caret;
    shown.caret = caret + cursor_;
    shown.spans = spans_;
    for (Span& span : shown.spans)
        span.begin += caret;
    return shown;
}

}  // namespace quorvel::forms::textedit
