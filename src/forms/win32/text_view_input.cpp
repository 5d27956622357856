// What a text field does with keys, the mouse, the input method, its context menu and the clipboard.
#include "text_clipboard.h"
#include "text_view.h"

#include <imm.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

namespace quorvel::forms::win32 {
namespace {

constexpr UINT kAutoScrollMs = 50;

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
    Run(textedit::CommandForKey(known->second, {.shift = GetKeyState(VK_SHIFT) < 0,
                                                .control = GetKeyState(VK_CONTROL) < 0,
                                                .alt = GetKeyState(VK_MENU) < 0}));
}

void TextView::Run(const textedit::KeyCommand& command) {
    using textedit::Command;
    switch (command.command) {
    case Command::None:
        return;
    case Command::Cut:
        Cut();
        return;
    case Command::Copy:
        Copy();
        return;
    case Command::Paste:
        Paste();
        return;
    default:
        UserEdit([&] { textedit::Perform(command, editor_, viewport_); });
        return;
    }
}

void TextView::Character(char16_t unit) {
    switch (unit) {
    case u'\r':
    case u'\n':
        UserEdit([&] { editor_.ReplaceSelection(u"\r\n", textedit::EditKind::Typing); });
        return;
    case u'\b':
        Run(textedit::CommandForKey(textedit::Key::Backspace, {}));
        return;
    case u'\x7F':  // Ctrl+Backspace
        Run(textedit::CommandForKey(textedit::Key::Backspace, {.control = true}));
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
    UserEdit([&] { MoveToPoint(at, extend); });
    SetCapture(handle_);
    selecting_ = true;
}

void TextView::DoubleClick(POINT at) {
    UserEdit([&] { editor_.SelectWordAt(PositionAtPoint(at)); });
}

void TextView::Drag(POINT at) {
    // Above or below the field the selection goes on growing while the button is down.
    if (viewport_.AutoScrollAt(at.y) != textedit::Viewport::AutoScroll::None)
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
        screen = {Margin() + CaretX(row, editor_.selection().caret, editor_.CaretAtRowEnd()),
                  static_cast<int>(std::min<std::size_t>(row - std::min(row, TopRow()) + 1, PageRows())) *
                      measurer_.LineHeight()};
        ClientToScreen(handle_, &screen);
    }
    using textedit::MenuCommand;
    const bool clipboardHasText = IsClipboardFormatAvailable(CF_UNICODETEXT);
    HMENU menu = CreatePopupMenu();
    const auto add = [&](UINT message, const wchar_t* label, MenuCommand command) {
        const bool enabled = textedit::IsEnabled(command, editor_, clipboardHasText);
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), message, label);
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
