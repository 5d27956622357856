// The program's own text field, driven through the window messages a user's keys and mouse send
// it: editing and selection, undo, words, clusters, wrapping at its width and after a resize or a font
// change, and the clipboard.
#include "text_field.h"
#include "text_view.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <imm.h>
#include <oleacc.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::forms::win32 {
namespace {

// A top-level window holding one field, 409 by 89 pixels like the program's fields, counting the
// EN_CHANGE notifications and the clicks it hears.
class FieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        TextView::Register();
        static const bool registered = [] {
            WNDCLASSEXW parentClass{};
            parentClass.cbSize = sizeof parentClass;
            parentClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
                if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
                    ++changes;
                if (message == WM_COMMAND && HIWORD(wParam) == kTextFieldClicked)
                    ++clicks;
                return DefWindowProcW(window, message, wParam, lParam);
            };
            parentClass.hInstance = GetModuleHandleW(nullptr);
            parentClass.lpszClassName = L"FieldTestParent";
            return RegisterClassExW(&parentClass) != 0;
        }();
        ASSERT_TRUE(registered);
        parent_ = CreateWindowExW(0, L"FieldTestParent", L"field", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  600, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        font_ = Font(13);
        field_ = CreateWindowExW(WS_EX_CLIENTEDGE, TextView::ClassName, L"",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL, 8, 8, 409, 89, parent_,
                                 reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(field_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        SetFocus(field_);
        changes = 0;
        clicks = 0;
    }

    void TearDown() override {
        DestroyWindow(parent_);
        DeleteObject(font_);
        for (HFONT font : extraFonts_)
            DeleteObject(font);
        Modifiers(false, false);
    }

    HFONT Font(int pixels) {
        return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                           L"Tahoma");
    }

    TextView& View() { return *TextView::Of(field_); }
    const std::u16string& Text() { return View().Text(); }
    void Set(std::u16string_view text) { View().SetText(std::u16string(text)); }

    std::pair<DWORD, DWORD> Selection() {
        DWORD begin = 0;
        DWORD end = 0;
        SendMessageW(field_, EM_GETSEL, reinterpret_cast<WPARAM>(&begin), reinterpret_cast<LPARAM>(&end));
        return {begin, end};
    }
    void SelectRange(int anchor, int caret) { SendMessageW(field_, EM_SETSEL, anchor, caret); }
    std::size_t Caret() { return View().editor().selection().caret; }

    // The field's Active Accessibility object as a screen reader gets it; the caller releases it.
    IAccessible* Accessible() {
        IAccessible* accessible = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(field_, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&accessible)),
                  S_OK);
        return accessible;
    }
    // A text the object gives of the field itself through `getter` (its name, its value).
    static std::u16string Read(IAccessible* accessible,
                               HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, BSTR*)) {
        BSTR text = nullptr;
        EXPECT_EQ((accessible->*getter)(Self(), &text), S_OK);
        std::u16string result(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
        SysFreeString(text);
        return result;
    }
    static VARIANT Self() {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }

    static void Modifiers(bool shift, bool control) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        state[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(state);
    }
    void Key(UINT key, bool shift = false, bool control = false) {
        Modifiers(shift, control);
        SendMessageW(field_, WM_KEYDOWN, key, 1);
        SendMessageW(field_, WM_KEYUP, key, static_cast<LPARAM>(1 | (3u << 30)));
        Modifiers(false, false);
    }
    void Type(std::u16string_view text) {
        for (const char16_t unit : text)
            SendMessageW(field_, WM_CHAR, unit, 1);
    }

    POINT PointOf(std::size_t position) {
        const auto packed = static_cast<DWORD>(SendMessageW(field_, EM_POSFROMCHAR, position, 0));
        return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
    }
    void Mouse(UINT message, POINT at, WPARAM keys = 0) {
        SendMessageW(field_, message, keys, MAKELPARAM(at.x, at.y));
    }

    // How wide GDI itself makes the text in the field's font.
    int Extent(std::size_t begin, std::size_t end) {
        HDC dc = GetDC(field_);
        HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(field_, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(Text().data() + begin),
                              static_cast<int>(end - begin), &size);
        SelectObject(dc, previous);
        ReleaseDC(field_, dc);
        return size.cx;
    }
    // Each row's width, with the spaces that end a row left out.
    std::vector<int> RowWidths() {
        std::vector<int> widths;
        for (std::size_t row = 0; row < RowCount(); ++row) {
            const std::size_t start = RowStart(row);
            std::size_t end = start + static_cast<std::size_t>(SendMessageW(field_, EM_LINELENGTH, start, 0));
            while (end > start && Text()[end - 1] == u' ')
                --end;
            widths.push_back(Extent(start, end));
        }
        return widths;
    }
    int TextAreaWidth() {
        RECT area{};
        SendMessageW(field_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
        return area.right - area.left;
    }
    std::size_t RowStart(std::size_t row) {
        return static_cast<std::size_t>(SendMessageW(field_, EM_LINEINDEX, row, 0));
    }
    std::size_t RowCount() { return static_cast<std::size_t>(SendMessageW(field_, EM_GETLINECOUNT, 0, 0)); }

    static inline int changes = 0;
    static inline int clicks = 0;
    HWND parent_ = nullptr;
    HWND field_ = nullptr;
    HFONT font_ = nullptr;
    std::vector<HFONT> extraFonts_;
};

TEST_F(FieldTest, TypingEnterBackspaceDeleteAndTheCaretKeys) {
    Type(u"abc\rdef");
    EXPECT_EQ(Text(), u"abc\r\ndef");
    EXPECT_EQ(Caret(), 8u);
    Key(VK_LEFT);
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), 5u);
    Key(VK_LEFT);  // over CR LF at once
    EXPECT_EQ(Caret(), 3u);
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), 5u);
    Type(u"\b");  // takes CR LF whole
    EXPECT_EQ(Text(), u"abcdef");
    EXPECT_EQ(Caret(), 3u);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), u"abcef");
    Key(VK_HOME);
    EXPECT_EQ(Caret(), 0u);
    Key(VK_END);
    EXPECT_EQ(Caret(), 5u);
    Key(VK_DELETE);  // at the end: nothing
    EXPECT_EQ(Text(), u"abcef");

    Set(u"one\r\ntwo\r\nthree");
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), 5u);
    Key(VK_END, false, true);
    EXPECT_EQ(Caret(), 15u);
    Key(VK_UP);
    EXPECT_EQ(Caret(), 8u);
    Key(VK_HOME, false, true);
    EXPECT_EQ(Caret(), 0u);
    // Tab, Escape and Ctrl+letters type nothing.
    Type(u"\t\x1B\x01");
    EXPECT_EQ(Text(), u"one\r\ntwo\r\nthree");
}

TEST_F(FieldTest, ShiftSelectsAndTypingReplacesTheSelection) {
    Type(u"hello world");
    Key(VK_LEFT, true);
    Key(VK_LEFT, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{9}, DWORD{11}));
    Type(u"X");
    EXPECT_EQ(Text(), u"hello worX");
    Key(VK_HOME, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{10}));
    Key(VK_RIGHT);  // collapses to the selection's end
    EXPECT_EQ(Selection(), std::make_pair(DWORD{10}, DWORD{10}));
    Key('A', false, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{10}));
    Type(u"\b");
    EXPECT_EQ(Text(), u"");

    // EM_SETSEL: -1 as the end is the text's end; -1 as the start drops the selection.
    Set(u"0123456789");
    SelectRange(2, -1);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{2}, DWORD{10}));
    SelectRange(-1, 0);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{10}, DWORD{10}));
    SelectRange(7, 3);
    EXPECT_EQ(Caret(), 3u);
    SendMessageW(field_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"-"));
    EXPECT_EQ(Text(), u"012-789");
}

TEST_F(FieldTest, UndoAndRedoByKeysAndMessages) {
    Type(u"one two");
    Key(VK_LEFT);
    Key(VK_LEFT);
    Key(VK_LEFT);
    Type(u"X");
    EXPECT_EQ(Text(), u"one Xtwo");
    EXPECT_TRUE(SendMessageW(field_, EM_CANUNDO, 0, 0));
    Key('Z', false, true);
    EXPECT_EQ(Text(), u"one two");
    Key('Z', false, true);
    EXPECT_EQ(Text(), u"");
    EXPECT_FALSE(SendMessageW(field_, EM_CANUNDO, 0, 0));
    Key('Y', false, true);
    EXPECT_EQ(Text(), u"one two");
    Key('Z', true, true);
    EXPECT_EQ(Text(), u"one Xtwo");
    SelectRange(0, 4);
    SendMessageW(field_, WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(), u"Xtwo");
    EXPECT_TRUE(SendMessageW(field_, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(), u"one Xtwo");
    // Setting the text forgets the history.
    Set(u"new");
    EXPECT_FALSE(SendMessageW(field_, EM_CANUNDO, 0, 0));
}

TEST_F(FieldTest, CtrlArrowsMoveByWordsAndDoubleClickSelectsOne) {
    Set(u"alpha beta  gamma");
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(Caret(), 6u);
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(Caret(), 12u);
    Key(VK_END);
    Key(VK_LEFT, true, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{12}, DWORD{17}));
    Key(VK_LEFT, false, true);
    EXPECT_EQ(Caret(), 6u);

    POINT inBeta = PointOf(8);
    inBeta.y += 2;
    Mouse(WM_LBUTTONDBLCLK, inBeta, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, inBeta);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{6}, DWORD{10}));
}

TEST_F(FieldTest, ClickPlacesTheCaretDragSelectsShiftClickExtends) {
    Set(u"click and drag here");
    const auto at = [&](std::size_t position) {
        POINT point = PointOf(position);
        point.y += 2;
        return point;
    };
    Mouse(WM_LBUTTONDOWN, at(6), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, at(6));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{6}, DWORD{6}));
    Mouse(WM_LBUTTONDOWN, at(10), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, at(14), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, at(14));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{10}, DWORD{14}));
    EXPECT_EQ(GetCapture(), nullptr);
    Mouse(WM_LBUTTONDOWN, at(2), MK_LBUTTON | MK_SHIFT);
    Mouse(WM_LBUTTONUP, at(2));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{2}, DWORD{10}));
    EXPECT_EQ(Caret(), 2u);

    // Dragged below the field, the selection goes on into the rows that scroll into view.
    std::u16string lines;
    for (int line = 0; line < 50; ++line)
        lines += u"line\r\n";
    Set(lines);
    RECT client{};
    GetClientRect(field_, &client);
    Mouse(WM_LBUTTONDOWN, at(0), MK_LBUTTON);
    for (int move = 0; move < 3; ++move)
        Mouse(WM_MOUSEMOVE, {0, client.bottom + 10}, MK_LBUTTON);
    EXPECT_EQ(View().TopRow(), 3u);
    EXPECT_EQ(Selection().second, RowStart(View().TopRow() + View().PageRows() - 1));
    Mouse(WM_LBUTTONUP, {0, client.bottom + 10});
    EXPECT_EQ(GetCapture(), nullptr);
}

// A click past either end of a row, right-to-left text in it or not, lands at that end; the caret after
// spaces that hang past the field's edge stays at the edge.
TEST_F(FieldTest, ClicksAndTheCaretKeepToTheRowsEnds) {
    Set(u"abc \u05E9\u05DC\u05D5\u05DD \u0627\u0644\u0633\u0644\u0627\u0645 def\r\nnext");
    UpdateWindow(field_);
    const POINT start = PointOf(0);
    Mouse(WM_LBUTTONDOWN, {start.x + 300, start.y + 2}, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, {start.x + 300, start.y + 2});
    EXPECT_EQ(Caret(), 19u);
    Mouse(WM_LBUTTONDOWN, {0, start.y + 2}, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, {0, start.y + 2});
    EXPECT_EQ(Caret(), 0u);

    Set(u"word" + std::u16string(300, u' ') + u"next");
    Key(VK_END);
    EXPECT_EQ(Caret(), 304u);
    POINT caret{};
    GetCaretPos(&caret);
    RECT client{};
    GetClientRect(field_, &client);
    EXPECT_EQ(caret.y, start.y);
    EXPECT_LT(caret.x, client.right);
    EXPECT_GT(caret.x, client.right - 8);
}

TEST_F(FieldTest, InRightToLeftRowsTheCaretKeysAndClicksGoByWhereTheCaretIsDrawn) {
    // Hebrew words over several rows of a narrow field, each row drawn right to left, the first row
    // wider than the second, so that a caret put at the x of its logical order lands elsewhere.
    SetWindowPos(field_, nullptr, 0, 0, 120, 89, SWP_NOMOVE | SWP_NOZORDER);
    Set(u"\u05E9\u05DC\u05D5\u05DD \u05E9\u05DC\u05D5\u05DD \u05E9\u05DC\u05D5\u05DD "
        u"\u05E9\u05DC\u05D5\u05DD\u05E9\u05DC\u05D5\u05DD \u05D0\u05D1 "
        u"\u05E9\u05DC\u05D5\u05DD \u05E9\u05DC\u05D5\u05DD \u05E9\u05DC\u05D5\u05DD");
    UpdateWindow(field_);
    ASSERT_GE(RowCount(), 3u);
    const POINT top = PointOf(0);
    const auto caretAt = [] {
        POINT at{};
        GetCaretPos(&at);
        return at;
    };
    const auto click = [&](POINT at) {
        Mouse(WM_LBUTTONDOWN, at, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, at);
    };
    const int lineHeight = PointOf(RowStart(1)).y - top.y;

    // Down and Up keep to the x the caret is drawn at, a left-hand one here, which in logical order
    // is near the row's end.
    click({20, top.y + 2});
    const POINT clicked = caretAt();
    const std::size_t start = Caret();
    Key(VK_DOWN);
    POINT moved = caretAt();
    EXPECT_EQ(moved.y, clicked.y + lineHeight);
    EXPECT_NEAR(moved.x, clicked.x, 6);
    Key(VK_DOWN);
    moved = caretAt();
    EXPECT_EQ(moved.y, clicked.y + 2 * lineHeight);
    EXPECT_NEAR(moved.x, clicked.x, 6);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(Caret(), start);
    Key(VK_DOWN, true);
    EXPECT_EQ(Selection(), std::make_pair(static_cast<DWORD>(start), static_cast<DWORD>(Caret())));
    EXPECT_NEAR(caretAt().x, clicked.x, 6);

    // A click right of a wrapped row's text leaves the caret on that row, at its end.
    click({TextAreaWidth() + 100, top.y + 2});
    EXPECT_EQ(SendMessageW(field_, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
    EXPECT_EQ(caretAt().y, top.y);
    EXPECT_EQ(Caret(), RowStart(1));

    // Across a short row the x aimed at is kept, until a click sets another; Page Up aims as Up does.
    Set(u"\u05E9\u05DC\u05D5\u05DD \u05E9\u05DC\u05D5\u05DD\r\n\u05D0\u05D1\r\n"
        u"\u05E9\u05DC\u05D5\u05DD \u05D0\u05D1 \u05E9\u05DC\u05D5\u05DD");
    UpdateWindow(field_);
    ASSERT_EQ(RowCount(), 3u);
    click({50, top.y + 2});
    const int aimed = caretAt().x;
    Key(VK_DOWN);
    EXPECT_LT(caretAt().x, aimed - 20);
    Key(VK_DOWN);
    EXPECT_EQ(caretAt().y, top.y + 2 * lineHeight);
    EXPECT_NEAR(caretAt().x, aimed, 6);
    click({20, top.y + 2 * lineHeight + 2});
    const int clickedLast = caretAt().x;
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(caretAt().y, top.y);
    EXPECT_NEAR(caretAt().x, clickedLast, 6);
    click({20, top.y + 2 * lineHeight + 2});
    Key(VK_PRIOR);
    EXPECT_EQ(caretAt().y, top.y);
    EXPECT_NEAR(caretAt().x, clickedLast, 6);
    // Another caret key ends the run: after End, Down aims at where End put the caret.
    Key(VK_END);
    const int ended = caretAt().x;
    ASSERT_GT(std::abs(ended - clickedLast), 12);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(caretAt().y, top.y + 2 * lineHeight);
    EXPECT_NEAR(caretAt().x, ended, 6);
}

TEST_F(FieldTest, SurrogatePairsAndClustersAreNeverSplit) {
    // a, an emoji (a surrogate pair), e with a combining acute, b.
    Set(u"a\U0001F600e\u0301b");
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), 3u);
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), 5u);
    Key(VK_LEFT, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{3}, DWORD{5}));
    // Positions inside a pair or a cluster are moved to its edge.
    SelectRange(2, 2);
    EXPECT_NE(Caret(), 2u);
    SelectRange(4, 4);
    EXPECT_NE(Caret(), 4u);
    // A click on the emoji lands on its nearer edge, never inside it.
    const POINT left = PointOf(1);
    const POINT right = PointOf(3);
    ASSERT_GT(right.x - left.x, 4);
    for (int x = left.x + 1; x < right.x; ++x) {
        Mouse(WM_LBUTTONDOWN, {x, left.y + 2}, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, {x, left.y + 2});
        EXPECT_EQ(Caret(), x - left.x < right.x - x ? 1u : 3u) << x - left.x;
    }
    SelectRange(3, 3);
    Type(u"\b");
    EXPECT_EQ(Text(), u"ae\u0301b");
    SelectRange(1, 1);
    Key(VK_DELETE);  // the whole cluster
    EXPECT_EQ(Text(), u"ab");

    // A pair typed one unit at a time, as WM_CHAR brings it, ends as one character.
    Set(u"");
    Type(u"\U0001F600");
    EXPECT_EQ(Text(), u"\U0001F600");
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), 0u);
}

// What Unicode's cluster and row-break rules mean to a user: a flag (two regional indicators) is one
// caret stop and goes with one Backspace, a Hangul syllable spelt in conjoining jamo is one cluster, and
// no row starts with a small kana, a prolonged sound mark, a full stop or a closing bracket.
TEST_F(FieldTest, FlagsAndSyllablesAreOneClusterAndRowsStartWhereUnicodeAllows) {
    Set(u"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7");
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), 4u);
    Key(VK_END);
    Type(u"\b");
    EXPECT_EQ(Text(), u"\U0001F1E9\U0001F1EA");

    Set(u"\u1100\u1161\u11A8x");
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), 3u);

    // Ideographs allow a break between any two, but not before these; at many widths, so that rows
    // come to start at every place of the repeated text.
    const std::u16string notFirst = u"\u3041\u3083\u30FC\u3002\uFF09";
    std::u16string text;
    while (text.size() < 600)
        text += u"\u6F22\u5B57\u3041\u304B\u306A\u30FC\u3002\u6F22\uFF08\u5B57\uFF09\u3083";
    Set(text);
    for (int width = 160; width <= 420; width += 5) {
        SetWindowPos(field_, nullptr, 0, 0, width, 89, SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_GT(RowCount(), 5u);
        for (std::size_t row = 1; row < RowCount(); ++row) {
            EXPECT_EQ(notFirst.find(Text()[RowStart(row)]), std::u16string::npos) << width << " " << row;
            EXPECT_NE(Text()[RowStart(row) - 1], u'\uFF08')
                << width << " " << row;  // nor ends after an opening one
        }
    }
}

// Long text wraps at the field's width: prose between words, coded text anywhere; no row is wider
// than the field as GDI itself measures it.
TEST_F(FieldTest, ProseWrapsBetweenWordsAndCodedTextAnywhere) {
    std::u16string prose;
    while (prose.size() < 2000)
        prose += u"the quick brown fox jumps over the lazy dog ";
    Set(prose);
    const std::vector<int> proseWidths = RowWidths();
    ASSERT_GT(proseWidths.size(), 20u);
    for (std::size_t row = 0; row < proseWidths.size(); ++row) {
        EXPECT_LE(proseWidths[row], TextAreaWidth()) << row;
        if (row > 0) {
            EXPECT_EQ(Text()[RowStart(row) - 1], u' ') << row;
        }
    }
    // Full rows: the next row's first word would not have fitted.
    for (std::size_t row = 0; row + 1 < proseWidths.size(); ++row)
        EXPECT_GT(Extent(RowStart(row), Text().find(u' ', RowStart(row + 1))), TextAreaWidth()) << row;

    std::u16string coded;
    while (coded.size() < 5000)
        coded += u"%01%23%45%67%89";
    Set(coded);
    const std::vector<int> codedWidths = RowWidths();
    ASSERT_GT(codedWidths.size(), 20u);
    for (std::size_t row = 0; row + 1 < codedWidths.size(); ++row) {
        EXPECT_LE(codedWidths[row], TextAreaWidth()) << row;
        // Filled up to the last character that fits.
        EXPECT_GT(Extent(RowStart(row), RowStart(row + 1) + 1), TextAreaWidth()) << row;
    }
    EXPECT_EQ(Text(), coded);
}

TEST_F(FieldTest, RowsFollowAResizeAndAFontChange) {
    std::u16string coded;
    while (coded.size() < 20000)
        coded += u"%01%23%45%67%89";
    Set(coded);
    SelectRange(12345, 12345);
    const std::size_t rowsAtFullWidth = RowCount();
    SetWindowPos(field_, nullptr, 0, 0, 209, 89, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(RowCount(), rowsAtFullWidth * 19 / 10);
    for (const int width : RowWidths())
        EXPECT_LE(width, TextAreaWidth());
    // A monitor of twice the DPI: the parent gives a font twice the size and a field twice as large.
    HFONT large = Font(26);
    extraFonts_.push_back(large);
    SetWindowPos(field_, nullptr, 0, 0, 818, 178, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(field_, WM_SETFONT, reinterpret_cast<WPARAM>(large), TRUE);
    const std::size_t rowsAtDoubleDpi = RowCount();
    EXPECT_GT(rowsAtDoubleDpi, rowsAtFullWidth * 8 / 10);
    EXPECT_LT(rowsAtDoubleDpi, rowsAtFullWidth * 12 / 10);
    for (const int width : RowWidths())
        EXPECT_LE(width, TextAreaWidth());
    EXPECT_EQ(Text(), coded);
    EXPECT_EQ(Caret(), 12345u);
}

TEST_F(FieldTest, CutCopyPasteThroughTheClipboardAndNothingFromAnEmptyOne) {
    const auto clipboard = [] {
        std::u16string text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                text = static_cast<const char16_t*>(GlobalLock(data));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        return text;
    };
    Set(u"copy\r\nme\rnow");
    SelectRange(0, 8);
    Key('C', false, true);
    EXPECT_EQ(clipboard(), u"copy\r\nme");
    Key(VK_END, false, true);
    Key('V', false, true);
    EXPECT_EQ(Text(), u"copy\r\nme\rnowcopy\r\nme");
    SelectRange(8, 12);
    Key(VK_DELETE, true);  // Shift+Delete cuts
    EXPECT_EQ(clipboard(), u"\rnow");
    EXPECT_EQ(Text(), u"copy\r\nmecopy\r\nme");
    SelectRange(0, 4);
    Key(VK_INSERT, false, true);  // Ctrl+Insert copies
    EXPECT_EQ(clipboard(), u"copy");
    SelectRange(4, 4);
    Key(VK_INSERT, true);  // Shift+Insert pastes
    EXPECT_EQ(Text(), u"copycopy\r\nmecopy\r\nme");
    Key('X', false, true);  // nothing selected: nothing cut
    EXPECT_EQ(clipboard(), u"copy");

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    const std::u16string before = Text();
    SelectRange(2, 6);
    Key('V', false, true);
    Key(VK_INSERT, true);
    SendMessageW(field_, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{2}, DWORD{6}));
}

TEST_F(FieldTest, EveryCodeUnitIsHeldAndDrawnAndTextMessagesStopAtNul) {
    std::u16string all;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit)
        all.push_back(static_cast<char16_t>(unit));
    all += u"\xDC00\xD800";  // a lone low surrogate before a lone high one at the end
    Set(all);
    EXPECT_TRUE(Text() == all);
    for (std::size_t top = 0; top < RowCount(); top += View().PageRows()) {
        SendMessageW(field_, EM_LINESCROLL, 0, static_cast<LPARAM>(View().PageRows()));
        UpdateWindow(field_);
    }
    Key(VK_END, false, true);
    Key(VK_HOME, true, true);
    Key('C', false, true);
    EXPECT_TRUE(Text() == all);
    // WM_GETTEXT carries what comes before the first NUL, as a Windows string does.
    EXPECT_EQ(SendMessageW(field_, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(all.size()));
    SetWindowTextW(field_, L"ab");
    wchar_t buffer[2] = {L'x', L'x'};
    EXPECT_EQ(SendMessageW(field_, WM_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 1);
    EXPECT_EQ(buffer[0], L'a');
    EXPECT_EQ(buffer[1], L'\0');
}

// Hostile rows: a letter with thousands of marks is one cluster, and a row of a million spaces hangs far
// past the field's edge; both are held, drawn, selected and edited whole.
TEST_F(FieldTest, ALetterWithThousandsOfMarksAndAMillionSpacesAreDrawnAndEdited) {
    Set(u"a" + std::u16string(30000, u'\u0301') + u"b");
    UpdateWindow(field_);
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), 30001u);
    Key(VK_LEFT, true);
    UpdateWindow(field_);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{30001}));
    Key(VK_DELETE);
    EXPECT_EQ(Text(), u"b");

    Set(u"x" + std::u16string(1 << 20, u'\t') + u"y");
    Key('A', false, true);
    UpdateWindow(field_);
    EXPECT_EQ(RowCount(), 2u);
    Key(VK_END, false, true);
    Type(u"z");
    EXPECT_EQ(Text().size(), (1u << 20) + 3);
}

// The context menu, from the Menu key, offers what can be done now, and its mnemonics work.
TEST_F(FieldTest, TheContextMenuOffersWhatCanBeDoneAndDoesIt) {
    static std::vector<UINT> states;
    SetWindowSubclass(
        field_,
        [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) -> LRESULT {
            if (message == WM_INITMENUPOPUP) {
                states.clear();
                for (const UINT command : {UINT{WM_UNDO}, UINT{WM_CUT}, UINT{WM_COPY}, UINT{WM_PASTE},
                                           UINT{WM_CLEAR}, UINT{EM_SETSEL}})
                    states.push_back(GetMenuState(reinterpret_cast<HMENU>(wParam), command, MF_BYCOMMAND) &
                                     MF_GRAYED);
            }
            return DefSubclassProc(window, message, wParam, lParam);
        },
        1, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    Set(u"menu");
    // The menu's own loop reads the key posted before it opens: A for Select All.
    PostMessageW(field_, WM_KEYDOWN, 'A', 1);
    PostMessageW(field_, WM_KEYUP, 'A', static_cast<LPARAM>(1 | (3u << 30)));
    SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        EndMenu();
    });
    Key(VK_APPS);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{4}));
    const std::vector<UINT> grey{MF_GRAYED, MF_GRAYED, MF_GRAYED, MF_GRAYED, MF_GRAYED, 0};
    EXPECT_EQ(states, grey);

    Type(u"x");
    PostMessageW(field_, WM_KEYDOWN, VK_ESCAPE, 1);
    SendMessageW(field_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field_), MAKELPARAM(20, 20));
    const std::vector<UINT> undoOnly{0, MF_GRAYED, MF_GRAYED, MF_GRAYED, MF_GRAYED, 0};
    EXPECT_EQ(states, undoOnly);
    EXPECT_EQ(Text(), u"x");
}

TEST_F(FieldTest, ComposedCharactersAreTypedAtTheCaret) {
    Set(u"ab");
    SelectRange(1, 1);
    SendMessageW(field_, WM_IME_CHAR, 0x4E2D, 1);
    SendMessageW(field_, WM_IME_CHAR, 0x6587, 1);
    EXPECT_EQ(Text(), u"a\u4E2D\u6587b");
    EXPECT_EQ(Caret(), 3u);
}

// The input method's side of a context, as the Windows DDK lays it out: an input method fills the
// composition in it, and the field reads it through ImmGetCompositionStringW.
struct CompositionString {
    DWORD size;
    DWORD readAttributesLength, readAttributesOffset, readClausesLength, readClausesOffset;
    DWORD readTextLength, readTextOffset;
    DWORD attributesLength, attributesOffset, clausesLength, clausesOffset, textLength, textOffset;
    DWORD cursor, deltaStart;
    DWORD resultReadClausesLength, resultReadClausesOffset, resultReadTextLength, resultReadTextOffset;
    DWORD resultClausesLength, resultClausesOffset, resultLength, resultOffset;
    DWORD privateSize, privateOffset;
};
struct InputContext {
    HWND window;
    BOOL open;
    POINT statusWindow;
    POINT softKeyboard;
    DWORD conversion;
    DWORD sentence;
    LOGFONTW font;
    COMPOSITIONFORM composition;
    CANDIDATEFORM candidates[4];
    HANDLE compositionString;
    HANDLE candidateInfo;
    HANDLE guideLine;
    HANDLE privateData;
    DWORD messageCount;
    HANDLE messages;
    DWORD initialized;
    DWORD reserved[3];
};
extern "C" {
InputContext* WINAPI ImmLockIMC(HIMC);
BOOL WINAPI ImmUnlockIMC(HIMC);
HANDLE WINAPI ImmCreateIMCC(DWORD);
HANDLE WINAPI ImmDestroyIMCC(HANDLE);
void* WINAPI ImmLockIMCC(HANDLE);
BOOL WINAPI ImmUnlockIMCC(HANDLE);
}

// A field composed in through its input method context. Wine's own input method composes what
// ImmSetCompositionStringW sets, with every unit typed (ATTR_INPUT) and the cursor at the end, and
// commits or drops it on ImmNotifyIME; a composition with converted pieces, a cursor of its own, or a
// result that comes with the next composition is put in the context as an input method puts it, and
// the field told of it by the message an input method sends.
class CompositionTest : public FieldTest {
protected:
    void Compose(std::u16string_view text) {
        HIMC context = ImmGetContext(field_);
        ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<char16_t*>(text.data()),
                                 static_cast<DWORD>(text.size() * sizeof(char16_t)), nullptr, 0);
        ImmReleaseContext(field_, context);
    }
    void Notify(DWORD action) {
        HIMC context = ImmGetContext(field_);
        ImmNotifyIME(context, NI_COMPOSITIONSTR, action, 0);
        ImmReleaseContext(field_, context);
    }
    struct Held {
        std::u16string text{};
        std::vector<BYTE> attributes{};
        std::vector<DWORD> clauses{};
        DWORD cursor = 0;
        std::u16string result{};
    };
    void Hold(const Held& held, LPARAM changed) {
        std::vector<BYTE> data(sizeof(CompositionString));
        const auto append = [&data](const void* bytes, std::size_t length) {
            data.resize((data.size() + 3) / 4 * 4);
            const auto offset = static_cast<DWORD>(data.size());
            data.insert(data.end(), static_cast<const BYTE*>(bytes),
                        static_cast<const BYTE*>(bytes) + length);
            return offset;
        };
        CompositionString header{};
        header.textLength = static_cast<DWORD>(held.text.size());
        header.textOffset = append(held.text.data(), held.text.size() * sizeof(char16_t));
        header.attributesLength = static_cast<DWORD>(held.attributes.size());
        header.attributesOffset = append(held.attributes.data(), held.attributes.size());
        header.clausesLength = static_cast<DWORD>(held.clauses.size() * sizeof(DWORD));
        header.clausesOffset = append(held.clauses.data(), held.clauses.size() * sizeof(DWORD));
        header.cursor = held.cursor;
        header.resultLength = static_cast<DWORD>(held.result.size());
        header.resultOffset = append(held.result.data(), held.result.size() * sizeof(char16_t));
        header.size = static_cast<DWORD>(data.size());
        std::memcpy(data.data(), &header, sizeof header);

        HIMC context = ImmGetContext(field_);
        InputContext* input = ImmLockIMC(context);
        ASSERT_NE(input, nullptr);
        HANDLE memory = ImmCreateIMCC(static_cast<DWORD>(data.size()));
        std::memcpy(ImmLockIMCC(memory), data.data(), data.size());
        ImmUnlockIMCC(memory);
        ImmDestroyIMCC(std::exchange(input->compositionString, memory));
        ImmUnlockIMC(context);
        ImmReleaseContext(field_, context);
        SendMessageW(field_, WM_IME_COMPOSITION, held.text.empty() ? 0 : held.text[0], changed);
    }

    // How wide GDI makes `text` in the field's font, and how high a row of it is.
    int Width(std::u16string_view text) {
        HDC dc = GetDC(field_);
        HGDIOBJ previous = SelectObject(dc, font_);
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                              static_cast<int>(text.size()), &size);
        SelectObject(dc, previous);
        ReleaseDC(field_, dc);
        return size.cx;
    }
    int RowHeight() {
        HDC dc = GetDC(field_);
        HGDIOBJ previous = SelectObject(dc, font_);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(field_, dc);
        return metrics.tmHeight;
    }
    POINT CaretPoint() {
        POINT at{};
        GetCaretPos(&at);
        return at;
    }

    // The field's client area as it paints itself.
    std::vector<COLORREF> Paint() {
        RECT client{};
        GetClientRect(field_, &client);
        width_ = client.right;
        HDC screen = GetDC(field_);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ previous = SelectObject(dc, canvas);
        SendMessageW(field_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        SelectObject(dc, previous);
        DeleteObject(canvas);
        DeleteDC(dc);
        ReleaseDC(field_, screen);
        return pixels;
    }
    // The rows of pixels, from `top` to `bottom`, that are the text's colour all the way from `left` to
    // `right`: underlines.
    std::vector<int> SolidRows(const std::vector<COLORREF>& pixels, int left, int right, int top,
                               int bottom) {
        std::vector<int> rows;
        for (int y = top; y < bottom; ++y) {
            bool solid = left < right;
            for (int x = left; x < right && solid; ++x)
                solid = pixels[static_cast<std::size_t>(y * width_ + x)] == GetSysColor(COLOR_WINDOWTEXT);
            if (solid)
                rows.push_back(y);
        }
        return rows;
    }
    // The pixels of the band from `top` to `bottom`.
    std::vector<COLORREF> Band(const std::vector<COLORREF>& pixels, int top, int bottom) {
        return {pixels.begin() + top * width_, pixels.begin() + bottom * width_};
    }

    int width_ = 0;
};

// While composing the text stays as it was; the composition is drawn in the caret's row at the caret,
// where typing it would put it, underlined, with the caret at the input method's cursor in it.
TEST_F(CompositionTest, TheCompositionIsDrawnAtTheCaretAndTheTextStaysAsItWas) {
    Set(u"ab");
    SelectRange(1, 1);
    const POINT a = PointOf(0);
    const POINT b = PointOf(1);
    Compose(u"ni");
    EXPECT_EQ(Text(), u"ab");
    wchar_t buffer[8] = {};
    EXPECT_EQ(SendMessageW(field_, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(buffer)), 2);
    EXPECT_STREQ(buffer, L"ab");
    IAccessible* accessible = Accessible();
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(Read(accessible, &IAccessible::get_accValue), u"ab");
    accessible->Release();
    EXPECT_EQ(SendMessageW(field_, EM_CANUNDO, 0, 0), FALSE);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{1}));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(View().Composing().Text(), u"ni");
    // Wine's input method keeps its cursor at the composition's end.
    EXPECT_EQ(CaretPoint().x, b.x + Width(u"ni"));
    EXPECT_EQ(CaretPoint().y, b.y);
    // The input method's candidate list goes at the caret, clear of the caret's row.
    HIMC context = ImmGetContext(field_);
    CANDIDATEFORM candidates{};
    EXPECT_TRUE(ImmGetCandidateWindow(context, 0, &candidates));
    ImmReleaseContext(field_, context);
    EXPECT_EQ(candidates.dwStyle, static_cast<DWORD>(CFS_EXCLUDE));
    EXPECT_EQ(candidates.ptCurrentPos.x, b.x + Width(u"ni"));
    EXPECT_EQ(candidates.rcArea.top, b.y);
    EXPECT_EQ(candidates.rcArea.bottom, b.y + RowHeight());

    const int bottom = b.y + RowHeight();
    const std::vector<COLORREF> composing = Paint();
    const std::vector<int> underline{bottom - 1};
    EXPECT_EQ(SolidRows(composing, b.x, b.x + Width(u"ni") - 1, b.y, bottom), underline);
    EXPECT_TRUE(SolidRows(composing, a.x, b.x - 1, b.y, bottom).empty());

    // Above its underline the row looks as it will once the composition is typed.
    Notify(CPS_COMPLETE);
    ASSERT_EQ(Text(), u"anib");
    EXPECT_EQ(Band(Paint(), b.y, bottom - 1), Band(composing, b.y, bottom - 1));
}

// A piece being converted is underlined thick and the typed one thin, each apart, and the caret stands
// at the input method's cursor; a cursor or attributes that do not fit the composition are kept to it.
TEST_F(CompositionTest, ConvertedPiecesAreUnderlinedThickAndTheCaretIsTheInputMethods) {
    Set(u"ab");
    SelectRange(1, 1);
    const POINT b = PointOf(1);
    const int bottom = b.y + RowHeight();
    SendMessageW(field_, WM_IME_STARTCOMPOSITION, 0, 0);
    Hold({.text = u"nihao",
          .attributes = {ATTR_TARGET_CONVERTED, ATTR_TARGET_CONVERTED, ATTR_INPUT, ATTR_INPUT, ATTR_INPUT},
          .clauses = {0, 2, 5},
          .cursor = 2},
         GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE | GCS_CURSORPOS);
    EXPECT_EQ(Text(), u"ab");
    EXPECT_EQ(CaretPoint().x, b.x + Width(u"ni"));
    const std::vector<COLORREF> pixels = Paint();
    const std::vector<int> thick{bottom - 2, bottom - 1};
    const std::vector<int> thin{bottom - 1};
    const int converted = b.x + Width(u"ni");
    EXPECT_EQ(SolidRows(pixels, b.x, converted - 1, b.y, bottom), thick);
    EXPECT_EQ(SolidRows(pixels, converted, b.x + Width(u"nihao") - 1, b.y, bottom), thin);
    // The gap between the pieces.
    EXPECT_TRUE(SolidRows(pixels, converted - 1, converted, bottom - 2, bottom).empty());

    Hold({.text = u"hao", .attributes = {ATTR_INPUT}, .cursor = 99},
         GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
    EXPECT_EQ(View().Composing().Cursor(), 3u);
    EXPECT_EQ(CaretPoint().x, b.x + Width(u"hao"));
    EXPECT_EQ(SolidRows(Paint(), b.x, b.x + Width(u"h") - 1, b.y, bottom), thin);
    EXPECT_EQ(Text(), u"ab");
}

// The result is typed once, as the keyboard types, and one undo takes it away; a result can come with
// the next composition in one message.
TEST_F(CompositionTest, TheResultIsTypedOnceAndUndoneInOneStep) {
    Set(u"ab");
    SelectRange(1, 1);
    Compose(u"n");
    Compose(u"ni");
    Notify(CPS_COMPLETE);
    EXPECT_EQ(Text(), u"anib");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Caret(), 3u);
    EXPECT_FALSE(View().Composing().Active());
    EXPECT_EQ(CaretPoint().x, PointOf(3).x);
    SendMessageW(field_, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(), u"ab");
    EXPECT_EQ(Caret(), 1u);

    SendMessageW(field_, WM_IME_STARTCOMPOSITION, 0, 0);
    Hold({.text = u"ma", .attributes = {ATTR_INPUT, ATTR_INPUT}, .cursor = 2, .result = u"\u4f60"},
         GCS_RESULTSTR | GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
    EXPECT_EQ(Text(), u"a\u4f60b");
    EXPECT_EQ(Caret(), 2u);
    EXPECT_EQ(View().Composing().Text(), u"ma");
    EXPECT_EQ(CaretPoint().x, PointOf(2).x + Width(u"ma"));
    SendMessageW(field_, WM_IME_ENDCOMPOSITION, 0, 0);
    EXPECT_FALSE(View().Composing().Active());
    EXPECT_EQ(CaretPoint().x, PointOf(2).x);
    SendMessageW(field_, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(), u"ab");
}

// A dropped or emptied composition leaves the text and the caret as they were, and so does a message
// with nothing in the context, or with no context at all.
TEST_F(CompositionTest, ACancelledCompositionLeavesTheTextAsItWas) {
    Set(u"ab");
    SelectRange(1, 1);
    const POINT b = PointOf(1);
    Compose(u"ni");
    Notify(CPS_CANCEL);
    EXPECT_FALSE(View().Composing().Active());
    EXPECT_EQ(CaretPoint().x, b.x);

    Compose(u"ni");
    Compose(u"");
    EXPECT_FALSE(View().Composing().Active());
    EXPECT_EQ(CaretPoint().x, b.x);
    SendMessageW(field_, WM_IME_COMPOSITION, 0, GCS_RESULTSTR | GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
    SendMessageW(field_, WM_IME_ENDCOMPOSITION, 0, 0);

    HIMC context = ImmAssociateContext(field_, nullptr);
    SendMessageW(field_, WM_IME_STARTCOMPOSITION, 0, 0);
    SendMessageW(field_, WM_IME_COMPOSITION, 0, GCS_RESULTSTR | GCS_COMPSTR);
    SendMessageW(field_, WM_IME_ENDCOMPOSITION, 0, 0);
    ImmAssociateContext(field_, context);
    EXPECT_EQ(Text(), u"ab");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(SendMessageW(field_, EM_CANUNDO, 0, 0), FALSE);
    EXPECT_EQ(Caret(), 1u);
}

// A click, or the focus leaving the field, types what was being composed where it was shown, once, and
// ends the composition; it is not carried to the next window.
TEST_F(CompositionTest, AClickOrLeavingTheFieldTypesTheComposition) {
    Set(u"ab");
    SelectRange(1, 1);
    Compose(u"ni");
    Mouse(WM_LBUTTONDOWN, PointOf(0));
    Mouse(WM_LBUTTONUP, PointOf(0));
    EXPECT_EQ(Text(), u"anib");
    EXPECT_EQ(Caret(), 0u);
    EXPECT_FALSE(View().Composing().Active());

    Compose(u"ma");
    SetFocus(parent_);
    EXPECT_EQ(Text(), u"maanib");
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(View().Composing().Active());
}

// What UI Automation asks of the field: the rows in view, where part of a row is on the screen and
// what is at a point, scrolling a position into view, and a value or a selection set by a reader.
TEST_F(FieldTest, AnswersUiAutomationAboutRowsPointsAndEdits) {
    std::u16string lines;
    for (int line = 10; line < 40; ++line)
        lines += u"row " + std::u16string{char16_t(u'0' + line / 10), char16_t(u'0' + line % 10)} + u"\r\n";
    Set(lines);
    AccessibleField& field = View();
    const std::size_t page = View().PageRows();
    EXPECT_EQ(field.VisibleRows().first, 0u);
    EXPECT_GE(field.VisibleRows().last, page);
    EXPECT_LE(field.VisibleRows().last, page + 1);

    const std::size_t begin = RowStart(1) + 1;
    POINT left = PointOf(begin);
    POINT right = PointOf(begin + 2);
    ClientToScreen(field_, &left);
    ClientToScreen(field_, &right);
    const RECT part = field.RowRectangle(1, begin, begin + 2);
    EXPECT_EQ(part.left, left.x);
    EXPECT_EQ(part.right, right.x);
    EXPECT_EQ(part.top, left.y);
    EXPECT_GT(part.bottom, part.top);
    EXPECT_EQ(field.PositionAt({left.x + 1, left.y + 2}), begin);
    EXPECT_EQ(field.PositionAt({right.x - 1, right.y + 2}), begin + 2);

    field.ScrollIntoView(RowStart(20), true);
    EXPECT_EQ(View().TopRow(), 20u);
    EXPECT_EQ(field.VisibleRows().first, 20u);
    field.ScrollIntoView(RowStart(5), false);
    EXPECT_EQ(View().TopRow(), 6 - page);

    field.Select(5, 2);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{2}, DWORD{5}));
    EXPECT_EQ(Caret(), 2u);
    field.SetValue(u"set by a reader");
    EXPECT_EQ(Text(), u"set by a reader");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(SendMessageW(field_, EM_CANUNDO, 0, 0));
}

// Screen readers that speak Active Accessibility hear the field's name, not its text, and its text as its
// value, which they may also set.
TEST_F(FieldTest, ActiveAccessibilityNamesTheFieldAndGivesItsTextAsItsValue) {
    View().SetNames(u"Message to encrypt", u"Text1");
    Set(std::u16string(u"two\0lines\r\n", 12));
    IAccessible* accessible = Accessible();
    ASSERT_NE(accessible, nullptr);
    const VARIANT self = Self();
    EXPECT_EQ(Read(accessible, &IAccessible::get_accName), u"Message to encrypt");
    EXPECT_EQ(Read(accessible, &IAccessible::get_accValue), std::u16string(u"two\0lines\r\n", 12));
    VARIANT role{};
    EXPECT_EQ(accessible->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
    BSTR value = SysAllocString(L"said");
    EXPECT_EQ(accessible->put_accValue(self, value), S_OK);
    SysFreeString(value);
    EXPECT_EQ(Text(), u"said");
    EXPECT_EQ(changes, 1);
    // One object: whatever interface it gives leads back to the same IUnknown.
    IUnknown* identity = nullptr;
    ASSERT_EQ(accessible->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&identity)), S_OK);
    for (const IID& iid : {__uuidof(IOleWindow), __uuidof(IEnumVARIANT), __uuidof(IServiceProvider)}) {
        IUnknown* other = nullptr;
        if (FAILED(accessible->QueryInterface(iid, reinterpret_cast<void**>(&other))))
            continue;
        IUnknown* back = nullptr;
        EXPECT_EQ(other->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&back)), S_OK);
        EXPECT_EQ(back, identity);
        back->Release();
        other->Release();
    }
    identity->Release();
    accessible->Release();
}

// Every left click reaches the parent when the button comes up, whether the field has the focus and
// the mouse or not; the focus alone is no click.
TEST_F(FieldTest, EveryLeftClickTellsTheParent) {
    SetFocus(parent_);
    SetFocus(field_);
    EXPECT_EQ(clicks, 0);
    Mouse(WM_LBUTTONDOWN, {5, 5}, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, {5, 5});
    EXPECT_EQ(clicks, 1);
    Mouse(WM_LBUTTONUP, {5, 5});
    EXPECT_EQ(clicks, 2);
}

TEST_F(FieldTest, EditsTellTheParentAndSettingTheTextDoesNot) {
    Set(u"quiet");
    EXPECT_EQ(changes, 0);
    Type(u"ab");
    EXPECT_EQ(changes, 2);
    Key(VK_LEFT);
    EXPECT_EQ(changes, 2);
    Type(u"\b");
    EXPECT_EQ(changes, 3);
    SetWindowTextW(field_, L"quiet again");
    EXPECT_EQ(changes, 3);
}

TEST_F(FieldTest, PagesTheWheelAndTheScrollBarScrollTheRows) {
    std::u16string lines;
    for (int line = 0; line < 100; ++line)
        lines += u"line\r\n";
    Set(lines);
    const std::size_t page = View().PageRows();
    ASSERT_GT(page, 2u);
    Key(VK_NEXT);
    EXPECT_EQ(View().TopRow(), page);
    EXPECT_EQ(SendMessageW(field_, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), static_cast<LRESULT>(page));
    SendMessageW(field_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(View().TopRow(), page + 3);
    SendMessageW(field_, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(View().TopRow(), 101 - page);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(field_, SB_VERT, &info);
    EXPECT_EQ(info.nPos, static_cast<int>(101 - page));
    EXPECT_EQ(info.nMax, 100);
    // Typing brings the caret back into view.
    Type(u"x");
    EXPECT_EQ(View().TopRow(), page);

    // The scroll bar stays, greyed, with nothing to scroll.
    Set(u"short");
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetScrollBarInfo(field_, OBJID_VSCROLL, &bar);
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

}  // namespace
}  // namespace quorvel::forms::win32
