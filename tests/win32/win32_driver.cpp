// Drives the windows of the Win32 backend through window messages to the real controls, handed
// through the program's own dispatch as its message loop hands them.
#include "clipboard.h"
#include "driver.h"
#include "win32_platform.h"
#include "win32_window.h"

#include <gtest/gtest.h>

namespace quorvel::testing::drive {
namespace {

using forms::win32::Win32Window;

Win32Window& Native(forms::Form& form) { return *dynamic_cast<Win32Window*>(form.window()); }

// Hands every waiting message to the windows; a request to end the program stays for the loop.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        forms::win32::Dispatch(message);
    }
}

void PostKey(HWND to, UINT key) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(to, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageW(to, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
}

}  // namespace

void Opened(forms::Form& form) {
    HWND window = Native(form).handle();
    for (int wait = 0; wait < 200 && GetActiveWindow() != window; ++wait) {
        Pump();
        Sleep(10);
    }
    Pump();
    ASSERT_TRUE(IsWindowVisible(window));
}

void Click(forms::Form& form, std::string_view control) {
    HWND target = Native(form).Control(control);
    ASSERT_NE(target, nullptr) << control;
    const LPARAM at = MAKELPARAM(5, 5);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target, WM_LBUTTONUP, 0, at);
    Pump();
}

void Press(forms::Form&, Key key) {
    static constexpr UINT kKeys[] = {VK_TAB, VK_TAB, VK_SPACE, VK_RETURN};
    // The dialog manager reads Shift from the thread's keyboard state.
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = key == Key::ShiftTab ? 0x80 : 0;
    SetKeyboardState(state);
    PostKey(GetFocus(), kKeys[static_cast<int>(key)]);
    Pump();
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

void Type(forms::Form&, std::string_view text) {
    for (const char character : text)
        PostMessageW(GetFocus(), WM_CHAR, static_cast<unsigned char>(character), 1);
    Pump();
}

void Paste(forms::Form&, std::u16string_view text) {
    // The clipboard the fields read, which a test may have replaced.
    forms::TheClipboard().putText(text, forms::Clipboard::Content::Ordinary);
    // The field reads Ctrl from the thread's keyboard state.
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    PostKey(GetFocus(), 'V');
    Pump();
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
}

std::string Focused(forms::Form& form) {
    HWND focus = GetFocus();
    for (const forms::ControlLayout& control : Native(form).layout().controls)
        if (focus && Native(form).Control(control.name) == focus)
            return std::string(control.name);
    return {};
}

void Close(forms::Form& form) {
    SendMessageW(Native(form).handle(), WM_CLOSE, 0, 0);
    Pump();
}

int OpenWindows(std::string_view name) {
    struct Count {
        std::string_view name;
        int open = 0;
    } count{name};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* count = reinterpret_cast<Count*>(data);
            const Win32Window* open = forms::win32::ProgramWindow(window);
            count->open += IsWindowVisible(window) && open && open->layout().name == count->name;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.open;
}

int RunProgram(const std::function<void()>& first) {
    static const std::function<void()>* pending = nullptr;
    pending = &first;
    SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        (*std::exchange(pending, nullptr))();
    });
    return forms::win32::RunMessageLoop();
}

bool Busy() { return GetCursor() == LoadCursorW(nullptr, IDC_WAIT); }

}  // namespace quorvel::testing::drive
