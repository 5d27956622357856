#pragma once

#include "editor.h"
#include "row_layout.h"
#include "units.h"

#include <cstddef>
#include <string>

namespace quorvel::forms::textedit::testing {

// Where random use of an editor takes its choices from: a random engine, or a fuzzer's bytes.
class StepSource {
public:
    virtual ~StepSource() = default;
    // A number below `bound` (at least 1).
    virtual std::size_t Below(std::size_t bound) = 0;
    // Some text to insert, of about `size` units.
    virtual std::u16string Text(std::size_t size) = 0;
};

// One step of use, as a person and a program drive a text field: typing or pasting, deleting, a caret
// move, a selection, a click or drag, a double-click, undo, redo, or a new width.
inline void TakeStep(Editor& editor, StepSource& source) {
    const std::size_t end = editor.Text().size();
    const auto coin = [&source] { return source.Below(2) == 0; };
    switch (source.Below(12)) {
    case 0:
        editor.ReplaceSelection(source.Text(1 + source.Below(4)), EditKind::Typing);
        break;
    case 1:
        editor.ReplaceSelection(source.Text(source.Below(40)), EditKind::Paste);
        break;
    case 2:
        editor.Backspace();
        break;
    case 3:
        editor.Delete();
        break;
    case 4:
        editor.DeleteWordBackward();
        break;
    case 5:
        editor.Move(static_cast<Motion>(source.Below(12)), coin(), source.Below(8));
        break;
    case 6:
        editor.Select(source.Below(end + 3), source.Below(end + 3));
        break;
    case 7:
        editor.MoveToPoint(source.Below(editor.rows().RowCount() + 2),
                           static_cast<int>(source.Below(100)) - 10, coin());
        break;
    case 8:
        editor.SelectWordAt(source.Below(end + 2));
        break;
    case 9:
        editor.Undo();
        break;
    case 10:
        editor.Redo();
        break;
    case 11:
        if (source.Below(8) == 0)
            editor.SetWidth(static_cast<int>(source.Below(100)));
        break;
    }
}

// Whether the selection stands at cluster boundaries inside the text, and the caret in a row.
inline bool SelectionIsSound(const Editor& editor) {
    const std::u16string& text = editor.Text();
    const Selection& selection = editor.selection();
    return selection.end() <= text.size() && IsClusterBoundary(text, selection.anchor) &&
           IsClusterBoundary(text, selection.caret) && editor.CaretRow() < editor.rows().RowCount();
}

// Whether the editor's rows, kept in step with every edit, are those of a whole layout of its text.
inline bool RowsAreAWholeLayout(const Editor& editor, Measurer& measurer) {
    RowLayout whole;
    whole.Layout(editor.Text(), editor.rows().Width(), measurer);
    if (whole.RowCount() != editor.rows().RowCount())
        return false;
    for (std::size_t row = 0; row < whole.RowCount(); ++row)
        if (whole.RowStart(row) != editor.rows().RowStart(row) ||
            whole.RowEnd(row) != editor.rows().RowEnd(row))
            return false;
    return true;
}

}  // namespace quorvel::forms::textedit::testing
