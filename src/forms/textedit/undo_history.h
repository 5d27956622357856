#pragma once

#include "selection.h"

#include <cstddef>
#include <deque>
#include <string>

namespace quorvel::forms::textedit {

// What made an edit. Typing coalesces into one undo step, and so do erasures (Backspace or Delete with
// nothing selected) that go on where the last one was; every other kind is a step of its own.
enum class EditKind { Typing, Erase, Paste, Cut, Delete, Other };

// One undoable edit at `position`. A step holds only the text that is not in the document, so that a
// long paste is not held twice: while the edit is done, `gone` is the text it removed and its inserted
// units stand in the document at [position, position + present); once undone, `gone` is the inserted
// text and the removed units stand there. The selections are those before and after the edit.
struct EditStep {
    std::size_t position = 0;
    std::u16string gone;
    std::size_t present = 0;
    Selection before;
    Selection after;
};

// The edits that can be undone and redone. Typing joins
// the step before it while it continues where that step ended and nothing sealed it (a caret move, an
// undo, an edit of another kind). An erasure joins the erasures before it when it ends where they
// began (Backspace) or begins there (Delete), until an undo or an edit of another kind, as Qt's
// documents and Windows' EDIT join them; a caret move in between does not part them, in either. A new edit
// after undoing drops what could be redone. When the texts held exceed the budget, the oldest steps go (the
// newest always stays).
class UndoHistory {
public:
    static constexpr std::size_t DefaultBudget = std::size_t{16} << 20;  // code units

    explicit UndoHistory(std::size_t budget = DefaultBudget) : budget_(budget) {}

    // Records an edit that has been made: at `position`, `removed` became `inserted` units.
    void Record(std::size_t position, std::u16string removed, std::size_t inserted, Selection before,
                Selection after, EditKind kind);
    // Ends the current typing step: the next typing starts a step of its own.
    void Seal() { sealed_ = true; }
    // Forgets every step.
    void Clear();

    bool CanUndo() const { return next_ > 0; }
    bool CanRedo() const { return next_ < steps_.size(); }
    // The step to revert, or null. The caller puts `gone` in place of the `present` units and hands the
    // units it took out to Exchange.
    EditStep* Undo();
    // The step to make again, or null; the caller does as after Undo.
    EditStep* Redo();
    // `step`, just undone or redone, now holds `leaving`, the units its revisit took out of the document.
    void Exchange(EditStep& step, std::u16string leaving);

    // How many steps are held.
    std::size_t StepCount() const { return steps_.size(); }

private:
    void KeepWithinBudget();

    std::deque<EditStep> steps_;
    // Steps before this index are done; from it on they are undone.
    std::size_t next_ = 0;
    std::size_t budget_;
    std::size_t held_ = 0;
    bool sealed_ = true;
    // The last step is a run of erasures that the next may join.
    bool erasing_ = false;
};

}  // namespace quorvel::forms::textedit
