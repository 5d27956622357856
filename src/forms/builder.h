#pragma once

#include "layout.h"

#include <QFont>
#include <QtMath>

class QWidget;

namespace quorvel::forms {

// Device-independent pixels for a length in twips.
inline int Pixels(int twips) { return qRound(static_cast<double>(twips) / kTwipsPerPixel); }

// The layout's font, falling back to a free sans-serif of similar metrics where the family is missing.
QFont FontFor(const Font& font);

// Builds a top-level window from its layout, not yet shown: each control at its place, named after
// its layout name, in the layout's tab order, with the first control in tab order holding the focus.
// Controls are placed without a layout manager, so resizing the window leaves them where they are.
// The window deletes itself when closed.
QWidget* BuildWindow(const WindowLayout& layout);

}  // namespace quorvel::forms
