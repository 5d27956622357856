// Drives the windows of the Qt backend through QTest's events to the real widgets.
#include "clipboard.h"
#include "driver.h"
#include "qt_widgets.h"
#include "qt_window.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quorvel::testing {

QWidget* qt::WindowWidget(const forms::Form& form) {
    return dynamic_cast<forms::qt::QtWindow*>(form.window());
}

namespace drive {
namespace {

QWidget* Top(forms::Form& form) { return qt::WindowWidget(form); }

QWidget* FocusedWidget(forms::Form& form) {
    QWidget* focus = Top(form)->focusWidget();
    return focus ? focus : Top(form);
}

}  // namespace

void Opened(forms::Form& form) { ASSERT_TRUE(QTest::qWaitForWindowActive(Top(form))); }

void Click(forms::Form& form, std::string_view control) {
    QWidget* widget = qt::Find(form, control);
    ASSERT_NE(widget, nullptr) << control;
    if (auto* field = qobject_cast<forms::qt::TextField*>(widget))
        QTest::mouseClick(field->viewport(), Qt::LeftButton, {}, {5, 5});
    else
        QTest::mouseClick(widget, Qt::LeftButton);
}

void Press(forms::Form& form, Key key) {
    static constexpr Qt::Key kKeys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Return};
    QTest::keyClick(FocusedWidget(form), kKeys[static_cast<int>(key)]);
}

void Type(forms::Form& form, std::string_view text) {
    QTest::keyClicks(FocusedWidget(form), QString::fromUtf8(text.data(), qsizetype(text.size())));
}

void Paste(forms::Form& form, std::u16string_view text) {
    // The clipboard the fields read, which a test may have replaced.
    forms::TheClipboard().putText(text, forms::Clipboard::Content::Ordinary);
    QTest::keyClick(FocusedWidget(form), Qt::Key_V, Qt::ControlModifier);
}

std::string Focused(forms::Form& form) {
    const QWidget* focus = Top(form)->focusWidget();
    return focus ? focus->objectName().toStdString() : std::string();
}

void Close(forms::Form& form) {
    Top(form)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int OpenWindows(std::string_view name) {
    int open = 0;
    for (const QWidget* window : QApplication::topLevelWidgets())
        open += window->objectName().toStdString() == name && window->isVisible();
    return open;
}

int RunProgram(const std::function<void()>& first) {
    QTimer::singleShot(0, qApp, first);
    return QApplication::exec();
}

bool Busy() { return QGuiApplication::overrideCursor() != nullptr; }

}  // namespace drive
}  // namespace quorvel::testing
