#pragma once

#include "uia_interfaces.h"
#include "uia_library.h"
#include "uia_provider.h"

namespace quorvel::forms::win32 {

// The UI Automation element of one text field: the element itself, its Value pattern and its Text
// pattern in one COM object. It outlives the field while clients hold it; once the field is gone
// (Detach), every call answers UIA_E_ELEMENTNOTAVAILABLE.
class FieldProvider final : public IRawElementProviderSimple,
                            public uia::IValueProvider,
                            public uia::ITextProvider {
public:
    FieldProvider(AccessibleField& field, const UiaLibrary& library) : field_(&field), library_(library) {}
    FieldProvider(const FieldProvider&) = delete;
    FieldProvider& operator=(const FieldProvider&) = delete;

    // The field, or nullptr once it is gone.
    AccessibleField* field() const { return field_; }
    const UiaLibrary& library() const { return library_; }
    void Detach() { field_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IRawElementProviderSimple
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override;
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override;
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override;

    // IValueProvider
    HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) override;

    // ITextProvider
    HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** ranges) override;
    HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** ranges) override;
    HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple* child,
                                             uia::ITextRangeProvider** range) override;
    HRESULT STDMETHODCALLTYPE RangeFromPoint(uia::UiaPoint point, uia::ITextRangeProvider** range) override;
    HRESULT STDMETHODCALLTYPE get_DocumentRange(uia::ITextRangeProvider** range) override;
    HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(uia::SupportedTextSelection* supported) override;

private:
    ~FieldProvider() = default;

    LONG references_ = 1;
    AccessibleField* field_;
    const UiaLibrary& library_;
};

}  // namespace quorvel::forms::win32
