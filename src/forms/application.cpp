#include "application.h"

#include <cstdio>
#include <cstdlib>

namespace quorvel::forms {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quorvel"));
    setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    setQuitOnLastWindowClosed(true);
}

int Application::Run() {
    const int status = exec();
    // Qt 6.4 on Wayland can hang for good while it takes its connection down, waiting for its event
    // thread. Every window is closed and nothing is left to keep, so the program ends here.
    if (platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

}  // namespace quorvel::forms
