#include "uia_library.h"

namespace quorvel::forms::win32 {

namespace {

// GetProcAddress returns every function as one type; the detour through void (*)() is the cast GCC
// accepts between function pointer types without a warning.
template <typename Function> void Resolve(HMODULE module, const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

UiaLibrary UiaLibrary::Load(const wchar_t* dll) {
    UiaLibrary library;
    // Loaded for the rest of the run: providers handed out may be called until the program ends.
    HMODULE module = LoadLibraryW(dll);
    if (!module)
        return library;
    Resolve(module, "UiaReturnRawElementProvider", library.ReturnRawElementProvider);
    Resolve(module, "UiaHostProviderFromHwnd", library.HostProviderFromHwnd);
    Resolve(module, "UiaRaiseAutomationEvent", library.RaiseAutomationEvent);
    Resolve(module, "UiaGetReservedNotSupportedValue", library.GetReservedNotSupportedValue);
    Resolve(module, "UiaClientsAreListening", library.ClientsAreListening);
    Resolve(module, "UiaDisconnectProvider", library.DisconnectProvider);
    return library;
}

const UiaLibrary& UiaLibrary::System() {
    static const UiaLibrary library = Load(L"uiautomationcore.dll");
    return library;
}

}  // namespace quorvel::forms::win32
