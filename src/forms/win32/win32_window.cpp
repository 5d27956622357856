#include "win32_window.h"

#include "picture_box.h"
#include "tab_order.h"
#include "text_field.h"
#include "win32_platform.h"

#include <cwchar>
#include <stdexcept>
#include <utility>

namespace quorvel::forms {

Window* BuildWindow(const WindowLayout& layout, std::function<void()> closed) {
    return new win32::Win32Window(layout, std::move(closed));
}

namespace win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuorvelWindow";

}  // namespace

Win32Window::Win32Window(const WindowLayout& layout, std::function<void()> closed)
    : layout_(layout), closed_(std::move(closed)) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
    window_ = CreateTopLevel(layout, kClassName);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    WindowOpened();
    controls_ = CreateControls(window_, layout);
    if (const ControlLayout* first = FirstFocus(layout))
        lastFocus_ = Control(first->name);
    Place(GetDpiForWindow(window_));
}

Win32Window::~Win32Window() {
    closed_ = nullptr;
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        WindowClosed();
    }
    for (const BuiltControl& control : controls_)
        FreePicture(control.picture);
    for (HFONT font : fonts_)
        DeleteObject(font);
}

// Puts the controls at their places and gives them their fonts, at the window's DPI; the pictures
// are drawn again for it.
void Win32Window::Place(UINT dpi) {
    dpi_ = dpi;
    std::vector<HFONT> old = std::exchange(fonts_, PlaceControls(controls_, layout_, dpi));
    for (HFONT font : old)
        DeleteObject(font);
    for (const BuiltControl& control : controls_)
        if (control.picture.single)
            InvalidateRect(control.handle, nullptr, FALSE);
}

void Win32Window::Raise() {
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
    if (lastFocus_)
        SetFocus(lastFocus_);
}

void Win32Window::OnClick(std::string_view control, std::function<void()> handler) {
    controls_[IndexOf(control, false)].clicked = std::move(handler);
}

std::size_t Win32Window::IndexOf(std::string_view name, bool textField) const {
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        const ControlKind kind = controls_[index].layout->kind;
        if (controls_[index].layout->name == name &&
            (kind == ControlKind::TextField || (!textField && kind == ControlKind::PushButton)))
            return index;
    }
    throw std::logic_error(std::string(layout_.name) + " has no " +
                           (textField ? "text field" : "button or text field") + " named " +
                           std::string(name));
}

HWND Win32Window::Control(std::string_view name) const {
    for (const BuiltControl& control : controls_)
        if (control.layout->name == name)
            return control.handle;
    return nullptr;
}

const BuiltControl* Win32Window::Find(HWND handle) const {
    for (const BuiltControl& control : controls_)
        if (control.handle == handle)
            return &control;
    return nullptr;
}

std::u16string_view Win32Window::Text(std::string_view field) const {
    return FieldText(controls_[IndexOf(field, true)].handle);
}

void Win32Window::SetText(std::string_view field, std::u16string text) {
    SetFieldText(controls_[IndexOf(field, true)].handle, std::move(text));
}

bool Win32Window::Holds(std::string_view field, std::u16string_view text) const {
    return FieldHolds(controls_[IndexOf(field, true)].handle, text);
}

void Win32Window::SetContent(std::string_view field, Clipboard::Content content) {
    SetFieldContent(controls_[IndexOf(field, true)].handle, content == Clipboard::Content::Sensitive);
}

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->Receive(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Window::Receive(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // A button's click, or a text field's.
        if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == kTextFieldClicked)
            if (const BuiltControl* control = Find(reinterpret_cast<HWND>(lParam));
                control && control->clicked)
                control->clicked();
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const BuiltControl* control = Find(item->hwndItem);
        if (!control || !control->picture.single)
            break;
        DrawPicture(*item, control->picture, dpi_);
        return TRUE;
    }
    case WM_ACTIVATE:
        // The focus comes back to where it was when the window is activated again.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && Find(focus))
                lastFocus_ = focus;
        } else if (lastFocus_) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (BusyCursorShown()) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        Place(HIWORD(wParam));
        return 0;
    }
    case WM_DESTROY: {
        // The window is gone: its slot forgets it, and the last window ends the program.
        HWND handle = std::exchange(window_, nullptr);
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        // The controls go before their fonts are freed with this object: a text field keeps its font
        // selected in a DC of its own until it is destroyed, and a selected font is not freed.
        for (const BuiltControl& control : controls_)
            DestroyWindow(control.handle);
        if (closed_)
            std::exchange(closed_, nullptr)();
        WindowClosed();
        delete this;
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

Win32Window* ProgramWindow(HWND window) {
    wchar_t className[32] = {};
    if (!window || !GetClassNameW(window, className, 32) || std::wcscmp(className, kClassName) != 0)
        return nullptr;
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace win32
}  // namespace quorvel::forms
