#include "win32_window.h"

#include "platform.h"
#include "text.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <utility>

namespace quorvel::forms {

Window* BuildWindow(const WindowLayout& layout, std::function<void()> closed) {
    return new win32::Win32Window(layout, std::move(closed));
}

namespace win32 {

struct Win32Window::Part {
    const ControlLayout* layout;
    HWND handle;
    std::function<void()> clicked;
    HBITMAP picture = nullptr;
};

namespace {

constexpr wchar_t kClassName[] = L"QuorvelWindow";
constexpr int kTwipsPerInch = 1440;

int openWindows = 0;
bool loopRunning = false;
int busyDepth = 0;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

std::wstring Wide(std::u16string_view units) { return std::wstring(units.begin(), units.end()); }
std::wstring Wide(std::string_view utf8) { return Wide(Utf16(utf8)); }

int Scale(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch); }

bool FamilyInstalled(const std::wstring& family) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(query.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &query,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The layout's font at the window's DPI, or a stand-in of similar metrics where the family is missing.
HFONT MakeFont(const Font& font, UINT dpi) {
    const std::wstring family = Wide(font.family);
    const wchar_t* standIn = family == L"Verdana" ? L"Tahoma" : L"Microsoft Sans Serif";
    std::wstring chosen = family;
    for (const std::wstring& candidate : {family, std::wstring(standIn), std::wstring(L"Tahoma")}) {
        if (FamilyInstalled(candidate)) {
            chosen = candidate;
            break;
        }
    }
    LOGFONTW face{};
    face.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
    face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    face.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(face.lfFaceName, chosen.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&face);
}

// The system's message font, for windows whose layout names none.
HFONT SystemFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), GetDpiForSystem());
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

DWORD StyleFor(Frame frame) {
    return (frame == Frame::Sizable ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU) |
           WS_CLIPCHILDREN;
}

// Where the window's outer top-left corner goes, for the client area's place the layout asks for.
POINT Position(const WindowLayout& layout, const RECT& frame, UINT dpi) {
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    switch (layout.placement) {
    case Placement::Fixed:
        return {Scale(layout.left, dpi) + frame.left, Scale(layout.top, dpi) + frame.top};
    case Placement::CentreScreen: {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return {work.left + (work.right - work.left - width) / 2,
                work.top + (work.bottom - work.top - height) / 2};
    }
    case Placement::SystemDefault:
        break;
    }
    return {CW_USEDEFAULT, CW_USEDEFAULT};
}

}  // namespace

Win32Window::Win32Window(const WindowLayout& layout, std::function<void()> closed)
    : layout_(layout), closed_(std::move(closed)) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = Instance();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
    const UINT dpi = GetDpiForSystem();
    const DWORD style = StyleFor(layout.frame);
    RECT frame{0, 0, Scale(layout.clientWidth, dpi), Scale(layout.clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, 0, dpi);
    const POINT at = Position(layout, frame, dpi);
    window_ = CreateWindowExW(0, kClassName, Wide(layout.caption).c_str(), style, at.x, at.y,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              Instance(), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ++openWindows;
    if (layout.icon == Icon::Program) {
        // Shared icons stay loaded for the run, however many windows show them.
        for (const auto& [which, metric] :
             {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
            const int size = GetSystemMetricsForDpi(metric, dpi);
            SendMessageW(window_, WM_SETICON, which,
                         reinterpret_cast<LPARAM>(
                             LoadImageW(Instance(), L"IDI_ICON1", IMAGE_ICON, size, size, LR_SHARED)));
        }
    }

    std::vector<const ControlLayout*> inTabOrder;
    for (const ControlLayout& control : layout.controls)
        inTabOrder.push_back(&control);
    std::ranges::stable_sort(inTabOrder, {}, &ControlLayout::tabIndex);
    controls_.reserve(inTabOrder.size());
    for (const ControlLayout* control : inTabOrder) {
        const std::wstring text = Wide(control->text);
        const wchar_t* windowClass = L"BUTTON";
        DWORD controlStyle = WS_CHILD | WS_VISIBLE;
        DWORD extended = 0;
        switch (control->kind) {
        case ControlKind::PushButton:
            controlStyle |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::TextField:
            windowClass = L"EDIT";
            controlStyle |= WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            extended = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Label:
            windowClass = L"STATIC";
            controlStyle |= SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::PictureBox:
            // Drawn by the window; its text is what a screen reader calls it.
            windowClass = L"STATIC";
            controlStyle |= SS_OWNERDRAW;
            break;
        }
        const auto id = static_cast<INT_PTR>(controls_.size() + 1);
        HWND handle = CreateWindowExW(
            extended, windowClass,
            control->kind == ControlKind::PictureBox ? Wide(control->accessibleName).c_str() : text.c_str(),
            controlStyle, 0, 0, 0, 0, window_, reinterpret_cast<HMENU>(id), Instance(), nullptr);
        Part made{control, handle, {}};
        if (control->kind == ControlKind::TextField) {
            // No length limit, and a click event of its own.
            SendMessageW(handle, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
            SetWindowSubclass(handle, &FieldProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
        }
        if (control->kind == ControlKind::PictureBox)
            made.picture = static_cast<HBITMAP>(LoadImageW(Instance(), text.c_str(), IMAGE_BITMAP, 0, 0, 0));
        if (!lastFocus_ && (controlStyle & WS_TABSTOP))
            lastFocus_ = handle;
        controls_.push_back(made);
    }
    Place(GetDpiForWindow(window_));
}

Win32Window::~Win32Window() {
    closed_ = nullptr;
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        --openWindows;
    }
    for (const Part& control : controls_)
        if (control.picture)
            DeleteObject(control.picture);
    for (HFONT font : fonts_)
        DeleteObject(font);
}

// Puts the controls at their places and gives them their fonts, at the window's DPI.
void Win32Window::Place(UINT dpi) {
    std::vector<HFONT> old;
    old.swap(fonts_);
    HFONT windowFont = layout_.font ? MakeFont(*layout_.font, dpi) : SystemFont(dpi);
    fonts_.push_back(windowFont);
    for (const Part& control : controls_) {
        const ControlLayout& at = *control.layout;
        SetWindowPos(control.handle, nullptr, Scale(at.left, dpi), Scale(at.top, dpi), Scale(at.width, dpi),
                     Scale(at.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT font = windowFont;
        if (at.font) {
            font = MakeFont(*at.font, dpi);
            fonts_.push_back(font);
        }
        SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    for (HFONT font : old)
        DeleteObject(font);
}

void Win32Window::Raise() {
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
    if (lastFocus_)
        SetFocus(lastFocus_);
}

void Win32Window::OnClick(std::string_view control, std::function<void()> handler) {
    for (Part& made : controls_)
        if (made.layout->name == control)
            made.clicked = std::move(handler);
}

HWND Win32Window::Control(std::string_view name) const {
    for (const Part& control : controls_)
        if (control.layout->name == name)
            return control.handle;
    return nullptr;
}

std::string Win32Window::NameOf(HWND handle) const {
    const Part* control = Find(handle);
    return control ? std::string(control->layout->name) : std::string();
}

const Win32Window::Part* Win32Window::Find(HWND handle) const {
    for (const Part& control : controls_)
        if (control.handle == handle)
            return &control;
    return nullptr;
}

std::u16string Win32Window::Text(std::string_view field) const {
    HWND handle = Control(field);
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(handle)), u'\0');
    const int copied =
        GetWindowTextW(handle, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void Win32Window::SetText(std::string_view field, std::u16string_view text) {
    SetWindowTextW(Control(field), Wide(text).c_str());
}

bool Win32Window::Holds(std::string_view field, std::u16string_view text) const {
    return static_cast<std::size_t>(GetWindowTextLengthW(Control(field))) == text.size() &&
           Text(field) == text;
}

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            if (const Part* control = Find(reinterpret_cast<HWND>(lParam)); control && control->clicked)
                control->clicked();
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const Part* control = Find(item->hwndItem);
        if (!control || !control->picture)
            break;
        // Unscaled at 96 dpi, from the box's top-left corner, and cut off at its edges.
        BITMAP bitmap{};
        GetObjectW(control->picture, sizeof bitmap, &bitmap);
        const UINT dpi = GetDpiForWindow(window_);
        HDC source = CreateCompatibleDC(item->hDC);
        HGDIOBJ previous = SelectObject(source, control->picture);
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        IntersectClipRect(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right,
                          item->rcItem.bottom);
        StretchBlt(item->hDC, item->rcItem.left, item->rcItem.top, MulDiv(bitmap.bmWidth, dpi, 96),
                   MulDiv(bitmap.bmHeight, dpi, 96), source, 0, 0, bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
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
        if (busyDepth > 0) {
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
        --openWindows;
        if (closed_)
            std::exchange(closed_, nullptr)();
        if (openWindows == 0 && loopRunning)
            PostQuitMessage(0);
        delete this;
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    switch (message) {
    case WM_GETDLGCODE: {
        // Tab and Shift+Tab move on between the controls; Enter makes a line break.
        LRESULT code = DefSubclassProc(field, message, wParam, lParam) & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        if (const auto* key = reinterpret_cast<const MSG*>(lParam);
            key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_LBUTTONUP: {
        const LRESULT result = DefSubclassProc(field, message, wParam, lParam);
        if (const Part* control = reinterpret_cast<Win32Window*>(self)->Find(field);
            control && control->clicked)
            control->clicked();
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(field, &FieldProcedure, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

namespace {

Win32Window* Of(HWND window) {
    wchar_t className[32] = {};
    if (!window || !GetClassNameW(window, className, 32) || std::wcscmp(className, kClassName) != 0)
        return nullptr;
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

std::string_view LayoutNameOf(HWND window) {
    const Win32Window* self = Of(window);
    return self ? self->layout().name : std::string_view();
}

void Dispatch(const MSG& message) {
    if (HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        Of(top) && IsDialogMessageW(top, const_cast<MSG*>(&message)))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop() {
    loopRunning = true;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        Dispatch(message);
    loopRunning = false;
    return static_cast<int>(message.wParam);
}

}  // namespace win32

namespace platform {

void SetBusy(bool busy) {
    win32::busyDepth += busy ? 1 : -1;
    SetCursor(LoadCursorW(nullptr, win32::busyDepth > 0 ? IDC_WAIT : IDC_ARROW));
}

void Quit(int status) {
    if (win32::loopRunning)
        PostQuitMessage(status);
}

}  // namespace platform
}  // namespace quorvel::forms
