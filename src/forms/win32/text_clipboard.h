#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::forms::win32 {

// The clipboard as a text field's Cut, Copy and Paste use it: plain Unicode text only. Another program
// may hold the clipboard open for a moment, so opening is tried a few times.

// Replaces the clipboard's content with `text`; false when the clipboard could not be opened or written.
bool PutClipboardText(HWND owner, std::u16string_view text);
// The clipboard's plain text, up to its terminator; nothing when it holds no text or cannot be opened.
std::optional<std::u16string> ClipboardText(HWND owner);

}  // namespace quorvel::forms::win32
