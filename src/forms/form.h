#pragma once

#include "layout.h"
#include "window.h"

#include <functional>
#include <string>
#include <string_view>

namespace quorvel::forms {

// A window's program-wide slot: the object lives for the whole run, the window it shows is built from
// the layout when it is shown and not open, and is discarded with its fields when the user closes it.
class Form {
public:
    explicit Form(const WindowLayout& layout) : layout_(layout) {}
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Shows the window modeless and without an owner, building it first if it is not open. An open
    // window keeps its fields and focus and comes to the front.
    void Show();

    // The open window, or nullptr.
    Window* window() const { return window_; }
    const WindowLayout& layout() const { return layout_; }

protected:
    // Connects the handlers to the controls of a freshly built window.
    virtual void Connect() {}

    // Runs `handler` on every click on the named control; failures go to the error report.
    void OnClick(std::string_view control, std::function<void()> handler);

    std::u16string Text(std::string_view field) const { return window_->Text(field); }
    void SetText(std::string_view field, std::u16string_view text) { window_->SetText(field, text); }
    bool Holds(std::string_view field, std::u16string_view text) const { return window_->Holds(field, text); }

private:
    const WindowLayout& layout_;
    Window* window_ = nullptr;
};

}  // namespace quorvel::forms
