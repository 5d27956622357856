#pragma once

#include "form.h"

#include <functional>
#include <string>
#include <string_view>

// Drives the program's real windows as a user would, on the backend the tests are built for: clicks
// and keys go to the controls as the window system's own events. The window scenarios are written
// once against these and run on both backends.
namespace quorvel::testing::drive {

enum class Key { Tab, ShiftTab, Space, Return };

// Waits until the form's window is shown and active.
void Opened(forms::Form& form);
// A left click on the named button, or into the named text field.
void Click(forms::Form& form, std::string_view control);
// A key to the control that has the focus.
void Press(forms::Form& form, Key key);
// Characters typed into the control that has the focus.
void Type(forms::Form& form, std::string_view text);
// The text put on the system clipboard, as another program's copy does, then Ctrl+V pressed in the
// control that has the focus.
void Paste(forms::Form& form, std::u16string_view text);
// The layout name of the control that has the focus in the form's window, or "".
std::string Focused(forms::Form& form);
// Closes the window as its close box does, and returns once it is gone.
void Close(forms::Form& form);
// How many windows with this layout name are open on the screen.
int OpenWindows(std::string_view name);
// Runs the event loop with `first` as its first event, until the program ends; the exit status.
int RunProgram(const std::function<void()>& first);
// Whether the busy cursor shows.
bool Busy();

}  // namespace quorvel::testing::drive
