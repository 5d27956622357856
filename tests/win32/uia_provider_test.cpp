// The UI Automation provider of a text field, called in-process through its COM interfaces as UI
// Automation calls it, over a stand-in field that holds a real editing core: 10 pixels a cluster,
// 10 clusters a row, rows 16 pixels high from screen point (100, 200), three rows in view.
#include "decrypt_window.h"
#include "driver.h"
#include "editor.h"
#include "encrypt_window.h"
#include "field.h"
#include "form.h"
#include "text_view.h"
#include "uia_field_provider.h"
#include "uia_interfaces.h"
#include "uia_provider.h"
#include "units.h"
#include "win32_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::forms::win32 {
namespace {

using namespace uia;

class TenPixels final : public textedit::Measurer {
public:
    void Advances(std::u16string_view piece, std::span<int> advances) override {
        for (std::size_t i = 0; i < piece.size(); ++i)
            advances[i] = textedit::IsClusterBoundary(piece, i) ? 10 : 0;
    }
};

// What the stand-in's field asks of a toolkit: nothing it draws, no clipboard, no timers.
class NoHost final : public textedit::FieldHost {
public:
    int ShapedX(std::u16string_view, std::size_t, textedit::TextDirection) override { return 0; }
    std::size_t ShapedOffsetAt(std::u16string_view, int, textedit::TextDirection) override { return 0; }
    bool CopyToClipboard(std::u16string_view, bool) override { return false; }
    std::optional<std::u16string> ClipboardText() override { return std::nullopt; }
    bool ClipboardHasText() override { return false; }
    void StartTimer(textedit::FieldTimer, int) override {}
    void StopTimer(textedit::FieldTimer) override {}
    void Repaint() override {}
    void ScrollBarChanged() override {}
    void TextEdited(const textedit::TextChange&) override {}
    void Changed(const textedit::FieldChange&) override {}
};

class StandInField final : public AccessibleField {
public:
    StandInField() {
        window_ =
            CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        core_.SetGeometry({.width = 100, .height = 48, .lineHeight = 16});
    }
    ~StandInField() override { DestroyWindow(window_); }

    HWND handle() const override { return window_; }
    const textedit::Editor& editor() const override { return core_.editor(); }
    std::u16string AccessibleName() const override { return u"Message to encrypt"; }
    std::u16string AutomationId() const override { return u"Text1"; }
    void SetValue(std::u16string_view text) override { core_.Replace(0, editor().Text().size(), text); }
    void Select(std::size_t anchor, std::size_t caret) override { core_.Select(anchor, caret); }
    Rows VisibleRows() const override { return {top, top + 3}; }
    RECT RowRectangle(std::size_t row, std::size_t begin, std::size_t end) override {
        const auto start = editor().rows().RowStart(row);
        const auto y = static_cast<LONG>(200 + 16 * (row - top));
        return {static_cast<LONG>(100 + 10 * (begin - start)), y, static_cast<LONG>(100 + 10 * (end - start)),
                y + 16};
    }
    std::size_t PositionAt(POINT screen) override {
        return editor().PositionAt(top + static_cast<std::size_t>((screen.y - 200) / 16), screen.x - 100);
    }
    void ScrollIntoView(std::size_t position, bool alignToTop) override {
        scrolledTo = {position, alignToTop};
    }
    std::pair<std::size_t, std::size_t> UnitAt(std::size_t position, textedit::TextUnit unit) const override {
        return core_.UnitAt(position, unit);
    }

    textedit::Field& core() { return core_; }

    std::size_t top = 0;
    std::pair<std::size_t, bool> scrolledTo{};

private:
    HWND window_;
    TenPixels measurer_;
    NoHost host_;
    textedit::Field core_{measurer_, host_};
};

// Calls UI Automation's functions as the tests put them; records the events raised.
struct Recorded {
    std::vector<EVENTID> events;
    IRawElementProviderSimple* returned = nullptr;
} recorded;

UiaLibrary Recording() {
    UiaLibrary library;
    library.ReturnRawElementProvider = [](HWND, WPARAM, LPARAM,
                                          IRawElementProviderSimple* provider) -> LRESULT {
        recorded.returned = provider;
        return 1234;
    };
    library.RaiseAutomationEvent = [](IRawElementProviderSimple*, EVENTID event) -> HRESULT {
        recorded.events.push_back(event);
        return S_OK;
    };
    return library;
}

template <typename Interface> struct Released {
    void operator()(Interface* object) const { object->Release(); }
};
template <typename Interface> using Ref = std::unique_ptr<Interface, Released<Interface>>;

std::u16string TextOf(ITextRangeProvider* range, int maxLength = -1) {
    BSTR text = nullptr;
    EXPECT_EQ(range->GetText(maxLength, &text), S_OK);
    std::u16string result(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
    SysFreeString(text);
    return result;
}

// One of the element's patterns, through its interface.
template <typename Interface>
Ref<Interface> Pattern(IRawElementProviderSimple* element, PATTERNID id, const IID& iid) {
    IUnknown* pattern = nullptr;
    EXPECT_EQ(element->GetPatternProvider(id, &pattern), S_OK);
    void* object = nullptr;
    EXPECT_EQ(pattern->QueryInterface(iid, &object), S_OK);
    pattern->Release();
    return Ref<Interface>(static_cast<Interface*>(object));
}

// The one range an array of them holds, as the selection and the rows in view are.
Ref<ITextRangeProvider> Only(SAFEARRAY* ranges) {
    EXPECT_EQ(ranges->rgsabound[0].cElements, 1u);
    IUnknown* range = nullptr;
    LONG index = 0;
    SafeArrayGetElement(ranges, &index, &range);
    SafeArrayDestroy(ranges);
    return Ref<ITextRangeProvider>(static_cast<ITextRangeProvider*>(range));
}

Ref<ITextRangeProvider> Selection(ITextProvider* text) {
    SAFEARRAY* ranges = nullptr;
    EXPECT_EQ(text->GetSelection(&ranges), S_OK);
    return Only(ranges);
}

// Left, top, width and height of each box, one box after the other.
std::vector<double> Sides(ITextRangeProvider* range) {
    SAFEARRAY* array = nullptr;
    EXPECT_EQ(range->GetBoundingRectangles(&array), S_OK);
    std::vector<double> sides(array->rgsabound[0].cElements);
    for (LONG i = 0; i < static_cast<LONG>(sides.size()); ++i)
        SafeArrayGetElement(array, &i, &sides[static_cast<std::size_t>(i)]);
    SafeArrayDestroy(array);
    return sides;
}

class UiaProviderTest : public ::testing::Test {
protected:
    void Set(std::u16string_view text) { field.core().SetText(std::u16string(text)); }
    Ref<ITextProvider> Text() { return Pattern<ITextProvider>(provider.get(), kTextPattern, kITextProvider); }
    Ref<ITextRangeProvider> Document() {
        ITextRangeProvider* range = nullptr;
        EXPECT_EQ(Text()->get_DocumentRange(&range), S_OK);
        return Ref<ITextRangeProvider>(range);
    }
    // An empty range at `position`.
    Ref<ITextRangeProvider> At(std::size_t position) {
        field.Select(position, position);
        return Selection(Text().get());
    }
    // The texts of the units a range at `position` expands to and moves through.
    std::vector<std::u16string> Units(TextUnit unit, std::size_t position = 0) {
        Ref<ITextRangeProvider> range = At(position);
        EXPECT_EQ(range->ExpandToEnclosingUnit(unit), S_OK);
        std::vector<std::u16string> texts{TextOf(range.get())};
        for (int moved = 1; moved == 1 && texts.size() < 20;) {
            EXPECT_EQ(range->Move(unit, 1, &moved), S_OK);
            if (moved == 1)
                texts.push_back(TextOf(range.get()));
        }
        return texts;
    }
    VARIANT Property(PROPERTYID id) {
        VARIANT value;
        EXPECT_EQ(provider->GetPropertyValue(id, &value), S_OK);
        return value;
    }

    StandInField field;
    UiaLibrary library = Recording();
    std::unique_ptr<FieldAutomation> automation = std::make_unique<FieldAutomation>(field, library);
    Ref<IRawElementProviderSimple> provider{automation->Provider()};
};

TEST_F(UiaProviderTest, FieldIsAnEditNamedByItsLayout) {
    VARIANT name = Property(kNameProperty);
    ASSERT_EQ(name.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(name.bstrVal)), u"Message to encrypt");
    VariantClear(&name);
    VARIANT id = Property(kAutomationIdProperty);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(id.bstrVal)), u"Text1");
    VariantClear(&id);
    EXPECT_EQ(Property(kControlTypeProperty).lVal, 50004);
    EXPECT_EQ(Property(kIsValuePatternAvailableProperty).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Property(kIsTextPatternAvailableProperty).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Property(kIsEnabledProperty).boolVal, VARIANT_TRUE);
    EnableWindow(field.handle(), FALSE);
    EXPECT_EQ(Property(kIsEnabledProperty).boolVal, VARIANT_FALSE);
    EXPECT_EQ(Property(kIsKeyboardFocusableProperty).boolVal, VARIANT_FALSE);
    EXPECT_EQ(Property(30001 /* bounding rectangle: the host window's */).vt, VT_EMPTY);

    ProviderOptions options{};
    EXPECT_EQ(provider->get_ProviderOptions(&options), S_OK);
    EXPECT_EQ(static_cast<int>(options),
              ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
    IUnknown* pattern = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(provider->GetPatternProvider(10000 /* Invoke */, &pattern), S_OK);
    EXPECT_EQ(pattern, nullptr);
}

TEST_F(UiaProviderTest, ValueIsTheTextUnitForUnit) {
    const std::u16string hostile{u'a', 0, 0xD800, u'\r', u'\r', u'\n', u'\n', 0xFFFF, 0xDC00};
    Set(hostile);
    Ref<IValueProvider> value = Pattern<IValueProvider>(provider.get(), kValuePattern, kIValueProvider);
    BSTR text = nullptr;
    ASSERT_EQ(value->get_Value(&text), S_OK);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)), hostile);
    SysFreeString(text);
    BOOL readOnly = TRUE;
    EXPECT_EQ(value->get_IsReadOnly(&readOnly), S_OK);
    EXPECT_EQ(readOnly, FALSE);

    EXPECT_EQ(value->SetValue(L"new\r\ntext"), S_OK);
    EXPECT_EQ(field.editor().Text(), u"new\r\ntext");
    EnableWindow(field.handle(), FALSE);
    EXPECT_EQ(value->SetValue(L"refused"), static_cast<HRESULT>(0x80040200));
    EXPECT_EQ(field.editor().Text(), u"new\r\ntext");
    EnableWindow(field.handle(), TRUE);
}

// Each of UI Automation's units, walked by ExpandToEnclosingUnit and Move, is the field's, Format taken for
// Word and Page for Document; at the text's end a character or a word is empty, and the line of a caret at
// the end of a wrapped row (End) is that row. Text cut short keeps no half of a surrogate pair.
TEST_F(UiaProviderTest, UnitsAreTheFieldsWalkedByExpandAndMove) {
    using Texts = std::vector<std::u16string>;
    Set(u"one two\r\nthree");
    EXPECT_EQ(Units(TextUnit_Character, 10), (Texts{u"h", u"r", u"e", u"e"}));
    EXPECT_EQ(Units(TextUnit_Character, 14), Texts{u""});
    EXPECT_EQ(Units(TextUnit_Word), (Texts{u"one ", u"two", u"\r\n", u"three"}));
    EXPECT_EQ(Units(TextUnit_Format), Units(TextUnit_Word));
    EXPECT_EQ(Units(TextUnit_Word, 5).front(), u"two");
    EXPECT_EQ(Units(TextUnit_Word, 14), Texts{u""});
    EXPECT_EQ(Units(TextUnit_Paragraph), (Texts{u"one two\r\n", u"three"}));
    EXPECT_EQ(Units(TextUnit_Document, 4), Texts{u"one two\r\nthree"});
    EXPECT_EQ(Units(TextUnit_Page, 4), Texts{u"one two\r\nthree"});

    // Ten clusters a row: prose wraps after the spaces, each line holds its break.
    Set(u"aaaa bbbb cccc dddd\r\neeee");
    EXPECT_EQ(Units(TextUnit_Line), (Texts{u"aaaa bbbb ", u"cccc dddd\r\n", u"eeee"}));
    EXPECT_EQ(Units(TextUnit_Line, 10).front(), u"cccc dddd\r\n");  // where the row wraps: the next row
    EXPECT_EQ(Units(TextUnit_Line, 25).front(), u"eeee");           // at the text's end: the last row
    field.Select(0, 0);
    field.core().Perform({.command = textedit::Command::Move, .motion = textedit::Motion::LineEnd});
    Ref<ITextRangeProvider> caret = Selection(Text().get());
    ASSERT_EQ(caret->ExpandToEnclosingUnit(TextUnit_Line), S_OK);
    EXPECT_EQ(TextOf(caret.get()), u"aaaa bbbb ");

    Set(u"a\U0001F600b");
    Ref<ITextRangeProvider> document = Document();
    EXPECT_EQ(TextOf(document.get(), 2), u"a");
    EXPECT_EQ(TextOf(document.get(), 3), u"a\U0001F600");
    EXPECT_EQ(TextOf(document.get()), u"a\U0001F600b");
}

TEST_F(UiaProviderTest, MovesCompareAndEndpoints) {
    Set(u"one two three");
    Ref<ITextRangeProvider> document = Document();
    ITextRangeProvider* copy = nullptr;
    ASSERT_EQ(document->Clone(&copy), S_OK);
    Ref<ITextRangeProvider> range(copy);
    BOOL same = FALSE;
    EXPECT_EQ(range->Compare(document.get(), &same), S_OK);
    EXPECT_EQ(same, TRUE);

    int moved = 0;
    EXPECT_EQ(range->MoveEndpointByUnit(TextPatternRangeEndpoint_Start, TextUnit_Word, 1, &moved), S_OK);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(TextOf(range.get()), u"two three");
    EXPECT_EQ(range->Move(TextUnit_Line, 0, &moved), S_OK);  // zero moves nothing
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(TextOf(range.get()), u"two three");
    EXPECT_EQ(range->Compare(document.get(), &same), S_OK);
    EXPECT_EQ(same, FALSE);
    // A range of another element is none of this one's.
    FieldAutomation another(field, library);
    Ref<IRawElementProviderSimple> anotherProvider(another.Provider());
    ITextRangeProvider* foreign = nullptr;
    Pattern<ITextProvider>(anotherProvider.get(), kTextPattern, kITextProvider)->get_DocumentRange(&foreign);
    Ref<ITextRangeProvider> foreignRange(foreign);
    EXPECT_EQ(document->Compare(foreignRange.get(), &same), E_INVALIDARG);
    int order = 0;
    const auto Order = [&](ITextRangeProvider* a, TextPatternRangeEndpoint end, ITextRangeProvider* b,
                           TextPatternRangeEndpoint targetEnd) {
        EXPECT_EQ(a->CompareEndpoints(end, b, targetEnd, &order), S_OK);
        return order;
    };
    EXPECT_EQ(
        Order(range.get(), TextPatternRangeEndpoint_Start, document.get(), TextPatternRangeEndpoint_Start),
        1);
    EXPECT_EQ(
        Order(document.get(), TextPatternRangeEndpoint_Start, range.get(), TextPatternRangeEndpoint_Start),
        -1);
    EXPECT_EQ(Order(range.get(), TextPatternRangeEndpoint_End, document.get(), TextPatternRangeEndpoint_End),
              0);
    EXPECT_EQ(
        Order(range.get(), TextPatternRangeEndpoint_Start, document.get(), TextPatternRangeEndpoint_End), -1);

    // A range of text moves by whole units and spans one; it stops at the last unit.
    EXPECT_EQ(range->Move(TextUnit_Word, 5, &moved), S_OK);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(TextOf(range.get()), u"three");
    EXPECT_EQ(range->Move(TextUnit_Word, -5, &moved), S_OK);
    EXPECT_EQ(moved, -2);
    EXPECT_EQ(TextOf(range.get()), u"one ");
    // An empty range moves as a caret, as far as the text's end.
    Ref<ITextRangeProvider> caret = At(5);
    EXPECT_EQ(caret->Move(TextUnit_Word, 5, &moved), S_OK);
    EXPECT_EQ(moved, 2);
    EXPECT_EQ(
        Order(caret.get(), TextPatternRangeEndpoint_Start, document.get(), TextPatternRangeEndpoint_End), 0);
    EXPECT_EQ(caret->Move(TextUnit_Character, -3, &moved), S_OK);
    EXPECT_EQ(moved, -3);
    EXPECT_EQ(TextOf(caret.get()), u"");

    // An end moved past the other one takes it along.
    EXPECT_EQ(range->MoveEndpointByUnit(TextPatternRangeEndpoint_End, TextUnit_Character, -20, &moved), S_OK);
    EXPECT_EQ(moved, -4);
    EXPECT_EQ(
        Order(range.get(), TextPatternRangeEndpoint_Start, document.get(), TextPatternRangeEndpoint_Start),
        0);
    EXPECT_EQ(
        range->MoveEndpointByRange(TextPatternRangeEndpoint_End, caret.get(), TextPatternRangeEndpoint_End),
        S_OK);
    EXPECT_EQ(TextOf(range.get()), u"one two th");
    EXPECT_EQ(range->MoveEndpointByRange(TextPatternRangeEndpoint_Start, document.get(),
                                         TextPatternRangeEndpoint_End),
              S_OK);
    EXPECT_EQ(Order(range.get(), TextPatternRangeEndpoint_End, document.get(), TextPatternRangeEndpoint_End),
              0);
    EXPECT_EQ(TextOf(range.get()), u"");
}

TEST_F(UiaProviderTest, SelectionBothWays) {
    Set(u"one two three");
    field.Select(7, 3);
    Ref<ITextRangeProvider> range = Selection(Text().get());
    EXPECT_EQ(TextOf(range.get()), u" two");

    int moved = 0;
    range->Move(TextUnit_Word, 1, &moved);
    EXPECT_EQ(range->Select(), S_OK);
    // From the start of the word the selection began in, one word on.
    EXPECT_EQ(field.editor().selection().begin(), 4u);
    EXPECT_EQ(field.editor().selection().end(), 8u);
    EXPECT_EQ(range->AddToSelection(), static_cast<HRESULT>(0x80131509));
    EXPECT_EQ(range->ScrollIntoView(TRUE), S_OK);
    EXPECT_EQ(field.scrolledTo, (std::pair<std::size_t, bool>{4, true}));
}

TEST_F(UiaProviderTest, RectanglesAndPointsOfTheRowsInView) {
    Set(u"aaaa bbbb cccc dddd\r\neeee");
    Ref<ITextRangeProvider> range = At(2);
    EXPECT_EQ(Sides(range.get()), std::vector<double>{});
    int moved = 0;
    range->MoveEndpointByUnit(TextPatternRangeEndpoint_End, TextUnit_Character, 11, &moved);
    EXPECT_EQ(Sides(range.get()), (std::vector<double>{120, 200, 80, 16, 100, 216, 30, 16}));
    field.top = 1;
    EXPECT_EQ(Sides(range.get()), (std::vector<double>{100, 200, 30, 16}));

    ITextRangeProvider* atPoint = nullptr;
    ASSERT_EQ(Text()->RangeFromPoint(UiaPoint{133, 221}, &atPoint), S_OK);
    Ref<ITextRangeProvider> point(atPoint);
    point->ExpandToEnclosingUnit(TextUnit_Character);
    EXPECT_EQ(TextOf(point.get()), u"e");  // row 2 in view, x 33: before the fourth unit of "eeee"

    SAFEARRAY* visible = nullptr;
    ASSERT_EQ(Text()->GetVisibleRanges(&visible), S_OK);
    EXPECT_EQ(TextOf(Only(visible).get()), u"cccc dddd\r\neeee");
}

TEST_F(UiaProviderTest, FindTextWithinTheRange) {
    Set(u"Abc abc ABC");
    ITextRangeProvider* found = nullptr;
    BSTR needle = SysAllocString(L"abc");
    ASSERT_EQ(Document()->FindText(needle, TRUE, TRUE, &found), S_OK);
    Ref<ITextRangeProvider> last(found);
    EXPECT_EQ(TextOf(last.get()), u"ABC");
    ASSERT_EQ(Document()->FindText(needle, FALSE, FALSE, &found), S_OK);
    Ref<ITextRangeProvider> exact(found);
    int order = 0;
    exact->CompareEndpoints(TextPatternRangeEndpoint_Start, At(4).get(), TextPatternRangeEndpoint_Start,
                            &order);
    EXPECT_EQ(order, 0);
    EXPECT_EQ(last->FindText(needle, FALSE, FALSE, &found), S_OK);
    EXPECT_EQ(found, nullptr);
    SysFreeString(needle);
}

TEST_F(UiaProviderTest, RangesOutliveEditsAndTheField) {
    Set(u"a long text of many words");
    Ref<ITextRangeProvider> document = Document();
    Ref<ITextRangeProvider> tail = At(20);
    field.SetValue(u"short");
    EXPECT_EQ(TextOf(document.get()), u"short");
    int moved = 0;
    EXPECT_EQ(tail->Move(TextUnit_Character, -1, &moved), S_OK);
    EXPECT_EQ(moved, -1);
    tail->ExpandToEnclosingUnit(TextUnit_Character);
    EXPECT_EQ(TextOf(tail.get()), u"t");

    automation.reset();
    BSTR text = nullptr;
    EXPECT_EQ(document->GetText(-1, &text), static_cast<HRESULT>(0x80040201));
    VARIANT value;
    EXPECT_EQ(provider->GetPropertyValue(kNameProperty, &value), static_cast<HRESULT>(0x80040201));
    EXPECT_EQ(value.vt, VT_EMPTY);
}

// The provider asks UI Automation to call it through COM: on the program's thread only when that thread is a
// single-threaded apartment, as the application object makes it.
TEST(UiaLibraryTest, UiThreadIsASingleThreadedApartment) {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    ASSERT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
    EXPECT_EQ(type, APTTYPE_MAINSTA);
}

TEST(UiaLibraryTest, FunctionsFoundByNameOrNone) {
    const UiaLibrary system = UiaLibrary::Load(L"uiautomationcore.dll");
    EXPECT_NE(system.ReturnRawElementProvider, nullptr);
    EXPECT_NE(system.HostProviderFromHwnd, nullptr);
    EXPECT_NE(system.RaiseAutomationEvent, nullptr);
    EXPECT_NE(system.GetReservedNotSupportedValue, nullptr);
    EXPECT_NE(system.ClientsAreListening, nullptr);
    EXPECT_NE(system.DisconnectProvider, nullptr);
    const UiaLibrary missing = UiaLibrary::Load(L"no_such_uiautomationcore.dll");
    EXPECT_EQ(missing.ReturnRawElementProvider, nullptr);
    EXPECT_EQ(missing.RaiseAutomationEvent, nullptr);
}

TEST_F(UiaProviderTest, AnswersAndEventsThroughTheLibrary) {
    recorded = {};
    FieldAutomation fresh(field, library);
    fresh.TextChanged();
    EXPECT_TRUE(recorded.events.empty());  // no client has asked for the field yet
    EXPECT_EQ(fresh.AnswerGetObject(0, OBJID_CLIENT), 0);
    EXPECT_EQ(fresh.AnswerGetObject(0, static_cast<LPARAM>(static_cast<DWORD>(kRootObjectId))), 1234);
    EXPECT_EQ(fresh.AnswerGetObject(0, kRootObjectId), 1234);
    ASSERT_NE(recorded.returned, nullptr);
    fresh.TextChanged();
    fresh.SelectionChanged();
    EXPECT_EQ(recorded.events, (std::vector<EVENTID>{20015, 20014}));

    // Without UI Automation's functions the field answers nothing and raises nothing.
    const UiaLibrary none;
    FieldAutomation bare(field, none);
    EXPECT_EQ(bare.AnswerGetObject(0, kRootObjectId), 0);
    Ref<IRawElementProviderSimple> alone(bare.Provider());
    bare.TextChanged();
    EXPECT_EQ(recorded.events.size(), 2u);
    IRawElementProviderSimple* host = reinterpret_cast<IRawElementProviderSimple*>(1);
    EXPECT_EQ(alone->get_HostRawElementProvider(&host), S_OK);
    EXPECT_EQ(host, nullptr);
    VARIANT attribute;
    EXPECT_EQ(Document()->GetAttributeValue(40005 /* font name */, &attribute), S_OK);
    EXPECT_EQ(attribute.vt, VT_EMPTY);

    // The system's: the host window's provider, and the value for attributes the field lacks.
    FieldAutomation system(field);
    Ref<IRawElementProviderSimple> systems(system.Provider());
    ASSERT_EQ(systems->get_HostRawElementProvider(&host), S_OK);
    ASSERT_NE(host, nullptr);
    host->Release();
    ITextRangeProvider* document = nullptr;
    ASSERT_EQ(
        Pattern<ITextProvider>(systems.get(), kTextPattern, kITextProvider)->get_DocumentRange(&document),
        S_OK);
    EXPECT_EQ(document->GetAttributeValue(40005, &attribute), S_OK);
    EXPECT_EQ(attribute.vt, VT_UNKNOWN);
    VariantClear(&attribute);
    EXPECT_EQ(document->GetAttributeValue(kIsReadOnlyAttribute, &attribute), S_OK);
    EXPECT_EQ(attribute.vt, VT_BOOL);
    EXPECT_EQ(attribute.boolVal, VARIANT_FALSE);
    document->Release();
}

// The same provider over the program's own text field, 409 by 89 pixels in a window that counts the
// field's EN_CHANGE notifications.
class UiaTextViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        TextView::Register();
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 40, 600, 300,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowSubclass(
            parent_,
            [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
               DWORD_PTR changes) -> LRESULT {
                if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
                    ++*reinterpret_cast<int*>(changes);
                return DefSubclassProc(window, message, wParam, lParam);
            },
            1, reinterpret_cast<DWORD_PTR>(&changes_));
        font_ = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
        HWND handle = CreateWindowExW(WS_EX_CLIENTEDGE, TextView::ClassName, L"",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL, 8, 8, 409, 89, parent_,
                                      reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        view_ = TextView::Of(handle);
        view_->SetNames(u"Encrypted message", u"Text2");
        automation_ = std::make_unique<FieldAutomation>(*view_, library_);
        provider_.reset(automation_->Provider());
        text_ = Pattern<ITextProvider>(provider_.get(), kTextPattern, kITextProvider);
    }
    void TearDown() override {
        text_.reset();
        provider_.reset();
        automation_.reset();
        DestroyWindow(parent_);
        DeleteObject(font_);
    }

    Ref<ITextRangeProvider> Range(std::size_t begin, std::size_t end) {
        ITextRangeProvider* range = nullptr;
        EXPECT_EQ(text_->get_DocumentRange(&range), S_OK);
        int moved = 0;
        range->MoveEndpointByUnit(TextPatternRangeEndpoint_End, TextUnit_Character, -1000000, &moved);
        range->MoveEndpointByUnit(TextPatternRangeEndpoint_End, TextUnit_Character, static_cast<int>(end),
                                  &moved);
        range->MoveEndpointByUnit(TextPatternRangeEndpoint_Start, TextUnit_Character, static_cast<int>(begin),
                                  &moved);
        return Ref<ITextRangeProvider>(range);
    }
    static std::vector<RECT> Rectangles(ITextRangeProvider* range) {
        const std::vector<double> sides = Sides(range);
        std::vector<RECT> boxes;
        for (std::size_t i = 0; i + 3 < sides.size(); i += 4)
            boxes.push_back({static_cast<LONG>(sides[i]), static_cast<LONG>(sides[i + 1]),
                             static_cast<LONG>(sides[i] + sides[i + 2]),
                             static_cast<LONG>(sides[i + 1] + sides[i + 3])});
        return boxes;
    }

    int changes_ = 0;
    HWND parent_ = nullptr;
    HFONT font_ = nullptr;
    TextView* view_ = nullptr;
    UiaLibrary library_ = Recording();
    std::unique_ptr<FieldAutomation> automation_;
    Ref<IRawElementProviderSimple> provider_;
    Ref<ITextProvider> text_;
};

TEST_F(UiaTextViewTest, ValueAndSelectionAreTheFieldsEdits) {
    VARIANT name;
    ASSERT_EQ(provider_->GetPropertyValue(kNameProperty, &name), S_OK);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(name.bstrVal)), u"Encrypted message");
    VariantClear(&name);

    Ref<IValueProvider> value = Pattern<IValueProvider>(provider_.get(), kValuePattern, kIValueProvider);
    // Set as a user's edit: the parent hears of it and it can be undone.
    ASSERT_EQ(value->SetValue(L"%12%34 coded\r\nline"), S_OK);
    EXPECT_EQ(view_->Text(), u"%12%34 coded\r\nline");
    EXPECT_EQ(changes_, 1);
    EXPECT_TRUE(SendMessageW(view_->handle(), EM_CANUNDO, 0, 0));
    BSTR text = nullptr;
    ASSERT_EQ(value->get_Value(&text), S_OK);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)),
              u"%12%34 coded\r\nline");
    SysFreeString(text);

    ASSERT_EQ(Range(7, 12)->Select(), S_OK);
    EXPECT_EQ(view_->editor().selection().caret, 12u);
    DWORD begin = 0;
    DWORD end = 0;
    SendMessageW(view_->handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&begin),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(begin, 7u);
    EXPECT_EQ(end, 12u);
    SendMessageW(view_->handle(), EM_SETSEL, 14, 18);
    EXPECT_EQ(TextOf(Selection(text_.get()).get()), u"line");
}

TEST_F(UiaTextViewTest, LinesAreTheRowsOnScreen) {
    // Prose that wraps into more rows than the field shows.
    std::u16string prose;
    for (int i = 0; i < 200; ++i)
        prose += u"word" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u" ";
    view_->SetText(prose);
    const textedit::RowLayout& rows = view_->editor().rows();
    ASSERT_GT(rows.RowCount(), view_->PageRows() + 1);
    Ref<ITextRangeProvider> line = Range(0, 0);
    ASSERT_EQ(line->ExpandToEnclosingUnit(TextUnit_Line), S_OK);
    EXPECT_EQ(TextOf(line.get()), prose.substr(0, rows.RowLimit(0)));
    std::vector<RECT> first = Rectangles(line.get());

    // The first row's box lies in the field on screen where the field draws the row, and the second row's
    // just below it.
    RECT window{};
    GetWindowRect(view_->handle(), &window);
    ASSERT_EQ(first.size(), 1u);
    const auto start = static_cast<DWORD>(SendMessageW(view_->handle(), EM_POSFROMCHAR, 0, 0));
    POINT drawn{LOWORD(start), HIWORD(start)};
    ClientToScreen(view_->handle(), &drawn);
    EXPECT_EQ(first[0].left, drawn.x);
    EXPECT_EQ(first[0].top, drawn.y);
    EXPECT_LE(first[0].right, window.right);
    EXPECT_GT(first[0].right, first[0].left);
    std::vector<RECT> two = Rectangles(Range(rows.RowStart(0), rows.RowLimit(1)).get());
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].top, first[0].bottom);

    // A point is the boundary nearest to it: in a character's box, before the character on its left
    // quarter and after it on its right quarter.
    const std::vector<RECT> seventh = Rectangles(Range(7, 8).get());
    ASSERT_EQ(seventh.size(), 1u);
    const double quarter = (seventh[0].right - seventh[0].left) / 4.0;
    const double middle = (seventh[0].top + seventh[0].bottom) / 2.0;
    ITextRangeProvider* hit = nullptr;
    ASSERT_EQ(text_->RangeFromPoint(UiaPoint{seventh[0].right - quarter, middle}, &hit), S_OK);
    Ref<ITextRangeProvider> after(hit);
    int order = 0;
    after->CompareEndpoints(TextPatternRangeEndpoint_Start, Range(8, 8).get(), TextPatternRangeEndpoint_Start,
                            &order);
    EXPECT_EQ(order, 0);
    ASSERT_EQ(text_->RangeFromPoint(UiaPoint{seventh[0].left + quarter, middle}, &hit), S_OK);
    Ref<ITextRangeProvider> point(hit);
    point->ExpandToEnclosingUnit(TextUnit_Character);
    EXPECT_EQ(TextOf(point.get()), prose.substr(7, 1));

    // The last row scrolled into view, and out of view no box; a row scrolled to the bottom of the view.
    ASSERT_EQ(Range(prose.size(), prose.size())->ScrollIntoView(TRUE), S_OK);
    EXPECT_EQ(view_->TopRow(), rows.RowCount() - view_->PageRows());
    EXPECT_TRUE(Rectangles(Range(0, 3).get()).empty());
    ASSERT_GT(rows.RowCount(), 10u);
    ASSERT_EQ(Range(rows.RowStart(10), rows.RowStart(10))->ScrollIntoView(FALSE), S_OK);
    EXPECT_EQ(view_->TopRow(), 11 - view_->PageRows());
    // A UI Automation request through the window: answered by the field's own provider.
    EXPECT_NE(SendMessageW(view_->handle(), WM_GETOBJECT, 0, kRootObjectId), 0);
}

// The fields of the program's windows, built from their layouts: named by their purpose, found by their
// layout names, and the window reads what UI Automation sets.
TEST(UiaWindowFields, NamedByTheirLayouts) {
    struct Expected {
        const WindowLayout* layout;
        const char* field;
        std::u16string name;
    };
    for (const Expected& expected : {Expected{&windows::kEncryptLayout, "Text1", u"Message to encrypt"},
                                     Expected{&windows::kEncryptLayout, "Text2", u"Encrypted message"},
                                     Expected{&windows::kDecryptLayout, "Text1", u"Coded text to decrypt"},
                                     Expected{&windows::kDecryptLayout, "Text2", u"Decrypted message"}}) {
        Form form(*expected.layout);
        form.Show();
        testing::drive::Opened(form);
        TextView* field = TextView::Of(dynamic_cast<Win32Window&>(*form.window()).Control(expected.field));
        ASSERT_NE(field, nullptr);
        const UiaLibrary none;
        FieldAutomation automation(*field, none);
        Ref<IRawElementProviderSimple> provider(automation.Provider());
        VARIANT name;
        ASSERT_EQ(provider->GetPropertyValue(kNameProperty, &name), S_OK);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(name.bstrVal)), expected.name);
        VariantClear(&name);
        VARIANT id;
        ASSERT_EQ(provider->GetPropertyValue(kAutomationIdProperty, &id), S_OK);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(id.bstrVal)),
                  std::u16string(expected.field, expected.field + 5));
        VariantClear(&id);
        ASSERT_EQ(
            Pattern<IValueProvider>(provider.get(), kValuePattern, kIValueProvider)->SetValue(L"%1 \u00e9"),
            S_OK);
        EXPECT_EQ(form.window()->Text(expected.field), u"%1 \u00e9");
    }
}

}  // namespace
}  // namespace quorvel::forms::win32
