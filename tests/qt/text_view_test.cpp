// The Qt text field as a user meets it: rows wrapped at its width by Qt's own widths, every script drawn
// as Qt draws it, keys, the mouse, the clipboard, its context menu, the input method and what a screen
// reader reads.
#include "builder.h"
#include "fakes.h"
#include "passes.h"
#include "qt_translations.h"
#include "text_field.h"
#include "units.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

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

// A wrapped row of a right-to-left paragraph is laid out right to left from the field's left edge, even
// one of Latin alone, and Left goes on through the text there: the caret is where a QPlainTextEdit of the
// same font and size puts it in the same paragraph, whose second line holds "xyzxyzxyz 12!".
TEST_F(TextView, ARightToLeftParagraphsLatinRowIsLaidOutAndWalkedAsQPlainTextEditDoes) {
    const QString text = QStringLiteral(u"\u05D0 ") + QString(20, u'n') + QStringLiteral(" xyzxyzxyz 12!");
    field.resize(220, 120);
    field.setText(text);
    QPlainTextEdit plain;
    plain.setFont(field.font());
    plain.resize(field.size());
    plain.setPlainText(text);
    plain.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
    ASSERT_EQ(row(1), QStringLiteral("xyzxyzxyz 12!"));
    const int start = static_cast<int>(rows().RowStart(1));
    for (int position = start; position <= text.size(); ++position) {
        QTextCursor cursor = plain.textCursor();
        cursor.setPosition(position);
        plain.setTextCursor(cursor);
        field.select(static_cast<std::size_t>(position), static_cast<std::size_t>(position));
        ASSERT_EQ(field.editor().CaretRow(), 1u);
        // Qt's caret is placed at a fraction of a pixel, rounded either way.
        EXPECT_NEAR(field.cursorRect().x(), plain.cursorRect().x(), 1) << position;
        QTest::keyClick(&plain, Qt::Key_Left);
        QTest::keyClick(&field, Qt::Key_Left);
        EXPECT_EQ(field.editor().selection().caret, static_cast<std::size_t>(plain.textCursor().position()))
            << position;
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

// With Qt's German translations, as the program installs them for a German system: the texts and key
// hints of QPlainTextEdit's own menu.
TEST_F(TextView, TheContextMenuReadsAsQtsOwnInTheUsersLanguage) {
    const std::unique_ptr<QTranslator> german =
        InstallQtTranslations(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_NE(german, nullptr);
    const auto texts = [](QMenu* menu) {
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts << action->text();
        delete menu;
        return texts;
    };
    QPlainTextEdit reference;
    const QStringList ours = texts(field.createStandardContextMenu());
    EXPECT_EQ(ours.join(u'|').toStdString(),
              texts(reference.createStandardContextMenu()).join(u'|').toStdString());
    EXPECT_EQ(ours.value(0).toStdString(), QStringLiteral("&R\u00fcckg\u00e4ngig\tStrg+Z").toStdString());
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

// The font and direction a screen reader reads at each offset, and no value to set, as of QPlainTextEdit
// with the same font and text: the caret (-2), the end (-1), every unit, past the end.
TEST_F(TextView, ScreenReadersReadTheTextsAttributesAsInQtsOwnFieldAndNoValue) {
    const QString text = QStringLiteral("one two\n\u0627\u0644\u0639 x\n\nz");
    QFont underlined("DejaVu Serif", 13, QFont::Bold, true);
    underlined.setUnderline(true);
    for (const QFont& font : {field.font(), underlined}) {
        QPlainTextEdit reference;
        reference.setFont(font);
        reference.setPlainText(text);
        QTextCursor caret = reference.textCursor();
        caret.setPosition(5);
        reference.setTextCursor(caret);
        field.setFont(font);
        field.setText(text);
        field.select(5, 5);
        QAccessibleInterface* ours = QAccessible::queryAccessibleInterface(&field);
        QAccessibleInterface* theirs = QAccessible::queryAccessibleInterface(&reference);
        EXPECT_EQ(ours->valueInterface(), nullptr);
        EXPECT_EQ(theirs->valueInterface(), nullptr);
        for (int offset = -2; offset <= text.size() + 1; ++offset) {
            int start[2] = {};
            int end[2] = {};
            const QString read = ours->textInterface()->attributes(offset, &start[0], &end[0]);
            EXPECT_EQ(read.toStdString(),
                      theirs->textInterface()->attributes(offset, &start[1], &end[1]).toStdString())
                << offset;
            EXPECT_EQ(std::pair(start[0], end[0]), std::pair(start[1], end[1])) << offset;
        }
    }
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

// The box of the pixels of `image` that are not `ground`.
QRect InkBox(const QImage& image, const QColor& ground) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & RGB_MASK) != (ground.rgb() & RGB_MASK))
                box |= QRect(x, y, 1, 1);
    return box;
}

// Each script and emoji sequence as Qt's own text layout draws it (letters joined, marks on their bases,
// conjuncts formed, an emoji sequence one picture), and a click on the caret at each cluster boundary
// puts it there. The font is the Decrypt output's from its layout, MS Sans Serif 9.75, which Linux has as
// DejaVu Sans Condensed, with Noto's fonts where fontconfig falls back for what it lacks; emoji are compared
// with the colour font fontconfig names "emoji", all of a sequence from it (Qt 6.4 merges fonts code point by
// code point and would draw a keycap's digit and a skin tone's hand from text fonts). Shapes are compared by
// the box of the ink, within a pixel each way: the field places a run at its measured x in 1/64 px and Qt's
// layout at its own, so an anti-aliased edge may gain or lose a faint column or row.
TEST(TextViewScripts, EachScriptIsDrawnAsQtDrawsItAndClicksLandOnItsClusters) {
    const QFont text = FontFor(kSansSerif975);
    QFont emoji(QStringLiteral("emoji"));
    emoji.setPointSizeF(text.pointSizeF());
    emoji.setStyleStrategy(QFont::NoFontMerging);
    struct Sample {
        const char* name;
        QString text;
        bool emoji = false;
    };
    const Sample samples[] = {
        {"Arabic", QStringLiteral("مرحبا بالعالم")},
        {"Persian", QStringLiteral("می\u200Cخواهم دنیا")},
        {"Hebrew with points", QStringLiteral("שָׁלוֹם בְּרֵאשִׁית")},
        {"Devanagari conjuncts", QStringLiteral("नमस्ते क्षत्रिय")},
        {"Thai", QStringLiteral("สวัสดี ที่น้ำ")},
        {"Chinese", QStringLiteral("你好中文")},
        {"Japanese", QStringLiteral("こんにちは日本語")},
        {"Korean, also in decomposed jamo",
         QStringLiteral("안녕하세요 \u1112\u1161\u11AB\u1100\u116E\u11A8")},
        {"Cyrillic", QStringLiteral("Привет, мир")},
        {"Latin with combining marks", QStringLiteral("A\u030Angstro\u0308m E\u0302\u0301 A\u0308\u0304")},
        {"a heart asked for as text", QStringLiteral("\u2764\uFE0E")},
        {"flag", QStringLiteral("\U0001F1E9\U0001F1EA"), true},
        {"ZWJ family", QStringLiteral("\U0001F469\u200D\U0001F469\u200D\U0001F467"), true},
        {"skin tone", QStringLiteral("\U0001F44D\U0001F3FD"), true},
        {"keycap", QStringLiteral("1\uFE0F\u20E3"), true},
    };
    TextField field;
    field.setFont(text);
    field.resize(400, 60);
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    // No caret in the picture.
    field.clearFocus();
    const QColor ground = field.palette().color(QPalette::Base);
    for (const Sample& sample : samples) {
        const QFont& font = sample.emoji ? emoji : text;
        SCOPED_TRACE(std::string(sample.name) + " in " + QFontInfo(font).family().toStdString());
        field.setText(sample.text);
        const QImage ours = field.viewport()->grab().toImage();
        QTextLayout layout(sample.text, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        if (sample.emoji) {
            const QList<QGlyphRun> runs = layout.glyphRuns();
            ASSERT_EQ(runs.size(), 1);
            ASSERT_EQ(runs.front().glyphIndexes().size(), 1);
        }
        QImage theirs(ours.size(), ours.format());
        theirs.fill(ground);
        QPainter painter(&theirs);
        painter.setPen(field.palette().color(QPalette::Text));
        layout.draw(&painter, QPointF(kMargin, kMargin));
        painter.end();
        const QRect drawn = InkBox(ours, ground);
        const QRect own = InkBox(theirs, ground);
        EXPECT_NEAR(drawn.width(), own.width(), 1);
        EXPECT_NEAR(drawn.height(), own.height(), 1);

        // A click on the caret at each cluster boundary puts it there, or where it is drawn the same.
        const std::u16string_view units = Units(sample.text);
        for (std::size_t at = 0;; at = textedit::NextCluster(units, at)) {
            field.select(at, at);
            const QRect caret = field.cursorRect();
            const std::size_t landed = field.positionAt(caret.topLeft());
            field.select(landed, landed);
            EXPECT_EQ(field.cursorRect(), caret) << at << " landed at " << landed;
            if (at == units.size())
                break;
        }
    }
}

// A row that needs shaping stands on the baseline of the rows that do not, whatever fonts it falls back
// to: a letter drawn at the start of each row is drawn as high in each.
TEST(TextViewScripts, ShapedRowsStandOnTheBaselineOfTheOthers) {
    TextField field;
    field.setFont(FontFor(kSansSerif975));
    field.resize(300, 120);
    field.setText(QStringLiteral("H\nH \u0645\nH \u4E2D\u0301\nH \U0001F44D"));
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    field.clearFocus();
    const QImage image = field.viewport()->grab().toImage();
    const int lineHeight = field.field().geometry().lineHeight;
    const QColor ground = field.palette().color(QPalette::Base);
    // The ink of the H: its top row in the row.
    const auto top = [&](int row) {
        const QImage h =
            image.copy(kMargin, kMargin + row * lineHeight, field.characterRect(0).width(), lineHeight);
        return InkBox(h, ground).top();
    };
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(top(row), top(0)) << row;
}

}  // namespace
}  // namespace quorvel::forms::qt
