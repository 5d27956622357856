#pragma once

#include "layout.h"

#include <cstddef>
#include <string_view>

namespace quorvel::forms {

// A control of a window's layout as its handlers name it. It is made from the window's layout table,
// which is constant data, while the program is compiled: a name the table does not have, or a control
// of a kind the handler cannot use, stops the build.
template <ControlKind... Kinds> class NamedControl {
    template <ControlKind Kind> static constexpr bool kTakes = ((Kind == Kinds) || ...);

public:
    template <std::size_t N>
    consteval NamedControl(const ControlLayout (&table)[N], std::string_view name)
        : control_(&Find(table, name)) {}

    // A control already checked for fewer kinds, such as a text field where a click is taken.
    template <ControlKind... Narrower>
    requires(kTakes<Narrower>&&...) NamedControl(const NamedControl<Narrower...>& control)
        : control_(&control.layout()) {}

    std::string_view name() const { return control_->name; }
    const ControlLayout& layout() const { return *control_; }

private:
    template <std::size_t N>
    static consteval const ControlLayout& Find(const ControlLayout (&table)[N], std::string_view name) {
        for (const ControlLayout& control : table) {
            if (control.name != name)
                continue;
            if (!((control.kind == Kinds) || ...))
                throw "the layout's control of this name is of another kind";
            return control;
        }
        throw "the layout has no control of this name";
    }

    const ControlLayout* control_;
};

// What a click handler hangs on: a button or a text field.
using Clickable = NamedControl<ControlKind::PushButton, ControlKind::TextField>;
// What a handler reads and writes.
using NamedField = NamedControl<ControlKind::TextField>;

}  // namespace quorvel::forms
