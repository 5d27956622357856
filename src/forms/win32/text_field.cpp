#include "text_field.h"

#include "text_view.h"
#include "wide.h"

#include <commctrl.h>

namespace quorvel::forms::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// Every left click in the field reaches its parent when the button comes up, focused or not.
LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
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

TextView& View(HWND field) { return *TextView::Of(field); }

}  // namespace

HWND CreateTextField(HWND parent, int id, std::u16string_view text, std::u16string_view accessibleName,
                     std::u16string_view automationId) {
    TextView::Register();
    HWND field = CreateWindowExW(WS_EX_CLIENTEDGE, TextView::ClassName, Wide(text).c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
    if (!field)
        return nullptr;
    View(field).SetNames(std::u16string(accessibleName), std::u16string(automationId));
    SetWindowSubclass(field, &FieldProcedure, kSubclassId, 0);
    return field;
}

std::u16string FieldText(HWND field) { return View(field).Text(); }

void SetFieldText(HWND field, std::u16string_view text) { View(field).SetText(text); }

bool FieldHolds(HWND field, std::u16string_view text) { return View(field).Text() == text; }

}  // namespace quorvel::forms::win32
