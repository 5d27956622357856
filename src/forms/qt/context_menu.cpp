#include "context_menu.h"

#include <QCoreApplication>
#include <QKeySequence>

namespace quorvel::forms::qt {
namespace {

// The first of the platform theme's keys for `key` after a tab, where the application shows keys in
// context menus.
QString Hint(QKeySequence::StandardKey key) {
    if (key == QKeySequence::UnknownKey ||
        QCoreApplication::testAttribute(Qt::AA_DontShowShortcutsInContextMenus))
        return {};
    return QLatin1Char('\t') + QKeySequence(key).toString(QKeySequence::NativeText);
}

MenuItem Item(textedit::MenuCommand command, const char* text, QKeySequence::StandardKey key,
              const char* name, const char* icon) {
    // Qt's translations hold these texts in the context of its text fields' control.
    return {command, QCoreApplication::translate("QWidgetTextControl", text) + Hint(key), QLatin1String(name),
            QLatin1String(icon)};
}

}  // namespace

std::vector<std::optional<MenuItem>> StandardMenuItems() {
    using textedit::MenuCommand;
    return {
        Item(MenuCommand::Undo, "&Undo", QKeySequence::Undo, "edit-undo", "edit-undo"),
        Item(MenuCommand::Redo, "&Redo", QKeySequence::Redo, "edit-redo", "edit-redo"),
        std::nullopt,
        Item(MenuCommand::Cut, "Cu&t", QKeySequence::Cut, "edit-cut", "edit-cut"),
        Item(MenuCommand::Copy, "&Copy", QKeySequence::Copy, "edit-copy", "edit-copy"),
        Item(MenuCommand::Paste, "&Paste", QKeySequence::Paste, "edit-paste", "edit-paste"),
        Item(MenuCommand::Delete, "Delete", QKeySequence::UnknownKey, "edit-delete", "edit-delete"),
        std::nullopt,
        Item(MenuCommand::SelectAll, "Select All", QKeySequence::SelectAll, "select-all", "edit-select-all"),
    };
}

}  // namespace quorvel::forms::qt
