#pragma once

#include "uia_interfaces.h"
#include "uia_provider.h"

#include <cstddef>
#include <optional>

namespace quorvel::forms::win32 {

class FieldProvider;

// Where UI Automation's text units start in a field's text, by the field's own units (UnitAt): characters
// are clusters, words start where Ctrl+Right stops, lines are the field's rows and paragraphs end after
// their breaks; a line or a paragraph holds its break. Format counts as a word and Page as the document,
// the next larger units the field has.
class TextUnits {
public:
    TextUnits(const AccessibleField& field, uia::TextUnit unit);

    // The start of the unit holding `position` (the text's end is a start of its own for characters and
    // words; for lines and paragraphs it belongs to the last one). Where a row wraps, `position` is in the
    // row it ends when `atRowEnd`, else in the next one.
    std::size_t Floor(std::size_t position, bool atRowEnd = false) const;
    // The first unit start after `position`, or the text's length.
    std::size_t Next(std::size_t position) const;
    // The last unit start before `position`, or 0.
    std::size_t Previous(std::size_t position) const;
    // Whether a unit starts or the text ends at `position`.
    bool IsBoundary(std::size_t position) const;

private:
    const AccessibleField& field_;
    // None for the document.
    std::optional<textedit::TextUnit> unit_;
};

// A range of a field's text, [begin, end) in code units, that UI Automation clients move and read. The
// text may change under it: its ends are brought back into the text (and onto cluster boundaries) before
// every use. An empty range made `atRowEnd` stands where the caret can, at the end of a wrapped row: its
// line is that row until it moves.
class TextRange final : public uia::ITextRangeProvider {
public:
    // Holds a reference to `provider`.
    TextRange(FieldProvider& provider, std::size_t begin, std::size_t end, bool atRowEnd = false);
    TextRange(const TextRange&) = delete;
    TextRange& operator=(const TextRange&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextRangeProvider
    HRESULT STDMETHODCALLTYPE Clone(uia::ITextRangeProvider** clone) override;
    HRESULT STDMETHODCALLTYPE Compare(uia::ITextRangeProvider* range, BOOL* same) override;
    HRESULT STDMETHODCALLTYPE CompareEndpoints(uia::TextPatternRangeEndpoint endpoint,
                                               uia::ITextRangeProvider* target,
                                               uia::TextPatternRangeEndpoint targetEndpoint,
                                               int* order) override;
    HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(uia::TextUnit unit) override;
    HRESULT STDMETHODCALLTYPE FindAttribute(TEXTATTRIBUTEID attribute, VARIANT value, BOOL backward,
                                            uia::ITextRangeProvider** found) override;
    HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase,
                                       uia::ITextRangeProvider** found) override;
    HRESULT STDMETHODCALLTYPE GetAttributeValue(TEXTATTRIBUTEID attribute, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** rectangles) override;
    HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** element) override;
    HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE Move(uia::TextUnit unit, int count, int* moved) override;
    HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(uia::TextPatternRangeEndpoint endpoint, uia::TextUnit unit,
                                                 int count, int* moved) override;
    HRESULT STDMETHODCALLTYPE MoveEndpointByRange(uia::TextPatternRangeEndpoint endpoint,
                                                  uia::ITextRangeProvider* target,
                                                  uia::TextPatternRangeEndpoint targetEndpoint) override;
    HRESULT STDMETHODCALLTYPE Select() override;
    HRESULT STDMETHODCALLTYPE AddToSelection() override;
    HRESULT STDMETHODCALLTYPE RemoveFromSelection() override;
    HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) override;
    HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** children) override;

private:
    ~TextRange();

    // The field's editor with the ends brought into its text, or nullptr once the field is gone.
    const textedit::Editor* Clamp();
    // Finds the range of this field behind `range` and brings both into the text: E_INVALIDARG for any
    // other range, UIA_E_ELEMENTNOTAVAILABLE once the field is gone.
    HRESULT ClampWith(uia::ITextRangeProvider* range, TextRange*& other);
    void MoveEnd(uia::TextPatternRangeEndpoint endpoint, std::size_t position);
    std::size_t& End(uia::TextPatternRangeEndpoint endpoint) {
        return endpoint == uia::TextPatternRangeEndpoint_Start ? begin_ : end_;
    }

    LONG references_ = 1;
    FieldProvider& provider_;
    std::size_t begin_, end_;
    bool atRowEnd_;
};

}  // namespace quorvel::forms::win32
