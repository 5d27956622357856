#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

namespace quorvel::forms::qt {

// Qt's own translations for `locale`, installed in the application for as long as the answer lives, so
// that what Qt's widgets and the fields' context menus say reads in the user's language; nothing where
// Qt has no translation for it.
std::unique_ptr<QTranslator> InstallQtTranslations(const QLocale& locale);

}  // namespace quorvel::forms::qt
