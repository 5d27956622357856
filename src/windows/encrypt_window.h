#pragma once

#include "message_window.h"

namespace quorvel::windows {

extern const forms::WindowLayout kEncryptLayout;

// Turns a typed message into coded text and copies it to the clipboard.
class frmEncrypt : public MessageWindow {
public:
    frmEncrypt();
};

}  // namespace quorvel::windows
