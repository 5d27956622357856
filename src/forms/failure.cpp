#include "failure.h"

namespace quorvel::forms {

Failure ClipboardRefused() { return Failure(kClipboardFailure, "Can't open Clipboard"); }

std::string ReportText(int number, std::string_view description) {
    return "Run-time error '" + std::to_string(number) + "':\n\n" + std::string(description);
}

}  // namespace quorvel::forms
