#pragma once

#include "message_window.h"

namespace quorvel::windows {

extern const forms::WindowLayout kDecryptLayout;

// Turns pasted coded text back into the message.
class frmDecrypt : public MessageWindow {
public:
    frmDecrypt();
};

}  // namespace quorvel::windows
