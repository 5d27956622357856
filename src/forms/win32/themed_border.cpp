#include "themed_border.h"

#include "uia_library.h"

#include <vsstyle.h>

namespace quorvel::forms::win32 {
namespace {

// uxtheme's functions, loaded at run time: the program links only user32, gdi32, comctl32, Uniscribe
// and IMM. Each is null where the system lacks it; the border is then classic.
struct Uxtheme {
    HTHEME(WINAPI* open)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI* close)(HTHEME) = nullptr;
    HRESULT(WINAPI* draw)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* drawParent)(HWND, HDC, RECT*) = nullptr;
    BOOL(WINAPI* partiallyTransparent)(HTHEME, int, int) = nullptr;
    BOOL(WINAPI* partDefined)(HTHEME, int, int) = nullptr;

    bool Loaded() const { return open && close && draw && drawParent && partiallyTransparent && partDefined; }
};

const Uxtheme& Library() {
    static const Uxtheme library = [] {
        Uxtheme loaded;
        if (HMODULE module = LoadLibraryW(L"uxtheme.dll")) {
            Resolve(module, "OpenThemeData", loaded.open);
            Resolve(module, "CloseThemeData", loaded.close);
            Resolve(module, "DrawThemeBackground", loaded.draw);
            Resolve(module, "DrawThemeParentBackground", loaded.drawParent);
            Resolve(module, "IsThemeBackgroundPartiallyTransparent", loaded.partiallyTransparent);
            Resolve(module, "IsThemePartDefined", loaded.partDefined);
        }
        return loaded;
    }();
    return library;
}

}  // namespace

void ThemedBorder::Open(HWND window) {
    Close();
    if (Library().Loaded())
        theme_ = Library().open(window, L"Edit");
}

void ThemedBorder::Close() {
    if (theme_)
        Library().close(theme_);
    theme_ = nullptr;
}

ThemedBorder::Drawn ThemedBorder::PartOf(HTHEME theme, State state) {
    const int index = static_cast<int>(state);
    // Normal, Hot, Focused, Disabled.
    if (Library().Loaded() && Library().partDefined(theme, EP_EDITBORDER_VSCROLL, 0)) {
        static constexpr int kBorder[] = {EPSV_NORMAL, EPSV_HOT, EPSV_FOCUSED, EPSV_DISABLED};
        return {EP_EDITBORDER_VSCROLL, kBorder[index]};
    }
    static constexpr int kText[] = {ETS_NORMAL, ETS_HOT, ETS_FOCUSED, ETS_DISABLED};
    return {EP_EDITTEXT, kText[index]};
}

void ThemedBorder::Paint(HWND window, HRGN region, State state) const {
    if (!theme_ || !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) {
        DefWindowProcW(window, WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
        return;
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    const int edgeX = GetSystemMetrics(SM_CXEDGE);
    const int edgeY = GetSystemMetrics(SM_CYEDGE);
    // The window's own frame paints what lies inside the border, its scroll bar.
    HRGN inside =
        CreateRectRgn(frame.left + edgeX, frame.top + edgeY, frame.right - edgeX, frame.bottom - edgeY);
    if (region != reinterpret_cast<HRGN>(1))
        CombineRgn(inside, inside, region, RGN_AND);
    OffsetRect(&frame, -frame.left, -frame.top);
    if (HDC dc = GetWindowDC(window)) {
        ExcludeClipRect(dc, edgeX, edgeY, frame.right - edgeX, frame.bottom - edgeY);
        const Drawn drawn = PartOf(theme_, state);
        if (Library().partiallyTransparent(theme_, drawn.part, drawn.state))
            Library().drawParent(window, dc, &frame);
        Library().draw(theme_, dc, drawn.part, drawn.state, &frame, nullptr);
        ReleaseDC(window, dc);
    }
    DefWindowProcW(window, WM_NCPAINT, reinterpret_cast<WPARAM>(inside), 0);
    DeleteObject(inside);
}

}  // namespace quorvel::forms::win32
