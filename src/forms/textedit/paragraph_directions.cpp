#include "paragraph_directions.h"

#include "units.h"

#include <algorithm>

namespace quorvel::forms::textedit {
namespace {

// Enough for the paragraphs of the rows in view when a long one is among them.
constexpr std::size_t kKept = 8;

// Whether `units` hold only characters that rule P2 passes over without counting (no strong class, no
// isolate, no separator).
bool OnlyPassedOver(std::u16string_view units) {
    for (std::size_t at = 0; at<units.size(); at += CodePointAt(units, at)> 0xFFFF ? 2 : 1)
        if (BidiClassOf(CodePointAt(units, at)) != BidiClass::Other)
            return false;
    return true;
}

bool HasSeparator(std::u16string_view units) {
    return std::any_of(units.begin(), units.end(), IsBidiParagraphSeparator);
}

}  // namespace

TextDirection ParagraphDirections::At(std::u16string_view text, std::size_t position) {
    position = std::min(position, text.size());
    const auto known = std::find_if(known_.begin(), known_.end(), [&](const Paragraph& paragraph) {
        return paragraph.start <= position && position <= paragraph.end;
    });
    if (known != known_.end()) {
        std::rotate(known_.begin(), known, known + 1);
        return known_.front().base.direction;
    }
    Paragraph paragraph{position, position, {}};
    const std::bitset<0x10000>& separators = BidiParagraphSeparators();
    while (paragraph.start > 0 && !separators[text[paragraph.start - 1]])
        --paragraph.start;
    while (paragraph.end < text.size() && !separators[text[paragraph.end]])
        ++paragraph.end;
    paragraph.base = FindBaseDirection(text.substr(paragraph.start, paragraph.end - paragraph.start));
    paragraph.base.decidedAt += paragraph.start;
    if (known_.size() == kKept)
        known_.pop_back();
    known_.insert(known_.begin(), paragraph);
    return paragraph.base.direction;
}

void ParagraphDirections::Edited(std::u16string_view text, const TextChange& change) {
    std::erase_if(known_, [&](Paragraph& paragraph) { return !Survives(paragraph, text, change); });
}

bool ParagraphDirections::Survives(Paragraph& paragraph, std::u16string_view text, const TextChange& change) {
    const std::size_t from = change.position, to = change.position + change.removed;
    const auto moved = [&](std::size_t at) { return at - change.removed + change.inserted; };
    // Before the separator that ends the paragraph before: the paragraph moves whole.
    if (to < paragraph.start) {
        paragraph.start = moved(paragraph.start);
        paragraph.end = moved(paragraph.end);
        paragraph.base.decidedAt = moved(paragraph.base.decidedAt);
        return true;
    }
    // After its own separator: untouched.
    if (from > paragraph.end)
        return true;
    // Inside it, neither splitting it nor joining it to the next one, nor making a surrogate pair of the
    // units around the edit, and after what decided its direction or changing nothing that P2 counts.
    const std::u16string_view inserted = text.substr(from, change.inserted);
    const std::size_t past = from + change.inserted;
    const bool pairs =
        (from > 0 && IsHighSurrogate(text[from - 1]) && from < text.size() && IsLowSurrogate(text[from])) ||
        (past > 0 && past < text.size() && IsHighSurrogate(text[past - 1]) && IsLowSurrogate(text[past]));
    if (from < paragraph.start || to > paragraph.end || HasSeparator(inserted) || pairs)
        return false;
    const bool after = paragraph.base.decided && from >= paragraph.base.decidedAt;
    if (!after && !(OnlyPassedOver(change.removedText) && OnlyPassedOver(inserted)))
        return false;
    if (!after)
        paragraph.base.decidedAt = moved(paragraph.base.decidedAt);
    paragraph.end = moved(paragraph.end);
    return true;
}

}  // namespace quorvel::forms::textedit
