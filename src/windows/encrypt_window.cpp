#include "encrypt_window.h"

#include "passes.h"

namespace quorvel::windows {

using namespace forms;

namespace {

constexpr ControlLayout kControls[] = {
    {"Text1", ControlKind::TextField, 120, 120, 6135, 1335, 0, "Enter Message To Encrypt", &kVerdana975,
     "Message to encrypt"},
    {"Command1", ControlKind::PushButton, 240, 1680, 5895, 495, 1, "Encrypt Message", &kVerdana12},
    {"Text2", ControlKind::TextField, 120, 2400, 6135, 1355, 2, "Encrypted Message", &kVerdana975,
     "Encrypted message"},
    {"Command2", ControlKind::PushButton, 2040, 4080, 2535, 495, 3, "Copy To Clipboard", &kVerdana12},
};

}  // namespace

const WindowLayout kEncryptLayout = MessageWindowLayout("frmEncrypt", "Encrypt Message", kControls);

// Coded text is meant to be sent on, so it goes on the clipboard unmarked.
frmEncrypt::frmEncrypt()
    : MessageWindow(kEncryptLayout, ControlsIn(kControls), EncodeMessage, Clipboard::Content::Ordinary) {}

}  // namespace quorvel::windows
