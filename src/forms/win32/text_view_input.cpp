// What a text field does with keys, the mouse, the input method, its context menu and the clipboard.
#include "text_clipboard.h"
#include "text_view.h"

#include <imm.h>

#include <algorithm>
#include <string>

namespace quorvel::forms::win32 {
namespace {

constexpr UINT kAutoScrollMs = 50;

}  // namespace

void TextView::KeyDown(UINT key) {
    using textedit::Motion;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const auto move = [&](Motion motion) { UserEdit([&] { editor_.Move(motion, shift); }); };
    const auto page = static_cast<long long>(PageRows());
    switch (key) {
    case VK_LEFT:
        move(control ? Motion::WordLeft : Motion::Left);
        return;
    case VK_RIGHT:
        move(control ? Motion::WordRight : Motion::Right);
        return;
    case VK_UP:
        UserEdit([&] { MoveVertically(Motion::Up, shift); });
        return;
    case VK_DOWN:
        UserEdit([&] { MoveVertically(Motion::Down, shift); });
        return;
    case VK_HOME:
        move(control ? Motion::DocumentStart : Motion::LineStart);
        return;
    case VK_END:
        move(control ? Motion::DocumentEnd : Motion::LineEnd);
        return;
    case VK_PRIOR:
        // The view goes up a page with the caret, as in an edit control.
        ScrollBy(-page);
        UserEdit([&] { MoveVertically(Motion::PageUp, shift); });
        return;
    case VK_NEXT:
        ScrollBy(page);
        UserEdit([&] { MoveVertically(Motion::PageDown, shift); });
        return;
    case VK_DELETE:
        if (shift && !control)
            Cut();
        else if (control && !shift)
            UserEdit([&] { editor_.DeleteWordForward(); });
        else
            UserEdit([&] { editor_.Delete(); });
        return;
    case VK_INSERT:
        if (control && !shift)
            Copy();
        else if (shift && !control)
            Paste();
        return;
    case VK_APPS:
        ShowContextMenu({-1, -1});
        return;
    default:
        break;
    }
    // Ctrl with Alt is AltGr, which types characters.
    if (!control || GetKeyState(VK_MENU) < 0)
        return;
    switch (key) {
    case 'A':
        UserEdit([&] { editor_.SelectAll(); });
        break;
    case 'C':
        Copy();
        break;
    case 'X':
        Cut();
        break;
    case 'V':
        Paste();
        break;
    case 'Z':
        UserEdit([&] { shift ? editor_.Redo() : editor_.Undo(); });
        break;
    case 'Y':
        UserEdit([&] { editor_.Redo(); });
        break;
    default:
        break;
    }
}

void TextView::MoveVertically(textedit::Motion motion, bool extend) {
    using textedit::Motion;
    const textedit::RowLayout& rows = editor_.rows();
    const std::size_t row = editor_.CaretRow();
    const std::size_t count = motion == Motion::PageUp || motion == Motion::PageDown ? PageRows() : 1;
    const std::size_t target = motion == Motion::Down || motion == Motion::PageDown
                                   ? std::min(row + count, rows.RowCount() - 1)
                                   : row - std::min(row, count);
    // Any other move or edit since the last vertical move ends the run, as it does in the core.
    const bool kept = desiredX_ >= 0 && desiredFor_ == editor_.selection() &&
                      desiredAtRowEnd_ == editor_.CaretAtRowEnd() && desiredEdits_ == edits_;
    if (!kept) {
        desiredX_ = XInRow(row, editor_.selection().caret, editor_.CaretAtRowEnd());
        movedByView_ = false;
    }
    // In plain rows the drawn x is the core's, which aims as the view would, unless the view moved
    // the caret earlier in the run and the core lost its aim.
    if (movedByView_ || painter_.Shaped(RowText(row)) || painter_.Shaped(RowText(target))) {
        if (target != row)
            editor_.PlaceInRow(target, PositionInRow(target, desiredX_), extend);
        movedByView_ = true;
    } else {
        editor_.Move(motion, extend);
    }
    desiredFor_ = editor_.selection();
    desiredAtRowEnd_ = editor_.CaretAtRowEnd();
    desiredEdits_ = edits_;
}

void TextView::Character(char16_t unit) {
    switch (unit) {
    case u'\r':
    case u'\n':
        UserEdit([&] { editor_.ReplaceSelection(u"\r\n", textedit::EditKind::Typing); });
        return;
    case u'\b':
        UserEdit([&] { editor_.Backspace(); });
        return;
    case u'\x7F':  // Ctrl+Backspace
        UserEdit([&] { editor_.DeleteWordBackward(); });
        return;
    default:
        break;
    }
    // Tab, Escape and the control characters of Ctrl+letter type nothing.
    if (unit < u' ')
        return;
    UserEdit([&] { editor_.ReplaceSelection(std::u16string_view(&unit, 1), textedit::EditKind::Typing); });
}

void TextView::ButtonDown(POINT at, bool extend) {
    if (GetFocus() != handle_)
        SetFocus(handle_);
    desiredX_ = -1;
    UserEdit([&] { MoveToPoint(at, extend); });
    SetCapture(handle_);
    selecting_ = true;
}

void TextView::DoubleClick(POINT at) {
    desiredX_ = -1;
    UserEdit([&] { editor_.SelectWordAt(PositionAtPoint(at)); });
}

void TextView::Drag(POINT at) {
    // Above or below the field the selection goes on growing by a row at a time while the button is down.
    RECT client{};
    GetClientRect(handle_, &client);
    if (at.y < 0 || at.y >= client.bottom)
        SetTimer(handle_, kAutoScrollTimer, kAutoScrollMs, nullptr);
    else
        KillTimer(handle_, kAutoScrollTimer);
    UserEdit([&] { MoveToPoint(at, true); });
}

void TextView::AutoScroll() {
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(handle_, &at);
    if (selecting_)
        Drag(at);
    else
        KillTimer(handle_, kAutoScrollTimer);
}

void TextView::ShowContextMenu(POINT screen) {
    if (GetFocus() != handle_)
        SetFocus(handle_);
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: below the caret.
        const std::size_t row = editor_.CaretRow();
        screen = {Margin() + XInRow(row, editor_.selection().caret, editor_.CaretAtRowEnd()),
                  static_cast<int>(std::min<std::size_t>(row - std::min(row, topRow_) + 1, PageRows())) *
                      measurer_.LineHeight()};
        ClientToScreen(handle_, &screen);
    }
    const textedit::Selection& selection = editor_.selection();
    const std::size_t length = editor_.Text().size();
    const bool selected = !selection.empty();
    HMENU menu = CreatePopupMenu();
    const auto add = [menu](UINT command, const wchar_t* label, bool enabled) {
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), command, label);
    };
    // The commands are the messages that carry them out.
    add(WM_UNDO, L"&Undo", editor_.CanUndo());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(WM_CUT, L"Cu&t", selected);
    add(WM_COPY, L"&Copy", selected);
    add(WM_PASTE, L"&Paste", IsClipboardFormatAvailable(CF_UNICODETEXT));
    add(WM_CLEAR, L"&Delete", selected);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(EM_SETSEL, L"Select &All", length > 0 && (selection.begin() > 0 || selection.end() < length));
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, handle_, nullptr));
    DestroyMenu(menu);
    if (chosen == EM_SETSEL)
        SendMessageW(handle_, EM_SETSEL, 0, -1);
    else if (chosen != 0)
        SendMessageW(handle_, chosen, 0, 0);
}

void TextView::Composition(LPARAM parts) {
    if (!(parts & GCS_RESULTSTR))
        return;
    HIMC context = ImmGetContext(handle_);
    if (!context)
        return;
    std::u16string result;
    if (const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0); bytes > 0) {
        result.resize(static_cast<std::size_t>(bytes) / sizeof(char16_t));
        ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
    }
    ImmReleaseContext(handle_, context);
    if (!result.empty())
        UserEdit([&] { editor_.ReplaceSelection(result, textedit::EditKind::Typing); });
}

void TextView::PlaceComposition() {
    HIMC context = ImmGetContext(handle_);
    if (!context)
        return;
    // The composition shows at the caret, in the field's font.
    COMPOSITIONFORM place{};
    place.dwStyle = CFS_POINT;
    GetCaretPos(&place.ptCurrentPos);
    ImmSetCompositionWindow(context, &place);
    LOGFONTW font{};
    if (GetObjectW(GetCurrentObject(measurer_.dc(), OBJ_FONT), sizeof font, &font))
        ImmSetCompositionFont(context, &font);
    ImmReleaseContext(handle_, context);
}

void TextView::Copy() {
    if (!editor_.selection().empty())
        PutClipboardText(handle_, editor_.SelectedText());
}

void TextView::Cut() {
    if (!editor_.selection().empty() && PutClipboardText(handle_, editor_.SelectedText()))
        UserEdit([&] { editor_.ReplaceSelection({}, textedit::EditKind::Cut); });
}

void TextView::Paste() {
    if (const std::optional<std::u16string> text = ClipboardText(handle_))
        UserEdit([&] { editor_.ReplaceSelection(*text, textedit::EditKind::Paste); });
}

void TextView::Clear() {
    if (!editor_.selection().empty())
        UserEdit([&] { editor_.ReplaceSelection({}, textedit::EditKind::Delete); });
}

}  // namespace quorvel::forms::win32
