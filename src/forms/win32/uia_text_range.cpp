#include "uia_text_range.h"

#include "editor.h"
#include "uia_field_provider.h"
#include "units.h"
#include "wide.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::forms::win32 {

using textedit::Editor;

namespace {

// Answered by this program's ranges alone, with themselves: how a range recognizes another one of its own.
constexpr IID kOwnRange = {0x05f8786d, 0xbb33, 0x4800, {0xaa, 0x65, 0x92, 0xb0, 0xbd, 0x15, 0xcf, 0xed}};

uia::TextUnit Supported(uia::TextUnit unit) {
    switch (unit) {
    case uia::TextUnit_Format:
        return uia::TextUnit_Word;
    case uia::TextUnit_Page:
        return uia::TextUnit_Document;
    default:
        return unit;
    }
}

int Sign(std::size_t a, std::size_t b) { return a < b ? -1 : a > b ? 1 : 0; }

// The field's own units, as UI Automation names them; Document is the whole text.
std::optional<textedit::TextUnit> FieldUnit(uia::TextUnit unit) {
    switch (unit) {
    case uia::TextUnit_Character:
        return textedit::TextUnit::Character;
    case uia::TextUnit_Word:
        return textedit::TextUnit::Word;
    case uia::TextUnit_Line:
        return textedit::TextUnit::Line;
    case uia::TextUnit_Paragraph:
        return textedit::TextUnit::Paragraph;
    default:
        return std::nullopt;
    }
}

}  // namespace

TextUnits::TextUnits(const AccessibleField& field, uia::TextUnit unit)
    : field_(field), unit_(FieldUnit(Supported(unit))) {}

std::size_t TextUnits::Floor(std::size_t position, bool atRowEnd) const {
    const std::size_t length = field_.editor().Text().size();
    position = std::min(position, length);
    if (!unit_)
        return 0;
    // The text's end starts a word of its own.
    if (*unit_ == textedit::TextUnit::Word && position == length)
        return position;
    // At the end of a wrapped row, the row it ends.
    if (*unit_ == textedit::TextUnit::Line && atRowEnd) {
        const textedit::RowLayout& rows = field_.editor().rows();
        return rows.RowStart(rows.RowOf(position, true));
    }
    return field_.UnitAt(position, *unit_).first;
}

std::size_t TextUnits::Next(std::size_t position) const {
    const std::size_t length = field_.editor().Text().size();
    if (position >= length || !unit_)
        return length;
    const std::size_t next = field_.UnitAt(position, *unit_).second;
    return next > position ? next : length;
}

std::size_t TextUnits::Previous(std::size_t position) const {
    return position == 0 ? 0 : Floor(position - 1);
}

bool TextUnits::IsBoundary(std::size_t position) const {
    return position >= field_.editor().Text().size() || Floor(position) == position;
}

TextRange::TextRange(FieldProvider& provider, std::size_t begin, std::size_t end, bool atRowEnd)
    : provider_(provider), begin_(begin), end_(std::max(begin, end)), atRowEnd_(atRowEnd && begin >= end) {
    provider_.AddRef();
}

TextRange::~TextRange() { provider_.Release(); }

HRESULT TextRange::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, uia::kITextRangeProvider) ||
        IsEqualIID(iid, kOwnRange)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TextRange::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG TextRange::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

const Editor* TextRange::Clamp() {
    AccessibleField* field = provider_.field();
    if (!field)
        return nullptr;
    const Editor& editor = field->editor();
    const std::u16string_view text = editor.Text();
    begin_ = textedit::ClusterFloor(text, std::min(begin_, text.size()));
    end_ = std::max(begin_, textedit::ClusterFloor(text, std::min(end_, text.size())));
    return &editor;
}

HRESULT TextRange::ClampWith(uia::ITextRangeProvider* range, TextRange*& other) {
    void* own = nullptr;
    if (!range || FAILED(range->QueryInterface(kOwnRange, &own)))
        return E_INVALIDARG;
    other = static_cast<TextRange*>(own);
    other->Release();
    if (&other->provider_ != &provider_)
        return E_INVALIDARG;
    return Clamp() && other->Clamp() ? S_OK : uia::kElementNotAvailable;
}

void TextRange::MoveEnd(uia::TextPatternRangeEndpoint endpoint, std::size_t position) {
    atRowEnd_ = false;
    End(endpoint) = position;
    // An end moved past the other one takes it along.
    if (begin_ > end_)
        (endpoint == uia::TextPatternRangeEndpoint_Start ? end_ : begin_) = position;
}

HRESULT TextRange::Clone(uia::ITextRangeProvider** clone) {
    if (!clone)
        return E_POINTER;
    *clone = new TextRange(provider_, begin_, end_, atRowEnd_);
    return S_OK;
}

HRESULT TextRange::Compare(uia::ITextRangeProvider* range, BOOL* same) {
    if (!same)
        return E_POINTER;
    *same = FALSE;
    TextRange* other = nullptr;
    if (const HRESULT result = ClampWith(range, other); FAILED(result))
        return result;
    *same = begin_ == other->begin_ && end_ == other->end_;
    return S_OK;
}

HRESULT TextRange::CompareEndpoints(uia::TextPatternRangeEndpoint endpoint, uia::ITextRangeProvider* target,
                                    uia::TextPatternRangeEndpoint targetEndpoint, int* order) {
    if (!order)
        return E_POINTER;
    *order = 0;
    TextRange* other = nullptr;
    if (const HRESULT result = ClampWith(target, other); FAILED(result))
        return result;
    *order = Sign(End(endpoint), other->End(targetEndpoint));
    return S_OK;
}

HRESULT TextRange::ExpandToEnclosingUnit(uia::TextUnit unit) {
    const Editor* editor = Clamp();
    if (!editor)
        return uia::kElementNotAvailable;
    const TextUnits units(*provider_.field(), unit);
    // A range of whole units stays as it is; any other becomes the unit its start is in.
    if (begin_ < end_ && units.IsBoundary(begin_) && units.IsBoundary(end_))
        return S_OK;
    begin_ = units.Floor(begin_, atRowEnd_);
    end_ = units.Next(begin_);
    atRowEnd_ = false;
    return S_OK;
}

HRESULT TextRange::FindAttribute(TEXTATTRIBUTEID attribute, VARIANT value, BOOL,
                                 uia::ITextRangeProvider** found) {
    if (!found)
        return E_POINTER;
    *found = nullptr;
    if (!Clamp())
        return uia::kElementNotAvailable;
    // Read-only is the one attribute the field has, false for the whole text.
    if (attribute == uia::kIsReadOnlyAttribute && value.vt == VT_BOOL && value.boolVal == VARIANT_FALSE)
        *found = new TextRange(provider_, begin_, end_);
    return S_OK;
}

HRESULT TextRange::FindText(BSTR text, BOOL backward, BOOL ignoreCase, uia::ITextRangeProvider** found) {
    if (!found)
        return E_POINTER;
    *found = nullptr;
    if (!text)
        return E_INVALIDARG;
    const Editor* editor = Clamp();
    if (!editor)
        return uia::kElementNotAvailable;
    std::u16string needle(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
    std::u16string within(std::u16string_view(editor->Text()).substr(begin_, end_ - begin_));
    if (needle.empty())
        return S_OK;
    if (ignoreCase) {
        // Unit for unit, so that positions in the copies are positions in the text.
        CharUpperBuffW(reinterpret_cast<wchar_t*>(needle.data()), static_cast<DWORD>(needle.size()));
        CharUpperBuffW(reinterpret_cast<wchar_t*>(within.data()), static_cast<DWORD>(within.size()));
    }
    const std::size_t at = backward ? within.rfind(needle) : within.find(needle);
    if (at != std::u16string::npos)
        *found = new TextRange(provider_, begin_ + at, begin_ + at + needle.size());
    return S_OK;
}

HRESULT TextRange::GetAttributeValue(TEXTATTRIBUTEID attribute, VARIANT* value) {
    if (!value)
        return E_POINTER;
    VariantInit(value);
    if (!Clamp())
        return uia::kElementNotAvailable;
    if (attribute == uia::kIsReadOnlyAttribute) {
        value->vt = VT_BOOL;
        value->boolVal = VARIANT_FALSE;
        return S_OK;
    }
    // UI Automation's own value for an attribute the field does not have; without it, an empty answer.
    IUnknown* notSupported = nullptr;
    const UiaLibrary& library = provider_.library();
    if (library.GetReservedNotSupportedValue &&
        SUCCEEDED(library.GetReservedNotSupportedValue(&notSupported))) {
        value->vt = VT_UNKNOWN;
        value->punkVal = notSupported;
    }
    return S_OK;
}

HRESULT TextRange::GetBoundingRectangles(SAFEARRAY** rectangles) {
    if (!rectangles)
        return E_POINTER;
    *rectangles = nullptr;
    const Editor* editor = Clamp();
    if (!editor)
        return uia::kElementNotAvailable;
    // Left, top, width and height in screen pixels for each visible row the range touches; none for an
    // empty range.
    std::vector<double> sides;
    if (begin_ < end_) {
        AccessibleField& field = *provider_.field();
        const textedit::RowLayout& rows = editor->rows();
        const AccessibleField::Rows visible = field.VisibleRows();
        const std::size_t first = std::max(rows.RowOf(begin_), visible.first);
        const std::size_t last = std::min(rows.RowOf(end_ - 1) + 1, visible.last);
        for (std::size_t row = first; row < last; ++row) {
            const std::size_t from = std::max(begin_, rows.RowStart(row));
            const std::size_t to = std::max(from, std::min(end_, rows.RowEnd(row)));
            const RECT box = field.RowRectangle(row, from, to);
            sides.insert(sides.end(), {static_cast<double>(box.left), static_cast<double>(box.top),
                                       static_cast<double>(box.right - box.left),
                                       static_cast<double>(box.bottom - box.top)});
        }
    }
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(sides.size()));
    if (!array)
        return E_OUTOFMEMORY;
    if (!sides.empty()) {
        void* data = nullptr;
        SafeArrayAccessData(array, &data);
        std::copy(sides.begin(), sides.end(), static_cast<double*>(data));
        SafeArrayUnaccessData(array);
    }
    *rectangles = array;
    return S_OK;
}

HRESULT TextRange::GetEnclosingElement(IRawElementProviderSimple** element) {
    if (!element)
        return E_POINTER;
    *element = nullptr;
    if (!Clamp())
        return uia::kElementNotAvailable;
    provider_.AddRef();
    *element = &provider_;
    return S_OK;
}

HRESULT TextRange::GetText(int maxLength, BSTR* text) {
    if (!text)
        return E_POINTER;
    *text = nullptr;
    if (maxLength < -1)
        return E_INVALIDARG;
    const Editor* editor = Clamp();
    if (!editor)
        return uia::kElementNotAvailable;
    const std::u16string_view all = editor->Text();
    std::size_t length = end_ - begin_;
    // Cut short, the text keeps no half of a surrogate pair.
    if (maxLength >= 0 && static_cast<std::size_t>(maxLength) < length) {
        length = static_cast<std::size_t>(maxLength);
        if (length > 0 && textedit::IsHighSurrogate(all[begin_ + length - 1]) &&
            textedit::IsLowSurrogate(all[begin_ + length]))
            --length;
    }
    *text = Bstr(std::u16string_view(all).substr(begin_, length));
    return *text ? S_OK : E_OUTOFMEMORY;
}

HRESULT TextRange::Move(uia::TextUnit unit, int count, int* moved) {
    if (!moved)
        return E_POINTER;
    *moved = 0;
    const Editor* editor = Clamp();
    if (!editor)
        return uia::kElementNotAvailable;
    if (count == 0)
        return S_OK;
    atRowEnd_ = false;
    const TextUnits units(*provider_.field(), unit);
    const std::size_t length = editor->Text().size();
    if (begin_ == end_) {
        // An empty range moves as a caret would, and stays empty.
        std::size_t at = begin_;
        for (; *moved < count && at < length; ++*moved)
            at = units.Next(at);
        for (; *moved > count && at > 0; --*moved)
            at = units.Previous(at);
        begin_ = end_ = at;
        return S_OK;
    }
    // Any other range goes back to the start of its first unit, moves by whole units and spans one
    // unit there: it moves on only as far as a unit follows.
    std::size_t at = units.Floor(begin_);
    for (std::size_t next; *moved < count && (next = units.Next(at)) < length; ++*moved)
        at = next;
    for (; *moved > count && at > 0; --*moved)
        at = units.Previous(at);
    begin_ = at;
    end_ = units.Next(at);
    return S_OK;
}

HRESULT TextRange::MoveEndpointByUnit(uia::TextPatternRangeEndpoint endpoint, uia::TextUnit unit, int count,
                                      int* moved) {
    if (!moved)
        return E_POINTER;
    *moved = 0;
    const Editor* editor = Clamp();
    if (!editor)
        return uia::kElementNotAvailable;
    const TextUnits units(*provider_.field(), unit);
    const std::size_t length = editor->Text().size();
    std::size_t at = End(endpoint);
    for (; *moved < count && at < length; ++*moved)
        at = units.Next(at);
    for (; *moved > count && at > 0; --*moved)
        at = units.Previous(at);
    MoveEnd(endpoint, at);
    return S_OK;
}

HRESULT TextRange::MoveEndpointByRange(uia::TextPatternRangeEndpoint endpoint,
                                       uia::ITextRangeProvider* target,
                                       uia::TextPatternRangeEndpoint targetEndpoint) {
    TextRange* other = nullptr;
    if (const HRESULT result = ClampWith(target, other); FAILED(result))
        return result;
    MoveEnd(endpoint, other->End(targetEndpoint));
    return S_OK;
}

HRESULT TextRange::Select() {
    if (!Clamp())
        return uia::kElementNotAvailable;
    provider_.field()->Select(begin_, end_);
    return S_OK;
}

HRESULT TextRange::AddToSelection() { return uia::kInvalidOperation; }

HRESULT TextRange::RemoveFromSelection() { return uia::kInvalidOperation; }

HRESULT TextRange::ScrollIntoView(BOOL alignToTop) {
    if (!Clamp())
        return uia::kElementNotAvailable;
    provider_.field()->ScrollIntoView(alignToTop ? begin_ : end_, alignToTop != FALSE);
    return S_OK;
}

HRESULT TextRange::GetChildren(SAFEARRAY** children) {
    if (!children)
        return E_POINTER;
    // The field's text holds no embedded objects.
    *children = SafeArrayCreateVector(VT_UNKNOWN, 0, 0);
    return *children ? S_OK : E_OUTOFMEMORY;
}

}  // namespace quorvel::forms::win32
