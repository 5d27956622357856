#include "standard_keys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include <array>
#include <utility>

namespace quorvel::forms::qt {
namespace {

using textedit::Command;
using textedit::Motion;
using Kind = KeyAction::Kind;

constexpr KeyAction Do(Command command) { return {Kind::Command, {command}}; }
constexpr KeyAction MoveTo(Motion motion) { return {Kind::Command, {Command::Move, motion, false}}; }
constexpr KeyAction SelectTo(Motion motion) { return {Kind::Command, {Command::Move, motion, true}}; }

using Binding = std::pair<QKeySequence::StandardKey, KeyAction>;

// QPlainTextEdit's page keys, then its text control's selection, copy and caret keys in the order it
// tries them; after them the plain Backspace key, and then the editing keys.
constexpr std::array<Binding, 26> kMovingKeys{{
    {QKeySequence::SelectPreviousPage, SelectTo(Motion::PageUp)},
    {QKeySequence::SelectNextPage, SelectTo(Motion::PageDown)},
    {QKeySequence::MoveToPreviousPage, MoveTo(Motion::PageUp)},
    {QKeySequence::MoveToNextPage, MoveTo(Motion::PageDown)},
    {QKeySequence::SelectAll, Do(Command::SelectAll)},
    {QKeySequence::Copy, Do(Command::Copy)},
    {QKeySequence::MoveToNextChar, MoveTo(Motion::Right)},
    {QKeySequence::MoveToPreviousChar, MoveTo(Motion::Left)},
    {QKeySequence::SelectNextChar, SelectTo(Motion::Right)},
    {QKeySequence::SelectPreviousChar, SelectTo(Motion::Left)},
    {QKeySequence::SelectNextWord, SelectTo(Motion::WordRight)},
    {QKeySequence::SelectPreviousWord, SelectTo(Motion::WordLeft)},
    {QKeySequence::SelectStartOfLine, SelectTo(Motion::LineStart)},
    {QKeySequence::SelectEndOfLine, SelectTo(Motion::LineEnd)},
    {QKeySequence::SelectStartOfDocument, SelectTo(Motion::DocumentStart)},
    {QKeySequence::SelectEndOfDocument, SelectTo(Motion::DocumentEnd)},
    {QKeySequence::SelectPreviousLine, SelectTo(Motion::Up)},
    {QKeySequence::SelectNextLine, SelectTo(Motion::Down)},
    {QKeySequence::MoveToNextWord, MoveTo(Motion::WordRight)},
    {QKeySequence::MoveToPreviousWord, MoveTo(Motion::WordLeft)},
    {QKeySequence::MoveToNextLine, MoveTo(Motion::Down)},
    {QKeySequence::MoveToPreviousLine, MoveTo(Motion::Up)},
    {QKeySequence::MoveToStartOfLine, MoveTo(Motion::LineStart)},
    {QKeySequence::MoveToEndOfLine, MoveTo(Motion::LineEnd)},
    {QKeySequence::MoveToStartOfDocument, MoveTo(Motion::DocumentStart)},
    {QKeySequence::MoveToEndOfDocument, MoveTo(Motion::DocumentEnd)},
}};

constexpr std::array<Binding, 9> kEditingKeys{{
    {QKeySequence::Undo, Do(Command::Undo)},
    {QKeySequence::Redo, Do(Command::Redo)},
    {QKeySequence::Cut, Do(Command::Cut)},
    {QKeySequence::Paste, Do(Command::Paste)},
    {QKeySequence::Delete, Do(Command::Delete)},
    {QKeySequence::Backspace, Do(Command::Backspace)},
    {QKeySequence::DeleteEndOfWord, Do(Command::DeleteWordForward)},
    {QKeySequence::DeleteStartOfWord, Do(Command::DeleteWordBackward)},
    {QKeySequence::DeleteEndOfLine, {Kind::DeleteToParagraphEnd, {}}},
}};

const KeyAction* Matched(const QKeyEvent& event, const auto& bindings) {
    for (const auto& [key, action] : bindings)
        if (event.matches(key))
            return &action;
    return nullptr;
}

}  // namespace

KeyAction ActionOf(const QKeyEvent& event) {
    // No scheme binds a character key without Ctrl, Alt or Meta, nor the plain Backspace key to a caret
    // move: typing is not slowed by matching them.
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (event.key() < Qt::Key_Escape && !(event.modifiers() & commands))
        return {};
    if (event.key() == Qt::Key_Backspace && !(event.modifiers() & ~Qt::ShiftModifier))
        return Do(Command::Backspace);
    if (const KeyAction* moving = Matched(event, kMovingKeys))
        return *moving;
    const KeyAction* editing = Matched(event, kEditingKeys);
    if (!editing)
        return {};
    // Qt's fields paste the primary selection with Ctrl+Shift+Insert where the system has one.
    if (editing->command.command == Command::Paste && event.key() == Qt::Key_Insert &&
        event.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
        QGuiApplication::clipboard()->supportsSelection())
        return {Kind::PasteSelection, {}};
    return *editing;
}

}  // namespace quorvel::forms::qt
