#include "platform.h"
#include "application.h"
#include "qt_translations.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace quorvel::forms {
namespace {

class MessageBoxDialog : public FailureDialog {
public:
    void show(int number, std::string_view description) override {
        const std::string text = ReportText(number, description);
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                        QString::fromUtf8(text.data(), qsizetype(text.size())), QMessageBox::Ok);
        box.exec();
    }
};

}  // namespace

namespace platform {

std::unique_ptr<FailureDialog> SystemFailureDialog() { return std::make_unique<MessageBoxDialog>(); }

void SetBusy(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void Quit(int status) { QCoreApplication::exit(status); }

}  // namespace platform

struct Application::Native {
    Native(int& argc, char** argv) : application(argc, argv) {}
    QApplication application;
    // Qt's texts, the fields' context menus among them, in the system's language.
    std::unique_ptr<QTranslator> qtTranslations = qt::InstallQtTranslations(QLocale());
};

Application::Application(int& argc, char** argv) : native_(std::make_unique<Native>(argc, argv)) {
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    QApplication::setQuitOnLastWindowClosed(true);
}

Application::~Application() = default;

int Application::Run() {
    const int status = QApplication::exec();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    // Qt 6.4 on Wayland can hang for good while it takes its connection down, waiting for its event
    // thread. Every window is closed and nothing is left to keep, so the program ends here. Only the
    // Qt 6.4 series is known to hang; with a later Qt the Wayland end-to-end tests, which wait for the
    // program to end, show whether it still does.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
#endif
    return status;
}

}  // namespace quorvel::forms
