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
// `size` bytes of `data` followed by `terminator` zero bytes in movable global memory, as the clipboard
// and OLE's data transfer take them; null when there is no memory.
HGLOBAL GlobalCopy(const void* data, std::size_t size, std::size_t terminator = 0);
// Puts `size` bytes of `data` in `format` on the open clipboard, followed by `terminator` zero bytes.
bool PutClipboardData(UINT format, const void* data, std::size_t size, std::size_t terminator = 0);

// The formats that keep text out of the clipboard history of Windows and its cloud sync, each given as
// the DWORD kHistoryExclusionValue besides the text: on a copy of the plain message, and on its drag.
inline constexpr const wchar_t* kHistoryExclusionFormats[] = {L"ExcludeClipboardContentFromMonitorProcessing",
                                                              L"CanIncludeInClipboardHistory",
                                                              L"CanUploadToCloudClipboard"};
inline constexpr DWORD kHistoryExclusionValue = 0;

// The clipboard's plain text, up to its terminator; nothing when it holds no text or cannot be opened.
std::optional<std::u16string> ClipboardText(HWND owner);

}  // namespace quorvel::forms::win32
