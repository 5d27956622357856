#include "field_accessible.h"

#include "com_unknown.h"
#include "text_view.h"
#include "uia_library.h"
#include "wide.h"

#include <oleacc.h>

namespace quorvel::forms::win32 {
namespace {

struct Oleacc {
    HRESULT(WINAPI* createStandard)(HWND, LONG, REFIID, void**) = nullptr;
    LRESULT(WINAPI* fromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
};

const Oleacc& Library() {
    static const Oleacc library = [] {
        Oleacc loaded;
        if (HMODULE module = LoadLibraryW(L"oleacc.dll")) {
            Resolve(module, "CreateStdAccessibleObject", loaded.createStandard);
            Resolve(module, "LresultFromObject", loaded.fromObject);
        }
        return loaded;
    }();
    return library;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard object, with what only the field knows put in. The field is looked up on every call, so
// a client that holds the object after the field is gone finds nothing rather than a deleted field.
// It answers for IAccessible alone: the standard object's other interfaces would answer for another
// object than this one.
class FieldObject final : public Unknown<IAccessible, IDispatch> {
public:
    FieldObject(HWND field, IAccessible* standard) : field_(field), standard_(standard) {}
    FieldObject(const FieldObject&) = delete;
    FieldObject& operator=(const FieldObject&) = delete;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argument);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return FieldString(child, name, [](const TextView& field) { return field.AccessibleName(); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return FieldString(child, value, [](const TextView& field) { return field.Text(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role)
            return E_POINTER;
        if (!Field() || !IsSelf(child))
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_TEXT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        TextView* field = Field();
        if (!field || !IsSelf(child))
            return E_INVALIDARG;
        field->SetValue(std::u16string_view(reinterpret_cast<const char16_t*>(value), SysStringLen(value)));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return standard_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }

private:
    ~FieldObject() override { standard_->Release(); }

    TextView* Field() const { return TextView::Of(field_); }

    // What `read` gives of the field, for `child`, which must be the field itself.
    template <typename Read> HRESULT FieldString(const VARIANT& child, BSTR* out, Read read) const {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const TextView* field = Field();
        if (!field || !IsSelf(child))
            return E_INVALIDARG;
        *out = Bstr(read(*field));
        return S_OK;
    }

    HWND field_;
    IAccessible* standard_;
};

}  // namespace

LRESULT AnswerAccessibleObject(HWND field, WPARAM wParam) {
    const Oleacc& oleacc = Library();
    if (!oleacc.createStandard || !oleacc.fromObject)
        return 0;
    void* standard = nullptr;
    if (FAILED(oleacc.createStandard(field, OBJID_CLIENT, __uuidof(IAccessible), &standard)) || !standard)
        return 0;
    auto* object = new FieldObject(field, static_cast<IAccessible*>(standard));
    const LRESULT answer =
        oleacc.fromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
    object->Release();
    // A negative answer is an error; the field's window then answers as any window does.
    return answer < 0 ? 0 : answer;
}

}  // namespace quorvel::forms::win32
