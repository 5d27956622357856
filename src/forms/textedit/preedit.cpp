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

Surrounding SurroundingOf(std::u16string_view text, std::size_t caret) {
    caret = std::min(caret, text.size());
    const std::size_t floor = caret - std::min(caret, SurroundingReach);
    const std::size_t ceiling = std::min(text.size(), caret + SurroundingReach);
    std::size_t begin = caret;
    while (begin > floor && !IsParagraphBreakUnit(text[begin - 1]))
        --begin;
    std::size_t end = caret;
    while (end < ceiling && !IsParagraphBreakUnit(text[end]))
        ++end;
    // A paragraph longer than the reach is cut inside it, where no cluster is split.
    if (begin > 0 && !IsParagraphBreakUnit(text[begin - 1]))
        begin = ClusterCeil(text, begin);
    if (end < text.size() && !IsParagraphBreakUnit(text[end]))
        end = ClusterFloor(text, end);
    return {begin, end};
}

}  // namespace quorvel::forms::textedit
