#include "error_report.h"

#include "platform.h"

#include <new>

namespace quorvel::forms {
namespace {

std::unique_ptr<FailureDialog>& Dialog() {
    static std::unique_ptr<FailureDialog> dialog = platform::SystemFailureDialog();
    return dialog;
}

// The busy cursor for as long as it lives; a long pass and its field write take a while.
class BusyCursor {
public:
    BusyCursor() { platform::SetBusy(true); }
    ~BusyCursor() { platform::SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

void Report(int number, std::string_view description) {
    Dialog()->show(number, description);
    platform::Quit(1);
}

}  // namespace

std::unique_ptr<FailureDialog> SetFailureDialog(std::unique_ptr<FailureDialog> dialog) {
    Dialog().swap(dialog);
    return dialog;
}

void RunHandler(const std::function<void()>& handler) {
    try {
        const BusyCursor busy;
        handler();
    } catch (const Failure& failure) {
        Report(failure.number(), failure.what());
    } catch (const std::bad_alloc&) {
        Report(kOutOfMemory, "Out of memory");
    } catch (const std::exception& failure) {
        Report(kUnexpectedFailure, failure.what());
    }
}

}  // namespace quorvel::forms
