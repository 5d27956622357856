#include "application.h"

#include "platform.h"
#include "text.h"
#include "win32_window.h"

#include <commctrl.h>

#include <string>

namespace quorvel::forms {
namespace {

class MessageBoxDialog : public FailureDialog {
public:
    void show(int number, std::string_view description) override {
        const std::u16string text =
            u"Run-time error '" + Utf16(std::to_string(number)) + u"':\r\n\r\n" + Utf16(description);
        MessageBoxW(GetActiveWindow(), reinterpret_cast<const wchar_t*>(text.c_str()), L"Quorvel",
                    MB_OK | MB_ICONERROR);
    }
};

}  // namespace

namespace platform {

std::unique_ptr<FailureDialog> SystemFailureDialog() { return std::make_unique<MessageBoxDialog>(); }

}  // namespace platform

struct Application::Native {};

Application::Application(int&, char**) : native_(std::make_unique<Native>()) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

Application::~Application() = default;

int Application::Run() { return win32::RunMessageLoop(); }

}  // namespace quorvel::forms
