#pragma once

#include "layout.h"

#include <string_view>

namespace quorvel::forms {

// What a screen reader calls a control: the name its layout gives it for that, else, for a picture,
// its layout name, and for every other control its caption or initial text.
std::string_view AccessibleName(const ControlLayout& control);

}  // namespace quorvel::forms
