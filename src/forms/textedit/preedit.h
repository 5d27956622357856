#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::forms::textedit {

// The text an input method is composing (its pre-edit), shown at the caret until it is committed or
// dropped; it is no part of the field's text. The input method tells the text, its cursor and how its
// pieces are drawn; the view draws the caret's row with the pre-edit inserted at the caret.
class Preedit {
public:
    // How a piece of the pre-edit is drawn: underlined as composing text, or as the piece being
    // converted (the input method's selection).
    enum class Style { Underline, Selected };
    struct Span {
        std::size_t begin = 0;
        std::size_t length = 0;
        Style style = Style::Underline;
        friend bool operator==(const Span&, const Span&) = default;
    };

    bool Active() const { return !text_.empty(); }
    const std::u16string& Text() const { return text_; }
    // Where the input method's cursor stands in the pre-edit, at a cluster boundary.
    std::size_t Cursor() const { return cursor_; }
    // The pieces drawn otherwise than plain, inside the text, in order and not overlapping; with none
    // given the whole pre-edit is underlined.
    const std::vector<Span>& Spans() const { return spans_; }

    // Sets the pre-edit; `cursor` and the spans are kept to the text and to cluster boundaries.
    void Set(std::u16string_view text, std::size_t cursor, std::vector<Span> spans);
    void Clear();

    // A row as drawn while composing: its text with the pre-edit at `caret` (an offset into the row).
    struct ShownRow {
        std::u16string text;
        // Where the pre-edit starts in `text`, and the caret's offset in `text`.
        std::size_t preeditBegin = 0;
        std::size_t caret = 0;
        // The spans, as offsets into `text`.
        std::vector<Span> spans;
    };
    ShownRow Show(std::u16string_view row, std::size_t caret) const;

private:
    std::u16string text_;
    std::size_t cursor_ = 0;
    std::vector<Span> spans_;
};

// What an input method is told of the text around the caret, [begin, end): the caret's paragraph, cut
// at cluster boundaries to at most SurroundingReach units on either side of the caret, so that the
// question, asked after every keystroke, costs as little in a long text as in a short one.
struct Surrounding {
    std::size_t begin = 0;
    std::size_t end = 0;
};
constexpr std::size_t SurroundingReach = 1024;
Surrounding SurroundingOf(std::u16string_view text, std::size_t caret);

}  // namespace quorvel::forms::textedit
