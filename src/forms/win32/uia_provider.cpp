#include "uia_provider.h"

#include "editor.h"
#include "uia_field_provider.h"
#include "uia_text_range.h"
#include "wide.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace quorvel::forms::win32 {

namespace {

void Put(VARIANT* value, std::u16string_view text) {
    value->vt = VT_BSTR;
    value->bstrVal = Bstr(text);
}

void Put(VARIANT* value, bool flag) {
    value->vt = VT_BOOL;
    value->boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

// A one-element array of a new range over [begin, end).
SAFEARRAY* ArrayOfRange(FieldProvider& provider, std::size_t begin, std::size_t end, bool atRowEnd = false) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UNKNOWN, 0, 1);
    if (!array)
        return nullptr;
    auto* range = new TextRange(provider, begin, end, atRowEnd);
    LONG index = 0;
    SafeArrayPutElement(array, &index, static_cast<IUnknown*>(range));
    range->Release();
    return array;
}

}  // namespace

FieldAutomation::~FieldAutomation() {
    // Only what was kept: the field's own functions are not to be called while it is being destroyed.
    if (!provider_)
        return;
    provider_->Detach();
    if (library_->DisconnectProvider)
        library_->DisconnectProvider(provider_);
    if (library_->ReturnRawElementProvider && IsWindow(window_))
        library_->ReturnRawElementProvider(window_, 0, 0, nullptr);
    provider_->Release();
}

const UiaLibrary& FieldAutomation::Library() {
    if (!library_)
        library_ = &UiaLibrary::System();
    return *library_;
}

IRawElementProviderSimple* FieldAutomation::Provider() {
    if (!provider_) {
        provider_ = new FieldProvider(field_, Library());
        window_ = field_.handle();
    }
    provider_->AddRef();
    return provider_;
}

LRESULT FieldAutomation::AnswerGetObject(WPARAM wParam, LPARAM lParam) {
    // The object id arrives as a 32-bit value, sign-extended or not.
    if (static_cast<LONG>(lParam) != uia::kRootObjectId || !Library().ReturnRawElementProvider)
        return 0;
    IRawElementProviderSimple* provider = Provider();
    const LRESULT answer = library_->ReturnRawElementProvider(field_.handle(), wParam, lParam, provider);
    provider->Release();
    return answer;
}

void FieldAutomation::TextChanged() { Raise(uia::kTextChangedEvent); }

void FieldAutomation::SelectionChanged() { Raise(uia::kTextSelectionChangedEvent); }

void FieldAutomation::Raise(EVENTID event) {
    // No provider yet: no client has asked for the field, so none listens to it.
    if (provider_ && library_->RaiseAutomationEvent &&
        (!library_->ClientsAreListening || library_->ClientsAreListening()))
        library_->RaiseAutomationEvent(provider_, event);
}

HRESULT FieldProvider::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IRawElementProviderSimple)))
        *object = static_cast<IRawElementProviderSimple*>(this);
    else if (IsEqualIID(iid, uia::kIValueProvider))
        *object = static_cast<uia::IValueProvider*>(this);
    else if (IsEqualIID(iid, uia::kITextProvider))
        *object = static_cast<uia::ITextProvider*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG FieldProvider::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG FieldProvider::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT FieldProvider::get_ProviderOptions(ProviderOptions* options) {
    if (!options)
        return E_POINTER;
    *options =
        static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
    return S_OK;
}

HRESULT FieldProvider::GetPatternProvider(PATTERNID pattern, IUnknown** provider) {
    if (!provider)
        return E_POINTER;
    *provider = nullptr;
    if (!field_)
        return uia::kElementNotAvailable;
    if (pattern == uia::kValuePattern)
        *provider = static_cast<uia::IValueProvider*>(this);
    else if (pattern == uia::kTextPattern)
        *provider = static_cast<uia::ITextProvider*>(this);
    else
        return S_OK;
    AddRef();
    return S_OK;
}

HRESULT FieldProvider::GetPropertyValue(PROPERTYID property, VARIANT* value) {
    if (!value)
        return E_POINTER;
    VariantInit(value);
    if (!field_)
        return uia::kElementNotAvailable;
    HWND window = field_->handle();
    switch (property) {
    case uia::kNameProperty:
        Put(value, field_->AccessibleName());
        break;
    case uia::kAutomationIdProperty:
        Put(value, field_->AutomationId());
        break;
    case uia::kControlTypeProperty:
        value->vt = VT_I4;
        value->lVal = uia::kEditControlType;
        break;
    case uia::kIsEnabledProperty:
    case uia::kIsKeyboardFocusableProperty:
        Put(value, IsWindowEnabled(window) != FALSE);
        break;
    case uia::kHasKeyboardFocusProperty:
        Put(value, GetFocus() == window);
        break;
    case uia::kIsPasswordProperty:
        Put(value, false);
        break;
    case uia::kIsValuePatternAvailableProperty:
    case uia::kIsTextPatternAvailableProperty:
        Put(value, true);
        break;
    case uia::kValueIsReadOnlyProperty:
        // The program's text fields are all editable.
        Put(value, false);
        break;
    default:
        // Empty: the host window's provider, or UI Automation's default, answers.
        break;
    }
    return S_OK;
}

HRESULT FieldProvider::get_HostRawElementProvider(IRawElementProviderSimple** host) {
    if (!host)
        return E_POINTER;
    *host = nullptr;
    if (!field_)
        return uia::kElementNotAvailable;
    // Without it UI Automation finds no window around the field; the field itself still answers.
    return library_.HostProviderFromHwnd ? library_.HostProviderFromHwnd(field_->handle(), host) : S_OK;
}

HRESULT FieldProvider::SetValue(LPCWSTR value) {
    if (!value)
        return E_INVALIDARG;
    if (!field_)
        return uia::kElementNotAvailable;
    if (!IsWindowEnabled(field_->handle()))
        return uia::kElementNotEnabled;
    field_->SetValue(std::u16string_view(reinterpret_cast<const char16_t*>(value), std::wcslen(value)));
    return S_OK;
}

HRESULT FieldProvider::get_Value(BSTR* value) {
    if (!value)
        return E_POINTER;
    *value = nullptr;
    if (!field_)
        return uia::kElementNotAvailable;
    const std::u16string& text = field_->editor().Text();
    *value = Bstr(text);
    return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT FieldProvider::get_IsReadOnly(BOOL* readOnly) {
    if (!readOnly)
        return E_POINTER;
    if (!field_)
        return uia::kElementNotAvailable;
    *readOnly = FALSE;
    return S_OK;
}

HRESULT FieldProvider::GetSelection(SAFEARRAY** ranges) {
    if (!ranges)
        return E_POINTER;
    *ranges = nullptr;
    if (!field_)
        return uia::kElementNotAvailable;
    // An empty selection is the caret, as a range of no length, in the row the caret is shown in.
    const textedit::Editor& editor = field_->editor();
    const textedit::Selection& selection = editor.selection();
    *ranges = ArrayOfRange(*this, selection.begin(), selection.end(), editor.CaretAtRowEnd());
    return *ranges ? S_OK : E_OUTOFMEMORY;
}

HRESULT FieldProvider::GetVisibleRanges(SAFEARRAY** ranges) {
    if (!ranges)
        return E_POINTER;
    *ranges = nullptr;
    if (!field_)
        return uia::kElementNotAvailable;
    const textedit::RowLayout& rows = field_->editor().rows();
    const AccessibleField::Rows visible = field_->VisibleRows();
    const std::size_t first = std::min(visible.first, rows.RowCount() - 1);
    const std::size_t last = std::clamp(visible.last, first + 1, rows.RowCount());
    *ranges = ArrayOfRange(*this, rows.RowStart(first), rows.RowLimit(last - 1));
    return *ranges ? S_OK : E_OUTOFMEMORY;
}

HRESULT FieldProvider::RangeFromChild(IRawElementProviderSimple*, uia::ITextRangeProvider** range) {
    // The field has no embedded objects.
    if (range)
        *range = nullptr;
    return E_INVALIDARG;
}

HRESULT FieldProvider::RangeFromPoint(uia::UiaPoint point, uia::ITextRangeProvider** range) {
    if (!range)
        return E_POINTER;
    *range = nullptr;
    if (!field_)
        return uia::kElementNotAvailable;
    const std::size_t at = field_->PositionAt(
        POINT{static_cast<LONG>(std::lround(point.x)), static_cast<LONG>(std::lround(point.y))});
    *range = new TextRange(*this, at, at);
    return S_OK;
}

HRESULT FieldProvider::get_DocumentRange(uia::ITextRangeProvider** range) {
    if (!range)
        return E_POINTER;
    *range = nullptr;
    if (!field_)
        return uia::kElementNotAvailable;
    *range = new TextRange(*this, 0, field_->editor().Text().size());
    return S_OK;
}

HRESULT FieldProvider::get_SupportedTextSelection(uia::SupportedTextSelection* supported) {
    if (!supported)
        return E_POINTER;
    *supported = uia::SupportedTextSelection_Single;
    return S_OK;
}

}  // namespace quorvel::forms::win32
