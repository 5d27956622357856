#pragma once

#include "key_map.h"

class QKeyEvent;

namespace quorvel::forms::qt {

// What a key asks of a Qt text field: one of the field's commands, or one of the two editing keys only
// Qt's fields have, a paste of the primary selection (Ctrl+Shift+Insert on X11) and a deletion to the
// end of the paragraph (Ctrl+K on X11).
struct KeyAction {
    enum class Kind { None, Command, PasteSelection, DeleteToParagraphEnd };
    Kind kind = Kind::None;
    textedit::KeyCommand command;
};

// The action of `event` by the standard keys of the platform theme's bindings, matched in the order
// QPlainTextEdit matches them, so that the field takes the keys the user's desktop gives Qt's fields.
KeyAction ActionOf(const QKeyEvent& event);

}  // namespace quorvel::forms::qt
