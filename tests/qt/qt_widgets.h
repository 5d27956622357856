#pragma once

#include "form.h"
#include "text_field.h"

#include <QWidget>

#include <string_view>

// The Qt widgets behind the program's windows, for the tests and benchmarks that look past the driver.
namespace quorvel::testing::qt {

// The top-level widget of the form's open window, or nullptr.
QWidget* WindowWidget(const forms::Form& form);

// A control of the form's open window by its layout name, or nullptr.
template <class Control = QWidget> Control* Find(const forms::Form& form, std::string_view name) {
    return WindowWidget(form)->findChild<Control*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

inline forms::qt::TextField* Field(const forms::Form& form, std::string_view name) {
    return Find<forms::qt::TextField>(form, name);
}

}  // namespace quorvel::testing::qt
