#include "win32_platform.h"

#include "application.h"
#include "platform.h"
#include "wide.h"
#include "win32_window.h"

#include <commctrl.h>

#include <string>

namespace quorvel::forms {
namespace win32 {
namespace {

int openWindows = 0;
bool loopRunning = false;
int busyDepth = 0;

class MessageBoxDialog : public FailureDialog {
public:
    void show(int number, std::string_view description) override {
        MessageBoxW(GetActiveWindow(), Wide(ReportText(number, description)).c_str(), L"Quorvel",
                    MB_OK | MB_ICONERROR);
    }
};

}  // namespace

int RunMessageLoop() {
    loopRunning = true;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        Dispatch(message);
    loopRunning = false;
    return static_cast<int>(message.wParam);
}

void Dispatch(const MSG& message) {
    if (HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        ProgramWindow(top) && IsDialogMessageW(top, const_cast<MSG*>(&message)))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void WindowOpened() { ++openWindows; }

void WindowClosed() {
    if (--openWindows == 0 && loopRunning)
        PostQuitMessage(0);
}

bool BusyCursorShown() { return busyDepth > 0; }

}  // namespace win32

namespace platform {

std::unique_ptr<FailureDialog> SystemFailureDialog() { return std::make_unique<win32::MessageBoxDialog>(); }

void SetBusy(bool busy) {
    win32::busyDepth += busy ? 1 : -1;
    SetCursor(LoadCursorW(nullptr, win32::busyDepth > 0 ? IDC_WAIT : IDC_ARROW));
}

void Quit(int status) {
    if (win32::loopRunning)
        PostQuitMessage(status);
}

}  // namespace platform

struct Application::Native {
    bool comInitialised = false;
};

Application::Application(int&, char**) : native_(std::make_unique<Native>()) {
    // A single-threaded apartment: UI Automation then calls the fields' providers on this thread, through
    // its messages, never from a thread of its own while this one edits the text. OLE's, for the fields'
    // drag and drop.
    native_->comInitialised = SUCCEEDED(OleInitialize(nullptr));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

Application::~Application() {
    if (native_->comInitialised)
        OleUninitialize();
}

int Application::Run() { return win32::RunMessageLoop(); }

}  // namespace quorvel::forms
