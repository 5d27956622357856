#include "text_clipboard.h"

#include <algorithm>
#include <cstring>

namespace quorvel::forms::win32 {
namespace {

bool Open(HWND owner) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(20);
    }
    return false;
}

}  // namespace

bool PutClipboardText(HWND owner, std::u16string_view text) {
    if (!Open(owner))
        return false;
    EmptyClipboard();
    bool placed = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(char16_t))) {
        std::memcpy(GlobalLock(memory), text.data(), text.size() * sizeof(char16_t));
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!placed)
            GlobalFree(memory);
    }
    return CloseClipboard() && placed;
}

std::optional<std::u16string> ClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !Open(owner))
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
