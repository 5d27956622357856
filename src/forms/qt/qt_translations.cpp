#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace quorvel::forms::qt {

std::unique_ptr<QTranslator> InstallQtTranslations(const QLocale& locale) {
    auto translations = std::make_unique<QTranslator>();
    // Tries each of the locale's languages in the user's order, as Qt's own programs do.
    if (!translations->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translations.get()))
        return nullptr;
    return translations;
}

}  // namespace quorvel::forms::qt
