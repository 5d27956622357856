#pragma once

#include "field.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <ole2.h>

#include <string>
#include <string_view>

namespace quorvel::forms::win32 {

// OLE drag and drop of a text field's text: a drag out of the field, and drops into it from anywhere.

// The text as OLE's data transfer carries it: CF_UNICODETEXT, and when `sensitive` the formats that
// keep a copy of it out of clipboard history, as a copy of it carries them. The caller owns the
// reference.
IDataObject* TextDataObject(std::u16string_view text, bool sensitive);

// Drags `text` with the mouse's left button until it is dropped or given up (DoDragDrop), offered to
// be copied or moved; what the target did with it.
textedit::DropAction DragText(std::u16string_view text, bool sensitive);

// What a field does with text dragged over it, in screen coordinates.
class DropReceiver {
public:
    virtual void DragOverAt(POINT screen) = 0;
    virtual void DragLeft() = 0;
    virtual textedit::DropAction DroppedAt(POINT screen, std::u16string_view text,
                                           textedit::DropAction proposed) = 0;

protected:
    ~DropReceiver() = default;
};

// Makes `window` a target of OLE drops of text, passed on to the receiver that `receiver` finds for
// the window at each call (none once the window is going); false where OLE is not initialised on the
// thread. RevokeDragDrop ends it, before the window is destroyed.
bool AcceptTextDrops(HWND window, DropReceiver* (*receiver)(HWND));

}  // namespace quorvel::forms::win32
