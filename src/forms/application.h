#pragma once

#include <QApplication>

namespace quorvel::forms {

// The program's application object: the toolkit's event loop, carrying the program's identity.
// The program ends when its last window closes.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    // Runs the event loop until the last window has closed and returns the exit status.
    int Run();
};

}  // namespace quorvel::forms
