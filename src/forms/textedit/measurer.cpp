#include "measurer.h"

#include "cluster_measure.h"

namespace quorvel::forms::textedit {

bool Measurer::NeedsShaping(std::u16string_view text, std::size_t begin, std::size_t end) {
    return textedit::NeedsShaping(text, begin, end);
}

}  // namespace quorvel::forms::textedit
