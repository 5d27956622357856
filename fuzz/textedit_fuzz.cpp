// Turns arbitrary bytes into a text and a sequence of edits, moves and clicks on a text-edit core, and
// checks after each that the selection stands at cluster boundaries inside the text and that the rows
// equal a whole layout, and at the end that undoing everything gives the first text back.
#include "../tests/textedit/editor_steps.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteSteps steps(data, size);
    VariedMeasurer varied;
    FixedMeasurer fixed(1 + static_cast<int>(steps.Below(16)));
    Measurer& measurer = steps.Below(2) == 0 ? static_cast<Measurer&>(varied) : fixed;
    Editor editor(measurer);
    const std::u16string first = steps.Text(steps.Below(256));
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
