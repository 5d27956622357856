#include "tab_order.h"

#include <algorithm>

namespace quorvel::forms {

std::vector<const ControlLayout*> InTabOrder(const WindowLayout& layout) {
    std::vector<const ControlLayout*> controls;
    controls.reserve(layout.controls.size());
    for (const ControlLayout& control : layout.controls)
        controls.push_back(&control);
    std::ranges::stable_sort(controls, {}, &ControlLayout::tabIndex);
    return controls;
}

const ControlLayout* FirstFocus(const WindowLayout& layout) {
    for (const ControlLayout* control : InTabOrder(layout))
        if (TakesFocus(control->kind))
            return control;
    return nullptr;
}

}  // namespace quorvel::forms
