#include "form.h"

#include "builder.h"

namespace quorvel::forms {

Form::~Form() { delete window_.data(); }

void Form::Show() {
    if (!window_) {
        window_ = BuildWindow(layout_);
        Connect();
    }
    if (window_->isMinimized())
        window_->showNormal();
    else
        window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace quorvel::forms
