#include "platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>

namespace quorvel::forms {
namespace {

// The clipboard of Windows, opened for a hidden window of the program's own: a clipboard emptied
// without an owner refuses what is put on it afterwards.
class Win32Clipboard : public Clipboard {
public:
    Win32Clipboard() {
        owner_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }
    ~Win32Clipboard() override { DestroyWindow(owner_); }
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    void clear() override {
        if (!Open())
            throw ClipboardRefused();
        EmptyClipboard();
        CloseClipboard();
    }

protected:
    void place(std::u16string_view text, Content content) override {
        placed_ = false;
        if (!Open())
            return;
        EmptyClipboard();
        bool placed = Put(CF_UNICODETEXT, text.data(), text.size() * sizeof(char16_t), sizeof(char16_t));
        if (placed && content == Content::Sensitive) {
            // Kept out of the clipboard history of Windows and its cloud sync.
            const DWORD no = 0;
            placed = Put(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing"), &no,
                         sizeof no) &&
                     Put(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory"), &no, sizeof no) &&
                     Put(RegisterClipboardFormatW(L"CanUploadToCloudClipboard"), &no, sizeof no);
        }
        placed_ = CloseClipboard() && placed;
    }

    bool holdsPlaced() const override { return placed_; }

private:
    // Another program may hold the clipboard open for a moment: tried ten times, 100 ms apart.
    bool Open() const {
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (OpenClipboard(owner_))
                return true;
            Sleep(100);
        }
        return false;
    }

    // Puts `size` bytes of data on the clipboard, followed by `terminator` zero bytes.
    static bool Put(UINT format, const void* data, std::size_t size, std::size_t terminator = 0) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + terminator);
        if (!memory)
            return false;
        std::memcpy(GlobalLock(memory), data, size);
        GlobalUnlock(memory);
        if (SetClipboardData(format, memory))
            return true;
        GlobalFree(memory);
        return false;
    }

    HWND owner_ = nullptr;
    bool placed_ = false;
};

}  // namespace

namespace platform {

std::unique_ptr<Clipboard> SystemClipboard() { return std::make_unique<Win32Clipboard>(); }

}  // namespace platform
}  // namespace quorvel::forms
