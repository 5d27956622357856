// How a text field's window turns keys, the mouse, the focus, the input method and its context menu into
// the field's calls.
#include "text_view.h"

#include <imm.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::forms::win32 {
namespace {

// What an input method context holds of its composition at `index` (GCS_COMPSTR, GCS_COMPATTR, ...), as
// a string of `Container`'s units: empty when the context has none, or answers an error
// (IMM_ERROR_NODATA, IMM_ERROR_GENERAL).
template <typename Container> Container ReadComposition(HIMC context, DWORD index) {
    using Unit = typename Container::value_type;
    const LONG bytes = ImmGetCompositionStringW(context, index, nullptr, 0);
    if (bytes <= 0)
        return {};
    Container units(static_cast<std::size_t>(bytes) / sizeof(Unit), Unit{});
    const LONG read = ImmGetCompositionStringW(context, index, units.data(),
                                               static_cast<DWORD>(units.size() * sizeof(Unit)));
    units.resize(read > 0 ? std::min(units.size(), static_cast<std::size_t>(read) / sizeof(Unit)) : 0);
    return units;
}

// The pieces of a composition of `length` units, from the input method's attribute of each unit and its
// clauses' starts: a piece is a run of one attribute within one clause. The piece being converted
// (ATTR_TARGET_CONVERTED, ATTR_TARGET_NOTCONVERTED) is the pre-edit's selected piece; the rest, typed
// or converted, is underlined.
std::vector<textedit::Preedit::Span> CompositionSpans(const std::vector<BYTE>& attributes,
                                                      const std::vector<DWORD>& clauses, std::size_t length) {
    std::vector<textedit::Preedit::Span> spans;
    length = std::min(length, attributes.size());
    for (std::size_t begin = 0; begin < length;) {
        std::size_t end = begin + 1;
        while (end < length && attributes[end] == attributes[begin] &&
               std::ranges::find(clauses, static_cast<DWORD>(end)) == clauses.end())
            ++end;
        const bool target =
            attributes[begin] == ATTR_TARGET_CONVERTED || attributes[begin] == ATTR_TARGET_NOTCONVERTED;
        spans.push_back({begin, end - begin,
                         target ? textedit::Preedit::Style::Selected : textedit::Preedit::Style::Underline});
        begin = end;
    }
    return spans;
}

}  // namespace

void TextView::KeyDown(UINT key) {
    using textedit::Key;
    // Backspace comes as the character it types.
    static constexpr std::pair<UINT, Key> keys[] = {{VK_LEFT, Key::Left},
                                                    {VK_RIGHT, Key::Right},
                                                    {VK_UP, Key::Up},
                                                    {VK_DOWN, Key::Down},
                                                    {VK_HOME, Key::Home},
                                                    {VK_END, Key::End},
                                                    {VK_PRIOR, Key::PageUp},
                                                    {VK_NEXT, Key::PageDown},
                                                    {VK_DELETE, Key::Delete},
                                                    {VK_INSERT, Key::Insert},
                                                    {'A', Key::A},
                                                    {'C', Key::C},
                                                    {'V', Key::V},
                                                    {'X', Key::X},
                                                    {'Y', Key::Y},
                                                    {'Z', Key::Z}};
    if (key == VK_APPS) {
        ShowContextMenu({-1, -1});
        return;
    }
    const auto* known =
        std::find_if(std::begin(keys), std::end(keys), [key](const auto& k) { return k.first == key; });
    if (known == std::end(keys))
        return;
    field_.Perform(textedit::CommandForKey(known->second, {.shift = GetKeyState(VK_SHIFT) < 0,
                                                           .control = GetKeyState(VK_CONTROL) < 0,
                                                           .alt = GetKeyState(VK_MENU) < 0}));
}

void TextView::Character(char16_t unit) {
    HidePointerWhileTyping();
    switch (unit) {
    case u'\r':
    case u'\n':
        field_.Type(u"\r\n");
        return;
    case u'\b':
        field_.Perform(textedit::CommandForKey(textedit::Key::Backspace, {}));
        return;
    case u'\x7F':  // Ctrl+Backspace
        field_.Perform(textedit::CommandForKey(textedit::Key::Backspace, {.control = true}));
        return;
    default:
        break;
    }
    // Tab, Escape and the control characters of Ctrl+letter type nothing.
    if (unit >= u' ')
        field_.Type(std::u16string_view(&unit, 1));
}

void TextView::ButtonDown(POINT at, bool extend, int clicks) {
    // A click has the input method complete the composition, typed where it stands, before the caret
    // moves; the parent may destroy the field on the edit's EN_CHANGE.
    const HWND window = handle_;
    CompleteComposition();
    if (!IsWindow(window))
        return;
    if (GetFocus() != handle_)
        SetFocus(handle_);
    field_.Press({at.x, at.y}, clicks, {.shift = extend}, GetMessageTime());
    SetCapture(handle_);
}

void TextView::FocusIn() {
    field_.FocusIn();
    RedrawBorder();
    MakeCaret();
    PlaceCaret();
    Notify(EN_SETFOCUS);
}

void TextView::FocusOut() {
    // What is being composed is typed before the focus goes: the input method's context is the
    // thread's, and the composition would follow the focus to the next window. The parent may destroy
    // the field on the edit's EN_CHANGE.
    const HWND window = handle_;
    CommitComposition();
    if (!IsWindow(window))
        return;
    field_.FocusOut();
    RedrawBorder();
    pointerHidden_ = false;
    DestroyCaret();
    Notify(EN_KILLFOCUS);
}

void TextView::HidePointerWhileTyping() {
    BOOL vanish = FALSE;
    POINT at{};
    if (!SystemParametersInfoW(SPI_GETMOUSEVANISH, 0, &vanish, 0) || !vanish || !GetCursorPos(&at) ||
        WindowFromPoint(at) != handle_)
        return;
    // Over the rows only: the scroll bar keeps its arrow.
    POINT client = at;
    ScreenToClient(handle_, &client);
    RECT area{};
    GetClientRect(handle_, &area);
    if (!PtInRect(&area, client))
        return;
    pointerHidden_ = true;
    pointerHiddenAt_ = at;
    SetCursor(nullptr);
}

bool TextView::PointerStaysHidden() {
    if (!pointerHidden_)
        return false;
    // The window is asked for its pointer on other occasions than a move too.
    POINT at{};
    if (GetCursorPos(&at) && at.x == pointerHiddenAt_.x && at.y == pointerHiddenAt_.y) {
        SetCursor(nullptr);
        return true;
    }
    pointerHidden_ = false;
    return false;
}

void TextView::ShowContextMenu(POINT screen) {
    if (GetFocus() != handle_)
        SetFocus(handle_);
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: below the caret, within the field.
        RECT client{};
        GetClientRect(handle_, &client);
        const textedit::Box caret = field_.CaretBox();
        screen = {static_cast<int>(caret.x),
                  static_cast<int>(std::clamp<long long>(caret.y + caret.height, 0, client.bottom))};
        ClientToScreen(handle_, &screen);
    }
    using textedit::MenuCommand;
    HMENU menu = CreatePopupMenu();
    const auto add = [&](UINT message, const wchar_t* label, MenuCommand command) {
        AppendMenuW(menu, MF_STRING | (field_.IsEnabled(command) ? MF_ENABLED : MF_GRAYED), message, label);
    };
    // The commands are the messages that carry them out; as in an edit control's menu, there is no Redo.
    add(WM_UNDO, L"&Undo", MenuCommand::Undo);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(WM_CUT, L"Cu&t", MenuCommand::Cut);
    add(WM_COPY, L"&Copy", MenuCommand::Copy);
    add(WM_PASTE, L"&Paste", MenuCommand::Paste);
    add(WM_CLEAR, L"&Delete", MenuCommand::Delete);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(EM_SETSEL, L"Select &All", MenuCommand::SelectAll);
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, handle_, nullptr));
    DestroyMenu(menu);
    if (chosen == EM_SETSEL)
        SendMessageW(handle_, EM_SETSEL, 0, -1);
    else if (chosen != 0)
        SendMessageW(handle_, chosen, 0, 0);
}

void TextView::Composition(LPARAM changed) {
    HIMC context = ImmGetContext(handle_);
    if (!context)
        return;
    const auto result =
        changed & GCS_RESULTSTR ? ReadComposition<std::u16string>(context, GCS_RESULTSTR) : std::u16string();
    // The context holds the composition as it now stands, whatever the message says changed: an input
    // method may say nothing, and a result ends the composition or comes with the next one.
    const auto composing = ReadComposition<std::u16string>(context, GCS_COMPSTR);
    std::vector<textedit::Preedit::Span> spans;
    std::size_t cursor = composing.size();
    if (!composing.empty()) {
        spans =
            CompositionSpans(ReadComposition<std::vector<BYTE>>(context, GCS_COMPATTR),
                             ReadComposition<std::vector<DWORD>>(context, GCS_COMPCLAUSE), composing.size());
        if (const LONG at = ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0); at >= 0)
            cursor = static_cast<std::size_t>(at);
    }
    ImmReleaseContext(handle_, context);
    field_.Compose(composing, cursor, std::move(spans));
    // Typed as the keyboard types, one undo step; last, as the parent may destroy the field on EN_CHANGE.
    field_.Type(result);
}

void TextView::CommitComposition() {
    if (!field_.preedit().Active())
        return;
    // Typed here as it is shown, and dropped from the input method, rather than committed by it: the
    // context is the thread's, and while the focus leaves, its messages may already go to the window
    // taking the focus.
    const std::u16string composed = field_.TakeComposition();
    if (HIMC context = ImmGetContext(handle_)) {
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
        ImmReleaseContext(handle_, context);
    }
    field_.Commit(composed);
}

void TextView::CompleteComposition() {
    if (!field_.preedit().Active())
        return;
    // The input method completes the composition as it chose, and learns the choice; its result comes
    // back through WM_IME_COMPOSITION and is typed where the composition stands. What an input method
    // leaves of it is dropped from the input method here and from the field by the press. The parent
    // may destroy the field on the edit's EN_CHANGE.
    const HWND window = handle_;
    HIMC context = ImmGetContext(window);
    if (!context)
        return;
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    if (IsWindow(window) && field_.preedit().Active())
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
    ImmReleaseContext(window, context);
}

void TextView::PlaceComposition() {
    HIMC context = ImmGetContext(handle_);
    if (!context)
        return;
    // The composition is drawn at the caret, in the field's font; the input method's candidate list
    // goes below the caret, or above it, never over the caret's row.
    POINT caret{};
    GetCaretPos(&caret);
    COMPOSITIONFORM place{};
    place.dwStyle = CFS_POINT;
    place.ptCurrentPos = caret;
    ImmSetCompositionWindow(context, &place);
    // Input methods that honour an excluded rectangle keep the list off the caret's row; those that take
    // only a position (Windows' layer for text services among them) put it below the row. The context
    // keeps the last form, the position.
    CANDIDATEFORM candidates{};
    candidates.dwIndex = 0;
    candidates.dwStyle = CFS_EXCLUDE;
    candidates.ptCurrentPos = {caret.x, caret.y + measurer_.LineHeight()};
    candidates.rcArea = {caret.x, caret.y, caret.x + 1, caret.y + measurer_.LineHeight()};
    ImmSetCandidateWindow(context, &candidates);
    candidates.dwStyle = CFS_CANDIDATEPOS;
    candidates.rcArea = {};
    ImmSetCandidateWindow(context, &candidates);
    LOGFONTW font{};
    if (GetObjectW(GetCurrentObject(measurer_.dc(), OBJ_FONT), sizeof font, &font))
        ImmSetCompositionFont(context, &font);
    ImmReleaseContext(handle_, context);
}

}  // namespace quorvel::forms::win32
