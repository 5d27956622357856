#pragma once

#include "control_name.h"
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

    // Runs `handler` on every click on the control; failures go to the error report.
    void OnClick(Clickable control, std::function<void()> handler);

    std::u16string_view Text(NamedField field) const;
    void SetText(NamedField field, std::u16string text);
    bool Holds(NamedField field, std::u16string_view text) const;
    void SetContent(NamedField field, Clipboard::Content content);

private:
    // The control's name, once it is known to be of this window's layout: a control of another
    // window's table is a fault of the program, which fails at once.
    std::string_view Own(const ControlLayout& control) const;

    const WindowLayout& layout_;
    Window* window_ = nullptr;
};

}  // namespace quorvel::forms
