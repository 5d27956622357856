#pragma once

#include "layout.h"

#include <QFont>

class QWidget;

namespace quorvel::forms::qt {

// The layout's font, falling back to a free sans-serif of similar metrics where the family is missing.
QFont FontFor(const Font& font);

// Makes a top-level widget the window of its layout, not yet shown: each control at its place, named
// after its layout name, in the layout's tab order, with the first control in tab order holding the
// focus. Controls are placed without a layout manager, so resizing the window leaves them where they
// are.
void BuildWidgets(QWidget* window, const WindowLayout& layout);

}  // namespace quorvel::forms::qt
