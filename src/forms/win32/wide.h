#pragma once

#include "text.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <oleauto.h>

#include <string>
#include <string_view>

namespace quorvel::forms::win32 {

// Windows strings for code units and for the layouts' UTF-8 texts; a wchar_t is a UTF-16 code unit.
inline std::wstring Wide(std::u16string_view units) { return std::wstring(units.begin(), units.end()); }
inline std::wstring Wide(std::string_view utf8) { return Wide(Utf16(utf8)); }
// A string of COM's for `units`, every one of them; nullptr when memory runs out. The caller frees it.
inline BSTR Bstr(std::u16string_view units) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(units.data()), static_cast<UINT>(units.size()));
}

// A name as the window text a screen reader reads it from. Active Accessibility takes "&" for the mark
// of a keyboard shortcut and leaves it out, so each is doubled to be read as itself.
inline std::wstring AccessibleText(std::u16string_view name) {
    std::wstring text;
    for (const char16_t unit : name) {
        if (unit == u'&')
            text.push_back(L'&');
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

}  // namespace quorvel::forms::win32
