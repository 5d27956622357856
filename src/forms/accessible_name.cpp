#include "accessible_name.h"

namespace quorvel::forms {

std::string_view AccessibleName(const ControlLayout& control) {
    if (!control.accessibleName.empty())
        return control.accessibleName;
    return control.kind == ControlKind::PictureBox ? control.name : control.text;
}

}  // namespace quorvel::forms
