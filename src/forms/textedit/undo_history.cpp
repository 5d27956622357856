#include "undo_history.h"

#include <utility>

namespace quorvel::forms::textedit {

void UndoHistory::Record(std::size_t position, std::u16string removed, std::size_t inserted, Selection before,
                         Selection after, EditKind kind) {
    while (steps_.size() > next_) {
        held_ -= steps_.back().gone.size();
        steps_.pop_back();
    }
    held_ += removed.size();
    EditStep* last = steps_.empty() ? nullptr : &steps_.back();
    if (kind == EditKind::Typing && !sealed_ && last && removed.empty() &&
        last->position + last->present == position && last->after == before) {
        last->present += inserted;
        last->after = after;
    } else if (kind == EditKind::Erase && erasing_ && last && inserted == 0 &&
               (position == last->position || position + removed.size() == last->position)) {
        if (position == last->position) {
            last->gone += removed;
        } else {
            last->gone.insert(0, removed);
            last->position = position;
        }
        last->after = after;
    } else {
        steps_.push_back({position, std::move(removed), inserted, before, after});
    }
    sealed_ = kind != EditKind::Typing;
    erasing_ = kind == EditKind::Erase && inserted == 0;
    next_ = steps_.size();
    KeepWithinBudget();
}

void UndoHistory::Clear() {
    steps_.clear();
    next_ = 0;
    held_ = 0;
    sealed_ = true;
    erasing_ = false;
}

EditStep* UndoHistory::Undo() {
    sealed_ = true;
    erasing_ = false;
    return next_ > 0 ? &steps_[--next_] : nullptr;
}

EditStep* UndoHistory::Redo() {
    sealed_ = true;
    erasing_ = false;
    return next_ < steps_.size() ? &steps_[next_++] : nullptr;
}

void UndoHistory::Exchange(EditStep& step, std::u16string leaving) {
    held_ = held_ - step.gone.size() + leaving.size();
    step.present = step.gone.size();
    step.gone = std::move(leaving);
}

void UndoHistory::KeepWithinBudget() {
    while (held_ > budget_ && steps_.size() > 1) {
        held_ -= steps_.front().gone.size();
        steps_.pop_front();
        --next_;
    }
}

}  // namespace quorvel::forms::textedit
