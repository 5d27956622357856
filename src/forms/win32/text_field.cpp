#include "text_field.h"

#include "wide.h"

#include <commctrl.h>

#include <algorithm>

namespace quorvel::forms::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;

LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
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
        SendMessageW(GetParent(field), WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(field)), kTextFieldClicked),
                     reinterpret_cast<LPARAM>(field));
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(field, &FieldProcedure, kSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace

HWND CreateTextField(HWND parent, int id, std::u16string_view text, std::u16string_view accessibleName) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // An edit control is named by the static control created just before it, also a hidden one.
    CreateWindowExW(0, L"STATIC", AccessibleText(accessibleName).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0,
                    parent, nullptr, instance, nullptr);
    HWND field = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", Wide(text).c_str(),
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    // No length limit.
    SendMessageW(field, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    SetWindowSubclass(field, &FieldProcedure, kSubclassId, 0);
    return field;
}

std::u16string FieldText(HWND field) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(field)), u'\0');
    const int copied =
        GetWindowTextW(field, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void SetFieldText(HWND field, std::u16string_view text) { SetWindowTextW(field, Wide(text).c_str()); }

bool FieldHolds(HWND field, std::u16string_view text) {
    return static_cast<std::size_t>(GetWindowTextLengthW(field)) == text.size() && FieldText(field) == text;
}

}  // namespace quorvel::forms::win32
