#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::forms::win32 {

// The clipboard of Windows as the program's clipboard (clipboard.cpp) uses it.

// Opens the clipboard for `owner`. Another program may hold it open for a moment, so opening is tried
// `attempts` times, `pauseMs` apart.
bool OpenClipboardFor(HWND owner, int attempts, DWORD pauseMs);
// Puts `size` bytes of `data` in `format` on the open clipboard, followed by `terminator` zero bytes.
bool PutClipboardData(UINT format, const void* data, std::size_t size, std::size_t terminator = 0);

// The clipboard's plain text, up to its terminator; nothing when it holds no text or cannot be opened.
std::optional<std::u16string> ClipboardText(HWND owner);

}  // namespace quorvel::forms::win32
