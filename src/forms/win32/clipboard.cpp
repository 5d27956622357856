#include "platform.h"
#include "text_clipboard.h"

namespace quorvel::forms {
namespace {

using win32::PutClipboardData;

// Another program may hold the clipboard open for a moment: tried ten times, 100 ms apart, before the
// copy is reported as failed.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenPauseMs = 100;

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

    std::optional<std::u16string> text() const override { return win32::ClipboardText(owner_); }
    bool hasText() const override { return IsClipboardFormatAvailable(CF_UNICODETEXT); }

protected:
    void place(std::u16string_view text, Content content) override {
        placed_ = false;
        if (!Open())
            return;
        EmptyClipboard();
        bool placed =
            PutClipboardData(CF_UNICODETEXT, text.data(), text.size() * sizeof(char16_t), sizeof(char16_t));
        if (content == Content::Sensitive)
            for (const wchar_t* format : win32::kHistoryExclusionFormats)
                placed = placed &&
                         PutClipboardData(RegisterClipboardFormatW(format), &win32::kHistoryExclusionValue,
                                          sizeof win32::kHistoryExclusionValue);
        placed_ = CloseClipboard() && placed;
    }

    bool holdsPlaced() const override { return placed_; }

private:
    bool Open() const { return win32::OpenClipboardFor(owner_, kOpenAttempts, kOpenPauseMs); }

    HWND owner_ = nullptr;
    bool placed_ = false;
};

}  // namespace

namespace platform {

std::unique_ptr<Clipboard> SystemClipboard() { return std::make_unique<Win32Clipboard>(); }

}  // namespace platform
}  // namespace quorvel::forms
