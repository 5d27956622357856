#include "form.h"

#include "error_report.h"

namespace quorvel::forms {

Form::~Form() { delete window_; }

void Form::Show() {
    if (!window_) {
        window_ = BuildWindow(layout_, [this] { window_ = nullptr; });
        Connect();
    }
    window_->Raise();
}

void Form::OnClick(std::string_view control, std::function<void()> handler) {
    window_->OnClick(control, [handler = std::move(handler)] { RunHandler(handler); });
}

}  // namespace quorvel::forms
