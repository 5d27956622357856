// The program's own text field under the window messages that reach it: that each kind of key,
// character, mouse, wheel, scroll bar, focus and edit-control message reaches the field and that the
// parent hears of it, and what only the window does: measuring and drawing through GDI and Uniscribe,
// the input method's context, the system's clipboard and caret, and Active Accessibility. What the field
// does with its input is the editing core's, tested natively in tests/textedit.
#include "text_field.h"
#include "text_view.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <imm.h>
#include <oleacc.h>
#include <usp10.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <map>
#include <numeric>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quorvel::forms::win32 {
namespace {

// A top-level window holding one field, 409 by 89 pixels like the program's fields, counting the
// notifications the field sends it.
class FieldTest : public ::testing::Test {
protected:
    enum Held : unsigned { kShift = 1, kCtrl = 2, kAlt = 4 };
    using Range = std::pair<DWORD, DWORD>;

    void SetUp() override {
        TextView::Register();
        parent_ = CreateWindowExW(0, L"STATIC", L"field", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 300,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowSubclass(
            parent_,
            [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) -> LRESULT {
                if (message == WM_COMMAND)
                    ++heard[HIWORD(wParam)];
                return DefSubclassProc(window, message, wParam, lParam);
            },
            1, 0);
        field_ = CreateWindowExW(WS_EX_CLIENTEDGE, TextView::ClassName, L"",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL, 8, 8, 409, 89, parent_,
                                 reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        SetFocus(field_);
        heard.clear();
    }
    void TearDown() override {
        DestroyWindow(parent_);
        DeleteObject(font_);
        DeleteObject(large_);
        Modifiers(0);
    }

    static HFONT Font(int pixels) {
        return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                           L"Tahoma");
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(field_, message, wParam, lParam);
    }
    TextView& View() { return *TextView::Of(field_); }
    const std::u16string& Text() { return View().Text(); }
    void Set(std::u16string_view text) { View().SetText(std::u16string(text)); }
    Range Selection() {
        DWORD begin = 0;
        DWORD end = 0;
        Send(EM_GETSEL, reinterpret_cast<WPARAM>(&begin), reinterpret_cast<LPARAM>(&end));
        return {begin, end};
    }
    void SelectRange(int anchor, int caret) { Send(EM_SETSEL, anchor, caret); }
    std::size_t Caret() { return View().editor().selection().caret; }
    static POINT CaretPoint() {
        POINT at{};
        GetCaretPos(&at);
        return at;
    }

    // The field reads the modifiers from the thread's keyboard state; Ctrl with Alt is AltGr.
    static void Modifiers(unsigned held) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = held & kShift ? 0x80 : 0;
        state[VK_CONTROL] = held & kCtrl ? 0x80 : 0;
        state[VK_MENU] = held & kAlt ? 0x80 : 0;
        SetKeyboardState(state);
    }
    void Key(UINT key, unsigned held = 0) {
        Modifiers(held);
        Send(WM_KEYDOWN, key, 1);
        Send(WM_KEYUP, key, static_cast<LPARAM>(1 | (3u << 30)));
        Modifiers(0);
    }
    void Type(std::u16string_view text) {
        for (const char16_t unit : text)
            Send(WM_CHAR, unit, 1);
    }

    POINT PointOf(std::size_t position) {
        const auto packed = static_cast<DWORD>(Send(EM_POSFROMCHAR, position));
        return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
    }
    // A point in the row of `position`, at its left edge.
    POINT At(std::size_t position) { return {PointOf(position).x, PointOf(position).y + 2}; }
    void Mouse(UINT message, POINT at, WPARAM keys = 0) { Send(message, keys, MAKELPARAM(at.x, at.y)); }
    void Click(POINT at, WPARAM keys = 0) {
        Mouse(WM_LBUTTONDOWN, at, keys | MK_LBUTTON);
        Mouse(WM_LBUTTONUP, at, keys);
    }

    // How wide GDI itself makes `text` in the field's font; with `height`, how high a row of it is.
    int Width(std::u16string_view text, bool height = false) {
        HDC dc = GetDC(field_);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                              static_cast<int>(text.size()), &size);
        SelectObject(dc, previous);
        ReleaseDC(field_, dc);
        return height ? size.cy : size.cx;
    }
    RECT TextArea() {
        RECT area{};
        Send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
        return area;
    }
    std::size_t RowStart(std::size_t row) { return static_cast<std::size_t>(Send(EM_LINEINDEX, row)); }
    std::size_t RowCount() { return static_cast<std::size_t>(Send(EM_GETLINECOUNT)); }

    // The field's client area as it paints itself, row after row of pixels.
    std::vector<COLORREF> Paint() {
        RECT client{};
        GetClientRect(field_, &client);
        width_ = client.right;
        HDC screen = GetDC(field_);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ previous = SelectObject(dc, canvas);
        Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
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
    // How many pixels of [left, right) by [top, bottom) of what Paint gave are `colour`.
    int Count(const std::vector<COLORREF>& pixels, COLORREF colour, int left, int right, int top,
              int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                count += pixels[static_cast<std::size_t>(y * width_ + x)] == colour;
        return count;
    }

    // How many WM_COMMAND notifications of each code the parent heard.
    static inline std::map<WORD, int> heard;
    HWND parent_ = nullptr;
    HWND field_ = nullptr;
    HFONT font_ = Font(13);
    HFONT large_ = nullptr;
    int width_ = 0;
};

TEST_F(FieldTest, KeysReachTheFieldWithTheirModifiers) {
    Set(u"one two\r\nthree four\r\nfive");
    const std::tuple<UINT, unsigned, std::size_t> steps[] = {{VK_RIGHT, 0, 1},
                                                             {VK_RIGHT, kCtrl, 4},
                                                             {VK_LEFT, 0, 3},
                                                             {VK_LEFT, kCtrl, 0},
                                                             {VK_END, 0, 7},
                                                             {VK_HOME, 0, 0},
                                                             {VK_DOWN, 0, 9},
                                                             {VK_UP, 0, 0},
                                                             {VK_END, kCtrl, 25},
                                                             {VK_HOME, kCtrl, 0},
                                                             {VK_NEXT, 0, 21},
                                                             {VK_PRIOR, 0, 0},
                                                             {VK_RIGHT, kShift | kCtrl, 4}};
    for (const auto& [key, held, caret] : steps) {
        Key(key, held);
        EXPECT_EQ(Caret(), caret) << key << " " << held;
    }
    EXPECT_EQ(Selection(), Range(0, 4));

    Set(u"one two three");
    const auto after = [&](UINT key, unsigned held) {
        Key(key, held);
        return Text();
    };
    EXPECT_EQ(after(VK_DELETE, 0), u"ne two three");
    EXPECT_EQ(after(VK_DELETE, kCtrl), u"two three");
    Key('A', kCtrl);
    EXPECT_EQ(Selection(), Range(0, 9));
    Key('Z', kCtrl);
    EXPECT_EQ(after('Z', kCtrl), u"one two three");
    EXPECT_EQ(after('Y', kCtrl), u"ne two three");
    EXPECT_EQ(after('Z', kCtrl | kShift), u"two three");
    // A letter alone, or with AltGr, is a character to type, which WM_CHAR brings.
    SelectRange(1, 1);
    Key('A');
    Key('A', kCtrl | kAlt);
    EXPECT_EQ(after('Z', kCtrl | kAlt), u"two three");
    EXPECT_EQ(Selection(), Range(1, 1));
    // Alt+Backspace undoes: a system key, with Alt in its context bit; its character types nothing.
    Modifiers(kAlt);
    Send(WM_SYSKEYDOWN, VK_BACK, static_cast<LPARAM>(1 | KF_ALTDOWN << 16));
    Send(WM_SYSCHAR, u'\b', static_cast<LPARAM>(1 | KF_ALTDOWN << 16));
    Modifiers(0);
    EXPECT_EQ(Text(), u"ne two three");
}

// Enter and Ctrl+Enter make CR LF; Backspace and Ctrl+Backspace come as the characters they type; Tab,
// Escape and Ctrl+letters type nothing; a surrogate pair comes in two messages.
TEST_F(FieldTest, CharactersAreTypedAndTheControlCharactersOfKeysCarriedOut) {
    Type(u"ab\rc\nd\b");
    EXPECT_EQ(Text(), u"ab\r\nc\r\n");
    Type(u"one two\x7F");
    EXPECT_EQ(Text(), u"ab\r\nc\r\none ");
    Type(u"\t\x1B\x01\x1A\U0001F600");
    Send(WM_IME_CHAR, 0x4E2D, 1);
    EXPECT_EQ(Text(), u"ab\r\nc\r\none \U0001F600\u4E2D");
    EXPECT_EQ(Caret(), Text().size());
}

TEST_F(FieldTest, AnswersTheEditControlsMessages) {
    // The length counts every unit, a NUL's too. WM_SETTEXT is no edit: nothing to undo, no EN_CHANGE.
    // WM_GETTEXT fills what the buffer holds and ends it with a NUL.
    Set(std::u16string(u"a\0b", 3));
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), 3);
    SetWindowTextW(field_, L"first line\r\nsecond");
    EXPECT_EQ(Text(), u"first line\r\nsecond");
    EXPECT_FALSE(Send(EM_CANUNDO));
    wchar_t buffer[6] = {L'x', L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(Send(WM_GETTEXT, 6, reinterpret_cast<LPARAM>(buffer)), 5);
    EXPECT_STREQ(buffer, L"first");

    // Rows, -1 being the caret's; the text's rectangle, the client area less the margins; points in it.
    SelectRange(14, 14);
    const WPARAM caret = static_cast<WPARAM>(-1);
    EXPECT_EQ(Send(EM_GETLINECOUNT), 2);
    EXPECT_EQ(Send(EM_LINEINDEX, 1), 12);
    EXPECT_EQ(Send(EM_LINEINDEX, 2), -1);
    EXPECT_EQ(Send(EM_LINEINDEX, caret), 12);
    EXPECT_EQ(Send(EM_LINELENGTH, 3), 10);
    EXPECT_EQ(Send(EM_LINELENGTH, caret), 6);
    EXPECT_EQ(Send(EM_LINEFROMCHAR, caret), 1);
    RECT client{};
    GetClientRect(field_, &client);
    const RECT area = TextArea();
    EXPECT_GT(area.left, 0);
    EXPECT_EQ(std::make_tuple(area.top, area.right, area.bottom),
              std::make_tuple(1L, client.right - area.left, client.bottom));
    EXPECT_EQ(Send(EM_POSFROMCHAR, 0), MAKELRESULT(area.left, area.top));
    EXPECT_EQ(Send(EM_CHARFROMPOS, 0, MAKELPARAM(At(14).x + 1, At(14).y)), MAKELRESULT(14, 1));

    // EM_SETSEL takes the anchor and the caret; -1 as the end is the text's end, -1 as the start drops
    // the selection. EM_GETSEL gives the ends both ways, packed in 16 bits or else -1.
    SelectRange(7, 3);
    EXPECT_EQ(Caret(), 3u);
    DWORD ends[2] = {};
    const auto packed = [&] {
        return Send(EM_GETSEL, reinterpret_cast<WPARAM>(ends), reinterpret_cast<LPARAM>(ends + 1));
    };
    EXPECT_EQ(packed(), MAKELRESULT(3, 7));
    EXPECT_EQ(Range(ends[0], ends[1]), Range(3, 7));
    SelectRange(2, -1);
    EXPECT_EQ(Selection(), Range(2, 18));
    SelectRange(-1, 0);
    EXPECT_EQ(Selection(), Range(18, 18));

    // Edits, undone one by one, each told to the parent as EN_CHANGE; a caret move is none.
    SelectRange(0, 5);
    Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"1st"));
    EXPECT_TRUE(Send(EM_CANUNDO));
    SelectRange(0, 4);
    Send(WM_CLEAR);
    EXPECT_EQ(Text(), u"line\r\nsecond");
    EXPECT_TRUE(Send(EM_UNDO));
    EXPECT_EQ(Text(), u"1st line\r\nsecond");
    Send(WM_UNDO);
    EXPECT_EQ(Text(), u"first line\r\nsecond");
    EXPECT_FALSE(Send(EM_UNDO));
    Key(VK_RIGHT);
    EXPECT_EQ(heard[EN_CHANGE], 4);
    Type(u"a\b");
    Key(VK_DELETE);
    EXPECT_EQ(heard[EN_CHANGE], 7);

    Set(std::u16string(70000, u'x'));
    SelectRange(69999, 70000);
    EXPECT_EQ(packed(), -1);
    EXPECT_EQ(Range(ends[0], ends[1]), Range(69999, 70000));
    EXPECT_EQ(Send(EM_CHARFROMPOS, 0, MAKELPARAM(At(69999).x + 1, At(69999).y)), -1);
}

// Tools that read an edit control's lines and hear its changes: EM_GETLINE copies a row as the field
// draws it (the buffer's first WORD its size, no line break, a NUL only where there is room for one),
// and every change of the text, the program's own included, is told as Active Accessibility's
// EVENT_OBJECT_VALUECHANGE of the field itself.
TEST_F(FieldTest, AssistiveToolsReadItsLinesAndHearEveryChange) {
    Set(u"first line\r\n\r\nthird");
    const auto line = [&](int row, WORD room) {
        std::u16string buffer(8, u'#');
        std::memcpy(buffer.data(), &room, sizeof room);
        const auto copied =
            Send(EM_GETLINE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.data()));
        return std::make_pair(copied, buffer);
    };
    EXPECT_EQ(line(0, 5), std::make_pair(LRESULT{5}, std::u16string(u"first###")));
    EXPECT_EQ(line(1, 8), std::make_pair(LRESULT{0}, std::u16string(u"\0#######", 8)));
    EXPECT_EQ(line(2, 7), std::make_pair(LRESULT{5}, std::u16string(u"third\0##", 8)));
    EXPECT_EQ(line(3, 7).first, 0);
    SelectRange(16, 16);
    EXPECT_EQ(line(-1, 5).second, u"third###");
    Set(u"one two three four five six seven eight nine ten eleven twelve thirteen fourteen");
    ASSERT_GT(RowCount(), 1u);
    const auto second = line(1, 7);
    EXPECT_EQ(second.second.substr(0, 7), Text().substr(RowStart(1), 7));

    static std::vector<std::tuple<HWND, LONG, LONG>> events;
    events.clear();
    HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
            events.emplace_back(window, object, child);
        },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const auto heardEvents = [&] {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        return std::exchange(events, {});
    };
    const std::tuple<HWND, LONG, LONG> self{field_, OBJID_CLIENT, CHILDID_SELF};
    Type(u"a");
    Send(EM_UNDO);
    Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"new"));
    EXPECT_EQ(heardEvents(), std::vector(3, self));
    Key(VK_LEFT);
    SelectRange(0, 2);
    Send(WM_GETTEXTLENGTH);
    EXPECT_TRUE(heardEvents().empty());
    UnhookWinEvent(hook);
}

// With "Hide pointer while typing" on, a character typed with the pointer over the rows hides it, and
// it stays hidden whenever the window is asked for it until the mouse moves; keys that type nothing
// leave it, and with the setting off typing leaves it too.
TEST_F(FieldTest, TypingHidesThePointerUntilTheMouseMoves) {
    BOOL vanish = FALSE;
    SystemParametersInfoW(SPI_GETMOUSEVANISH, 0, &vanish, 0);
    POINT was{};
    GetCursorPos(&was);
    const auto setVanish = [](BOOL on) {
        SystemParametersInfoW(SPI_SETMOUSEVANISH, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(on)), 0);
    };
    RECT window{};
    GetWindowRect(field_, &window);
    const POINT over{window.left + 60, window.top + 30};
    ASSERT_TRUE(SetCursorPos(over.x, over.y));
    const auto pointer = [&] {
        Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(field_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    const HCURSOR beam = LoadCursorW(nullptr, IDC_IBEAM);
    setVanish(TRUE);
    EXPECT_EQ(pointer(), beam);
    Type(u"a");
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(pointer(), nullptr);
    SetCursorPos(over.x + 3, over.y);
    EXPECT_EQ(pointer(), beam);
    Key(VK_LEFT);
    EXPECT_EQ(pointer(), beam);
    setVanish(FALSE);
    Type(u"b");
    EXPECT_EQ(pointer(), beam);
    setVanish(vanish);
    // The pointer back where it was, and the window system's mouse messages of the moves taken here, so
    // that they reach no later test's field.
    SetCursorPos(was.x, was.y);
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 200; Sleep(5))
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
    EXPECT_EQ(Text(), u"ba");
}

// Under the visual style Wine's prefixes have on (its "Light" style), the border is the style's edit
// control's, as uxtheme itself draws it, in the field's state: at rest, under the pointer, focused and
// disabled. With the style taken from the window (SetWindowTheme, which sends WM_THEMECHANGED) it is
// the classic sunken edge, as DrawEdge draws it.
TEST_F(FieldTest, TheBorderIsTheVisualStylesEditBorderInTheFieldsState) {
    HTHEME theme = OpenThemeData(field_, L"Edit");
    ASSERT_NE(theme, nullptr);
    RECT frame{};
    GetWindowRect(field_, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    const int edge = GetSystemMetrics(SM_CYEDGE);
    // The rows of pixels of the border along the top, away from its corners, which a style may round.
    const auto top = [&](auto draw) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP canvas = CreateCompatibleBitmap(screen, frame.right, frame.bottom);
        HGDIOBJ previous = SelectObject(dc, canvas);
        draw(dc);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < edge; ++y)
            for (int x = 2 * edge; x < frame.right - 2 * edge; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        SelectObject(dc, previous);
        DeleteObject(canvas);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return pixels;
    };
    const auto shown = [&] {
        RedrawWindow(field_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        return top([&](HDC dc) {
            HDC window = GetWindowDC(field_);
            BitBlt(dc, 0, 0, frame.right, frame.bottom, window, 0, 0, SRCCOPY);
            ReleaseDC(field_, window);
        });
    };
    const auto styled = [&](int part, int state) {
        return top([&](HDC dc) { DrawThemeBackground(theme, dc, part, state, &frame, nullptr); });
    };
    // The style has the parts of the border of an edit control with a vertical scroll bar.
    ASSERT_TRUE(IsThemePartDefined(theme, EP_EDITBORDER_VSCROLL, 0));
    const auto border = [&](int state) { return styled(EP_EDITBORDER_VSCROLL, state); };
    EXPECT_NE(border(EPSV_NORMAL), border(EPSV_FOCUSED));
    EXPECT_NE(border(EPSV_NORMAL), border(EPSV_HOT));
    EXPECT_EQ(shown(), border(EPSV_FOCUSED));
    SetFocus(parent_);
    EXPECT_EQ(shown(), border(EPSV_NORMAL));
    Mouse(WM_MOUSEMOVE, At(0));
    EXPECT_EQ(shown(), border(EPSV_HOT));
    Send(WM_MOUSELEAVE);
    EXPECT_EQ(shown(), border(EPSV_NORMAL));
    EnableWindow(field_, FALSE);
    EXPECT_EQ(shown(), border(EPSV_DISABLED));
    EnableWindow(field_, TRUE);

    SetWindowTheme(field_, L" ", L" ");
    EXPECT_EQ(shown(), top([&](HDC dc) {
                  RECT sunken = frame;
                  DrawEdge(dc, &sunken, EDGE_SUNKEN, BF_RECT);
              }));
    CloseThemeData(theme);
}

// A click places the caret, and the system's caret there; a drag selects with the mouse captured,
// Shift+click extends, a double-click selects a word and a third click the paragraph, the right button
// takes the focus. The parent hears of the focus, and of every left click when the button comes up,
// focused or not. Dragged below the field, the selection goes on into the rows that scroll into view,
// with every move and as the field's timer ticks.
TEST_F(FieldTest, MouseAndFocusMessagesReachTheField) {
    Set(u"click and drag here");
    SetFocus(parent_);
    EXPECT_EQ(heard[EN_KILLFOCUS], 1);
    Click(At(6));
    EXPECT_EQ(heard[EN_SETFOCUS], 1);
    EXPECT_EQ(Selection(), Range(6, 6));
    EXPECT_EQ(std::make_pair(CaretPoint().x, CaretPoint().y), std::make_pair(PointOf(6).x, PointOf(6).y));
    Mouse(WM_LBUTTONDOWN, At(10), MK_LBUTTON);
    EXPECT_EQ(GetCapture(), field_);
    Mouse(WM_MOUSEMOVE, At(14), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, At(14));
    EXPECT_EQ(Selection(), Range(10, 14));
    EXPECT_EQ(GetCapture(), nullptr);
    Click(At(2), MK_SHIFT);
    EXPECT_EQ(Selection(), Range(2, 10));
    EXPECT_EQ(Caret(), 2u);
    Mouse(WM_LBUTTONDBLCLK, At(7), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, At(7));
    EXPECT_EQ(Selection(), Range(6, 9));
    Click(At(7));
    EXPECT_EQ(Selection(), Range(0, 19));
    Mouse(WM_LBUTTONUP, At(7));
    EXPECT_EQ(heard[kTextFieldClicked], 6);
    SetFocus(parent_);
    Mouse(WM_RBUTTONDOWN, At(0), MK_RBUTTON);
    EXPECT_EQ(GetFocus(), field_);

    std::u16string lines;
    for (int line = 0; line < 50; ++line)
        lines += u"line\r\n";
    Set(lines);
    RECT client{};
    GetClientRect(field_, &client);
    const POINT below{0, client.bottom + 10};
    Mouse(WM_LBUTTONDOWN, At(0), MK_LBUTTON);
    for (int move = 0; move < 3; ++move)
        Mouse(WM_MOUSEMOVE, below, MK_LBUTTON);
    EXPECT_EQ(View().TopRow(), 3u);
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 3000 && View().TopRow() == 3; Sleep(5))
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
    Mouse(WM_LBUTTONUP, below);
    EXPECT_GT(View().TopRow(), 3u);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Selection(), Range(0, static_cast<DWORD>(RowStart(View().TopRow() + View().PageRows() - 1))));
}

TEST_F(FieldTest, PagesTheWheelAndTheScrollBarScrollTheRows) {
    std::u16string lines;
    for (int line = 0; line < 100; ++line)
        lines += u"line\r\n";
    Set(lines);
    const std::size_t page = View().PageRows();
    ASSERT_GT(page, 2u);
    const auto top = [&](UINT message, WPARAM wParam, LPARAM lParam = 0) {
        message == WM_KEYDOWN ? Key(static_cast<UINT>(wParam))
                              : static_cast<void>(Send(message, wParam, lParam));
        return View().TopRow();
    };
    EXPECT_EQ(top(WM_KEYDOWN, VK_NEXT), page);
    EXPECT_EQ(top(WM_KEYDOWN, VK_PRIOR), 0u);
    // A notch is three rows here; a precision wheel's third of one, one row.
    UINT notch = 0;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &notch, 0);
    ASSERT_EQ(notch, 3u);
    EXPECT_EQ(top(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA)), 3u);
    EXPECT_EQ(top(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 3))), 4u);
    EXPECT_EQ(top(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA)), 1u);
    EXPECT_EQ(top(WM_VSCROLL, SB_LINEDOWN), 2u);
    EXPECT_EQ(top(WM_VSCROLL, SB_PAGEDOWN), 2 + page);
    EXPECT_EQ(top(WM_VSCROLL, SB_BOTTOM), 101 - page);
    EXPECT_LT(CaretPoint().y, 0);  // the caret's row, and the system's caret, out of view
    EXPECT_EQ(top(WM_VSCROLL, SB_TOP), 0u);
    EXPECT_EQ(CaretPoint().y, PointOf(0).y);
    EXPECT_EQ(top(EM_LINESCROLL, 0, 7), 7u);
    EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 7);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(field_, SB_VERT, &info);
    EXPECT_EQ(std::make_tuple(info.nPos, info.nMax, info.nPage),
              std::make_tuple(7, 100, static_cast<UINT>(page)));

    // The scroll bar stays, greyed, with nothing to scroll.
    Set(u"short");
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetScrollBarInfo(field_, OBJID_VSCROLL, &bar);
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

// The selection is drawn in the system's colours while the field has the focus, and not without it, as
// in an edit control. A row that needs shaping is drawn, selected and hit by Uniscribe: Hebrew right to
// left, a click past either end of a row of both directions at that end, one on an emoji at its nearer
// edge, one in a Hebrew letter where the caret is then drawn.
TEST_F(FieldTest, RowsAreDrawnAndHitAsGdiAndUniscribeDrawThem) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    Set(u"select me");
    SelectRange(0, 6);
    const POINT a = PointOf(0);
    const POINT space = PointOf(6);
    const int bottom = a.y + Width(u" ", true);
    std::vector<COLORREF> pixels = Paint();
    EXPECT_GT(Count(pixels, highlight, a.x, space.x, a.y, bottom), (space.x - a.x) * (bottom - a.y) / 4);
    EXPECT_EQ(Count(pixels, highlight, space.x, width_, 0, bottom), 0);
    SetFocus(parent_);
    pixels = Paint();
    EXPECT_EQ(Count(pixels, highlight, 0, width_, 0, bottom), 0);
    SetFocus(field_);

    // Two Hebrew words, the first drawn at the right.
    Set(u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD");
    const POINT first = PointOf(0);
    const POINT third = PointOf(2);
    const POINT gap = PointOf(4);
    const POINT end = PointOf(9);
    ASSERT_GT(first.x, gap.x);
    ASSERT_GT(third.x - 2, PointOf(3).x);
    ASSERT_GT(PointOf(5).x, end.x);
    EXPECT_GT(Count(Paint(), GetSysColor(COLOR_WINDOWTEXT), end.x, first.x, a.y, bottom), 0);
    SelectRange(0, 4);
    pixels = Paint();
    EXPECT_GT(Count(pixels, highlight, gap.x + 1, first.x - 1, a.y, bottom), 0);
    EXPECT_EQ(Count(pixels, highlight, end.x, PointOf(5).x - 1, a.y, bottom), 0);
    Click({third.x - 1, At(2).y});
    EXPECT_EQ(Caret(), 2u);
    EXPECT_EQ(CaretPoint().x, third.x);
    Key(VK_END);
    EXPECT_EQ(CaretPoint().x, end.x);

    Set(u"abc \u05E9\u05DC\u05D5\u05DD \u0627\u0644\u0633\u0644\u0627\u0645 def\r\nnext");
    Click({At(0).x + 300, At(0).y});
    EXPECT_EQ(Caret(), 19u);
    Click({0, At(0).y});
    EXPECT_EQ(Caret(), 0u);

    // a, an emoji (a surrogate pair), e with a combining acute, b.
    Set(u"a\U0001F600e\u0301b");
    const POINT left = PointOf(1);
    const POINT right = PointOf(3);
    ASSERT_GT(right.x - left.x, 4);
    for (int x = left.x + 1; x < right.x; ++x) {
        Click({x, left.y + 2});
        EXPECT_EQ(Caret(), x - left.x < right.x - x ? 1u : 3u) << x - left.x;
    }
}

// A right-to-left paragraph with Latin in it stands in the order Unicode's bidirectional algorithm
// gives, which Windows' Uniscribe follows and Wine 8's, asked for a whole mixed row at once, does not.
// Each caret stop lies at its character's leading edge, the left one of a Latin letter and the right
// one of a right-to-left character, so the stops from left to right are the positions listed (two
// positions on one edge keep their order).
TEST_F(FieldTest, ARightToLeftParagraphWithLatinStandsInBidirectionalOrder) {
    const auto stopsFromTheLeft = [&](std::size_t begin, std::size_t end) {
        std::vector<std::size_t> positions(end - begin + 1);
        std::iota(positions.begin(), positions.end(), begin);
        std::stable_sort(positions.begin(), positions.end(),
                         [&](std::size_t a, std::size_t b) { return PointOf(a).x < PointOf(b).x; });
        return positions;
    };
    // The Latin and Cyrillic words at the left, reading rightwards, the Hebrew words after them right
    // to left.
    Set(u"\u05D0\u05D1 \u05D2\u05D3 abc \u0413\u0434\u0435");
    EXPECT_EQ(stopsFromTheLeft(0, 12), (std::vector<std::size_t>{6, 7, 8, 9, 10, 11, 12, 5, 4, 3, 2, 1, 0}));
    // A click just inside a character's leading edge puts the caret before it.
    for (std::size_t position = 0; position < 13; ++position) {
        const POINT stop = PointOf(position);
        Click({stop.x + (position >= 6 ? 1 : -1), stop.y + 2});
        EXPECT_EQ(Caret(), position);
    }
    // A row of Latin alone after a line separator keeps the paragraph's direction: the closing "!"
    // stands at its left.
    Set(u"\u05D0\u2028xyz 12!");
    ASSERT_EQ(RowStart(1), 2u);
    EXPECT_EQ(stopsFromTheLeft(2, 9), (std::vector<std::size_t>{9, 2, 8, 3, 4, 5, 6, 7}));
}

// Every script as Uniscribe itself draws it, with the font fallback and linking of the system's edit
// control: a field holding a sample draws it as wide and with as much ink as ScriptStringOut draws it in
// the same font, in a face Windows links to CJK fonts (Tahoma) and in one it links to none (as Verdana).
// Where Wine has no font for a script (Devanagari, emoji, and Hangul in a face without links), both draw
// the same boxes, as Wine's edit control does.
// Anti-aliased edges may fall a pixel apart where a run starts at another x, hence the tolerances.
TEST_F(FieldTest, EveryScriptIsDrawnAsUniscribeDrawsItWithFallbackAndLinking) {
    const std::u16string_view samples[] = {
        u"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645",  // Arabic
        u"\u06AF\u0641\u062A\u06AF\u0648\u06CC \u067E\u0627\u0631\u0633\u06CC",        // Persian
        u"\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD",                                 // Hebrew with points
        u"\u0928\u092E\u0938\u094D\u0924\u0947 \u0915\u094D\u0937",                    // Devanagari conjuncts
        u"\u0E2A\u0E27\u0E31\u0E2A\u0E14\u0E35",                                       // Thai
        u"\u4F60\u597D\u4E2D\u6587",                                                   // Chinese
        u"\u3053\u3093\u306B\u3061\u306F\u65E5\u672C",                                 // Japanese
        u"\uC548\uB155\uD558\uC138\uC694",                                             // Korean
        u"\u041F\u0440\u0438\u0432\u0435\u0442",                                       // Cyrillic
        u"e\u0301a\u0308o\u0302",                                                      // Latin with marks
        u"\U0001F1E9\U0001F1EA",                                                       // a flag
        u"\U0001F469\u200D\U0001F469\u200D\U0001F467",                                 // a ZWJ family
        u"\U0001F44D\U0001F3FD",                                                       // a skin tone
        u"1\uFE0F\u20E3",                                                              // a keycap
        u"Hi \u4F60\u597D \uC548\uB155 \u0645\u0631\u062D\u0628\u0627",                // mixed in one row
    };
    struct Ink {
        int left = INT_MAX, right = INT_MIN, count = 0;
    };
    const COLORREF paper = GetSysColor(COLOR_WINDOW);
    const auto inkOf = [&](const std::vector<COLORREF>& pixels, int width) {
        Ink ink;
        for (std::size_t at = 0; at < pixels.size(); ++at) {
            if (pixels[at] == paper)
                continue;
            const int x = static_cast<int>(at % static_cast<std::size_t>(width));
            ink = {std::min(ink.left, x), std::max(ink.right, x + 1), ink.count + 1};
        }
        return ink;
    };
    const auto uniscribe = [&](std::u16string_view text, HFONT font) {
        constexpr int kWidth = 400, kHeight = 40;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP canvas = CreateCompatibleBitmap(screen, kWidth, kHeight);
        HGDIOBJ previousBitmap = SelectObject(dc, canvas);
        HGDIOBJ previousFont = SelectObject(dc, font);
        const RECT all{0, 0, kWidth, kHeight};
        SetBkColor(dc, paper);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        const auto length = static_cast<int>(text.size());
        SCRIPT_STRING_ANALYSIS analysis = nullptr;
        EXPECT_EQ(ScriptStringAnalyse(dc, text.data(), length, length * 3 / 2 + 16, -1,
                                      SSA_GLYPHS | SSA_FALLBACK | SSA_LINK, 0, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, &analysis),
                  S_OK);
        ScriptStringOut(analysis, 2, 2, 0, nullptr, 0, 0, FALSE);
        ScriptStringFree(&analysis);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        SelectObject(dc, previousFont);
        SelectObject(dc, previousBitmap);
        DeleteObject(canvas);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return inkOf(pixels, kWidth);
    };
    large_ = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Noto Sans");
    SetFocus(parent_);
    for (HFONT font : {font_, large_}) {
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        for (std::size_t at = 0; at < std::size(samples); ++at) {
            const std::u16string_view sample = samples[at];
            SCOPED_TRACE(testing::Message()
                         << (font == font_ ? "Tahoma, sample " : "Noto Sans, sample ") << at);
            Set(sample);
            const std::vector<COLORREF> pixels = Paint();
            const Ink drawn = inkOf(pixels, width_);
            const Ink expected = uniscribe(sample, font);
            ASSERT_GT(expected.count, 0);
            EXPECT_NEAR(drawn.right - drawn.left, expected.right - expected.left, 2);
            EXPECT_NEAR(drawn.count, expected.count, expected.count / 10 + 2);
        }
    }
}

// Rows wrap at the field's width as GDI measures the text: none is wider than the text's rectangle, and
// the next row's first word, or coded text's next character, would not have fitted; so after a resize,
// and at twice the DPI, where the parent gives a font twice the size and a field twice as large.
TEST_F(FieldTest, RowsWrapAtTheWidthAsGdiMeasuresAfterAResizeAndAFontChange) {
    const auto fitsAndFills = [&](auto next) {
        const int width = TextArea().right - TextArea().left;
        ASSERT_GT(RowCount(), 20u);
        for (std::size_t row = 0; row < RowCount(); ++row) {
            const std::u16string_view text = Text();
            const std::size_t start = RowStart(row);
            std::size_t end = start + static_cast<std::size_t>(Send(EM_LINELENGTH, start));
            while (end > start && text[end - 1] == u' ')
                --end;
            ASSERT_LE(Width(text.substr(start, end - start)), width) << row;
            if (row + 1 < RowCount()) {
                ASSERT_GT(Width(text.substr(start, next(RowStart(row + 1)) - start)), width) << row;
            }
        }
    };
    std::u16string prose;
    while (prose.size() < 2000)
        prose += u"the quick brown fox jumps over the lazy dog ";
    Set(prose);
    fitsAndFills([&](std::size_t start) { return std::min(Text().size(), Text().find(u' ', start)); });

    std::u16string coded;
    while (coded.size() < 20000)
        coded += u"%01%23%45%67%89";
    Set(coded);
    const auto nextCharacter = [](std::size_t start) { return start + 1; };
    fitsAndFills(nextCharacter);
    const std::size_t rowsAtFullWidth = RowCount();
    SetWindowPos(field_, nullptr, 0, 0, 209, 89, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(RowCount(), rowsAtFullWidth * 19 / 10);
    fitsAndFills(nextCharacter);
    large_ = Font(26);
    SetWindowPos(field_, nullptr, 0, 0, 818, 178, SWP_NOMOVE | SWP_NOZORDER);
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(large_), TRUE);
    EXPECT_GT(RowCount(), rowsAtFullWidth * 8 / 10);
    EXPECT_LT(RowCount(), rowsAtFullWidth * 12 / 10);
    fitsAndFills(nextCharacter);
    EXPECT_EQ(Text(), coded);
}

// The clipboard's plain text, CR and LF as they are, through the keys and the messages; a clipboard with
// no text pastes nothing. A field that shows the plain message marks what it copies so that clipboard
// history leaves it out; any other field copies plain text alone.
TEST_F(FieldTest, CutCopyAndPasteGoThroughTheSystemsClipboard) {
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
    const auto marked = [] {
        int formats = 0;
        for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing",
                                    L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"})
            formats += IsClipboardFormatAvailable(RegisterClipboardFormatW(name)) ? 1 : 0;
        return formats;
    };
    // What a key or a message did to the text or to the clipboard, from the selection [anchor, caret).
    const auto text = [&](int anchor, int caret, auto does) {
        SelectRange(anchor, caret);
        does();
        return Text();
    };
    const auto copied = [&](int anchor, int caret, auto does) {
        text(anchor, caret, does);
        return clipboard();
    };
    Set(u"copy\r\nme\rnow");
    EXPECT_EQ(copied(0, 8, [&] { Key('C', kCtrl); }), u"copy\r\nme");
    EXPECT_EQ(marked(), 0);
    EXPECT_EQ(text(13, 13, [&] { Key('V', kCtrl); }), u"copy\r\nme\rnowcopy\r\nme");
    EXPECT_EQ(copied(8, 12, [&] { Key(VK_DELETE, kShift); }), u"\rnow");
    EXPECT_EQ(Text(), u"copy\r\nmecopy\r\nme");
    EXPECT_EQ(copied(0, 4, [&] { Key(VK_INSERT, kCtrl); }), u"copy");
    EXPECT_EQ(text(4, 4, [&] { Key(VK_INSERT, kShift); }), u"copycopy\r\nmecopy\r\nme");
    EXPECT_EQ(copied(0, 2, [&] { Key('X', kCtrl); }), u"co");
    EXPECT_EQ(text(0, 0, [&] { Send(WM_PASTE); }), u"copycopy\r\nmecopy\r\nme");
    EXPECT_EQ(copied(0, 3, [&] { Send(WM_COPY); }), u"cop");
    SetFieldContent(field_, true);
    EXPECT_EQ(text(0, 3, [&] { Send(WM_CUT); }), u"ycopy\r\nmecopy\r\nme");
    EXPECT_EQ(marked(), 3);
    EXPECT_EQ(copied(0, 1, [&] { Key('C', kCtrl); }), u"y");
    EXPECT_EQ(marked(), 3);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    const std::u16string before = Text();
    EXPECT_EQ(text(1, 4,
                   [&] {
                       Key('V', kCtrl);
                       Send(WM_PASTE);
                   }),
              before);
    EXPECT_EQ(Selection(), Range(1, 4));
}

// Hostile text is held, drawn, selected, copied and edited: every code unit, lone surrogates included; a
// letter with thousands of marks; a row of a million tabs, which hangs far past the field's edge.
TEST_F(FieldTest, HostileTextIsHeldDrawnAndEdited) {
    std::u16string all;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit)
        all.push_back(static_cast<char16_t>(unit));
    all += u"\xDC00\xD800";  // a lone low surrogate before a lone high one at the end
    Set(all);
    for (std::size_t top = 0; top < RowCount(); top += View().PageRows()) {
        Send(EM_LINESCROLL, 0, static_cast<LPARAM>(View().PageRows()));
        UpdateWindow(field_);
    }
    Key('A', kCtrl);
    UpdateWindow(field_);
    Key('C', kCtrl);
    EXPECT_TRUE(Text() == all);

    Set(u"a" + std::u16string(30000, u'\u0301') + u"b");
    Key(VK_RIGHT, kShift);
    UpdateWindow(field_);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), u"b");

    Set(u"x" + std::u16string(1 << 20, u'\t') + u"y");
    Key('A', kCtrl);
    UpdateWindow(field_);
    Key(VK_END, kCtrl);
    Type(u"z");
    UpdateWindow(field_);
    EXPECT_EQ(Text().size(), (1u << 20) + 3);
}

// The context menu, from the Menu key, the right button or Shift+F10, offers what the field says can be
// done now, and its mnemonics and commands work.
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
    // The menu's own loop reads the key posted before it opens; one that missed it is closed later.
    const auto open = [&](UINT key, auto how) {
        PostMessageW(field_, WM_KEYDOWN, key, 1);
        SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            EndMenu();
        });
        how();
    };
    Set(u"menu");
    open('A', [&] { Key(VK_APPS); });  // Select All
    EXPECT_EQ(Selection(), Range(0, 4));
    EXPECT_EQ(states, (std::vector<UINT>{MF_GRAYED, MF_GRAYED, MF_GRAYED, MF_GRAYED, MF_GRAYED, 0}));

    Type(u"x");
    const std::vector<UINT> undoOnly{0, MF_GRAYED, MF_GRAYED, MF_GRAYED, MF_GRAYED, 0};
    open(VK_ESCAPE, [&] { Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field_), MAKELPARAM(20, 20)); });
    EXPECT_EQ(states, undoOnly);
    EXPECT_EQ(Text(), u"x");
    states.clear();
    open('U', [&] {  // Undo: the text the typing replaced comes back
        Modifiers(kShift);
        Send(WM_SYSKEYDOWN, VK_F10, 1);
        Modifiers(0);
    });
    EXPECT_EQ(states, undoOnly);
    EXPECT_EQ(Text(), u"menu");
}

// The input method's side of a context, as the Windows DDK lays it out, as far as the composition: an
// input method fills the composition in it, and the field reads it through ImmGetCompositionStringW.
struct CompositionString {
    DWORD size, readAttributesLength, readAttributesOffset, readClausesLength, readClausesOffset;
    DWORD readTextLength, readTextOffset, attributesLength, attributesOffset, clausesLength, clausesOffset;
    DWORD textLength, textOffset, cursor, deltaStart, resultReadClausesLength, resultReadClausesOffset;
    DWORD resultReadTextLength, resultReadTextOffset, resultClausesLength, resultClausesOffset;
    DWORD resultLength, resultOffset, privateSize, privateOffset;
};
struct InputContext {
    HWND window;
    BOOL open;
    POINT statusWindow, softKeyboard;
    DWORD conversion, sentence;
    LOGFONTW font;
    COMPOSITIONFORM composition;
    CANDIDATEFORM candidates[4];
    HANDLE compositionString;
};
extern "C" {
InputContext* WINAPI ImmLockIMC(HIMC);
BOOL WINAPI ImmUnlockIMC(HIMC);
HANDLE WINAPI ImmCreateIMCC(DWORD);
HANDLE WINAPI ImmDestroyIMCC(HANDLE);
void* WINAPI ImmLockIMCC(HANDLE);
BOOL WINAPI ImmUnlockIMCC(HANDLE);
}

// A field composed in through its input method context, at the caret between "a" and "b". Wine's own
// input method composes what ImmSetCompositionStringW sets, with every unit typed (ATTR_INPUT) and the
// cursor at the end, and commits or drops it on ImmNotifyIME; a composition with converted pieces, a
// cursor of its own, or a result that comes with the next composition is put in the context as an
// input method puts it, and the field told of it by the message an input method sends.
class CompositionTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        Set(u"ab");
        SelectRange(1, 1);
        b_ = PointOf(1);
        bottom_ = b_.y + Width(u" ", true);
    }
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
        header.textOffset = append(held.text.data(), 2 * held.text.size());
        header.attributesLength = static_cast<DWORD>(held.attributes.size());
        header.attributesOffset = append(held.attributes.data(), held.attributes.size());
        header.clausesLength = static_cast<DWORD>(4 * held.clauses.size());
        header.clausesOffset = append(held.clauses.data(), 4 * held.clauses.size());
        header.cursor = held.cursor;
        header.resultLength = static_cast<DWORD>(held.result.size());
        header.resultOffset = append(held.result.data(), 2 * held.result.size());
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
        Send(WM_IME_COMPOSITION, held.text.empty() ? 0 : held.text[0], changed);
    }
    // The rows of pixels of the caret's row that are the text's colour all the way from `left` to
    // `right`: underlines.
    std::vector<int> SolidRows(const std::vector<COLORREF>& pixels, int left, int right) {
        std::vector<int> rows;
        for (int y = b_.y; y < bottom_; ++y)
            if (left < right &&
                Count(pixels, GetSysColor(COLOR_WINDOWTEXT), left, right, y, y + 1) == right - left)
                rows.push_back(y);
        return rows;
    }

    POINT b_{};
    int bottom_ = 0;
};

// While composing the text stays as it was, to the messages; the composition is
// drawn in the caret's row at the caret, where typing it would put it, underlined, with the system's
// caret at the input method's cursor in it, the composition window there and the candidate list clear
// of the row. The result is typed once, as the keyboard types.
TEST_F(CompositionTest, TheCompositionIsDrawnAtTheCaretAndItsResultTypedOnce) {
    const POINT a = PointOf(0);
    Compose(u"n");
    Compose(u"ni");
    EXPECT_EQ(View().Composing().Text(), u"ni");
    wchar_t buffer[8] = {};
    EXPECT_EQ(Send(WM_GETTEXT, 8, reinterpret_cast<LPARAM>(buffer)), 2);
    EXPECT_STREQ(buffer, L"ab");
    EXPECT_EQ(heard[EN_CHANGE], 0);
    const int ni = b_.x + Width(u"ni");
    EXPECT_EQ(CaretPoint().x, ni);
    EXPECT_EQ(CaretPoint().y, b_.y);
    HIMC context = ImmGetContext(field_);
    COMPOSITIONFORM place{};
    EXPECT_TRUE(ImmGetCompositionWindow(context, &place));
    CANDIDATEFORM candidates{};
    EXPECT_TRUE(ImmGetCandidateWindow(context, 0, &candidates));
    ImmReleaseContext(field_, context);
    EXPECT_EQ(place.dwStyle, static_cast<DWORD>(CFS_POINT));
    EXPECT_EQ(std::make_pair(place.ptCurrentPos.x, place.ptCurrentPos.y), std::make_pair(LONG{ni}, b_.y));
    EXPECT_EQ(candidates.dwStyle, static_cast<DWORD>(CFS_CANDIDATEPOS));
    EXPECT_EQ(std::make_pair(candidates.ptCurrentPos.x, candidates.ptCurrentPos.y),
              std::make_pair(LONG{ni}, LONG{bottom_}));

    const std::vector<COLORREF> composing = Paint();
    EXPECT_EQ(SolidRows(composing, b_.x, ni - 1), std::vector<int>{bottom_ - 1});
    EXPECT_TRUE(SolidRows(composing, a.x, b_.x - 1).empty());

    // Above its underline the row looks as it will once the composition is typed.
    Notify(CPS_COMPLETE);
    ASSERT_EQ(Text(), u"anib");
    EXPECT_EQ(heard[EN_CHANGE], 1);
    EXPECT_EQ(Caret(), 3u);
    EXPECT_FALSE(View().Composing().Active());
    EXPECT_EQ(CaretPoint().x, PointOf(3).x);
    const std::vector<COLORREF> typed = Paint();
    EXPECT_TRUE(std::equal(typed.begin() + b_.y * width_, typed.begin() + (bottom_ - 1) * width_,
                           composing.begin() + b_.y * width_));
}

// A piece being converted is underlined thick and the typed one thin, each apart, and the caret stands
// at the input method's cursor; a cursor or attributes that do not fit the composition are kept to it.
// A result can come with the next composition in one message.
TEST_F(CompositionTest, ConvertedPiecesTheInputMethodsCursorAndAResultWithTheNextComposition) {
    Send(WM_IME_STARTCOMPOSITION);
    Hold({.text = u"nihao",
          .attributes = {ATTR_TARGET_CONVERTED, ATTR_TARGET_CONVERTED, ATTR_INPUT, ATTR_INPUT, ATTR_INPUT},
          .clauses = {0, 2, 5},
          .cursor = 2},
         GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE | GCS_CURSORPOS);
    const int converted = b_.x + Width(u"ni");
    EXPECT_EQ(CaretPoint().x, converted);
    const std::vector<COLORREF> pixels = Paint();
    const std::vector<int> thin{bottom_ - 1};
    EXPECT_EQ(SolidRows(pixels, b_.x, converted - 1), (std::vector<int>{bottom_ - 2, bottom_ - 1}));
    EXPECT_EQ(SolidRows(pixels, converted, b_.x + Width(u"nihao") - 1), thin);
    EXPECT_TRUE(SolidRows(pixels, converted - 1, converted).empty());  // the gap between the pieces

    Hold({.text = u"hao", .attributes = {ATTR_INPUT}, .cursor = 99},
         GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
    EXPECT_EQ(CaretPoint().x, b_.x + Width(u"hao"));
    EXPECT_EQ(SolidRows(Paint(), b_.x, b_.x + Width(u"h") - 1), thin);
    EXPECT_EQ(Text(), u"ab");

    Hold({.text = u"ma", .attributes = {ATTR_INPUT, ATTR_INPUT}, .cursor = 2, .result = u"\u4f60"},
         GCS_RESULTSTR | GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
    EXPECT_EQ(Text(), u"a\u4f60b");
    EXPECT_EQ(View().Composing().Text(), u"ma");
    EXPECT_EQ(CaretPoint().x, PointOf(2).x + Width(u"ma"));
    Send(WM_IME_ENDCOMPOSITION);
    EXPECT_FALSE(View().Composing().Active());
    EXPECT_EQ(CaretPoint().x, PointOf(2).x);
    EXPECT_EQ(heard[EN_CHANGE], 1);
}

// A dropped or emptied composition leaves the text and the caret as they were, and so does a message
// with nothing in the context, or with no context at all. A click, or the focus leaving the field, types
// what was being composed where it was shown, once, and ends the composition; it is not carried to the
// next window.
TEST_F(CompositionTest, ACompositionDroppedLeavesTheTextAndAClickOrLeavingTheFieldTypesIt) {
    Compose(u"ni");
    Notify(CPS_CANCEL);
    EXPECT_FALSE(View().Composing().Active());
    EXPECT_EQ(CaretPoint().x, b_.x);
    Compose(u"ni");
    Compose(u"");
    EXPECT_FALSE(View().Composing().Active());
    EXPECT_EQ(CaretPoint().x, b_.x);
    Send(WM_IME_COMPOSITION, 0, GCS_RESULTSTR | GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
    Send(WM_IME_ENDCOMPOSITION);
    HIMC context = ImmAssociateContext(field_, nullptr);
    Send(WM_IME_STARTCOMPOSITION);
    Send(WM_IME_COMPOSITION, 0, GCS_RESULTSTR | GCS_COMPSTR);
    Send(WM_IME_ENDCOMPOSITION);
    ImmAssociateContext(field_, context);
    EXPECT_EQ(Text(), u"ab");
    EXPECT_EQ(heard[EN_CHANGE], 0);
    EXPECT_EQ(Caret(), 1u);

    // The input method completes the composition on the click, and sends its result, which is typed
    // before the caret moves.
    Compose(u"ni");
    Click(PointOf(0));
    EXPECT_EQ(Text(), u"anib");
    EXPECT_EQ(Caret(), 0u);
    EXPECT_FALSE(View().Composing().Active());
    HIMC completed = ImmGetContext(field_);
    wchar_t result[4] = {};
    EXPECT_EQ(ImmGetCompositionStringW(completed, GCS_RESULTSTR, result, sizeof result), 4);
    EXPECT_STREQ(result, L"ni");
    ImmReleaseContext(field_, completed);
    Compose(u"ma");
    SetFocus(parent_);
    EXPECT_EQ(Text(), u"maanib");
    EXPECT_EQ(heard[EN_CHANGE], 2);
    EXPECT_FALSE(View().Composing().Active());
}

// What an input method asks: where a unit of the composition stands on the screen, how high its row
// is and where the text area is; the selection, or the caret's paragraph, to reconvert, with the piece
// it picks selected so that its result replaces it; and the caret's paragraph around a composition.
TEST_F(CompositionTest, AnswersTheInputMethodsRequests) {
    Compose(u"ni");
    IMECHARPOSITION position{};
    position.dwSize = sizeof position;
    position.dwCharPos = 1;
    ASSERT_TRUE(Send(WM_IME_REQUEST, IMR_QUERYCHARPOSITION, reinterpret_cast<LPARAM>(&position)));
    POINT i{b_.x + Width(u"n"), b_.y};
    ClientToScreen(field_, &i);
    EXPECT_EQ(std::make_pair(position.pt.x, position.pt.y), std::make_pair(i.x, i.y));
    EXPECT_EQ(position.cLineHeight, static_cast<UINT>(bottom_ - b_.y));
    RECT area = TextArea();
    MapWindowPoints(field_, nullptr, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_TRUE(EqualRect(&position.rcDocument, &area));
    position.dwSize = 4;
    EXPECT_FALSE(Send(WM_IME_REQUEST, IMR_QUERYCHARPOSITION, reinterpret_cast<LPARAM>(&position)));
    Notify(CPS_CANCEL);

    // What is asked for: its size first, then the string.
    using Asked = std::tuple<std::u16string, std::u16string, DWORD>;  // the text, its piece and where
    const auto ask = [&](WPARAM request) {
        const auto size = static_cast<std::size_t>(Send(WM_IME_REQUEST, request, 0));
        std::vector<BYTE> data(size);
        EXPECT_GE(size, sizeof(RECONVERTSTRING));
        auto* string = reinterpret_cast<RECONVERTSTRING*>(data.data());
        string->dwSize = static_cast<DWORD>(size - 1);
        EXPECT_EQ(Send(WM_IME_REQUEST, request, reinterpret_cast<LPARAM>(string)), 0);
        string->dwSize = static_cast<DWORD>(size);
        EXPECT_EQ(Send(WM_IME_REQUEST, request, reinterpret_cast<LPARAM>(string)),
                  static_cast<LRESULT>(size));
        const auto* units = reinterpret_cast<const char16_t*>(data.data() + string->dwStrOffset);
        EXPECT_EQ(string->dwTargetStrOffset, string->dwCompStrOffset);
        EXPECT_EQ(string->dwTargetStrLen, string->dwCompStrLen);
        EXPECT_EQ(units[string->dwStrLen], u'\0');
        return Asked{std::u16string(units, string->dwStrLen),
                     std::u16string(units + string->dwCompStrOffset / 2, string->dwCompStrLen),
                     string->dwCompStrOffset / 2};
    };
    Set(u"one\r\nkanji here\r\nend");
    SelectRange(0, 3);
    EXPECT_EQ(ask(IMR_RECONVERTSTRING), Asked(u"one", u"one", 0));
    SelectRange(7, 7);
    EXPECT_EQ(ask(IMR_DOCUMENTFEED), Asked(u"kanji here", u"", 2));
    EXPECT_EQ(ask(IMR_RECONVERTSTRING), Asked(u"kanji here", u"", 2));
    // The input method picks "kanji" and composes its reconversion; the result replaces it.
    RECONVERTSTRING confirmed{};
    confirmed.dwSize = sizeof confirmed;
    confirmed.dwStrLen = 10;
    confirmed.dwCompStrLen = 5;
    confirmed.dwCompStrOffset = 0;
    EXPECT_TRUE(Send(WM_IME_REQUEST, IMR_CONFIRMRECONVERTSTRING, reinterpret_cast<LPARAM>(&confirmed)));
    EXPECT_EQ(Selection(), Range(5, 10));
    Hold({.text = u"\u6f22\u5b57"}, GCS_COMPSTR);
    Hold({.result = u"\u6f22\u5b57"}, GCS_RESULTSTR | GCS_COMPSTR);
    EXPECT_EQ(Text(), u"one\r\n\u6f22\u5b57 here\r\nend");
    // A confirmation that does not fit what was given changes nothing.
    confirmed.dwCompStrLen = 11;
    EXPECT_FALSE(Send(WM_IME_REQUEST, IMR_CONFIRMRECONVERTSTRING, reinterpret_cast<LPARAM>(&confirmed)));
    EXPECT_EQ(Selection(), Range(7, 7));
}

// A drop target on another window of the test, as another program's: it takes the text and, for each
// format that keeps a copy out of clipboard history, the DWORD it carries; it moves the text.
class OtherProgram final : public IDropTarget {
public:
    std::u16string text;
    std::map<std::wstring, DWORD> flags;
    bool entered = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object =
            IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDropTarget)) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        entered = true;
        *effect &= DROPEFFECT_MOVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_MOVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        const auto read = [&](CLIPFORMAT format, auto take) {
            FORMATETC asked{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
            STGMEDIUM medium{};
            if (FAILED(data->GetData(&asked, &medium)))
                return;
            take(GlobalLock(medium.hGlobal), GlobalSize(medium.hGlobal));
            GlobalUnlock(medium.hGlobal);
            ReleaseStgMedium(&medium);
        };
        read(CF_UNICODETEXT, [&](const void* units, SIZE_T) { text = static_cast<const char16_t*>(units); });
        for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing",
                                    L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"})
            read(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name)),
                 [&](const void* value, SIZE_T size) {
                     if (size >= sizeof(DWORD))
                         flags[name] = *static_cast<const DWORD*>(value);
                 });
        *effect &= DROPEFFECT_MOVE;
        return S_OK;
    }
};

// Dragged with the left button up, as OLE's drag loop sees the mouse here, the selection is dropped at
// once where the pointer is.
class DragTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        GetCursorPos(&was_);
        Set(u"drag me here");
        SelectRange(0, 5);
    }
    void TearDown() override {
        SetCursorPos(was_.x, was_.y);
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 200; Sleep(5))
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&message);
        FieldTest::TearDown();
    }
    // Presses in the selection and moves past the drag distance with the pointer at `screen`.
    void DragSelectionTo(POINT screen) {
        SetCursorPos(screen.x, screen.y);
        Mouse(WM_LBUTTONDOWN, At(1), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, {At(1).x + 2 * GetSystemMetrics(SM_CXDRAG), At(1).y}, MK_LBUTTON);
    }
    POINT Screen(POINT client, HWND window) {
        ClientToScreen(window, &client);
        return client;
    }
    POINT was_{};
};

// Within the field the selection moves where it is dropped, as one undo step; into another program it
// goes as plain text, which the field then loses when the other program moved it. A field that shows
// the plain message marks it as a copy marks it, so that clipboard history leaves it out.
TEST_F(DragTest, TheSelectionMovesWithinTheFieldOrGoesToAnotherProgramMarkedAsACopyIs) {
    DragSelectionTo(Screen(At(12), field_));
    EXPECT_EQ(Text(), u"me heredrag ");
    Send(EM_UNDO);
    EXPECT_EQ(Text(), u"drag me here");

    HWND other = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 8, 150, 200, 100, parent_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    OtherProgram program;
    ASSERT_EQ(RegisterDragDrop(other, &program), S_OK);
    const auto dragOut = [&](bool sensitive) {
        program = {};
        View().SetSensitive(sensitive);
        Set(u"drag me here");
        SelectRange(0, 5);
        DragSelectionTo(Screen({20, 20}, other));
        return program.flags;
    };
    EXPECT_TRUE(dragOut(false).empty());
    EXPECT_EQ(program.text, u"drag ");
    EXPECT_EQ(Text(), u"me here");
    const std::map<std::wstring, DWORD> marked{{L"CanIncludeInClipboardHistory", 0},
                                               {L"CanUploadToCloudClipboard", 0},
                                               {L"ExcludeClipboardContentFromMonitorProcessing", 0}};
    EXPECT_EQ(dragOut(true), marked);
    EXPECT_EQ(program.text, u"drag ");
    RevokeDragDrop(other);
    DestroyWindow(other);
}

// Text that another program drags over the field shows a drop caret where it would go, drawn as the
// caret, and goes there when dropped; the other program hears that it was moved.
TEST_F(DragTest, TextFromAnotherProgramShowsADropCaretAndGoesWhereDropped) {
    SelectRange(0, 0);
    SetFocus(parent_);
    struct Source final : IDropSource {
        std::function<void()> over;
        int calls = 0;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
            *object = IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDropSource)) ? this
                                                                                                    : nullptr;
            return *object ? S_OK : E_NOINTERFACE;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        // Dragged over for a few turns of the loop, then dropped.
        HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
            if (++calls == 3)
                over();
            return calls < 4 ? S_OK : DRAGDROP_S_DROP;
        }
        HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
    } source;
    const POINT gap = PointOf(7);  // the space after "me"
    const int rowHeight = Width(u" ", true);
    const auto caretColumn = [&] {
        return Count(Paint(), GetSysColor(COLOR_WINDOWTEXT), gap.x, gap.x + 1, gap.y, gap.y + rowHeight);
    };
    const int before = caretColumn();
    int during = 0;
    source.over = [&] { during = caretColumn(); };
    SetCursorPos(Screen({gap.x, gap.y + 2}, field_).x, Screen({gap.x, gap.y + 2}, field_).y);
    IDataObject* data = TextDataObject(u"[new]", false);
    DWORD effect = 0;
    EXPECT_EQ(DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_LT(before, rowHeight);
    EXPECT_EQ(during, rowHeight);
    EXPECT_EQ(Text(), u"drag me[new] here");
    EXPECT_EQ(caretColumn(), before);
    data->Release();
}

// Screen readers that speak Active Accessibility hear the field's name, not its text, and its text as its
// value, which they may also set; the object is one, whatever interface it is asked for.
TEST_F(FieldTest, ActiveAccessibilityNamesTheFieldAndGivesItsTextAsItsValue) {
    View().SetNames(u"Message to encrypt", u"Text1");
    Set(std::u16string(u"two\0lines\r\n", 12));
    IAccessible* accessible = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(field_, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&accessible)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto read = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, BSTR*)) {
        BSTR text = nullptr;
        EXPECT_EQ((accessible->*getter)(self, &text), S_OK);
        std::u16string result(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
        SysFreeString(text);
        return result;
    };
    EXPECT_EQ(read(&IAccessible::get_accName), u"Message to encrypt");
    EXPECT_EQ(read(&IAccessible::get_accValue), std::u16string(u"two\0lines\r\n", 12));
    VARIANT role{};
    EXPECT_EQ(accessible->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
    BSTR value = SysAllocString(L"said");
    EXPECT_EQ(accessible->put_accValue(self, value), S_OK);
    SysFreeString(value);
    EXPECT_EQ(Text(), u"said");
    EXPECT_EQ(heard[EN_CHANGE], 1);
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

}  // namespace
}  // namespace quorvel::forms::win32
