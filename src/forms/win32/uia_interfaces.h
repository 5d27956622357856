#pragma once

// The UI Automation interfaces, identifiers and values a text field's provider needs that mingw-w64's
// headers lack: its uiautomationcore.h declares IRawElementProviderSimple but not the Value and Text
// patterns, and its uiautomationcoreapi.h does not compile as C++ (a parameter named `new`). Laid out as
// Windows' uiautomationcore.idl declares them; kept in a namespace of their own so that a fuller header
// cannot clash with them.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <oaidl.h>
#include <uiautomationcore.h>

namespace quorvel::forms::win32::uia {

inline constexpr long kRootObjectId = -25;  // UiaRootObjectId, in WM_GETOBJECT's lParam

inline constexpr PATTERNID kValuePattern = 10002;
inline constexpr PATTERNID kTextPattern = 10014;

inline constexpr PROPERTYID kControlTypeProperty = 30003;
inline constexpr PROPERTYID kNameProperty = 30005;
inline constexpr PROPERTYID kHasKeyboardFocusProperty = 30008;
inline constexpr PROPERTYID kIsKeyboardFocusableProperty = 30009;
inline constexpr PROPERTYID kIsEnabledProperty = 30010;
inline constexpr PROPERTYID kAutomationIdProperty = 30011;
inline constexpr PROPERTYID kIsPasswordProperty = 30019;
inline constexpr PROPERTYID kIsTextPatternAvailableProperty = 30040;
inline constexpr PROPERTYID kIsValuePatternAvailableProperty = 30043;
inline constexpr PROPERTYID kValueIsReadOnlyProperty = 30046;

inline constexpr CONTROLTYPEID kEditControlType = 50004;

inline constexpr TEXTATTRIBUTEID kIsReadOnlyAttribute = 40015;

inline constexpr EVENTID kTextSelectionChangedEvent = 20014;
inline constexpr EVENTID kTextChangedEvent = 20015;

inline constexpr HRESULT kElementNotEnabled = static_cast<HRESULT>(0x80040200);
inline constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);
inline constexpr HRESULT kInvalidOperation = static_cast<HRESULT>(0x80131509);

enum TextUnit {
    TextUnit_Character = 0,
    TextUnit_Format = 1,
    TextUnit_Word = 2,
    TextUnit_Line = 3,
    TextUnit_Paragraph = 4,
    TextUnit_Page = 5,
    TextUnit_Document = 6
};

enum TextPatternRangeEndpoint { TextPatternRangeEndpoint_Start = 0, TextPatternRangeEndpoint_End = 1 };

enum SupportedTextSelection {
    SupportedTextSelection_None = 0,
    SupportedTextSelection_Single = 1,
    SupportedTextSelection_Multiple = 2
};

struct UiaPoint {
    double x;
    double y;
};

// {C7935180-6FB3-4201-B174-7DF73ADBF64A}
inline constexpr IID kIValueProvider = {
    0xc7935180, 0x6fb3, 0x4201, {0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a}};
struct IValueProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) = 0;
};

// {5347AD7B-C355-46F8-AFF5-909033582F63}
inline constexpr IID kITextRangeProvider = {
    0x5347ad7b, 0xc355, 0x46f8, {0xaf, 0xf5, 0x90, 0x90, 0x33, 0x58, 0x2f, 0x63}};
struct ITextRangeProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Clone(ITextRangeProvider** clone) = 0;
    virtual HRESULT STDMETHODCALLTYPE Compare(ITextRangeProvider* range, BOOL* same) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareEndpoints(TextPatternRangeEndpoint endpoint,
                                                       ITextRangeProvider* target,
                                                       TextPatternRangeEndpoint targetEndpoint,
                                                       int* order) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(TextUnit unit) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAttribute(TEXTATTRIBUTEID attribute, VARIANT value, BOOL backward,
                                                    ITextRangeProvider** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase,
                                               ITextRangeProvider** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributeValue(TEXTATTRIBUTEID attribute, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** rectangles) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Move(TextUnit unit, int count, int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(TextPatternRangeEndpoint endpoint, TextUnit unit,
                                                         int count, int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByRange(TextPatternRangeEndpoint endpoint,
                                                          ITextRangeProvider* target,
                                                          TextPatternRangeEndpoint targetEndpoint) = 0;
    virtual HRESULT STDMETHODCALLTYPE Select() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** children) = 0;
};

// {3589C92C-63F3-4367-99BB-ADA653B77CF2}
inline constexpr IID kITextProvider = {
    0x3589c92c, 0x63f3, 0x4367, {0x99, 0xbb, 0xad, 0xa6, 0x53, 0xb7, 0x7c, 0xf2}};
struct ITextProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** ranges) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** ranges) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple* child,
                                                     ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromPoint(UiaPoint point, ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentRange(ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(SupportedTextSelection* supported) = 0;
};

}  // namespace quorvel::forms::win32::uia
