// The Qt text field as a user meets it: rows wrapped at its width by Qt's own widths, keys, the mouse,
// the clipboard, its context menu, the input method and what a screen reader reads.
#include "fakes.h"
#include "passes.h"
#include "text_field.h"
#include "units.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFontMetricsF>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace quorvel::forms::qt {
namespace {

constexpr int kMargin = 4;

class TextView : public ::testing::Test {
protected:
    void SetUp() override {
        field.setFont(QFont("DejaVu Sans", 10));
        field.resize(300, 120);
        field.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
        field.setFocus();
    }

    const textedit::RowLayout& rows() const { return field.editor().rows(); }
    QString row(std::size_t index) const {
        return field.text().mid(static_cast<qsizetype>(rows().RowStart(index)),
                                static_cast<qsizetype>(rows().RowEnd(index) - rows().RowStart(index)));
    }
    // The rows' text width by Qt's own widths of each character.
    qreal Width(const QString& text) const {
        const QFontMetricsF metrics(field.font());
        qreal width = 0;
        for (const QChar unit : text)
            width += metrics.horizontalAdvance(unit);
        return width;
    }
    qreal TextWidth() const { return field.viewport()->width() - 2 * kMargin; }

    // Every row but the last fills the width: it holds what fits, and its next character would not.
    void ExpectRowsFill(const QString& text) {
        ASSERT_TRUE(field.holds(text));
        ASSERT_GT(rows().RowCount(), 2U);
        for (std::size_t index = 0; index + 1 < rows().RowCount(); ++index) {
            const QString shown = row(index);
            EXPECT_LE(Width(shown), TextWidth()) << index;
            EXPECT_GT(Width(shown + text[static_cast<qsizetype>(rows().RowEnd(index))]), TextWidth())
                << index;
        }
    }

    TextField field;
};

TEST_F(TextView, WrapsCodedTextAtQtsWidthsAfterResizeAndFontChange) {
    const QString coded = FromUnits(EncodeMessage(u"Meet me at the old mill tomorrow, bring the maps. "));
    field.setText(coded.repeated(20));
    ExpectRowsFill(field.text());
    field.resize(170, 120);
    ExpectRowsFill(field.text());
    field.setFont(QFont("DejaVu Sans", 14));
    ExpectRowsFill(field.text());
}

// A tab is a gap of eight average characters, as on Windows, and what follows it is drawn where it is
// measured, selected or not: nothing drawn in the gap, a letter after it.
TEST_F(TextView, ATabIsAGapOfEightAverageCharactersAndTheTextAfterItIsDrawnThere) {
    field.setText(QStringLiteral("W\tW"));
    const auto column = [&](std::size_t position) {
        return static_cast<int>(kMargin + field.editor().XOf(position) / 64.0);
    };
    EXPECT_NEAR((field.editor().XOf(2) - field.editor().XOf(1)) / 64.0,
                8 * QFontMetricsF(field.font()).averageCharWidth(), 1.0 / 64);
    for (const bool selected : {false, true}) {
        field.select(0, selected ? 3 : 0);
        const QImage image = field.viewport()->grab().toImage();
        const QRgb ground =
            field.palette().color(selected ? QPalette::Highlight : QPalette::Base).rgb() & RGB_MASK;
        // Pixels of the first row, from `from` to `to`, that are not the ground.
        const auto drawn = [&](int from, int to) {
            int count = 0;
            for (int x = std::max(from, 0); x < std::min(to, image.width()); ++x)
                for (int y = kMargin; y < kMargin + QFontMetricsF(field.font()).height(); ++y)
                    count += (image.pixel(x, y) & RGB_MASK) != ground;
            return count;
        };
        EXPECT_EQ(drawn(column(1) + 1, column(2) - 1), 0) << selected;
        EXPECT_GT(drawn(column(2) + 1, column(3)), 0) << selected;
    }
}

TEST_F(TextView, KeysTypeSelectUndoAndRedo) {
    QTest::keyClicks(&field, "one two");
    QTest::keyClick(&field, Qt::Key_Return);
    QTest::keyClicks(&field, "three");
    EXPECT_EQ(field.text(), "one two\nthree");
    QTest::keyClick(&field, Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), "one two\n");
    QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "one two\nthree");
    QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field.text(), "one two\n");
    QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "one two\n");
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field.editor().SelectedText(), u"one two\n");
}

TEST_F(TextView, MouseClicksDragsAndDoubleClicksSelect) {
    field.setText("alpha beta gamma");
    int clicks = 0;
    QObject::connect(&field, &TextField::clicked, &field, [&clicks] { ++clicks; });
    const int y = kMargin + 3;
    const auto xOf = [&](const char* prefix) { return kMargin + static_cast<int>(Width(prefix)) + 1; };
    QTest::mouseClick(field.viewport(), Qt::LeftButton, {}, {xOf("alpha b"), y});
    EXPECT_EQ(field.editor().selection(), (textedit::Selection{7, 7}));
    QTest::mouseClick(field.viewport(), Qt::LeftButton, Qt::ShiftModifier, {xOf("alpha beta ga"), y});
    EXPECT_EQ(field.editor().selection(), (textedit::Selection{7, 13}));
    EXPECT_EQ(clicks, 2);
    QTest::mouseDClick(field.viewport(), Qt::LeftButton, {}, {xOf("alpha be"), y});
    EXPECT_EQ(field.editor().SelectedText(), u"beta");

    clicks = 0;
    QTest::mousePress(field.viewport(), Qt::LeftButton, {}, {xOf("a"), y});
    QMouseEvent move(QEvent::MouseMove, QPointF(xOf("alpha bet"), y),
                     field.viewport()->mapToGlobal(QPointF(0, 0)), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(field.viewport(), &move);
    QTest::mouseRelease(field.viewport(), Qt::LeftButton, {}, {xOf("alpha bet"), y});
    EXPECT_EQ(field.editor().SelectedText(), u"lpha bet");
    EXPECT_EQ(clicks, 1);
}

TEST_F(TextView, CopiesAndPastesEveryCodeUnitAndNothingFromAnEmptyClipboard) {
    const QString odd = QStringLiteral("a\rb\r\nc") + QChar(0) + QChar(0xD800) + QStringLiteral("\u2029d");
    QGuiApplication::clipboard()->setText(odd);
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(field.holds(odd));
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), odd);

    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(field.holds(odd));
    QTest::keyClick(&field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), odd);
}

// A field that shows the plain message keeps its copies out of clipboard history, as the copy button does.
TEST_F(TextView, ACopyFromASensitiveFieldCarriesTheClipboardHistoryHint) {
    field.setText("plain");
    field.select(0, 5);
    const auto hinted = [this] {
        QTest::keyClick(&field, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        EXPECT_EQ(data->text(), "plain");
        return data->data("x-kde-passwordManagerHint");
    };
    EXPECT_EQ(hinted(), "");
    field.setSensitive(true);
    EXPECT_EQ(hinted(), "secret");
}

TEST_F(TextView, ACutTheClipboardRefusesLeavesTheText) {
    const auto log = std::make_shared<testing::FakeClipboard::Log>();
    const testing::ClipboardReplaced clipboard{log};
    field.setText("keep");
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    log->refuse = true;
    QTest::keyClick(&field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "keep");
    log->refuse = false;
    QTest::keyClick(&field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "");
    EXPECT_EQ(log->text, u"keep");
}

// A touchpad tells the pixels it scrolls by, which go before the angle it also tells.
TEST_F(TextView, ATouchpadScrollsByThePixelsItTells) {
    field.setText(QString("row\n").repeated(50));
    const int lineHeight = field.field().geometry().lineHeight;
    QWheelEvent wheel(QPointF(10, 10), field.viewport()->mapToGlobal(QPointF(10, 10)),
                      QPoint(0, -2 * lineHeight), QPoint(0, -120), Qt::NoButton, {}, Qt::ScrollUpdate, false);
    QCoreApplication::sendEvent(field.viewport(), &wheel);
    EXPECT_EQ(field.field().viewport().TopRow(), 2U);
}

// The input method hears of every caret move, the program's own too, or it places its window by an old one.
TEST_F(TextView, TheInputMethodHearsOfTheCaretTheProgramMoves) {
    field.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&field));
    QTest::keyClicks(&field, "typed");
    int told = 0;
    QObject::connect(QGuiApplication::inputMethod(), &QInputMethod::cursorRectangleChanged, &field,
                     [&told] { ++told; });
    const qreal typed = QGuiApplication::inputMethod()->cursorRectangle().x();
    field.setText("");
    EXPECT_GT(told, 0);
    EXPECT_LT(QGuiApplication::inputMethod()->cursorRectangle().x(), typed);
}

TEST_F(TextView, ContextMenuOffersWhatTheFieldCanDo) {
    field.setText("word");
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    const auto enabled = [this] {
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList names;
        for (const QAction* action : menu->actions())
            if (action->isEnabled() && !action->isSeparator())
                names << action->objectName();
        return names;
    };
    EXPECT_EQ(enabled(), QStringList{"select-all"});
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    menu->findChild<QAction*>("select-all")->trigger();
    EXPECT_EQ(enabled(), (QStringList{"edit-cut", "edit-copy", "edit-delete"}));
    std::unique_ptr<QMenu> again(field.createStandardContextMenu());
    again->findChild<QAction*>("edit-delete")->trigger();
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(enabled(), QStringList{"edit-undo"});

    QTest::keyClick(&field, Qt::Key_Menu);
    const QList<QMenu*> menus = field.findChildren<QMenu*>();
    const auto shown = std::ranges::find_if(menus, &QMenu::isVisible);
    ASSERT_NE(shown, menus.end());
    (*shown)->close();
}

TEST_F(TextView, InputMethodShowsItsPreeditAtTheCaretAndCommitsAsTyped) {
    field.setText("ab");
    field.select(1, 1);
    const auto caretX = [this] { return field.inputMethodQuery(Qt::ImCursorRectangle).toRectF().x(); };
    const qreal atCaret = caretX();
    QInputMethodEvent composing(QStringLiteral("ni"), {{QInputMethodEvent::Cursor, 2, 1, {}}});
    QCoreApplication::sendEvent(&field, &composing);
    EXPECT_EQ(field.text(), "ab");
    EXPECT_NEAR(caretX() - atCaret, Width("ni"), 1);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("\u4f60"));
    QCoreApplication::sendEvent(&field, &commit);
    EXPECT_EQ(field.text(), QStringLiteral("a\u4f60b"));
    EXPECT_NEAR(caretX() - atCaret, Width(QStringLiteral("\u4f60")), 1);
    EXPECT_EQ(field.inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
    EXPECT_EQ(field.inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("a\u4f60b"));
    QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "ab");

    // The input method hears of the caret's paragraph, and of no more than 1024 units either side of
    // the caret in a long one, with the caret and anchor counted from there.
    field.setText("one\r\n" + QString(3000, 'x') + "\ntwo");
    field.select(1, 2);
    EXPECT_EQ(field.inputMethodQuery(Qt::ImSurroundingText).toString(), "one");
    EXPECT_EQ(field.inputMethodQuery(Qt::ImAnchorPosition).toInt(), 1);
    EXPECT_EQ(field.inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
    field.select(3, 1505);
    EXPECT_EQ(field.inputMethodQuery(Qt::ImSurroundingText).toString(), QString(2048, 'x'));
    EXPECT_EQ(field.inputMethodQuery(Qt::ImCursorPosition).toInt(), 1024);
    EXPECT_EQ(field.inputMethodQuery(Qt::ImAnchorPosition).toInt(), 0);
    field.select(3008, 3008);
    EXPECT_EQ(field.inputMethodQuery(Qt::ImSurroundingText).toString(), "two");
    EXPECT_EQ(field.inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
}

// What QPlainTextEdit does with the same events: a triple-click selects the paragraph with its break,
// a replacement range replaces around the caret, a click drops a composition the input method did not
// commit, and a long composition wraps with the cursor rectangle following it to its row.
TEST_F(TextView, ClicksAndInputMethodsDoAsInQPlainTextEdit) {
    QPlainTextEdit plain;
    plain.setFont(field.font());
    plain.resize(field.size());
    plain.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
    const auto both = [&](const auto& step) {
        step(field.viewport(), static_cast<QWidget*>(&field));
        step(plain.viewport(), static_cast<QWidget*>(&plain));
    };
    field.setText("ab cd\nef");
    plain.setPlainText("ab cd\nef");
    const QPoint at(kMargin + 3, kMargin + 3);
    both([&](QWidget* view, QWidget*) {
        QTest::mouseDClick(view, Qt::LeftButton, {}, at);
        QTest::mouseClick(view, Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(plain.textCursor().selectedText(), QStringLiteral("ab cd\u2029"));
    EXPECT_EQ(FromUnits(field.editor().SelectedText()), "ab cd\n");

    const auto send = [&](const QString& composing, const QList<QInputMethodEvent::Attribute>& attributes,
                          const QString& commit = {}, int from = 0, int length = 0) {
        both([&](QWidget*, QWidget* widget) {
            QInputMethodEvent event(composing, attributes);
            event.setCommitString(commit, from, length);
            QCoreApplication::sendEvent(widget, &event);
        });
    };
    both([&](QWidget*, QWidget* widget) { QTest::keyClick(widget, Qt::Key_End, Qt::ControlModifier); });
    send({}, {}, "Z", -1, 1);
    EXPECT_EQ(plain.toPlainText(), "ab cd\neZ");
    EXPECT_EQ(field.text(), "ab cd\neZ");

    send("ni", {});
    both([&](QWidget* view, QWidget*) { QTest::mouseClick(view, Qt::LeftButton, {}, at); });
    send({}, {});
    EXPECT_EQ(plain.toPlainText(), "ab cd\neZ");
    EXPECT_EQ(field.text(), "ab cd\neZ");
    EXPECT_FALSE(field.field().preedit().Active());

    const QString hanzi(40, QChar(0x4E2D));
    const auto rectangle = [](QWidget* widget) {
        return widget->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    };
    const QRectF before[] = {rectangle(&field), rectangle(&plain)};
    send(hanzi, {{QInputMethodEvent::Cursor, 40, 1, {}}});
    const QRectF after[] = {rectangle(&field), rectangle(&plain)};
    for (int which = 0; which < 2; ++which) {
        EXPECT_GE(after[which].top(), before[which].bottom() - 1) << which;
        EXPECT_LT(after[which].right(), field.viewport()->width()) << which;
    }
}

// Text dragged in from elsewhere shows a drop caret where it would go; a drag out of a field that
// shows the plain message carries the clipboard-history hint a copy carries.
TEST_F(TextView, DragsShowADropCaretAndCarryWhatACopyCarries) {
    field.setText("ab");
    field.select(0, 0);
    QMimeData data;
    data.setText("xy");
    const QPoint end(kMargin + static_cast<int>(Width("ab")) + 6, kMargin + 3);
    QDragEnterEvent enter(end, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(field.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    const QImage drawn = field.viewport()->grab().toImage();
    const textedit::Box caret = field.field().DropCaretBox();
    EXPECT_EQ(drawn.pixelColor(static_cast<int>(caret.x), static_cast<int>(caret.y) + caret.height / 2),
              field.palette().color(QPalette::Text));
    QDropEvent drop(end, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(field.viewport(), &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(field.text(), "abxy");
    EXPECT_FALSE(field.field().DropCaret());

    field.setSensitive(true);
    field.select(0, 2);
    QTest::mousePress(field.viewport(), Qt::LeftButton, {}, {kMargin + 2, kMargin + 3});
    QMouseEvent move(QEvent::MouseMove, QPointF(kMargin + 40, kMargin + 30),
                     field.viewport()->mapToGlobal(QPointF(0, 0)), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(field.viewport(), &move);
    QTest::mouseRelease(field.viewport(), Qt::LeftButton, {}, {kMargin + 40, kMargin + 30});
    const auto* drag = field.findChild<QDrag*>();
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->mimeData()->text(), "ab");
    EXPECT_EQ(drag->mimeData()->data("x-kde-passwordManagerHint"), "secret");
}

TEST_F(TextView, ScreenReadersReadAndEditTheText) {
    field.move(120, 90);
    field.setAccessibleName("Message to encrypt");
    field.setText("one two\nthree");
    field.select(4, 7);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&field);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Message to encrypt");
    EXPECT_TRUE(accessible->state().multiLine && accessible->state().editable);
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, -1), "one two\nthree");
    EXPECT_EQ(text->cursorPosition(), 7);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(4, 7));
    EXPECT_EQ(text->textAtOffset(5, QAccessible::WordBoundary, &start, &end), "two");
    EXPECT_EQ(text->textAtOffset(9, QAccessible::LineBoundary, &start, &end), "three");
    EXPECT_EQ(text->textBeforeOffset(9, QAccessible::LineBoundary, &start, &end), "one two\n");
    EXPECT_EQ(text->textAfterOffset(1, QAccessible::CharBoundary, &start, &end), "e");
    const QRect character = text->characterRect(4);
    EXPECT_NEAR(character.left(), field.viewport()->mapToGlobal(QPoint(kMargin, 0)).x() + Width("one "), 1);
    EXPECT_EQ(text->offsetAtPoint(character.center()), 4);
    accessible->editableTextInterface()->insertText(0, "zero ");
    EXPECT_EQ(field.text(), "zero one two\nthree");
}

}  // namespace
}  // namespace quorvel::forms::qt
