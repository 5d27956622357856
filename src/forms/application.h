#pragma once

#include <memory>

namespace quorvel::forms {

// The program's event loop, carrying the program's identity. The program ends when its last window
// closes, and not before.
class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop until the last window has closed, or a failure ended it, and returns the
    // exit status.
    int Run();

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

}  // namespace quorvel::forms
