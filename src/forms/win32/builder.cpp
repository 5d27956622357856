#include "builder.h"

#include "accessible_name.h"
#include "fonts.h"
#include "picture_box.h"
#include "placement.h"
#include "tab_order.h"
#include "text.h"
#include "text_field.h"
#include "wide.h"

#include <optional>
#include <utility>

namespace quorvel::forms::win32 {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

DWORD StyleFor(Frame frame) {
    return (frame == Frame::Sizable ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU) |
           WS_CLIPCHILDREN;
}

// Where the window's outer frame goes, for the placement the layout asks for.
POINT Position(const WindowLayout& layout, const RECT& frame, UINT dpi) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const std::optional<Point> at =
        FramePosition(layout, {frame.left, frame.top, frame.right, frame.bottom},
                      {work.left, work.top, work.right, work.bottom}, static_cast<int>(dpi));
    return at ? POINT{at->x, at->y} : POINT{CW_USEDEFAULT, CW_USEDEFAULT};
}

void SetProgramIcon(HWND window, UINT dpi) {
    // Shared icons stay loaded for the run, however many windows show them.
    for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        const int size = GetSystemMetricsForDpi(metric, dpi);
        SendMessageW(window, WM_SETICON, which,
                     reinterpret_cast<LPARAM>(
                         LoadImageW(Instance(), L"IDI_ICON1", IMAGE_ICON, size, size, LR_SHARED)));
    }
}

HWND CreateControl(HWND window, const ControlLayout& control, int id) {
    if (control.kind == ControlKind::TextField)
        return CreateTextField(window, id, Utf16(control.text), Utf16(AccessibleName(control)),
                               Utf16(control.name));
    DWORD style = WS_CHILD | WS_VISIBLE;
    const wchar_t* windowClass = L"STATIC";
    switch (control.kind) {
    case ControlKind::PushButton:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    case ControlKind::Label:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    case ControlKind::PictureBox:
        // Drawn by the window; its text is what a screen reader calls it.
        style |= SS_OWNERDRAW;
        break;
    case ControlKind::TextField:
        break;
    }
    const std::wstring text = control.kind == ControlKind::PictureBox
                                  ? AccessibleText(Utf16(AccessibleName(control)))
                                  : Wide(control.text);
    return CreateWindowExW(0, windowClass, text.c_str(), style, 0, 0, 0, 0, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
}

}  // namespace

HWND CreateTopLevel(const WindowLayout& layout, const wchar_t* className) {
    const UINT dpi = GetDpiForSystem();
    const DWORD style = StyleFor(layout.frame);
    RECT frame{0, 0, Pixels(layout.clientWidth, static_cast<int>(dpi)),
               Pixels(layout.clientHeight, static_cast<int>(dpi))};
    AdjustWindowRectExForDpi(&frame, style, FALSE, 0, dpi);
    const POINT at = Position(layout, frame, dpi);
    HWND window = CreateWindowExW(0, className, Wide(layout.caption).c_str(), style, at.x, at.y,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  Instance(), nullptr);
    if (layout.icon == Icon::Program)
        SetProgramIcon(window, dpi);
    return window;
}

std::vector<BuiltControl> CreateControls(HWND window, const WindowLayout& layout) {
    std::vector<BuiltControl> controls;
    controls.reserve(layout.controls.size());
    for (const ControlLayout* control : InTabOrder(layout)) {
        HWND handle = CreateControl(window, *control, static_cast<int>(controls.size() + 1));
        const Picture picture =
            control->kind == ControlKind::PictureBox ? LoadPicture(control->text) : Picture{};
        controls.push_back({control, handle, picture, {}});
    }
    return controls;
}

std::vector<HFONT> PlaceControls(const std::vector<BuiltControl>& controls, const WindowLayout& layout,
                                 UINT dpi) {
    const auto scale = static_cast<int>(dpi);
    std::vector<HFONT> fonts{layout.font ? CreateLayoutFont(*layout.font, dpi) : CreateSystemFont(dpi)};
    for (const BuiltControl& control : controls) {
        const ControlLayout& at = *control.layout;
        SetWindowPos(control.handle, nullptr, Pixels(at.left, scale), Pixels(at.top, scale),
                     Pixels(at.width, scale), Pixels(at.height, scale), SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT font = fonts.front();
        if (at.font)
            font = fonts.emplace_back(CreateLayoutFont(*at.font, dpi, at.kind == ControlKind::TextField));
        SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    return fonts;
}

}  // namespace quorvel::forms::win32
