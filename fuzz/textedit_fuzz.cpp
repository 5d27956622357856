// Turns arbitrary bytes into a text and a sequence of edits, moves and clicks on a text-edit core, or
// of a view's events on a whole field (keys, typing, clicks and drags, the wheel, input methods, the
// clipboard, resizes, paints and a screen reader's questions), and checks after each that the
// selection stands at cluster boundaries inside the text and that the rows equal a whole layout, and
// at the end that undoing everything gives the first text back.
#include "../tests/textedit/editor_steps.h"
#include "field.h"
#include "key_map.h"

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

// Every cluster of one advance, as a fixed-pitch font gives them: the rows of a run with no break
// opportunity then hold equal numbers of units, which the row layout follows without reading.
class FixedMeasurer final : public Measurer {
public:
    explicit FixedMeasurer(int advance) : advance_(advance) {}

    void Advances(std::u16string_view piece, std::span<int> advances) override {
        for (std::size_t i = 0; i < piece.size(); ++i)
            advances[i] = IsClusterBoundary(piece, i) ? advance_ : 0;
    }

private:
    int advance_;
};

// The fuzzer's bytes: a byte a choice, two a code unit.
class ByteSteps final : public testing::StepSource {
public:
    ByteSteps(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return at_ >= size_; }
    std::size_t Below(std::size_t bound) override { return (at_ < size_ ? data_[at_++] : 0) % bound; }
    std::u16string Text(std::size_t size) override {
        std::u16string units;
        for (; units.size() < size && at_ + 1 < size_; at_ += 2)
            units += static_cast<char16_t>(data_[at_] | (data_[at_ + 1] << 8));
        return units;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A toolkit that draws shaped rows at 7 units a unit, whose clipboard keeps what is copied and
// refuses every third copy, and whose drag loop, as the steps choose, ends anywhere or drops the text
// back into the field.
class FuzzHost final : public FieldHost {
public:
    int ShapedX(std::u16string_view, std::size_t offset) override { return 7 * static_cast<int>(offset); }
    std::size_t ShapedOffsetAt(std::u16string_view row, int x) override {
        return std::min(row.size(), static_cast<std::size_t>(std::max(0, x) / 7));
    }
    bool CopyToClipboard(std::u16string_view text, bool) override {
        if (++copies_ % 3 == 0)
            return false;
        clipboard_ = text;
        return true;
    }
    std::optional<std::u16string> ClipboardText() override { return clipboard_; }
    bool ClipboardHasText() override { return true; }
    void StartTimer(FieldTimer, int) override {}
    void StopTimer(FieldTimer) override {}
    void Repaint() override {}
    void ScrollBarChanged() override {}
    void TextEdited(const TextChange&) override {}
    void Changed(const FieldChange&) override {}
    DropAction StartDrag(std::u16string_view text, bool) override {
        const std::size_t choice = steps->Below(5);
        if (choice < 3)
            return static_cast<DropAction>(choice);
        const Point at{static_cast<int>(steps->Below(140)) - 20, static_cast<int>(steps->Below(140)) - 20};
        field->DragOver(at);
        return field->Drop(at, text, choice == 3 ? DropAction::Move : DropAction::Copy);
    }

    Field* field = nullptr;
    testing::StepSource* steps = nullptr;

private:
    std::u16string clipboard_;
    int copies_ = 0;
};

// One event of a view, and the field's answers to what a view and a screen reader ask after it.
void TakeFieldStep(Field& field, testing::StepSource& steps) {
    const auto point = [&] {
        return Point{static_cast<int>(steps.Below(140)) - 20, static_cast<int>(steps.Below(140)) - 20};
    };
    const std::size_t end = field.editor().Text().size();
    switch (steps.Below(12)) {
    case 0:
        field.Type(steps.Text(1 + steps.Below(4)));
        break;
    case 1:
        field.Perform(CommandForKey(
            static_cast<Key>(steps.Below(17)),
            {.shift = steps.Below(2) == 0, .control = steps.Below(2) == 0, .alt = steps.Below(4) == 0}));
        break;
    case 2:
        field.Press(point(), 1 + static_cast<int>(steps.Below(2)), {.shift = steps.Below(2) == 0},
                    static_cast<long long>(steps.Below(4)) * 200);
        break;
    case 3:
        field.Drag(point());
        field.Tick(FieldTimer::AutoScroll);
        break;
    case 4:
        field.Release();
        field.Wheel(static_cast<int>(steps.Below(480)) - 240, 1 + steps.Below(4));
        break;
    case 5:
        field.Compose(steps.Text(steps.Below(6)), steps.Below(8),
                      {{steps.Below(4), steps.Below(4), Preedit::Style::Selected}});
        break;
    case 6:
        field.Commit(steps.Below(2) == 0 ? field.TakeComposition() : steps.Text(steps.Below(4)),
                     static_cast<long long>(steps.Below(12)) - 6, steps.Below(6));
        break;
    case 7:
        field.SetGeometry({.width = static_cast<int>(steps.Below(120)),
                           .height = static_cast<int>(steps.Below(120)),
                           .margin = static_cast<int>(steps.Below(4)),
                           .topMargin = 1,
                           .lineHeight = 1 + static_cast<int>(steps.Below(20))});
        break;
    case 8:
        field.Run(static_cast<MenuCommand>(steps.Below(7)));
        break;
    case 9:
        field.DropAt(point(), steps.Text(steps.Below(8)));
        break;
    case 10:
        field.DragOver(point());
        if (steps.Below(2) == 0)
            field.DragLeave();
        break;
    case 11:
        field.Drop(point(), steps.Text(steps.Below(8)), static_cast<DropAction>(steps.Below(3)));
        break;
    }
    if (field.DropCaret())
        field.DropCaretBox();
    // What a view and a screen reader ask; each answer must come without a fault.
    for (const RowPaint& row : field.Paint(0, 120))
        for (const RowPaint::Run& run : row.runs)
            Check(run.begin <= run.end && run.end <= row.advances.size());
    const Box caret = field.CaretBox();
    Check(caret.height >= 1);
    field.CharacterBox(steps.Below(end + 2));
    const auto unit = field.UnitAt(steps.Below(end + 2), static_cast<TextUnit>(steps.Below(5)));
    Check(unit.first <= unit.second && unit.second <= field.editor().Text().size());
    field.PositionAt(point());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteSteps steps(data, size);
    VariedMeasurer varied;
    FixedMeasurer fixed(1 + static_cast<int>(steps.Below(16)));
    Measurer& measurer = steps.Below(2) == 0 ? static_cast<Measurer&>(varied) : fixed;
    const std::u16string first = steps.Text(steps.Below(256));
    if (steps.Below(2) == 0) {
        Editor editor(measurer);
        editor.SetText(first);
        editor.SetWidth(static_cast<int>(steps.Below(64)));
        while (!steps.AtEnd()) {
            testing::TakeStep(editor, steps);
            Check(testing::SelectionIsSound(editor));
            Check(testing::RowsAreAWholeLayout(editor, measurer));
        }
        while (editor.Undo()) {
        }
        Check(editor.Text() == first);
        return 0;
    }
    FuzzHost host;
    Field field(measurer, host);
    host.field = &field;
    host.steps = &steps;
    field.SetTripleClick(static_cast<TextUnit>(steps.Below(5)), 400, {4, 4, steps.Below(2) == 0});
    field.SetText(first);
    field.FocusIn();
    while (!steps.AtEnd()) {
        TakeFieldStep(field, steps);
        Check(testing::SelectionIsSound(field.editor()));
        Check(testing::RowsAreAWholeLayout(field.editor(), measurer));
    }
    field.Commit({});
    while (field.editor().CanUndo())
        field.Run(MenuCommand::Undo);
    Check(field.editor().Text() == first);
    return 0;
}
