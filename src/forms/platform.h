#pragma once

#include "clipboard.h"
#include "error_report.h"

#include <memory>

// What each backend provides to the toolkit-neutral layer, besides its windows.
namespace quorvel::forms::platform {

std::unique_ptr<Clipboard> SystemClipboard();
std::unique_ptr<FailureDialog> SystemFailureDialog();

// Shows the busy cursor over the program's windows, or the usual one again.
void SetBusy(bool busy);

// Ends the event loop; Application::Run() returns `status`.
void Quit(int status);

}  // namespace quorvel::forms::platform
