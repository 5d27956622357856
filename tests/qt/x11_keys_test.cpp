// The editing keys an X11 desktop's key bindings give Qt's fields, taken as QPlainTextEdit takes them.
#include "text_field.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace quorvel::forms::qt {
namespace {

// Keys that only the X11 schemes bind, among keys bound everywhere: Ctrl+K deletes to the end of the
// paragraph, Ctrl+E goes to the end of the row, Ctrl+D deletes, Ctrl+Shift+Insert pastes the primary
// selection, the Sun keyboard's keys undo and paste, and Ctrl+Y, Windows' redo, does nothing.
TEST(X11Keys, TheDesktopsBindingsDoInTheFieldWhatTheyDoInQtsOwn) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    ASSERT_TRUE(QKeySequence::keyBindings(QKeySequence::DeleteEndOfLine).contains(QKeySequence("Ctrl+K")));
    QPlainTextEdit reference;
    TextField field;
    for (QWidget* widget : std::initializer_list<QWidget*>{&reference, &field}) {
        widget->resize(400, 200);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
    }
    reference.setPlainText("one two\nthree four");
    field.setText("one two\nthree four");
    QTextCursor at = reference.textCursor();
    at.setPosition(4);
    reference.setTextCursor(at);
    field.select(4, 4);
    QGuiApplication::clipboard()->setText("picked", QClipboard::Selection);
    QGuiApplication::clipboard()->setText("copied");

    const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
        {Qt::Key_K, Qt::ControlModifier},
        {Qt::Key_F14, {}},
        {Qt::Key_Down, {}},
        {Qt::Key_E, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_Home, {}},
        {Qt::Key_D, Qt::ControlModifier},
        {Qt::Key_F18, {}},
        {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_Y, Qt::ControlModifier},
        {Qt::Key_K, Qt::ControlModifier},
    };
    for (std::size_t step = 0; step < keys.size(); ++step) {
        QTest::keyClick(&reference, keys[step].first, keys[step].second);
        QTest::keyClick(&field, keys[step].first, keys[step].second);
        ASSERT_EQ(field.text().toStdString(), reference.toPlainText().toStdString()) << "after key " << step;
        // The caret only: an undo here selects what it restores, which Qt's does not.
        EXPECT_EQ(field.editor().selection().caret,
                  static_cast<std::size_t>(reference.textCursor().position()))
            << "after key " << step;
    }
}

}  // namespace
}  // namespace quorvel::forms::qt
