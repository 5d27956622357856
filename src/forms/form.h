#pragma once

#include "error_report.h"
#include "layout.h"

#include <QPointer>
#include <QWidget>

#include <functional>
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
    QWidget* window() const { return window_; }

protected:
    // Connects the handlers to the controls of a freshly built window.
    virtual void Connect() {}

    // A control of the open window by its layout name.
    template <class Control> Control& Find(std::string_view name) const {
        auto* control = window_->findChild<Control*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
        Q_ASSERT(control);
        return *control;
    }

    // Runs `handler` whenever the named control sends `signal`; failures go to the error report.
    template <class Control, class Signal>
    void On(std::string_view name, Signal signal, std::function<void()> handler) {
        QObject::connect(&Find<Control>(name), signal, window_.data(),
                         [handler = std::move(handler)] { RunHandler(handler); });
    }

private:
    const WindowLayout& layout_;
    QPointer<QWidget> window_;
};

}  // namespace quorvel::forms
