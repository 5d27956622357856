#pragma once

#include "form.h"

namespace quorvel::windows {

extern const forms::WindowLayout kAboutLayout;

// Credits, the version and a paragraph of help. It has no handlers of its own.
class frmAbout : public forms::Form {
public:
    frmAbout();
};

}  // namespace quorvel::windows
