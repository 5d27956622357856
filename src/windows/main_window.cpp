#include "main_window.h"

namespace quorvel::windows {

using namespace forms;

namespace {

// Neighbouring buttons overlap by 15 twips and the row reaches past the client area; only what lies
// inside it shows.
constexpr ControlLayout kControls[] = {
    {"Command1", ControlKind::PushButton, 0, 2640, 1815, 615, 0, "Encrypt", &kVerdana12},
    {"Command2", ControlKind::PushButton, 3240, 2640, 1815, 615, 1, "Decrypt", &kSansSerif12},
    {"Command3", ControlKind::PushButton, 1800, 2640, 1455, 615, 2, "About", &kVerdana12},
    {"Picture1", ControlKind::PictureBox, -120, 0, 5295, 2655, 3, "banner", nullptr,
     "Banner: Quorvel 1.0, by Tarnwick & Dravo"},
};

// Creates the window into its slot on first use; later calls show the same object again.
template <class Window> void ShowFromSlot(std::unique_ptr<Window>& slot) {
    if (!slot)
        slot = std::make_unique<Window>();
    slot->Show();
}

}  // namespace

const WindowLayout kMainLayout{
    .name = "frmMain",
    .caption = "Quorvel 1.0",
    .clientWidth = 5025,
    .clientHeight = 3195,
    .frame = Frame::FixedSingle,
    .icon = Icon::Program,
    .placement = Placement::CentreScreen,
    .font = &kVerdana825,
    .controls = kControls,
};

frmMain::frmMain() : Form(kMainLayout) {}

void frmMain::Connect() {
    OnClick({kControls, "Command1"}, [this] { Command1_Click(); });
    OnClick({kControls, "Command2"}, [this] { Command2_Click(); });
    OnClick({kControls, "Command3"}, [this] { Command3_Click(); });
}

void frmMain::Command1_Click() { ShowFromSlot(encrypt_); }

void frmMain::Command2_Click() { ShowFromSlot(decrypt_); }

void frmMain::Command3_Click() { ShowFromSlot(about_); }

}  // namespace quorvel::windows
