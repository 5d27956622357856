#include "ole_drag_drop.h"

#include "com_unknown.h"
#include "text_clipboard.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace quorvel::forms::win32 {
namespace {

FORMATETC Format(CLIPFORMAT format) { return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The formats of a data object, one after another.
class FormatList final : public Unknown<IEnumFORMATETC> {
public:
    FormatList(std::vector<FORMATETC> formats, ULONG next) : formats_(std::move(formats)), next_(next) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override {
        ULONG given = 0;
        for (; given < count && next_ < formats_.size(); ++given)
            out[given] = formats_[next_++];
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next_ = std::min<std::size_t>(formats_.size(), next_ + count);
        return next_ < formats_.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override {
        if (!copy)
            return E_POINTER;
        *copy = new FormatList(formats_, static_cast<ULONG>(next_));
        return S_OK;
    }

private:
    std::vector<FORMATETC> formats_;
    std::size_t next_;
};

class TextData final : public Unknown<IDataObject> {
public:
    TextData(std::u16string_view text, bool sensitive) : text_(text) {
        if (sensitive)
            for (const wchar_t* format : kHistoryExclusionFormats)
                flags_.push_back(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(format)));
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium)
            return E_INVALIDARG;
        if (const HRESULT offered = QueryGetData(format); offered != S_OK)
            return offered;
        const bool text = format->cfFormat == CF_UNICODETEXT;
        HGLOBAL memory = text ? GlobalCopy(text_.data(), text_.size() * sizeof(char16_t), sizeof(char16_t))
                              : GlobalCopy(&kHistoryExclusionValue, sizeof kHistoryExclusionValue);
        if (!memory)
            return E_OUTOFMEMORY;
        *medium = {};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format)
            return E_INVALIDARG;
        if (format->cfFormat != CF_UNICODETEXT && std::ranges::find(flags_, format->cfFormat) == flags_.end())
            return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL))
            return DV_E_TYMED;
        return format->dwAspect == DVASPECT_CONTENT ? S_OK : DV_E_DVASPECT;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out)
            out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** list) override {
        if (!list)
            return E_POINTER;
        *list = nullptr;
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> formats{Format(CF_UNICODETEXT)};
        for (const CLIPFORMAT flag : flags_)
            formats.push_back(Format(flag));
        *list = new FormatList(std::move(formats), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::u16string text_;
    std::vector<CLIPFORMAT> flags_;
};

// The drag goes on while the left button is down; Escape gives it up. The pointer is the system's.
class TextSource final : public Unknown<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape)
            return DRAGDROP_S_CANCEL;
        return keys & MK_LBUTTON ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// The text of a drop, exactly, up to its terminator and no further than its memory goes.
std::optional<std::u16string> DroppedText(IDataObject* data) {
    FORMATETC format = Format(CF_UNICODETEXT);
    STGMEDIUM medium{};
    if (!data || FAILED(data->GetData(&format, &medium)))
        return std::nullopt;
    std::optional<std::u16string> text;
    if (medium.tymed == TYMED_HGLOBAL)
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(medium.hGlobal))) {
            const std::size_t room = GlobalSize(medium.hGlobal) / sizeof(char16_t);
            text.emplace(units, std::find(units, units + room, u'\0'));
            GlobalUnlock(medium.hGlobal);
        }
    ReleaseStgMedium(&medium);
    return text;
}

// Ctrl copies; otherwise the text is moved where its source allows it, as Windows' text fields take a
// drop.
DWORD Effect(DWORD keys, DWORD allowed) {
    const DWORD wanted = keys & MK_CONTROL ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (allowed & wanted)
        return wanted;
    return allowed & (DROPEFFECT_COPY | DROPEFFECT_MOVE);
}

textedit::DropAction ActionOf(DWORD effect) {
    if (effect & DROPEFFECT_MOVE)
        return textedit::DropAction::Move;
    return effect & DROPEFFECT_COPY ? textedit::DropAction::Copy : textedit::DropAction::None;
}

DWORD EffectOf(textedit::DropAction action) {
    switch (action) {
    case textedit::DropAction::Move:
        return DROPEFFECT_MOVE;
    case textedit::DropAction::Copy:
        return DROPEFFECT_COPY;
    case textedit::DropAction::None:
        break;
    }
    return DROPEFFECT_NONE;
}

class TextTarget final : public Unknown<IDropTarget> {
public:
    TextTarget(HWND window, DropReceiver* (*receiver)(HWND)) : window_(window), receiver_(receiver) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override {
        FORMATETC format = Format(CF_UNICODETEXT);
        hasText_ = data && data->QueryGetData(&format) == S_OK;
        return DragOver(keys, at, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        DropReceiver* receiver = receiver_(window_);
        *effect = hasText_ && receiver ? Effect(keys, *effect) : DROPEFFECT_NONE;
        if (*effect != DROPEFFECT_NONE)
            receiver->DragOverAt({at.x, at.y});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        if (DropReceiver* receiver = receiver_(window_))
            receiver->DragLeft();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        const DWORD proposed = Effect(keys, *effect);
        *effect = DROPEFFECT_NONE;
        DropReceiver* receiver = receiver_(window_);
        if (!receiver)
            return S_OK;
        const std::optional<std::u16string> text = DroppedText(data);
        if (!text) {
            receiver->DragLeft();
            return S_OK;
        }
        *effect = EffectOf(receiver->DroppedAt({at.x, at.y}, *text, ActionOf(proposed)));
        return S_OK;
    }

private:
    HWND window_;
    DropReceiver* (*receiver_)(HWND);
    bool hasText_ = false;
};

}  // namespace

IDataObject* TextDataObject(std::u16string_view text, bool sensitive) {
    return new TextData(text, sensitive);
}

textedit::DropAction DragText(std::u16string_view text, bool sensitive) {
    IDataObject* data = TextDataObject(text, sensitive);
    IDropSource* source = new TextSource;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT done = DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    source->Release();
    data->Release();
    return done == DRAGDROP_S_DROP ? ActionOf(effect) : textedit::DropAction::None;
}

bool AcceptTextDrops(HWND window, DropReceiver* (*receiver)(HWND)) {
    IDropTarget* target = new TextTarget(window, receiver);
    const bool registered = SUCCEEDED(RegisterDragDrop(window, target));
    target->Release();
    return registered;
}

}  // namespace quorvel::forms::win32
