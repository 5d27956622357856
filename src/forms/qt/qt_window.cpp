#include "qt_window.h"

#include "builder.h"
#include "text_field.h"

#include <QCloseEvent>
#include <QPushButton>

#include <stdexcept>
#include <string>
#include <utility>

namespace quorvel::forms {

Window* BuildWindow(const WindowLayout& layout, std::function<void()> closed) {
    return new qt::QtWindow(layout, std::move(closed));
}

namespace qt {
namespace {

template <class Control> constexpr std::string_view kKind = "control";
template <> constexpr std::string_view kKind<TextField> = "text field";

}  // namespace

QtWindow::QtWindow(const WindowLayout& layout, std::function<void()> closed) : closed_(std::move(closed)) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildWidgets(this, layout);
}

template <class Control> Control& QtWindow::Find(std::string_view name) const {
    auto* control = findChild<Control*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    if (!control)
        throw std::logic_error(objectName().toStdString() + " has no " + std::string(kKind<Control>) +
                               " named " + std::string(name));
    return *control;
}

void QtWindow::Raise() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void QtWindow::OnClick(std::string_view control, std::function<void()> handler) {
    QWidget& widget = Find<QWidget>(control);
    if (auto* field = qobject_cast<TextField*>(&widget))
        connect(field, &TextField::clicked, this, std::move(handler));
    else if (auto* button = qobject_cast<QPushButton*>(&widget))
        connect(button, &QPushButton::clicked, this, std::move(handler));
    else
        throw std::logic_error(objectName().toStdString() + "'s " + std::string(control) +
                               " takes no clicks");
}

// The field's own code units, read and taken over without a QString between.
std::u16string_view QtWindow::Text(std::string_view field) const {
    return Find<TextField>(field).editor().Text();
}

void QtWindow::SetText(std::string_view field, std::u16string text) {
    Find<TextField>(field).setText(std::move(text));
}

bool QtWindow::Holds(std::string_view field, std::u16string_view text) const {
    return Find<TextField>(field).editor().Text() == text;
}

void QtWindow::SetContent(std::string_view field, Clipboard::Content content) {
    Find<TextField>(field).setSensitive(content == Clipboard::Content::Sensitive);
}

void QtWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && closed_)
        std::exchange(closed_, nullptr)();
}

}  // namespace qt
}  // namespace quorvel::forms
