#include "message_window.h"

#include "text.h"

#include <algorithm>

namespace quorvel::windows {
namespace {

constexpr std::string_view kInput = "Text1";
constexpr std::string_view kOutput = "Text2";

std::u16string InitialText(const forms::WindowLayout& layout, std::string_view control) {
    const auto found = std::ranges::find(layout.controls, control, &forms::ControlLayout::name);
    return found == layout.controls.end() ? std::u16string() : forms::Utf16(found->text);
}

}  // namespace

MessageWindow::MessageWindow(const forms::WindowLayout& layout, Pass pass, forms::Clipboard::Content copied)
    : Form(layout), pass_(pass), copied_(copied), prompt_(InitialText(layout, kInput)) {}

void MessageWindow::Connect() {
    OnClick("Command1", [this] { Command1_Click(); });
    OnClick("Command2", [this] { Command2_Click(); });
    OnClick(kInput, [this] { Text1_Click(); });
}

void MessageWindow::Command1_Click() { SetText(kOutput, pass_(Text(kInput))); }

void MessageWindow::Command2_Click() {
    forms::Clipboard& clipboard = forms::TheClipboard();
    clipboard.clear();
    clipboard.putText(Text(kOutput), copied_);
}

void MessageWindow::Text1_Click() {
    if (Holds(kInput, prompt_))
        SetText(kInput, {});
}

}  // namespace quorvel::windows
