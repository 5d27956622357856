#include "key_map.h"

namespace quorvel::forms::textedit {

KeyCommand CommandForKey(Key key, Modifiers modifiers) {
    const bool shift = modifiers.shift;
    const bool control = modifiers.control;
    const auto move = [shift](Motion motion) { return KeyCommand{Command::Move, motion, shift}; };
    switch (key) {
    case Key::Left:
        return move(control ? Motion::WordLeft : Motion::Left);
    case Key::Right:
        return move(control ? Motion::WordRight : Motion::Right);
    case Key::Up:
        return move(Motion::Up);
    case Key::Down:
        return move(Motion::Down);
    case Key::Home:
        return move(control ? Motion::DocumentStart : Motion::LineStart);
    case Key::End:
        return move(control ? Motion::DocumentEnd : Motion::LineEnd);
    case Key::PageUp:
        return move(Motion::PageUp);
    case Key::PageDown:
        return move(Motion::PageDown);
    case Key::Backspace:
        return {control ? Command::DeleteWordBackward : Command::Backspace};
    case Key::Delete:
        if (shift && !control)
            return {Command::Cut};
        return {control && !shift ? Command::DeleteWordForward : Command::Delete};
    case Key::Insert:
        if (control && !shift)
            return {Command::Copy};
        return {shift && !control ? Command::Paste : Command::None};
    default:
        break;
    }
    if (!control || modifiers.alt)
        return {};
    switch (key) {
    case Key::A:
        return {Command::SelectAll};
    case Key::C:
        return {Command::Copy};
    case Key::V:
        return {Command::Paste};
    case Key::X:
        return {Command::Cut};
    case Key::Y:
        return {Command::Redo};
    case Key::Z:
        return {shift ? Command::Redo : Command::Undo};
    default:
        return {};
    }
}

void Perform(const KeyCommand& command, Editor& editor, Viewport& viewport) {
    const auto page = static_cast<long long>(viewport.PageRows());
    switch (command.command) {
    case Command::Move:
        if (command.motion == Motion::PageUp)
            viewport.ScrollBy(-page);
        else if (command.motion == Motion::PageDown)
            viewport.ScrollBy(page);
        editor.Move(command.motion, command.extend, viewport.PageRows());
        break;
    case Command::Backspace:
        editor.Backspace();
        break;
    case Command::DeleteWordBackward:
        editor.DeleteWordBackward();
        break;
    case Command::Delete:
        editor.Delete();
        break;
    case Command::DeleteWordForward:
        editor.DeleteWordForward();
        break;
    case Command::Undo:
        editor.Undo();
        break;
    case Command::Redo:
        editor.Redo();
        break;
    case Command::SelectAll:
        editor.SelectAll();
        break;
    case Command::None:
    case Command::Cut:
    case Command::Copy:
    case Command::Paste:
        break;
    }
}

bool IsEnabled(MenuCommand command, const Editor& editor, bool clipboardHasText) {
    const Selection& selection = editor.selection();
    switch (command) {
    case MenuCommand::Undo:
        return editor.CanUndo();
    case MenuCommand::Redo:
        return editor.CanRedo();
    case MenuCommand::Cut:
    case MenuCommand::Copy:
    case MenuCommand::Delete:
        return !selection.empty();
    case MenuCommand::Paste:
        return clipboardHasText;
    case MenuCommand::SelectAll:
        return selection.begin() > 0 || selection.end() < editor.Text().size();
    }
    return false;
}

}  // namespace quorvel::forms::textedit
