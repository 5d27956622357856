#pragma once

#include "editor.h"
#include "viewport.h"

namespace quorvel::forms::textedit {

// The keys a text field acts on, whatever toolkit reports them. Backspace is the key itself, or the
// character it types where a toolkit reports that instead.
enum class Key {
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Backspace,
    Delete,
    Insert,
    A,
    C,
    V,
    X,
    Y,
    Z
};

struct Modifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// What a key asks of a field.
enum class Command {
    None,
    Move,  // the caret moves by a Motion, selecting with `extend`
    Backspace,
    DeleteWordBackward,
    Delete,
    DeleteWordForward,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    SelectAll,
};

struct KeyCommand {
    Command command = Command::None;
    Motion motion = Motion::Left;
    bool extend = false;
    friend bool operator==(const KeyCommand&, const KeyCommand&) = default;
};

// The command of `key` with `modifiers`, as in a Windows edit control: Ctrl moves by words and to the
// text's ends, Shift selects, Shift+Delete cuts, Ctrl+Insert copies, Shift+Insert pastes, and Ctrl
// with a letter selects all, copies, pastes, cuts, undoes or redoes (Ctrl+Y, Ctrl+Shift+Z). Alt counts
// only with a letter: Ctrl with Alt is AltGr, which types characters.
KeyCommand CommandForKey(Key key, Modifiers modifiers);

// Carries out a command on the editor; Page Up and Page Down first scroll the view a page, which the
// caret then follows. Cut, Copy and Paste need the clipboard, the view's: nothing happens here for them.
void Perform(const KeyCommand& command, Editor& editor, Viewport& viewport);

// The commands of a field's context menu.
enum class MenuCommand { Undo, Redo, Cut, Copy, Paste, Delete, SelectAll };

// Whether the context menu offers `command` now: undo and redo when there is a step, cut, copy and
// delete with a selection, paste when the clipboard holds text, and select all when some text is not
// selected.
bool IsEnabled(MenuCommand command, const Editor& editor, bool clipboardHasText);

}  // namespace quorvel::forms::textedit
