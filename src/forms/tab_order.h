#pragma once

#include "layout.h"

#include <vector>

namespace quorvel::forms {

// Whether a control of this kind takes the keyboard focus: buttons and text fields do, labels and
// pictures never.
constexpr bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::TextField;
}

// The layout's controls by ascending tab index; controls of equal index keep the table's order.
std::vector<const ControlLayout*> InTabOrder(const WindowLayout& layout);

// The control that holds the focus when the window opens: the first in tab order that takes it, or
// nullptr when none does.
const ControlLayout* FirstFocus(const WindowLayout& layout);

}  // namespace quorvel::forms
