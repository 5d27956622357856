#pragma once

#include "key_map.h"

#include <QString>

#include <optional>
#include <vector>

namespace quorvel::forms::qt {

// An item of a text field's context menu: the command it runs, its text with the shortcut hint, and
// its name and icon, as Qt's own text fields have them.
struct MenuItem {
    textedit::MenuCommand command;
    QString text;
    QString name;
    QString icon;
};

// The items of Qt's own text fields' context menu in their order, a separator as nothing: the texts
// from Qt's translations in its own context, each followed by its key as the platform writes it.
std::vector<std::optional<MenuItem>> StandardMenuItems();

}  // namespace quorvel::forms::qt
