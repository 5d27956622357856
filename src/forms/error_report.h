#pragma once

#include "failure.h"

#include <functional>
#include <memory>
#include <string_view>

namespace quorvel::forms {

// Where the top-level error report shows a failure; tests replace it.
class FailureDialog {
public:
    virtual ~FailureDialog() = default;
    virtual void show(int number, std::string_view description) = 0;
};

// Replaces the dialog the report uses and returns the one it used before.
std::unique_ptr<FailureDialog> SetFailureDialog(std::unique_ptr<FailureDialog> dialog);

// Runs an event handler under the busy cursor. A failure that escapes it is shown in the failure
// dialog, and then the program ends with a non-zero exit status: nothing of a half-done step is
// trusted any further.
void RunHandler(const std::function<void()>& handler);

}  // namespace quorvel::forms
