#include "form.h"

#include "error_report.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace quorvel::forms {

Form::~Form() { delete window_; }

void Form::Show() {
    if (!window_) {
        window_ = BuildWindow(layout_, [this] { window_ = nullptr; });
        Connect();
    }
    window_->Raise();
}

void Form::OnClick(Clickable control, std::function<void()> handler) {
    window_->OnClick(Own(control.layout()), [handler = std::move(handler)] { RunHandler(handler); });
}

std::u16string_view Form::Text(NamedField field) const { return window_->Text(Own(field.layout())); }

void Form::SetText(NamedField field, std::u16string text) {
    window_->SetText(Own(field.layout()), std::move(text));
}

bool Form::Holds(NamedField field, std::u16string_view text) const {
    return window_->Holds(Own(field.layout()), text);
}

void Form::SetContent(NamedField field, Clipboard::Content content) {
    window_->SetContent(Own(field.layout()), content);
}

std::string_view Form::Own(const ControlLayout& control) const {
    for (const ControlLayout& own : layout_.controls)
        if (&own == &control)
            return control.name;
    throw std::logic_error(std::string(control.name) + " of another window's layout is no control of " +
                           std::string(layout_.name));
}

}  // namespace quorvel::forms
