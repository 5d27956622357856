#include "decrypt_window.h"

#include "passes.h"

namespace quorvel::windows {

using namespace forms;

namespace {

// The run button comes first in tab order, so the window opens with the focus on it.
constexpr ControlLayout kControls[] = {
    {"Command1", ControlKind::PushButton, 240, 1680, 5895, 495, 0, "Decrypt Message", &kVerdana12},
    {"Command2", ControlKind::PushButton, 2040, 4080, 2535, 495, 1, "Copy To Clipboard", &kVerdana12},
    {"Text1", ControlKind::TextField, 120, 120, 6135, 1335, 2, "Enter Message To Decrypt", &kVerdana975,
     "Coded text to decrypt"},
    {"Text2", ControlKind::TextField, 120, 2400, 6135, 1455, 3, "Decrypted Message", &kSansSerif975,
     "Decrypted message"},
};

}  // namespace

const WindowLayout kDecryptLayout = MessageWindowLayout("frmDecrypt", "Decrypt Message", kControls);

// The decoded message is what the code kept from view, so clipboard history tools are asked to skip it.
frmDecrypt::frmDecrypt()
    : MessageWindow(kDecryptLayout, ControlsIn(kControls), DecodeMessage, Clipboard::Content::Sensitive) {}

}  // namespace quorvel::windows
