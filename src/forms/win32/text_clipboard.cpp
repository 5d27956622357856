#include "text_clipboard.h"

#include <algorithm>
#include <cstring>

namespace quorvel::forms::win32 {
namespace {

// A paste into a text field waits at most a tenth of a second for the clipboard, as a user types on;
// the field has no failure to report, and the user can press the key again.
constexpr int kFieldAttempts = 5;
constexpr DWORD kFieldPauseMs = 20;

}  // namespace

bool OpenClipboardFor(HWND owner, int attempts, DWORD pauseMs) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0)
            Sleep(pauseMs);
        if (OpenClipboard(owner))
            return true;
    }
    return false;
}

HGLOBAL GlobalCopy(const void* data, std::size_t size, std::size_t terminator) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + terminator);
    if (!memory)
        return nullptr;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, data, size);
    GlobalUnlock(memory);
    return memory;
}

bool PutClipboardData(UINT format, const void* data, std::size_t size, std::size_t terminator) {
    HGLOBAL memory = GlobalCopy(data, size, terminator);
    if (!memory)
        return false;
    if (SetClipboardData(format, memory))
        return true;
    GlobalFree(memory);
    return false;
}

std::optional<std::u16string> ClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) ||
        !OpenClipboardFor(owner, kFieldAttempts, kFieldPauseMs))
        return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
            // Read no further than the memory goes, should another program have left out the terminator.
            const std::size_t room = GlobalSize(data) / sizeof(char16_t);
            text.emplace(units, std::find(units, units + room, u'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace quorvel::forms::win32
