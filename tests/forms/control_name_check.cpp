// Built by the tests in three ways: a handler's names that the layout has build; a misspelt name, or
// a text field's name where a button's is needed, must stop the build.
#include "control_name.h"

namespace {

using quorvel::forms::ControlKind;

constexpr quorvel::forms::ControlLayout kControls[] = {
    {"Text1", ControlKind::TextField, 0, 0, 100, 100, 0, "", nullptr},
    {"Command1", ControlKind::PushButton, 0, 100, 100, 100, 1, "", nullptr},
    {"Label1", ControlKind::Label, 0, 200, 100, 100, 2, "", nullptr},
};

#if defined(MISSPELT)
constexpr quorvel::forms::Clickable kUsed(kControls, "Comand1");
#elif defined(WRONG_KIND)
constexpr quorvel::forms::NamedField kUsed(kControls, "Command1");
#else
constexpr quorvel::forms::Clickable kUsed(kControls, "Command1");
#endif

}  // namespace

int main() { return kUsed.name().empty() ? 1 : 0; }
