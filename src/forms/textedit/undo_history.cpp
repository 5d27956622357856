#include "undo_history.h"

#include <utility>

namespace quorvel::forms::textedit {

void UndoHistory::Record(std::size_t position, std::u16string removed, std::u16string inserted,
                         Selection before, Selection after, EditKind kind) {
    while (steps_.size() > next_) {
        held_ -= steps_.back().removed.size() + steps_.back().inserted.size();
        steps_.pop_back();
    }
    held_ += removed.size() + inserted.size();
    EditStep* last = steps_.empty() ? nullptr : &steps_.back();
    if (kind == EditKind::Typing && !sealed_ && last && removed.empty() &&
        last->position + last->inserted.size() == position && last->after == before) {
        last->inserted += inserted;
        last->after = after;
    } else {
        steps_.push_back({position, std::move(removed), std::move(inserted), before, after});
    }
    sealed_ = kind != EditKind::Typing;
    next_ = steps_.size();
    KeepWithinBudget();
}

void UndoHistory::Clear() {
    steps_.clear();
    next_ = 0;
    held_ = 0;
    sealed_ = true;
}

const EditStep* UndoHistory::Undo() {
    sealed_ = true;
    return next_ > 0 ? &steps_[--next_] : nullptr;
}

const EditStep* UndoHistory::Redo() {
    sealed_ = true;
    return next_ < steps_.size() ? &steps_[next_++] : nullptr;
}

void UndoHistory::KeepWithinBudget() {
    while (held_ > budget_ && steps_.size() > 1) {
        held_ -= steps_.front().removed.size() + steps_.front().inserted.size();
        steps_.pop_front();
        --next_;
    }
}

}  // namespace quorvel::forms::textedit
