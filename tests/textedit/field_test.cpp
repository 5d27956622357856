// A text field's rules with no toolkit: what a view's events do to it, what it asks of its host and
// what it answers for drawing, the caret, the input method and screen readers.
#include "field.h"

#include "measurers.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace quorvel::forms::textedit {
namespace {

using testing::FixedMeasurer;
using testing::TestMeasurer;

// Records what the field asks of its toolkit; its clipboard can be told to refuse a copy. Shaped rows
// are drawn right to left, every cluster 10 wide, as a shaping engine draws Hebrew; the direction each
// row was asked in is kept.
class FakeHost : public FieldHost {
public:
    int ShapedX(std::u16string_view row, std::size_t offset, TextDirection direction) override {
        shapedIn[std::u16string(row)] = direction;
        return 10 * static_cast<int>(row.size() - offset);
    }
    std::size_t ShapedOffsetAt(std::u16string_view row, int x, TextDirection direction) override {
        shapedIn[std::u16string(row)] = direction;
        return row.size() - std::min(row.size(), static_cast<std::size_t>(std::max(0, x + 5) / 10));
    }
    bool CopyToClipboard(std::u16string_view text, bool sensitive) override {
        copies.push_back({std::u16string(text), sensitive});
        if (refuse)
            return false;
        clipboard = text;
        return true;
    }
    std::optional<std::u16string> ClipboardText() override { return clipboard; }
    bool ClipboardHasText() override { return clipboard.has_value(); }
    void StartTimer(FieldTimer timer, int ms) override { timers[timer] = ms; }
    void StopTimer(FieldTimer timer) override { timers.erase(timer); }
    void Repaint() override { ++repaints; }
    void ScrollBarChanged() override {}
    void TextEdited(const TextChange& change) override { removed.emplace_back(change.removedText); }
    void Changed(const FieldChange& change) override { changes.push_back(change); }
    // The drag loop: what happens while it runs and what its target did.
    DropAction StartDrag(std::u16string_view text, bool sensitive) override {
        drags.push_back({std::u16string(text), sensitive});
        return dragLoop ? dragLoop(text) : DropAction::None;
    }

    struct Copy {
        std::u16string text;
        bool sensitive;
    };
    std::vector<Copy> copies;
    std::optional<std::u16string> clipboard;
    bool refuse = false;
    std::map<FieldTimer, int> timers;
    int repaints = 0;
    std::vector<std::u16string> removed;
    std::vector<FieldChange> changes;
    std::vector<Copy> drags;
    std::function<DropAction(std::u16string_view)> dragLoop;
    std::map<std::u16string, TextDirection> shapedIn;
};

// A view 100 wide and 85 high, margins of 5 at the sides and 1 above, rows 16 high: 9 clusters of 10
// to a row, 5 whole rows and a part of a sixth.
class FieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        field.SetGeometry({.width = 100, .height = 85, .margin = 5, .topMargin = 1, .lineHeight = 16});
        field.FocusIn();
    }

    KeyCommand Key(Key key, Modifiers modifiers = {}) { return CommandForKey(key, modifiers); }
    // A point in the left part of the cluster `column` of the row `row` in view.
    Point At(int column, int row) { return {5 + 10 * column + 2, 1 + 16 * row + 8}; }

    TestMeasurer measurer = FixedMeasurer();
    FakeHost host;
    Field field{measurer, host};
};

TEST_F(FieldTest, ACutTakesTheTextOnlyOnceTheClipboardHoldsItAndAPlainMessageStaysOutOfHistory) {
    field.SetText(u"secret text");
    field.Select(0, 6);
    host.refuse = true;
    field.Perform(Key(Key::X, {.control = true}));
    EXPECT_EQ(field.editor().Text(), u"secret text");
    field.Run(MenuCommand::Cut);
    EXPECT_EQ(field.editor().Text(), u"secret text");

    host.refuse = false;
    field.Perform(Key(Key::Delete, {.shift = true}));
    EXPECT_EQ(field.editor().Text(), u" text");
    EXPECT_EQ(host.clipboard, u"secret");

    field.SetSensitive(true);
    field.Select(1, 5);
    field.Perform(Key(Key::Insert, {.control = true}));
    field.Run(MenuCommand::Copy);
    field.Perform(Key(Key::C, {.control = true}));
    ASSERT_EQ(host.copies.size(), 6u);
    for (std::size_t copy = 0; copy < 3; ++copy)
        EXPECT_FALSE(host.copies[copy].sensitive) << copy;
    for (std::size_t copy = 3; copy < 6; ++copy) {
        EXPECT_TRUE(host.copies[copy].sensitive) << copy;
        EXPECT_EQ(host.copies[copy].text, u"text");
    }

    field.Select(0, 0);
    field.Perform(Key(Key::V, {.control = true}));
    EXPECT_EQ(field.editor().Text(), u"text text");
    host.clipboard.reset();
    EXPECT_FALSE(field.IsEnabled(MenuCommand::Paste));
    field.Perform(Key(Key::V, {.control = true}));
    EXPECT_EQ(field.editor().Text(), u"text text");
}

TEST_F(FieldTest, NothingSelectedIsNeitherCutNorCopiedAndAnEmptyClipboardPastesNothing) {
    field.SetText(u"abc");
    field.Select(1, 1);
    field.Perform(Key(Key::X, {.control = true}));
    field.Perform(Key(Key::C, {.control = true}));
    field.Run(MenuCommand::Cut);
    field.Run(MenuCommand::Copy);
    EXPECT_TRUE(host.copies.empty());
    EXPECT_EQ(field.editor().Text(), u"abc");

    field.Select(0, 2);
    field.Perform(Key(Key::V, {.control = true}));
    field.Perform(Key(Key::Insert, {.shift = true}));
    field.Run(MenuCommand::Paste);
    EXPECT_EQ(field.editor().Text(), u"abc");
    EXPECT_EQ(field.editor().selection(), (Selection{0, 2}));
}

TEST_F(FieldTest, TheHostHearsOfEveryChangeTheProgramsOwnIncludedAndOfWhatAnEditRemoved) {
    field.SetText(u"Enter Message");
    field.Perform(Key(Key::End, {.control = true}));
    host.changes.clear();
    host.removed.clear();

    field.SetText(u"");
    ASSERT_EQ(host.changes.size(), 1u);
    EXPECT_FALSE(host.changes[0].byUser);
    EXPECT_TRUE(host.changes[0].textChanged);
    EXPECT_EQ(host.changes[0].before.caret, 13u);
    EXPECT_EQ(host.removed, (std::vector<std::u16string>{u"Enter Message"}));
    // The input method asks where the caret is now: at the start, not where the prompt was clicked.
    EXPECT_EQ(field.CaretBox(), (Box{5, 1, 1, 16}));

    field.Type(u"ab");
    field.Perform(Key(Key::Left));
    ASSERT_EQ(host.changes.size(), 3u);
    EXPECT_TRUE(host.changes[1].byUser && host.changes[1].textChanged);
    EXPECT_FALSE(host.changes[2].textChanged);
    EXPECT_EQ(host.changes[2].before.caret, 2u);
}

TEST_F(FieldTest, TheCaretShowsWhileFocusedInAnyRowPartlyInViewAndBlinks) {
    field.SetCaretBlink(500);
    field.FocusIn();
    EXPECT_EQ(host.timers[FieldTimer::CaretBlink], 500);
    field.SetText(u"1\n2\n3\n4\n5\n6\n7");
    EXPECT_TRUE(field.CaretShown());
    field.Tick(FieldTimer::CaretBlink);
    EXPECT_FALSE(field.CaretShown());
    // Any move shows it again at once.
    field.Select(10, 10);
    EXPECT_TRUE(field.CaretShown());
    field.ScrollTo(0);
    EXPECT_TRUE(field.CaretShown());
    EXPECT_EQ(field.CaretBox().y, 1 + 5 * 16);  // the sixth row, partly shown
    field.Select(12, 12);
    field.ScrollTo(0);
    EXPECT_FALSE(field.CaretShown());  // the seventh row is below the view
    field.Select(10, 10);
    field.SetGeometry({.width = 100, .height = 81, .margin = 5, .topMargin = 1, .lineHeight = 16});
    field.ScrollTo(0);
    EXPECT_FALSE(field.CaretShown());  // five whole rows and no part of the sixth

    field.FocusOut();
    EXPECT_FALSE(host.timers.contains(FieldTimer::CaretBlink));
    field.Select(0, 0);
    EXPECT_FALSE(field.CaretShown());
}

TEST_F(FieldTest, TheCaretAfterHangingSpacesStaysAtTheEdgeAndBoxesAreWhereClustersAreDrawn) {
    field.SetText(u"abcdefgh            x");
    field.Select(19, 19);
    EXPECT_EQ(field.editor().CaretRow(), 0u);
    EXPECT_EQ(field.CaretBox().x, 99);
    EXPECT_EQ(field.CharacterBox(2), (Box{25, 1, 10, 16}));
    EXPECT_EQ(field.CharacterBox(20), (Box{5, 17, 10, 16}));
    EXPECT_EQ(field.PositionAt(At(3, 0)), 3u);
    EXPECT_EQ(field.PositionAt({5 + 32, 9}), 3u);
    EXPECT_EQ(field.PositionAt({5 + 38, 9}), 4u);
    EXPECT_EQ(field.PositionAt(At(0, 1)), 20u);

    // Shaped rows are placed as the host draws them: here right to left.
    field.SetText(u"\u05D0\u05D1\u05D2");
    EXPECT_EQ(field.CharacterBox(0), (Box{25, 1, 10, 16}));
    EXPECT_EQ(field.PositionAt({5 + 29, 9}), 0u);
    EXPECT_EQ(field.PositionAt({5 + 1, 9}), 3u);
    // So is a row with a character the measurer's font lacks, which the engine draws from another font.
    measurer.lacking = u'\u00E9';
    field.SetText(u"a\u00E9b");
    EXPECT_EQ(field.CharacterBox(0), (Box{25, 1, 10, 16}));
}

// Rows the host draws right to left, where an offset o of a row of n clusters is drawn at 10 (n - o):
// Up and Down keep to the x the caret is drawn at until a click or another caret key sets it anew, and
// a click at the drawn end of a wrapped row leaves the caret at that end, in that row.
TEST_F(FieldTest, InShapedRowsUpAndDownGoByWhereTheHostDrawsTheCaret) {
    const std::u16string eight(8, u'\u05D0');
    field.SetText(eight + u"\n\u05D0\n" + eight);  // rows of 8, 1 and 8 letters from 0, 9 and 11
    std::vector<std::size_t> carets;
    const auto press = [&](const KeyCommand& command) {
        field.Perform(command);
        carets.push_back(field.editor().selection().caret);
    };
    const auto click = [&](int drawnX, int row) {
        field.Press({5 + drawnX, 1 + 16 * row + 8}, 1, {});
        field.Release();
    };
    field.Select(6, 6);  // drawn at 20, past the short row's left edge at 10
    for (const KeyCommand& command : {Key(Key::Down), Key(Key::Down), Key(Key::Up), Key(Key::Up)})
        press(command);
    EXPECT_EQ(carets, (std::vector<std::size_t>{9, 17, 9, 6}));

    click(72, 2);  // at 12, drawn at 70
    carets.clear();
    press(Key(Key::Up));
    press(Key(Key::Up));
    EXPECT_EQ(carets, (std::vector<std::size_t>{9, 1}));

    click(22, 2);  // at 17, drawn at 20; Page Up aims there as Up does
    carets.clear();
    press(Key(Key::PageUp));
    // End puts the caret at the row's drawn left edge, which Down then keeps to.
    press(Key(Key::End));
    press(Key(Key::Down));
    press(Key(Key::Down));
    EXPECT_EQ(carets, (std::vector<std::size_t>{6, 8, 10, 19}));

    // Rows of "4 4 " and "2" letters; the first one's end, after its space, is drawn at its left.
    const std::u16string four(4, u'\u05D0');
    field.SetText(four + u" " + four + u" \u05D0\u05D0");
    ASSERT_EQ(field.editor().rows().RowStart(1), 10u);
    click(0, 0);
    EXPECT_EQ(field.editor().selection().caret, 10u);
    EXPECT_EQ(field.editor().CaretRow(), 0u);
}

// A paragraph has one direction, from its first strong character: every row of a right-to-left one
// goes to the shaping engine in it, its wrapped Latin rows too, and is hit-tested as drawn; a row of a
// left-to-right one that needs shaping goes in left to right, and a plain Latin one stays runs.
TEST_F(FieldTest, EveryRowOfAParagraphIsDrawnInTheDirectionOfItsFirstStrongCharacter) {
    field.SetText(u"(\u05D0 abcdefgh ijklmnop\nabc \u05D1\u05D2\nxyz");
    using D = TextDirection;
    std::vector<std::tuple<std::u16string, bool, D>> drawn;
    for (const RowPaint& row : field.Paint(0, 85))
        drawn.emplace_back(row.text, row.shaped, row.direction);
    EXPECT_EQ(drawn,
              (std::vector<std::tuple<std::u16string, bool, D>>{{u"(\u05D0 ", true, D::RightToLeft},
                                                                {u"abcdefgh ", true, D::RightToLeft},
                                                                {u"ijklmnop", true, D::RightToLeft},
                                                                {u"abc \u05D1\u05D2", true, D::LeftToRight},
                                                                {u"xyz", false, D::LeftToRight}}));
    EXPECT_EQ(field.PositionAt({5 + 1, 1 + 16 + 8}), 12u);  // the drawn left end of "abcdefgh "
    EXPECT_EQ(host.shapedIn.at(u"abcdefgh "), D::RightToLeft);
    field.CharacterBox(27);
    EXPECT_EQ(host.shapedIn.at(u"abc \u05D1\u05D2"), D::LeftToRight);
}

// Left and Right as the platform's fields take them, QPlainTextEdit's moves written out: in Windows'
// EDIT always back and on through the text; in Qt's the other way through a right-to-left paragraph
// (the caret's), Ctrl with them too, and a selection collapses to the end they point at.
TEST_F(FieldTest, LeftAndRightGoTheOtherWayThroughARightToLeftParagraphWhereThePlatformsFieldsDo) {
    field.SetText(u"\u05E9\u05DC\u05D5\u05DD abc\nabc \u05E9\u05DC\u05D5\u05DD");
    const auto from = [&](std::size_t anchor, std::size_t caret, textedit::Key key,
                          Modifiers modifiers = {}) {
        field.Select(anchor, caret);
        field.Perform(Key(key, modifiers));
        return std::pair{field.editor().selection().anchor, field.editor().selection().caret};
    };
    using P = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(from(2, 2, Key::Left), (P{1, 1}));
    EXPECT_EQ(from(2, 2, Key::Right), (P{3, 3}));
    field.SetArrowsFollowDirection(true);
    EXPECT_EQ(from(2, 2, Key::Left), (P{3, 3}));
    EXPECT_EQ(from(2, 2, Key::Right), (P{1, 1}));
    EXPECT_EQ(from(7, 7, Key::Left), (P{8, 8}));  // in the paragraph's Latin
    EXPECT_EQ(from(2, 2, Key::Left, {.shift = true}), (P{2, 3}));
    EXPECT_EQ(from(2, 4, Key::Left), (P{4, 4}));
    EXPECT_EQ(from(2, 4, Key::Right), (P{2, 2}));
    EXPECT_EQ(from(0, 0, Key::Left, {.control = true}), (P{5, 5}));
    EXPECT_EQ(from(8, 8, Key::Right, {.control = true}), (P{5, 5}));
    EXPECT_EQ(from(15, 15, Key::Left), (P{14, 14}));  // in the Hebrew of a left-to-right paragraph
}

TEST_F(FieldTest, ANewWidthLaysTheRowsOutAgainKeepingTheSelectionAndEditsBringTheCaretIntoView) {
    field.SetText(u"aaaa bbbb cccc dddd");
    field.Select(12, 14);
    ASSERT_EQ(field.editor().rows().RowCount(), 2u);
    field.SetGeometry({.width = 60, .height = 85, .margin = 5, .topMargin = 1, .lineHeight = 16});
    EXPECT_EQ(field.editor().rows().RowCount(), 4u);  // five clusters a row
    EXPECT_EQ(field.editor().selection(), (Selection{12, 14}));
    EXPECT_EQ(field.editor().CaretRow(), 2u);

    // Twenty rows: five whole ones in view and a part of a sixth, up to the last row.
    std::u16string text;
    for (int row = 0; row < 19; ++row)
        text += u"x\n";
    field.SetText(text + u"x");
    using Rows = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(field.VisibleRows(), (Rows{0, 6}));
    field.ScrollTo(99);
    EXPECT_EQ(field.VisibleRows(), (Rows{15, 20}));

    field.Select(39, 39);
    field.ScrollTo(0);
    field.Type(u"y");
    EXPECT_EQ(field.viewport().TopRow(), 15u);
}

TEST_F(FieldTest, AWheelTurnScrollsInProportionAndLeavingTheFieldForgetsWhatIsLeft) {
    std::u16string text;
    for (int row = 0; row < 40; ++row)
        text += u"x\n";
    field.SetText(text);
    field.Wheel(-40, 3);
    field.Wheel(-40, 3);
    EXPECT_EQ(field.viewport().TopRow(), 2u);
    field.Wheel(-20, 3);
    field.FocusOut();
    field.FocusIn();
    field.Wheel(-20, 3);
    EXPECT_EQ(field.viewport().TopRow(), 2u);
    field.WheelPixels(-40);
    EXPECT_EQ(field.viewport().TopRow(), 4u);
}

TEST_F(FieldTest, ScreenReadersReadCharactersWordsWithTheirSpacesRowsSentencesAndParagraphs) {
    field.SetText(u"Hi there. It's 3.5 m!\r\nNext \u00E9\u0301 line");
    using U = TextUnit;
    EXPECT_EQ(field.UnitAt(29, U::Character), (std::pair<std::size_t, std::size_t>{28, 30}));
    EXPECT_EQ(field.UnitAt(0, U::Word), (std::pair<std::size_t, std::size_t>{0, 3}));
    EXPECT_EQ(field.UnitAt(4, U::Word), (std::pair<std::size_t, std::size_t>{3, 8}));
    EXPECT_EQ(field.UnitAt(8, U::Word), (std::pair<std::size_t, std::size_t>{8, 10}));
    EXPECT_EQ(field.UnitAt(0, U::Sentence), (std::pair<std::size_t, std::size_t>{0, 10}));
    EXPECT_EQ(field.UnitAt(10, U::Sentence), (std::pair<std::size_t, std::size_t>{10, 23}));
    EXPECT_EQ(field.UnitAt(17, U::Sentence), (std::pair<std::size_t, std::size_t>{10, 23}));
    EXPECT_EQ(field.UnitAt(25, U::Sentence), (std::pair<std::size_t, std::size_t>{23, 35}));
    EXPECT_EQ(field.UnitAt(3, U::Paragraph), (std::pair<std::size_t, std::size_t>{0, 23}));
    EXPECT_EQ(field.UnitAt(30, U::Paragraph), (std::pair<std::size_t, std::size_t>{23, 35}));
    // Rows of 9 clusters: "Hi there. " and "It's 3.5 " break after their spaces.
    EXPECT_EQ(field.UnitAt(1, U::Line), (std::pair<std::size_t, std::size_t>{0, 10}));
    EXPECT_EQ(field.UnitAt(12, U::Line), (std::pair<std::size_t, std::size_t>{10, 19}));
    // A row holds its line break; the text's end is in the last row.
    EXPECT_EQ(field.UnitAt(21, U::Line), (std::pair<std::size_t, std::size_t>{19, 23}));
    EXPECT_EQ(field.UnitAt(35, U::Line), (std::pair<std::size_t, std::size_t>{31, 35}));

    // A surrogate pair and CR LF are one character each, from either of their units.
    field.SetText(u"a\U0001F600\r\nb");
    EXPECT_EQ(field.UnitAt(2, U::Character), (std::pair<std::size_t, std::size_t>{1, 3}));
    EXPECT_EQ(field.UnitAt(4, U::Character), (std::pair<std::size_t, std::size_t>{3, 5}));
    EXPECT_EQ(field.UnitAt(6, U::Character), (std::pair<std::size_t, std::size_t>{6, 6}));
    // A word keeps all the spaces after it, from anywhere in it; a line break is a word.
    field.SetText(u"one two  three\r\nfour");
    EXPECT_EQ(field.UnitAt(6, U::Word), (std::pair<std::size_t, std::size_t>{4, 9}));
    EXPECT_EQ(field.UnitAt(9, U::Word), (std::pair<std::size_t, std::size_t>{9, 14}));
    EXPECT_EQ(field.UnitAt(15, U::Word), (std::pair<std::size_t, std::size_t>{14, 16}));
    EXPECT_EQ(field.UnitAt(16, U::Word), (std::pair<std::size_t, std::size_t>{16, 20}));
    // A lone CR and a lone LF end a paragraph as CR LF does.
    field.SetText(u"p1\rp2\np3\r\n");
    EXPECT_EQ(field.UnitAt(1, U::Paragraph), (std::pair<std::size_t, std::size_t>{0, 3}));
    EXPECT_EQ(field.UnitAt(3, U::Paragraph), (std::pair<std::size_t, std::size_t>{3, 6}));
    EXPECT_EQ(field.UnitAt(7, U::Paragraph), (std::pair<std::size_t, std::size_t>{6, 10}));
}

TEST_F(FieldTest, RowsArePaintedInRunsBetweenTabsAndTheSelectionsEndsUpToTheRightEdge) {
    field.SetText(u"ab\tcd");
    field.Select(1, 4);
    std::vector<RowPaint> rows = field.Paint(0, 85);
    ASSERT_EQ(rows.size(), 1u);
    const RowPaint& row = rows[0];
    EXPECT_FALSE(row.shaped);
    EXPECT_EQ(row.y, 1);
    using Run = RowPaint::Run;
    const auto runs = [](const RowPaint& painted) {
        std::vector<std::tuple<std::size_t, std::size_t, long long, bool>> out;
        for (const Run& run : painted.runs)
            out.emplace_back(run.begin, run.end, run.x, run.selected);
        return out;
    };
    using T = std::tuple<std::size_t, std::size_t, long long, bool>;
    EXPECT_EQ(runs(row),
              (std::vector<T>{{0, 1, 0, false}, {1, 2, 10, true}, {3, 4, 30, true}, {4, 5, 40, false}}));
    EXPECT_EQ(row.selectionLeft, 10);
    EXPECT_EQ(row.selectionRight, 40);

    // Unfocused, the selection is drawn or not as the platform's fields do.
    field.FocusOut();
    EXPECT_TRUE(field.Paint(0, 85)[0].runs.size() == 2u);
    field.SetSelectionShownUnfocused(true);
    EXPECT_EQ(field.Paint(0, 85)[0].selectionEnd, 4u);

    // A row of spaces that hang past the edge is drawn up to the first cluster past it.
    field.SetText(u"a" + std::u16string(500, u' '));
    EXPECT_EQ(field.Paint(0, 85)[0].advances.size(), 10u);
    EXPECT_EQ(field.Paint(17, 40).size(), 0u);  // the text is one row
}

TEST_F(FieldTest, ACompositionIsDrawnAtTheCaretWithTheCaretInsideItAndTypedAsOneStep) {
    field.SetText(u"abcdef");
    field.Select(2, 2);
    field.Compose(u"xyz", 1, {{0, 3, Preedit::Style::Underline}});
    const std::vector<RowPaint> rows = field.Paint(0, 85);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].composing);
    EXPECT_EQ(rows[0].Drawn(), u"abxyzcdef");
    ASSERT_EQ(rows[0].preedit.size(), 1u);
    EXPECT_EQ(rows[0].preedit[0].begin, 2u);
    EXPECT_EQ(field.CaretBox().x, 5 + 30);
    EXPECT_EQ(field.editor().Text(), u"abcdef");

    field.Commit(u"XYZ");
    EXPECT_FALSE(field.preedit().Active());
    EXPECT_EQ(field.editor().Text(), u"abXYZcdef");
    field.Perform(Key(Key::Z, {.control = true}));
    EXPECT_EQ(field.editor().Text(), u"abcdef");

    // A cursor past the composition's end stands at its end.
    field.Compose(u"hao", 99, {});
    EXPECT_EQ(field.preedit().Cursor(), 3u);
    EXPECT_EQ(field.CaretBox().x, 5 + 50);

    field.Compose(u"q", 1, {});
    EXPECT_EQ(field.TakeComposition(), u"q");
    EXPECT_FALSE(field.preedit().Active());
}

TEST_F(FieldTest, ADragSelectsAndPastTheViewsEdgeGoesOnScrollingUntilReleased) {
    std::u16string text;
    for (int row = 0; row < 20; ++row)
        text += u"abcdefgh\n";
    field.SetText(text);
    field.Press(At(2, 0), 1, {});
    field.Drag(At(5, 1));
    EXPECT_EQ(field.editor().selection(), (Selection{2, 14}));
    EXPECT_FALSE(host.timers.contains(FieldTimer::AutoScroll));

    field.Drag({50, 86});  // just below the view
    EXPECT_EQ(host.timers[FieldTimer::AutoScroll], 50);
    const std::size_t top = field.viewport().TopRow();
    field.Tick(FieldTimer::AutoScroll);
    field.Tick(FieldTimer::AutoScroll);
    EXPECT_EQ(field.viewport().TopRow(), top + 2);
    EXPECT_EQ(field.editor().selection().anchor, 2u);
    field.Release();
    EXPECT_FALSE(host.timers.contains(FieldTimer::AutoScroll));
    field.Drag(At(0, 0));
    EXPECT_EQ(field.viewport().TopRow(), top + 2);

    field.Press(At(1, 0), 2, {});
    EXPECT_EQ(field.editor().SelectedText(), u"abcdefgh");
    field.DropAt(At(0, 0), u"12");
    EXPECT_EQ(field.editor().Text().substr(9 * (top + 2), 4), u"12ab");
}

// Qt's fields: a press in the selection waits for a move past the drag distance, and the drag's end
// decides what becomes of the text.
TEST_F(FieldTest, ADraggedSelectionMovesOutOrWithinTheFieldAsOneStep) {
    field.SetSensitive(true);
    field.SetDragDistance({4, 0, true});
    field.SetText(u"ab cd ef");
    const auto pressInSelection = [&] {
        field.Select(3, 5);
        field.Press(At(3, 0), 1, {});
    };
    // Released without a drag: the caret goes where the button came up.
    pressInSelection();
    EXPECT_EQ(field.editor().selection(), (Selection{3, 5}));
    field.Drag({At(3, 0).x + 2, At(3, 0).y + 2});
    field.Release();
    EXPECT_TRUE(host.drags.empty());
    EXPECT_EQ(field.editor().selection(), (Selection{3, 3}));

    // Dropped into another program: copied leaves the text, moved takes it, in one undo step.
    host.dragLoop = [](std::u16string_view) { return DropAction::Copy; };
    pressInSelection();
    field.Drag({At(3, 0).x + 3, At(3, 0).y + 2});
    EXPECT_EQ(field.editor().Text(), u"ab cd ef");
    host.dragLoop = [](std::u16string_view) { return DropAction::Move; };
    pressInSelection();
    field.Drag(At(3, 1));
    field.Release();
    EXPECT_EQ(field.editor().Text(), u"ab  ef");
    ASSERT_EQ(host.drags.size(), 2u);
    EXPECT_EQ(host.drags[1].text, u"cd");
    EXPECT_TRUE(host.drags[1].sensitive);
    field.Run(MenuCommand::Undo);
    EXPECT_EQ(field.editor().Text(), u"ab cd ef");

    // Dropped back into the field: moved there with a drop caret on the way, or, inside the selection
    // itself, nothing.
    std::optional<std::size_t> dropCaret;
    DropAction answered = DropAction::None;
    const auto dropAt = [&](Point at) {
        host.dragLoop = [&, at](std::u16string_view text) {
            field.DragOver(at);
            dropCaret = field.DropCaret();
            answered = field.Drop(at, text, DropAction::Move);
            return answered;
        };
    };
    dropAt(At(4, 0));
    pressInSelection();
    field.Drag(At(4, 1));
    EXPECT_EQ(answered, DropAction::None);
    EXPECT_EQ(field.editor().Text(), u"ab cd ef");
    dropAt(At(8, 0));
    pressInSelection();
    field.Drag(At(4, 1));
    EXPECT_EQ(dropCaret, 8u);
    EXPECT_FALSE(field.DropCaret());
    EXPECT_EQ(answered, DropAction::Move);
    EXPECT_EQ(field.editor().Text(), u"ab  efcd");
    EXPECT_EQ(field.editor().selection(), (Selection{8, 8}));
    field.Run(MenuCommand::Undo);
    EXPECT_EQ(field.editor().Text(), u"ab cd ef");
    field.SetText(u"aaaa");  // where the moved text stands as it stood
    field.Select(0, 2);
    field.Press(At(1, 0), 1, {});
    field.Drag(At(1, 1));
    EXPECT_EQ(field.editor().Text(), u"aaaa");

    // Text from elsewhere goes in as a paste; the drop caret stands where it would go until it leaves.
    field.DragOver(At(2, 0));
    EXPECT_EQ(field.DropCaretBox(), (Box{5 + 20, 1, 1, 16}));
    field.DragLeave();
    EXPECT_FALSE(field.DropCaret());
    EXPECT_EQ(field.Drop(At(0, 0), u"xy", DropAction::Copy), DropAction::Copy);
    EXPECT_EQ(field.editor().Text(), u"xyaaaa");
}

// Qt's fields select the paragraph with its line break on a triple-click and go on by paragraphs, and
// after a double-click by words, the caret at the nearer end of the word under the pointer.
TEST_F(FieldTest, ATripleClickSelectsAParagraphAndDragsGoOnByTheUnitTheClicksChose) {
    field.SetTripleClick(TextUnit::Paragraph, 400, {4, 0, true});
    field.SetText(u"ab cd\r\nef gh\nij");
    const auto click = [&](Point at, int clicks, long long ms) {
        field.Press(at, clicks, {}, ms);
        field.Release();
    };
    click(At(1, 0), 1, 1000);
    click(At(1, 0), 2, 1100);
    field.Press(At(1, 0), 1, {}, 1450);
    EXPECT_EQ(field.editor().selection(), (Selection{0, 7}));
    field.Drag(At(1, 1));
    EXPECT_EQ(field.editor().selection(), (Selection{0, 13}));
    field.Drag(At(0, 0));
    EXPECT_EQ(field.editor().selection(), (Selection{0, 7}));
    field.Release();
    // Too late, or too far from the double-click, the third press is a click.
    click(At(1, 0), 2, 2000);
    click(At(1, 0), 1, 2400);
    EXPECT_EQ(field.editor().selection(), (Selection{1, 1}));
    click(At(1, 0), 2, 3000);
    click(At(2, 0), 1, 3100);
    EXPECT_EQ(field.editor().selection(), (Selection{2, 2}));

    field.Press(At(0, 1), 2, {}, 5000);  // "ef"
    EXPECT_EQ(field.editor().selection(), (Selection{7, 9}));
    field.Drag(At(4, 1));  // in "gh", nearer its end
    EXPECT_EQ(field.editor().selection(), (Selection{7, 12}));
    field.Drag(At(3, 1));  // nearer its start
    EXPECT_EQ(field.editor().selection(), (Selection{7, 10}));
    field.Drag(At(1, 0));  // before the word: from its end back to the nearer end of "ab"
    EXPECT_EQ(field.editor().selection(), (Selection{9, 2}));
    field.Release();
    field.Press(At(1, 2), 1, {.shift = true}, 6000);
    EXPECT_EQ(field.editor().selection(), (Selection{7, 15}));
    field.Release();

    // Where a triple-click selects a row.
    field.SetTripleClick(TextUnit::Line, 400, {4, 4});
    field.SetText(u"aaaa bbbb cccc");
    click(At(1, 1), 2, 8000);
    click(At(1, 1), 1, 8100);
    EXPECT_EQ(field.editor().selection(), (Selection{10, 14}));
}

// Qt's fields wrap the pre-edit with the text of its row, and the input method's cursor rectangle
// follows the composition's cursor onto the row it is drawn in, as does where each unit of it stands;
// a press drops what the input method left of a composition once it was told to complete it.
TEST_F(FieldTest, ALongCompositionWrapsWithItsRowAndAPressEndsIt) {
    field.SetText(u"ab\ncd");
    field.Select(2, 2);
    const std::u16string ten = u"\u4E00\u4E01\u4E02\u4E03\u4E04\u4E05\u4E06\u4E07\u4E08\u4E09";
    field.Compose(ten, 10, {{0, 10, Preedit::Style::Underline}});
    const std::vector<RowPaint> rows = field.Paint(0, 85);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Drawn(), u"ab" + ten.substr(0, 7));
    EXPECT_EQ(rows[1].Drawn(), ten.substr(7));
    EXPECT_EQ(rows[1].y, 17);
    ASSERT_EQ(rows[1].preedit.size(), 1u);
    EXPECT_EQ(rows[1].preedit[0], (Preedit::Span{0, 3, Preedit::Style::Underline}));
    EXPECT_EQ(rows[2].Drawn(), u"cd");
    EXPECT_EQ(rows[2].y, 33);
    EXPECT_EQ(field.CaretBox(), (Box{5 + 30, 17, 1, 16}));
    // Where each unit of it stands, for an input method that asks (Windows' IMR_QUERYCHARPOSITION).
    EXPECT_EQ(field.PreeditBox(0), (Box{5 + 20, 1, 1, 16}));
    EXPECT_EQ(field.PreeditBox(7), (Box{5, 17, 1, 16}));
    EXPECT_EQ(field.PreeditBox(8), (Box{5 + 10, 17, 1, 16}));

    // An input method's result replaces the range it names around the caret, as one step.
    field.Commit(u"Z", -1, 1);
    EXPECT_EQ(field.editor().Text(), u"aZ\ncd");
    field.Run(MenuCommand::Undo);
    EXPECT_EQ(field.editor().Text(), u"ab\ncd");

    field.Compose(u"xy", 2, {});
    field.Press(At(1, 1), 1, {});
    EXPECT_FALSE(field.preedit().Active());
    EXPECT_EQ(field.editor().Text(), u"ab\ncd");
    EXPECT_EQ(field.editor().selection(), (Selection{4, 4}));
}

}  // namespace
}  // namespace quorvel::forms::textedit
