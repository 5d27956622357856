#include "application.h"

namespace quorvel::forms {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quorvel"));
    setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    setQuitOnLastWindowClosed(true);
}

}  // namespace quorvel::forms
