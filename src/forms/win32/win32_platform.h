#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// What the Win32 backend keeps for the whole program: its message loop, the count of its open windows
// and the busy cursor.
namespace quorvel::forms::win32 {

// Runs the program's message loop until the program ends, and returns its exit status.
int RunMessageLoop();

// Hands one message to the program's windows. Keys go through the dialog manager first, so Tab,
// Shift+Tab and Space work as in a dialog.
void Dispatch(const MSG& message);

// Counts the program's open windows; the last one to close while the loop runs ends the program.
void WindowOpened();
void WindowClosed();

// Whether the program's windows show the busy cursor.
bool BusyCursorShown();

}  // namespace quorvel::forms::win32
