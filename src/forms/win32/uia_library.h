#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <uiautomationcore.h>

namespace quorvel::forms::win32 {

// A function of a library loaded at run time, or null. GetProcAddress returns every function as one
// type; the detour through void (*)() is the cast GCC accepts between function pointer types without a
// warning.
template <typename Function> void Resolve(HMODULE module, const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The functions of uiautomationcore.dll that a provider calls, loaded at run time: mingw-w64 has no
// import library for it. Each is null when the system lacks it; callers go without.
struct UiaLibrary {
    LRESULT(WINAPI* ReturnRawElementProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) = nullptr;
    HRESULT(WINAPI* HostProviderFromHwnd)(HWND, IRawElementProviderSimple**) = nullptr;
    HRESULT(WINAPI* RaiseAutomationEvent)(IRawElementProviderSimple*, EVENTID) = nullptr;
    HRESULT(WINAPI* GetReservedNotSupportedValue)(IUnknown**) = nullptr;
    BOOL(WINAPI* ClientsAreListening)() = nullptr;
    HRESULT(WINAPI* DisconnectProvider)(IRawElementProviderSimple*) = nullptr;

    // Loads them from the named library.
    static UiaLibrary Load(const wchar_t* dll);
    // The system's, loaded on first use.
    static const UiaLibrary& System();
};

}  // namespace quorvel::forms::win32
