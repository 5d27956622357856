#pragma once

#include "measurer.h"
#include "row_layout.h"
#include "selection.h"
#include "undo_history.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace quorvel::forms::textedit {

// Caret moves; with `extend` they move the caret and keep the anchor.
enum class Motion {
    Left,           // one cluster back (collapses a selection to its begin)
    Right,          // one cluster on (collapses a selection to its end)
    WordLeft,       // Ctrl+Left
    WordRight,      // Ctrl+Right
    LineStart,      // Home: the row's start
    LineEnd,        // End: the row's end
    DocumentStart,  // Ctrl+Home
    DocumentEnd,    // Ctrl+End
    Up,             // one row up, at the desired x
    Down,           // one row down, at the desired x
    PageUp,         // a page of rows up, at the desired x
    PageDown,       // a page of rows down, at the desired x
};

// What an edit changed: at `position`, `removed` units became `inserted` units. `removedText` holds the
// units that went, for as long as the notice is being handled.
struct TextChange {
    std::size_t position = 0;
    std::size_t removed = 0;
    std::size_t inserted = 0;
    std::u16string_view removedText;
};

// Where a view draws the caret in a row and which position of a row an x is nearest, for a view whose
// rows are not drawn in the text's order (right-to-left runs). x is from the row's left edge, as drawn.
class DrawnRows {
public:
    virtual ~DrawnRows() = default;
    // The x of the caret at `position` in `row`, at the row's end with `atEndOfRow`.
    virtual int CaretX(std::size_t row, std::size_t position, bool atEndOfRow) = 0;
    // The position in `row` nearest to `x`.
    virtual std::size_t PositionAtX(std::size_t row, int x) = 0;
};

// The model a text field's view drives: the text, the selection, the undo history and the rows at the
// view's width, kept in step with every edit. Positions are code-unit offsets; the caret and the
// selection's ends always stand at cluster boundaries. The view paints from rows(), selection(),
// CaretRow() and XOf(), and turns input into the calls below.
class Editor {
public:
    // `measurer` must outlive the editor; the rows are laid out at no width (a row per paragraph) until
    // SetWidth.
    explicit Editor(Measurer& measurer);

    const std::u16string& Text() const { return text_; }
    // Replaces the whole text; the caret goes to 0 and the undo history is cleared.
    void SetText(std::u16string text);

    const Selection& selection() const { return selection_; }
    // Whether the caret stands at the end of a wrapped row rather than at the start of the next.
    bool CaretAtRowEnd() const { return caretAtRowEnd_; }
    // Selects from `anchor` to `caret`, clamped to the text and widened to cluster boundaries.
    void Select(std::size_t anchor, std::size_t caret);
    void SelectAll();
    std::u16string SelectedText() const;

    // Replaces the selection with `text` (typing, paste, IME result, ...); the caret goes after it.
    void ReplaceSelection(std::u16string_view text, EditKind kind);
    // An input method's result: replaces the selection and the `length` units from `from` units after
    // the caret (before it when negative, counted in the text without the selection), kept to the text
    // and widened to whole code points; the caret goes after the result. One undo step.
    void ReplaceNearCaret(long long from, std::size_t length, std::u16string_view text);
    // Moves [begin, end) to `to`, outside it, as one undo step; the caret goes after the moved text.
    void MoveText(std::size_t begin, std::size_t end, std::size_t to);
    // Deletes the selection, or else the code point before the caret (a surrogate pair or CR LF whole).
    void Backspace();
    // Deletes the selection, or else the cluster after the caret (CR LF whole).
    void Delete();
    // Ctrl+Backspace: deletes the selection, or else back to the previous word start.
    void DeleteWordBackward();
    // Ctrl+Delete: deletes the selection, or else on to the next word start.
    void DeleteWordForward();

    // Page Up and Page Down move `pageRows` rows (at least 1): as many as the view shows.
    void Move(Motion motion, bool extend, std::size_t pageRows = 1);
    // A click at `x` in `row` places the caret there; with `extend` (Shift+click, drag) it selects.
    void MoveToPoint(std::size_t row, int x, bool extend);
    // Places the caret at `position` in `row`, as a click there does: at the row's end it stays on this
    // row, even where the next row starts at the same position.
    void PlaceInRow(std::size_t row, std::size_t position, bool extend);
    // Double-click: selects the word (or run of spaces or punctuation) at `position`.
    void SelectWordAt(std::size_t position);
    // The word at `position`, as [begin, end).
    std::pair<std::size_t, std::size_t> WordAt(std::size_t position) const;

    bool Undo();
    bool Redo();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }

    // Wraps the rows at `width` device pixels (0 or less: no wrapping).
    void SetWidth(int width);
    // Lays the rows out again after the measurer's advances changed (a font or DPI change).
    void Relayout();
    // Up, Down, Page Up and Page Down keep to the x the caret is drawn at, as `drawn` (which must outlive
    // the editor, or be set to nullptr first) tells it; without it, rows are drawn in the text's order.
    void SetDrawnRows(DrawnRows* drawn) { drawn_ = drawn; }
    const RowLayout& rows() const { return rows_; }
    // The row the caret is in.
    std::size_t CaretRow() const { return rows_.RowOf(selection_.caret, caretAtRowEnd_); }
    // The x of `position` from the start of its row (the row before when `atEndOfRow`), in logical order.
    int XOf(std::size_t position, bool atEndOfRow = false) const;
    // The cluster boundary in `row` nearest to `x`.
    std::size_t PositionAt(std::size_t row, int x) const;

    // Called after every change of the text and its rows, SetText included (as all of the old text
    // becoming all of the new), before the selection is placed after it.
    void SetChangeListener(std::function<void(const TextChange&)> listener) {
        listener_ = std::move(listener);
    }

private:
    // Replaces [from, to) with `text`; the caret goes `caret` units into it (its end by default).
    void Replace(std::size_t from, std::size_t to, std::u16string_view text, EditKind kind,
                 std::size_t caret = std::u16string_view::npos);
    // Replaces `removed`, a copy of the units at `position` that the caller keeps for the undo history,
    // with `inserted`; the notice reads the removed units from that copy.
    void Apply(std::size_t position, std::u16string_view removed, std::u16string_view inserted);
    // Undoes or redoes `step`, if there is one.
    bool Revisit(EditStep* step, bool undo);
    void PlaceCaret(std::size_t anchor, std::size_t caret, bool atRowEnd);
    void MoveVertically(std::size_t rowCount, bool down, bool extend);

    Measurer& measurer_;
    std::u16string text_;
    Selection selection_;
    bool caretAtRowEnd_ = false;
    // The x that Up, Down, Page Up and Page Down aim for, as drawn, kept across them; negative when not set.
    int desiredX_ = -1;
    DrawnRows* drawn_ = nullptr;
    RowLayout rows_;
    UndoHistory history_;
    std::function<void(const TextChange&)> listener_;
};

}  // namespace quorvel::forms::textedit
