#include "text_field.h"

#include "text_view.h"
#include "wide.h"

#include <utility>

namespace quorvel::forms::win32 {
namespace {

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
    return field;
}

std::u16string_view FieldText(HWND field) { return View(field).Text(); }

void SetFieldText(HWND field, std::u16string text) { View(field).SetText(std::move(text)); }

bool FieldHolds(HWND field, std::u16string_view text) { return View(field).Text() == text; }

void SetFieldContent(HWND field, bool sensitive) { View(field).SetSensitive(sensitive); }

}  // namespace quorvel::forms::win32
