#pragma once

#include "layout.h"

#include <QFont>
#include <QtMath>

class QWidget;

namespace quorvel::forms::qt {

// Device-independent pixels for a length in twips.
inline int Pixels(int twips) { return qRound(static_cast<double>(twips) / kTwipsPerPixel); }

// The layout's font, falling back to a free sans-serif of similar metrics where the family is missing.
QFont FontFor(const Font& font);

// Makes a top-level widget the window of its layout, not yet shown: each control at its place, named
// after its layout name, in the layout's tab order, with the first control in tab order holding the
// focus. Controls are placed without a layout manager, so resizing the window leaves them where they
// are.
void BuildWidgets(QWidget* window, const WindowLayout& layout);

}  // namespace quorvel::forms::qt
