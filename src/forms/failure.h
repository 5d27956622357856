#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvel::forms {

// A failure with a number and a description, as the top-level error report shows it.
class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& description) : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

// Failure numbers of the failures the program knows by name. They are the run-time error numbers
// that BASIC dialects have long given these failures (7 "Out of memory", 51 "Internal error", 521
// "Can't open Clipboard"), whose wording the error report follows.
inline constexpr int kOutOfMemory = 7;
inline constexpr int kUnexpectedFailure = 51;
inline constexpr int kClipboardFailure = 521;

// The failure of a copy that the clipboard did not take.
Failure ClipboardRefused();

// What the top-level error report says of a failure; lines are separated by "\n".
std::string ReportText(int number, std::string_view description);

}  // namespace quorvel::forms
