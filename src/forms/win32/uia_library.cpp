#include "uia_library.h"

namespace quorvel::forms::win32 {

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
