#pragma once

#include "clipboard.h"
#include "form.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace quorvel::windows {

// The window both mirrors share: sizable, with the program icon, where the window system puts it.
constexpr forms::WindowLayout MessageWindowLayout(std::string_view name, std::string_view caption,
                                                  std::span<const forms::ControlLayout> controls) {
    return {
        .name = name,
        .caption = caption,
        .clientWidth = 6480,
        .clientHeight = 4680,
        .frame = forms::Frame::Sizable,
        .icon = forms::Icon::Program,
        .placement = forms::Placement::SystemDefault,
        .controls = controls,
    };
}

// The Encrypt and Decrypt windows are mirror images: an input field that starts with a prompt, a button
// that runs the window's pass from the input into the output field, and a button that copies the
// output to the clipboard. Each window brings its layout and its pass.
class MessageWindow : public forms::Form {
public:
    using Pass = std::u16string (*)(std::u16string_view);

    // The controls the handlers use.
    struct Controls {
        forms::NamedField input;
        forms::Clickable run;
        forms::Clickable copy;
        forms::NamedField output;
    };

    // The handlers' controls by their names, found in a window's own layout table while the window
    // is compiled.
    template <std::size_t N> static consteval Controls ControlsIn(const forms::ControlLayout (&table)[N]) {
        return {.input = {table, "Text1"},
                .run = {table, "Command1"},
                .copy = {table, "Command2"},
                .output = {table, "Text2"}};
    }

    MessageWindow(const forms::WindowLayout& layout, const Controls& controls, Pass pass,
                  forms::Clipboard::Content copied);

    // Sets Text2 to the pass over Text1: one read, the whole pass in memory, one write.
    void Command1_Click();
    // Empties the clipboard, then puts Text2's text on it.
    void Command2_Click();
    // Empties Text1 when it holds exactly the prompt.
    void Text1_Click();

protected:
    void Connect() override;

private:
    Controls controls_;
    Pass pass_;
    forms::Clipboard::Content copied_;
    std::u16string prompt_;
};

}  // namespace quorvel::windows
