#pragma once

#include <windows.h>

#include <atomic>

namespace quorvel::forms::win32 {

// The reference counting and interface lookup of a COM object that implements `Interface`, answering
// also for the interfaces it derives from that a client may ask for (`Bases`), and for no other.
template <typename Interface, typename... Bases> class Unknown : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(Interface)) ||
            (IsEqualIID(iid, __uuidof(Bases)) || ...)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~Unknown() = default;

private:
    std::atomic<ULONG> references_ = 1;
};

}  // namespace quorvel::forms::win32
