#pragma once

#include "clipboard.h"
#include "layout.h"

#include <functional>
#include <string>
#include <string_view>

namespace quorvel::forms {

// A top-level window that the platform's backend built from its layout, with its controls at their
// places and the first control in tab order holding the focus. Once the user has closed it, it tells
// whoever opened it and deletes itself; a window still open when its Form goes away is deleted by the
// Form.
class Window {
public:
    virtual ~Window() = default;

    // Shows the window and brings it to the front, restoring it if it is minimized.
    virtual void Raise() = 0;
    // Runs `handler` on every left click on the named button or text field.
    virtual void OnClick(std::string_view control, std::function<void()> handler) = 0;
    // A text field's text, code unit for code unit as the field holds it, read in place: the view
    // holds until the field's text changes, so a handler reads a long text without copying it.
    virtual std::u16string_view Text(std::string_view field) const = 0;
    // Takes the text over: a long result moves into the field without a copy.
    virtual void SetText(std::string_view field, std::u16string text) = 0;
    // Whether the field holds exactly `text`; cheap however long the field is.
    virtual bool Holds(std::string_view field, std::u16string_view text) const = 0;
    // What the field shows: a field that shows the plain message keeps every copy out of it (by key,
    // menu or drag) out of clipboard history, as the window's copy button does.
    virtual void SetContent(std::string_view field, Clipboard::Content content) = 0;
};

// Builds a window from its layout; `closed` runs when the user has closed it.
Window* BuildWindow(const WindowLayout& layout, std::function<void()> closed);

}  // namespace quorvel::forms
