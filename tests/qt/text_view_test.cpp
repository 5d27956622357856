// The Qt text field as a user meets it: rows wrapped at its width by Qt's own widths, every script drawn
// as Qt draws it, keys, the mouse, the clipboard, its context menu, the input method and what a screen
// reader reads.
#include "builder.h"
#include "fakes.h"
#include "passes.h"
#include "text_field.h"
#include "units.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
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
