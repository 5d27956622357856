#include "message_window.h"

#include "text.h"

namespace quorvel::windows {

MessageWindow::MessageWindow(const forms::WindowLayout& layout, const Controls& controls, Pass pass,
                             forms::Clipboard::Content copied)
    : Form(layout), controls_(controls), pass_(pass), copied_(copied),
      prompt_(forms::Utf16(controls.input.layout().text)) {}

void MessageWindow::Connect() {
    // The output shows what the copy button copies; the input, the other side of the pass.
    using Content = forms::Clipboard::Content;
    SetContent(controls_.output, copied_);
    SetContent(controls_.input, copied_ == Content::Sensitive ? Content::Ordinary : Content::Sensitive);
    OnClick(controls_.run, [this] { Command1_Click(); });
    OnClick(controls_.copy, [this] { Command2_Click(); });
    OnClick(controls_.input, [this] { Text1_Click(); });
}

void MessageWindow::Command1_Click() { SetText(controls_.output, pass_(Text(controls_.input))); }

void MessageWindow::Command2_Click() {
    forms::Clipboard& clipboard = forms::TheClipboard();
    clipboard.clear();
    clipboard.putText(Text(controls_.output), copied_);
}

void MessageWindow::Text1_Click() {
    if (Holds(controls_.input, prompt_))
        SetText(controls_.input, {});
}

}  // namespace quorvel::windows
