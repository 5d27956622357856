#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quorvel::forms::win32 {

// Active Accessibility for a text field of the program's own, the answer to WM_GETOBJECT with
// OBJID_CLIENT: the system's standard object for the window, with the field's accessible name as its
// name, its text as its value and the role of editable text, for screen readers that do not speak UI
// Automation. Oleacc is loaded at run time; without it the answer is 0, and the field passes the message
// on to DefWindowProc.
LRESULT AnswerAccessibleObject(HWND field, WPARAM wParam);

}  // namespace quorvel::forms::win32
