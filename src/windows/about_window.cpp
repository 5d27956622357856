#include "about_window.h"

namespace quorvel::windows {

using namespace forms;

namespace {

constexpr std::string_view kHelp =
    "Need help? Well Thats What This Is For. The Quorvel is used to code the text you type so its almost "
    "impossible to read without the decoder! All you do is type what you want to say and Click the "
    "\"Encrypt\" Button, To Encrypt the message. Then Click the \"Copy\" Button to copy the encrypted message "
    "to your Clipboard. Now comes the \"Difficult\" part Open up the program you want to send the encrypted "
    "message with. Choose Anything, I mean Anything! Then just Right-Click in the Textfield and Choose "
    "\"Paste\" and There you have it your message is encrypted and ready to be sent! Enjoy!";

// The picture starts above the client area and the help text reaches below it; the window shows
// only what lies inside.
constexpr ControlLayout kControls[] = {
    {"lblhelp", ControlKind::Label, 2520, 0, 3495, 4335, 0, kHelp, nullptr},
    {"Picture1", ControlKind::PictureBox, 0, -120, 2535, 2775, 1, "about", nullptr,
     "Picture: Quorvel 1.0 across a field of grey spheres"},
    {"Label1", ControlKind::Label, 0, 2640, 1455, 255, 2, "Programmer:", &kVerdana825Bold},
    {"Label2", ControlKind::Label, 1440, 2640, 855, 255, 3, "Tarnwick", nullptr},
    {"Label3", ControlKind::Label, 0, 2880, 975, 255, 4, "Graphics:", &kVerdana825Bold},
    {"Label4", ControlKind::Label, 1080, 2880, 495, 255, 5, "Dravo", &kVerdana825},
    {"Label5", ControlKind::Label, 0, 3120, 855, 255, 6, "Website:", &kVerdana825Bold},
    {"Label6", ControlKind::Label, 1080, 3120, 1215, 255, 7, "None Currently...", nullptr},
    {"Label7", ControlKind::Label, 0, 3360, 855, 255, 8, "Version:", &kVerdana825Bold},
    {"Label8", ControlKind::Label, 1080, 3360, 495, 255, 9, "1.01a", nullptr},
};

}  // namespace

const WindowLayout kAboutLayout{
    .name = "frmAbout",
    .caption = "About Quorvel 1.0!",
    .clientWidth = 6000,
    .clientHeight = 3570,
    .frame = Frame::FixedSingle,
    .icon = Icon::ToolkitDefault,
    .placement = Placement::Fixed,
    .left = 2160,
    .top = 1755,
    .font = &kSansSerif825,
    .controls = kControls,
};

frmAbout::frmAbout() : Form(kAboutLayout) {}

}  // namespace quorvel::windows
