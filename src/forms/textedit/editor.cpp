#include "editor.h"

#include "cluster_walk.h"
#include "units.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace quorvel::forms::textedit {

Editor::Editor(Measurer& measurer) : measurer_(measurer) {
    rows_.Layout(text_, RowLayout::Unlimited, measurer_);
}

void Editor::SetText(std::u16string text) {
    // The text is taken over, not copied; the old one is kept for the notice.
    const std::u16string removed = std::exchange(text_, std::move(text));
    selection_ = {};
    caretAtRowEnd_ = false;
    desiredX_ = -1;
    history_.Clear();
    rows_.Layout(text_, rows_.Width(), measurer_);
    if (listener_)
        listener_({0, removed.size(), text_.size(), removed});
}

void Editor::Select(std::size_t anchor, std::size_t caret) {
    anchor = std::min(anchor, text_.size());
    caret = std::min(caret, text_.size());
    if (anchor == caret)
        anchor = caret = ClusterFloor(text_, caret);
    else if (anchor < caret)
        anchor = ClusterFloor(text_, anchor), caret = ClusterCeil(text_, caret);
    else
        anchor = ClusterCeil(text_, anchor), caret = ClusterFloor(text_, caret);
    PlaceCaret(anchor, caret, false);
    desiredX_ = -1;
}

void Editor::SelectAll() { Select(0, text_.size()); }

std::u16string Editor::SelectedText() const {
    return text_.substr(selection_.begin(), selection_.end() - selection_.begin());
}

void Editor::ReplaceSelection(std::u16string_view text, EditKind kind) {
    Replace(selection_.begin(), selection_.end(), text, kind);
}

void Editor::Backspace() {
    if (!selection_.empty())
        return Replace(selection_.begin(), selection_.end(), {}, EditKind::Delete);
    const std::size_t caret = selection_.caret;
    if (caret == 0)
        return;
    // One code point back, which takes a combining mark off its letter, but a surrogate pair and
    // CR LF whole; an emoji sequence or a flag, whose parts nobody types one by one, goes whole.
    std::size_t from = caret - 1;
    if (from > 0 && ((IsLowSurrogate(text_[from]) && IsHighSurrogate(text_[from - 1])) ||
                     (text_[from] == u'\n' && text_[from - 1] == u'\r')))
        --from;
    if (const std::size_t cluster = PreviousCluster(text_, caret);
        IsEmojiCluster(std::u16string_view(text_).substr(cluster, caret - cluster)))
        from = cluster;
    Replace(from, caret, {}, EditKind::Erase);
}

void Editor::Delete() {
    if (!selection_.empty())
        return Replace(selection_.begin(), selection_.end(), {}, EditKind::Delete);
    Replace(selection_.caret, NextCluster(text_, selection_.caret), {}, EditKind::Erase);
}

void Editor::ReplaceNearCaret(long long from, std::size_t length, std::u16string_view text) {
    const std::size_t begin = selection_.begin();
    const std::size_t end = selection_.end();
    const std::size_t selected = end - begin;
    // The range in the text without the selection, then where it stands in the text as it is.
    const long long rest = static_cast<long long>(text_.size() - selected);
    const long long start = std::clamp(static_cast<long long>(begin) + from, 0LL, rest);
    const long long stop = start + static_cast<long long>(std::min<std::size_t>(length, rest - start));
    const auto inText = [&](long long at) {
        const auto position = static_cast<std::size_t>(at);
        return position <= begin ? position : position + selected;
    };
    std::size_t rangeBegin = inText(start);
    std::size_t rangeEnd = inText(stop);
    if (rangeBegin > 0 && rangeBegin < text_.size() && IsLowSurrogate(text_[rangeBegin]) &&
        IsHighSurrogate(text_[rangeBegin - 1]))
        --rangeBegin;
    if (rangeEnd > 0 && rangeEnd < text_.size() && IsLowSurrogate(text_[rangeEnd]) &&
        IsHighSurrogate(text_[rangeEnd - 1]))
        ++rangeEnd;
    // The range and the selection both go; what lies between them stays, the result at the range.
    const std::u16string_view units(text_);
    std::u16string result;
    if (rangeEnd <= begin) {
        result.append(text).append(units.substr(rangeEnd, begin - rangeEnd));
        Replace(rangeBegin, end, result, EditKind::Typing, text.size());
    } else if (rangeBegin >= end) {
        result.append(units.substr(end, rangeBegin - end)).append(text);
        Replace(begin, rangeEnd, result, EditKind::Typing);
    } else {
        Replace(std::min(rangeBegin, begin), std::max(rangeEnd, end), text, EditKind::Typing);
    }
}

void Editor::MoveText(std::size_t begin, std::size_t end, std::size_t to) {
    if (to >= begin && to <= end)
        return;
    // One replacement of the span from the text to its new place, so that one undo takes it back.
    const std::u16string_view units(text_);
    const std::u16string_view moved = units.substr(begin, end - begin);
    std::u16string result;
    if (to > end) {
        result.append(units.substr(end, to - end)).append(moved);
        Replace(begin, to, result, EditKind::Other);
    } else {
        result.append(moved).append(units.substr(to, begin - to));
        Replace(to, end, result, EditKind::Other, moved.size());
    }
}

void Editor::DeleteWordBackward() {
    if (!selection_.empty())
        return Replace(selection_.begin(), selection_.end(), {}, EditKind::Delete);
    Replace(PreviousWordStart(text_, selection_.caret), selection_.caret, {}, EditKind::Delete);
}

void Editor::DeleteWordForward() {
    if (!selection_.empty())
        return Replace(selection_.begin(), selection_.end(), {}, EditKind::Delete);
    Replace(selection_.caret, NextWordStart(text_, selection_.caret), {}, EditKind::Delete);
}

void Editor::Move(Motion motion, bool extend, std::size_t pageRows) {
    const Selection was = selection_;
    std::size_t caret = was.caret;
    bool atRowEnd = false;
    switch (motion) {
    case Motion::Left:
        caret = !extend && !was.empty() ? was.begin() : PreviousCluster(text_, caret);
        break;
    case Motion::Right:
        caret = !extend && !was.empty() ? was.end() : NextCluster(text_, caret);
        break;
    case Motion::WordLeft:
        caret = PreviousWordStart(text_, caret);
        break;
    case Motion::WordRight:
        caret = NextWordStart(text_, caret);
        break;
    case Motion::LineStart:
        caret = rows_.RowStart(CaretRow());
        break;
    case Motion::LineEnd:
        caret = rows_.RowEnd(CaretRow());
        atRowEnd = rows_.IsWrapped(CaretRow());
        break;
    case Motion::DocumentStart:
        caret = 0;
        break;
    case Motion::DocumentEnd:
        caret = text_.size();
        break;
    case Motion::Up:
    case Motion::Down:
        return MoveVertically(1, motion == Motion::Down, extend);
    case Motion::PageUp:
    case Motion::PageDown:
        return MoveVertically(std::max<std::size_t>(pageRows, 1), motion == Motion::PageDown, extend);
    }
    PlaceCaret(extend ? was.anchor : caret, caret, atRowEnd);
    desiredX_ = -1;
}

void Editor::MoveVertically(std::size_t rowCount, bool down, bool extend) {
    const std::size_t row = CaretRow();
    int x = desiredX_;
    if (x < 0)
        x = drawn_ ? drawn_->CaretX(row, selection_.caret, caretAtRowEnd_)
                   : XOf(selection_.caret, caretAtRowEnd_);
    const std::size_t target =
        down ? std::min(row + rowCount, rows_.RowCount() - 1) : row - std::min(row, rowCount);
    if (target != row)
        PlaceInRow(target, drawn_ ? drawn_->PositionAtX(target, x) : PositionAt(target, x), extend);
    desiredX_ = x;
}

void Editor::MoveToPoint(std::size_t row, int x, bool extend) {
    row = std::min(row, rows_.RowCount() - 1);
    PlaceInRow(row, PositionAt(row, x), extend);
}

void Editor::PlaceInRow(std::size_t row, std::size_t position, bool extend) {
    row = std::min(row, rows_.RowCount() - 1);
    const std::size_t caret =
        ClusterFloor(text_, std::clamp(position, rows_.RowStart(row), rows_.RowEnd(row)));
    PlaceCaret(extend ? selection_.anchor : caret, caret, caret == rows_.RowEnd(row));
    desiredX_ = -1;
}

void Editor::SelectWordAt(std::size_t position) {
    const auto [begin, end] = WordAt(position);
    PlaceCaret(begin, end, false);
    desiredX_ = -1;
}

std::pair<std::size_t, std::size_t> Editor::WordAt(std::size_t position) const {
    return textedit::WordAt(text_, position);
}

bool Editor::Undo() { return Revisit(history_.Undo(), true); }

bool Editor::Redo() { return Revisit(history_.Redo(), false); }

bool Editor::Revisit(EditStep* step, bool undo) {
    if (!step)
        return false;
    std::u16string leaving = text_.substr(step->position, step->present);
    Apply(step->position, leaving, step->gone);
    history_.Exchange(*step, std::move(leaving));
    const Selection& selection = undo ? step->before : step->after;
    PlaceCaret(selection.anchor, selection.caret, false);
    desiredX_ = -1;
    return true;
}

void Editor::SetWidth(int width) {
    if (width != rows_.Width()) {
        rows_.Layout(text_, width, measurer_);
        PlaceCaret(selection_.anchor, selection_.caret, caretAtRowEnd_);
    }
}

void Editor::Relayout() {
    rows_.Layout(text_, rows_.Width(), measurer_);
    PlaceCaret(selection_.anchor, selection_.caret, caretAtRowEnd_);
}

int Editor::XOf(std::size_t position, bool atEndOfRow) const {
    position = std::min(position, text_.size());
    const std::size_t row = rows_.RowOf(position, atEndOfRow);
    // Summed wide: a row of hanging spaces may be longer than an int's worth of pixels.
    long long x = 0;
    for (ClusterWalk walk(text_, rows_.RowStart(row), measurer_); !walk.AtEnd() && walk.Position() < position;
         walk.Next())
        x += walk.Advance();
    return static_cast<int>(std::min<long long>(x, std::numeric_limits<int>::max()));
}

std::size_t Editor::PositionAt(std::size_t row, int x) const {
    row = std::min(row, rows_.RowCount() - 1);
    const std::size_t end = rows_.RowEnd(row);
    long long left = 0;
    for (ClusterWalk walk(text_, rows_.RowStart(row), measurer_); !walk.AtEnd() && walk.Position() < end;
         walk.Next()) {
        const long long advance = walk.Advance();
        if (x < left + (advance + 1) / 2)
            return walk.Position();
        left += advance;
    }
    return end;
}

void Editor::Replace(std::size_t from, std::size_t to, std::u16string_view text, EditKind kind,
                     std::size_t caretIn) {
    if (from == to && text.empty())
        return;
    const Selection before = selection_;
    std::u16string removed = text_.substr(from, to - from);
    Apply(from, removed, text);
    const std::size_t caret = ClusterCeil(text_, from + std::min(caretIn, text.size()));
    selection_ = {caret, caret};
    caretAtRowEnd_ = false;
    desiredX_ = -1;
    history_.Record(from, std::move(removed), text.size(), before, selection_, kind);
}

void Editor::Apply(std::size_t position, std::u16string_view removed, std::u16string_view inserted) {
    text_.replace(position, removed.size(), inserted);
    rows_.Update(text_, position, removed.size(), inserted.size(), measurer_);
    if (listener_)
        listener_({position, removed.size(), inserted.size(), removed});
}

void Editor::PlaceCaret(std::size_t anchor, std::size_t caret, bool atRowEnd) {
    selection_ = {anchor, caret};
    // Only a caret where a row is wrapped can stand at the end of the row before.
    const std::size_t row = rows_.RowOf(caret);
    caretAtRowEnd_ = atRowEnd && row > 0 && rows_.RowStart(row) == caret && rows_.IsWrapped(row - 1);
    history_.Seal();
}

}  // namespace quorvel::forms::textedit
