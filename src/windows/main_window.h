#pragma once

#include "about_window.h"
#include "decrypt_window.h"
#include "encrypt_window.h"
#include "form.h"

#include <memory>

namespace quorvel::windows {

extern const forms::WindowLayout kMainLayout;

// The start-up window: a banner and three buttons that open the other windows. Each of those lives
// in a slot of its own, filled on the first click and kept for the rest of the run.
class frmMain : public forms::Form {
public:
    frmMain();

    void Command1_Click();  // shows the Encrypt window
    void Command2_Click();  // shows the Decrypt window
    void Command3_Click();  // shows the About window

    // The window slots, empty until their button is first clicked.
    frmEncrypt* encryptSlot() const { return encrypt_.get(); }
    frmDecrypt* decryptSlot() const { return decrypt_.get(); }
    frmAbout* aboutSlot() const { return about_.get(); }

protected:
    void Connect() override;

private:
    std::unique_ptr<frmEncrypt> encrypt_;
    std::unique_ptr<frmDecrypt> decrypt_;
    std::unique_ptr<frmAbout> about_;
};

}  // namespace quorvel::windows
