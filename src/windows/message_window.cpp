#include "message_window.h"

#include "text_field.h"

#include <QPushButton>

#include <algorithm>

namespace quorvel::windows {
namespace {

constexpr std::string_view kInput = "Text1";
constexpr std::string_view kOutput = "Text2";

QString InitialText(const forms::WindowLayout& layout, std::string_view control) {
    const auto found = std::ranges::find(layout.controls, control, &forms::ControlLayout::name);
    Q_ASSERT(found != layout.controls.end());
    return QString::fromUtf8(found->text.data(), static_cast<qsizetype>(found->text.size()));
}

}  // namespace

MessageWindow::MessageWindow(const forms::WindowLayout& layout, Pass pass, forms::Clipboard::Content copied)
    : Form(layout), pass_(pass), copied_(copied), prompt_(InitialText(layout, kInput)) {}

forms::TextField& MessageWindow::Input() const { return Find<forms::TextField>(kInput); }

forms::TextField& MessageWindow::Output() const { return Find<forms::TextField>(kOutput); }

void MessageWindow::Connect() {
    On<QPushButton>("Command1", &QPushButton::clicked, [this] { Command1_Click(); });
    On<QPushButton>("Command2", &QPushButton::clicked, [this] { Command2_Click(); });
    On<forms::TextField>(kInput, &forms::TextField::clicked, [this] { Text1_Click(); });
}

void MessageWindow::Command1_Click() {
    const QString input = Input().text();
    Output().setText(forms::FromUnits(pass_(forms::Units(input))));
}

void MessageWindow::Command2_Click() {
    forms::Clipboard& clipboard = forms::TheClipboard();
    clipboard.clear();
    clipboard.putText(Output().text(), copied_);
}

void MessageWindow::Text1_Click() {
    forms::TextField& input = Input();
    if (input.holds(prompt_))
        input.setText(QString());
}

}  // namespace quorvel::windows
