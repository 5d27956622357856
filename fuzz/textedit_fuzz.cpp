// Turns arbitrary bytes into a text and a sequence of edits, moves and clicks on a text-edit core, and
// checks after each that the selection stands at cluster boundaries inside the text, and at the end
// that the rows equal a whole layout and that undoing everything gives the first text back.
#include "editor.h"
#include "units.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

namespace {

using namespace quorvel::forms::textedit;

// Widths that vary from unit to unit, zero included.
class VariedMeasurer final : public Measurer {
public:
    void Advances(std::u16string_view piece, std::span<int> advances) override {
        for (std::size_t i = 0; i < piece.size(); ++i)
            advances[i] = IsClusterBoundary(piece, i) ? piece[i] % 11 : 0;
    }
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::u16string Units(std::size_t count) {
        std::u16string units;
        for (std::size_t k = 0; k < count && at_ + 1 < size_; ++k, at_ += 2)
            units += static_cast<char16_t>(data_[at_] | (data_[at_ + 1] << 8));
        return units;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    VariedMeasurer measurer;
    Editor editor(measurer);
    const std::u16string first = input.Units(input.Byte());
    editor.SetText(first);
    editor.SetWidth(input.Byte() % 64);
    editor.SetPageRows(input.Byte() % 8);
    while (!input.AtEnd()) {
        const std::uint8_t op = input.Byte();
        const std::size_t end = editor.Text().size();
        switch (op % 12) {
        case 0:
            editor.ReplaceSelection(input.Units(op / 12 % 6 + 1), EditKind::Typing);
            break;
        case 1:
            editor.ReplaceSelection(input.Units(op / 12), EditKind::Paste);
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
            editor.Move(static_cast<Motion>(op / 12 % 12), op >= 144);
            break;
        case 6:
            editor.Select(input.Byte() % (end + 2), input.Byte() % (end + 2));
            break;
        case 7:
            editor.MoveToPoint(input.Byte(), input.Byte() - 16, op >= 128);
            break;
        case 8:
            editor.SelectWordAt(input.Byte() % (end + 2));
            break;
        case 9:
            editor.Undo();
            break;
        case 10:
            editor.Redo();
            break;
        case 11:
            editor.SetWidth(op / 12);
            break;
        }
        const std::u16string& text = editor.Text();
        Check(editor.selection().end() <= text.size());
        Check(IsClusterBoundary(text, editor.selection().anchor) &&
              IsClusterBoundary(text, editor.selection().caret));
        Check(editor.CaretRow() < editor.rows().RowCount());
    }
    RowLayout whole;
    whole.Layout(editor.Text(), editor.rows().Width(), measurer);
    Check(whole.RowCount() == editor.rows().RowCount());
    for (std::size_t row = 0; row < whole.RowCount(); ++row)
        Check(whole.RowStart(row) == editor.rows().RowStart(row) &&
              whole.RowEnd(row) == editor.rows().RowEnd(row));
    while (editor.Undo()) {
    }
    Check(editor.Text() == first);
    return 0;
}
