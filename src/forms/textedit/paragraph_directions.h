#pragma once

#include "bidi.h"
#include "editor.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace quorvel::forms::textedit {

// The base directions of the paragraphs a field shows (paragraphs as the bidirectional algorithm bounds
// them), each found from its paragraph's start and kept while edits leave it standing: a row at the end
// of megabytes without a line break is not read back to its paragraph's start at every keystroke.
class ParagraphDirections {
public:
    // The direction of the paragraph of `text` that holds `position`.
    TextDirection At(std::u16string_view text, std::size_t position);
    // After every edit: `change` as the editor tells it, `text` the text after it.
    void Edited(std::u16string_view text, const TextChange& change);

private:
    // [start, end) up to its separator (or the text's end), and where its direction was decided.
    struct Paragraph {
        std::size_t start = 0, end = 0;
        BaseDirection base;
    };
    // Whether `paragraph` stands after `change`, moved as the edit moved it.
    static bool Survives(Paragraph& paragraph, std::u16string_view text, const TextChange& change);

    // The last few asked for, the latest first.
    std::vector<Paragraph> known_;
};

}  // namespace quorvel::forms::textedit
