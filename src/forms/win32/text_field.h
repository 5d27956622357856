#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace quorvel::forms::win32 {

// The notification code of the WM_COMMAND that a text field sends its parent on every left click in
// it, with its id and handle as a button's click carries them.
inline constexpr WORD kTextFieldClicked = 0x8000;

// Creates a multi-line text field of the program's own as the child `id` of `parent`, holding `text`,
// which a screen reader calls `accessibleName` and UI Automation finds by `automationId`. It wraps its
// lines, has no length limit, makes a line break on Enter, leaves Tab and Shift+Tab to move between the
// window's controls, and reports every left click to its parent (kTextFieldClicked).
HWND CreateTextField(HWND parent, int id, std::u16string_view text, std::u16string_view accessibleName,
                     std::u16string_view automationId);

// A text field's text, code unit for code unit as the field holds it, NUL included; the view holds
// until the text changes.
std::u16string_view FieldText(HWND field);
void SetFieldText(HWND field, std::u16string text);
// Whether the field holds exactly `text`; cheap however long the field is.
bool FieldHolds(HWND field, std::u16string_view text);
// Whether every copy from the field, by key or menu, is kept out of clipboard history.
void SetFieldContent(HWND field, bool sensitive);

}  // namespace quorvel::forms::win32
