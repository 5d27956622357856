#include "editor.h"
#include "editor_steps.h"
#include "measurers.h"
#include "units.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quorvel::forms::textedit {
namespace {

using namespace std::string_literals;
using testing::FixedMeasurer;
using testing::TestMeasurer;

class EditorTest : public ::testing::Test {
protected:
    void Type(std::u16string_view text) {
        for (char16_t unit : text)
            editor.ReplaceSelection(std::u16string_view(&unit, 1), EditKind::Typing);
    }
    Selection At(std::size_t anchor, std::size_t caret) { return {anchor, caret}; }

    TestMeasurer measurer = FixedMeasurer();
    Editor editor{measurer};
};

TEST_F(EditorTest, TypingIsOneUndoStepUntilTheCaretMoves) {
    Type(u"abc");
    EXPECT_EQ(editor.Text(), u"abc");
    EXPECT_EQ(editor.selection(), At(3, 3));
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"");
    EXPECT_FALSE(editor.CanUndo());
    ASSERT_TRUE(editor.Redo());
    EXPECT_EQ(editor.Text(), u"abc");
    EXPECT_EQ(editor.selection(), At(3, 3));

    editor.Move(Motion::Left, false);
    Type(u"xy");
    EXPECT_EQ(editor.Text(), u"abxyc");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"abc");
    EXPECT_EQ(editor.selection(), At(2, 2));
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"");
    EXPECT_FALSE(editor.Undo());

    // A caret that moves away and back still ends the step.
    Type(u"ab");
    editor.Move(Motion::Left, false);
    editor.Move(Motion::Right, false);
    Type(u"c");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"ab");
}

TEST_F(EditorTest, SpacesTypedAreInTheTypingsStepAndRedoReplaysTheStepsInOrder) {
    Type(u"one two");
    editor.Move(Motion::Left, false);
    Type(u"X");
    EXPECT_EQ(editor.Text(), u"one twXo");
    ASSERT_TRUE(editor.Undo());
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"");
    ASSERT_TRUE(editor.Redo());
    EXPECT_EQ(editor.Text(), u"one two");
    ASSERT_TRUE(editor.Redo());
    EXPECT_EQ(editor.Text(), u"one twXo");
    EXPECT_FALSE(editor.Redo());
}

TEST_F(EditorTest, PastesAndDeletionsAreStepsOfTheirOwnAndANewEditDropsTheRedo) {
    Type(u"ab");
    editor.ReplaceSelection(u"XY", EditKind::Paste);
    Type(u"c");
    editor.Backspace();
    editor.Backspace();
    EXPECT_EQ(editor.Text(), u"abX");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"abXYc");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"abXY");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"ab");
    EXPECT_TRUE(editor.CanRedo());
    Type(u"z");
    EXPECT_FALSE(editor.CanRedo());
    EXPECT_EQ(editor.Text(), u"abz");

    editor.SetText(u"new");
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(editor.selection(), At(0, 0));
}

// As Qt's documents and Windows' EDIT join them: deletions of single clusters that go on where the
// last one was, by Backspace or by Delete, with or without a caret move between.
TEST_F(EditorTest, ARunOfBackspacesOrDeletesUndoesInOneStep) {
    editor.SetText(u"one two \U0001F600x");
    editor.Select(7, 7);
    editor.Backspace();
    editor.Backspace();
    editor.Move(Motion::Right, false);
    editor.Move(Motion::Left, false);
    editor.Backspace();
    EXPECT_EQ(editor.Text(), u"one  \U0001F600x");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"one two \U0001F600x");
    EXPECT_EQ(editor.selection(), At(7, 7));

    editor.Select(8, 8);
    editor.Delete();
    editor.Delete();
    editor.Backspace();  // joins a Delete run that began where it ends
    EXPECT_EQ(editor.Text(), u"one two");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"one two \U0001F600x");

    // Typing, an undo, a deletion elsewhere or of a selection each start a step of their own.
    editor.Select(3, 3);
    editor.Backspace();
    Type(u"N");
    editor.Backspace();
    editor.Backspace();
    EXPECT_EQ(editor.Text(), u"o two \U0001F600x");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"onN two \U0001F600x");
    editor.Select(0, 2);
    editor.Backspace();
    editor.Delete();
    EXPECT_EQ(editor.Text(), u" two \U0001F600x");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"N two \U0001F600x");
    editor.SetText(u"abcdef");
    editor.Select(5, 5);
    editor.Backspace();
    editor.Select(2, 2);
    editor.Delete();
    ASSERT_TRUE(editor.Undo());
    editor.Select(4, 4);
    editor.Backspace();
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"abcdf");
}

// Relative to the caret, as a QInputMethodEvent's replacement range is: the range counts in the text
// without the selection, which goes too; it never splits a surrogate pair and is kept to the text.
TEST_F(EditorTest, AnInputMethodsResultReplacesARangeAroundTheCaret) {
    struct Case {
        std::u16string text;
        std::size_t anchor, caret;
        long long from;
        std::size_t length;
        std::u16string result;
        std::size_t caretAfter;
    };
    const std::vector<Case> cases{
        {u"abc", 3, 3, -1, 1, u"abZ", 3},
        {u"abc", 3, 3, -2, 2, u"aZ", 2},
        {u"abc", 1, 1, 0, 1, u"aZc", 2},
        {u"abcd", 1, 3, -1, 1, u"Zd", 1},  // "bc" selected: "a" before the caret
        {u"abcd", 1, 3, 0, 1, u"aZ", 2},   // and "d" after it
        {u"abcd", 1, 2, 1, 1, u"acZ", 3},  // the unit after the one after the caret
        {u"abcd", 2, 4, -2, 1, u"Zb", 1},  // what lies between the range and the caret stays
        {u"a\U0001F600", 3, 3, -1, 1, u"aZ", 2},
        {u"ab", 1, 1, -9, 99, u"Z", 1},
        {u"ab", 1, 1, 5, 1, u"abZ", 3},
    };
    for (const Case& test : cases) {
        editor.SetText(test.text);
        editor.Select(test.anchor, test.caret);
        editor.ReplaceNearCaret(test.from, test.length, u"Z");
        EXPECT_EQ(editor.Text(), test.result) << test.from;
        EXPECT_EQ(editor.selection(), At(test.caretAfter, test.caretAfter)) << test.from;
        ASSERT_TRUE(editor.Undo());
        EXPECT_EQ(editor.Text(), test.text);
    }
}

TEST_F(EditorTest, MovedTextIsOneStepAndTheCaretFollowsIt) {
    editor.SetText(u"abcdef");
    editor.Select(1, 3);
    editor.MoveText(1, 3, 5);
    EXPECT_EQ(editor.Text(), u"adebcf");
    EXPECT_EQ(editor.selection(), At(5, 5));
    editor.MoveText(3, 5, 0);
    EXPECT_EQ(editor.Text(), u"bcadef");
    EXPECT_EQ(editor.selection(), At(2, 2));
    editor.MoveText(0, 2, 1);  // into itself: nothing
    EXPECT_EQ(editor.Text(), u"bcadef");
    ASSERT_TRUE(editor.Undo());
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"abcdef");
    EXPECT_EQ(editor.selection(), At(1, 3));
}

TEST_F(EditorTest, TypingOverASelectionUndoesToTheSelection) {
    editor.SetText(u"hello world");
    editor.Select(6, 11);
    EXPECT_EQ(editor.SelectedText(), u"world");
    Type(u"you");
    EXPECT_EQ(editor.Text(), u"hello you");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"hello world");
    EXPECT_EQ(editor.selection(), At(6, 11));
}

TEST_F(EditorTest, BackspaceAndDeleteTakeSurrogatePairsAndCrLfWhole) {
    editor.SetText(u"a\U0001F600\r\ne\u0301");
    editor.Move(Motion::DocumentEnd, false);
    const std::u16string after[] = {u"a\U0001F600\r\ne", u"a\U0001F600\r\n", u"a\U0001F600", u"a", u""};
    for (const std::u16string& expected : after) {
        editor.Backspace();
        EXPECT_EQ(editor.Text(), expected);
    }
    editor.SetText(u"e\u0301\r\n\U0001F600x");
    const std::u16string remaining[] = {u"\r\n\U0001F600x", u"\U0001F600x", u"x", u""};
    for (const std::u16string& expected : remaining) {
        editor.Delete();
        EXPECT_EQ(editor.Text(), expected);
    }
    // Lone surrogates go one at a time.
    editor.SetText(u"\xD800\xD800"s);
    editor.Move(Motion::DocumentEnd, false);
    editor.Backspace();
    EXPECT_EQ(editor.Text(), u"\xD800"s);
}

TEST_F(EditorTest, BackspaceTakesTheSelectionAloneAndNeitherKeyDoesAnythingPastTheTextsEnds) {
    editor.SetText(u"hello");
    editor.Select(1, 3);
    editor.Backspace();
    EXPECT_EQ(editor.Text(), u"hlo");
    EXPECT_EQ(editor.selection(), At(1, 1));
    editor.Move(Motion::DocumentEnd, false);
    editor.Delete();
    editor.Move(Motion::DocumentStart, false);
    editor.Backspace();
    EXPECT_EQ(editor.Text(), u"hlo");
    // Neither left a step to undo: the one undo brings the selection's text back.
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), u"hello");
    EXPECT_FALSE(editor.CanUndo());
}

TEST_F(EditorTest, FlagsAndEmojiSequencesAreOneStepAndOneBackspace) {
    // Two flags side by side (U+1F1E9 U+1F1EA, U+1F1EB U+1F1F7), a family joined by ZWJ, a thumb with a
    // skin tone, a Hangul syllable spelt in conjoining jamo (U+1100 U+1161 U+11A8).
    const std::u16string flags = u"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7";
    const std::u16string family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467";
    const std::u16string thumb = u"\U0001F44D\U0001F3FD";
    editor.SetText(flags + family + thumb + u"\u1100\u1161\u11A8");
    std::vector<std::size_t> stops;
    for (int i = 0; i < 6; ++i) {
        editor.Move(Motion::Right, false);
        stops.push_back(editor.selection().caret);
    }
    EXPECT_EQ(stops, (std::vector<std::size_t>{4, 8, 16, 20, 23, 23}));
    // Backspace takes one jamo off the syllable, as it takes a mark off a letter, but each emoji
    // cluster whole.
    editor.Backspace();
    EXPECT_EQ(editor.Text(), flags + family + thumb + u"\u1100\u1161");
    editor.Move(Motion::Left, false);
    editor.Backspace();
    EXPECT_EQ(editor.Text(), flags + family + u"\u1100\u1161");
    editor.Backspace();
    EXPECT_EQ(editor.Text(), flags + u"\u1100\u1161");
    editor.Backspace();
    EXPECT_EQ(editor.Text(), u"\U0001F1E9\U0001F1EA\u1100\u1161");
}

TEST_F(EditorTest, TheCaretStepsOverClustersAndSelectionsSnapToThem) {
    editor.SetText(u"a\r\n\U0001F600e\u0301");
    std::vector<std::size_t> right, left;
    for (int i = 0; i < 5; ++i) {
        editor.Move(Motion::Right, false);
        right.push_back(editor.selection().caret);
    }
    for (int i = 0; i < 5; ++i) {
        editor.Move(Motion::Left, false);
        left.push_back(editor.selection().caret);
    }
    EXPECT_EQ(right, (std::vector<std::size_t>{1, 3, 5, 7, 7}));
    EXPECT_EQ(left, (std::vector<std::size_t>{5, 3, 1, 0, 0}));

    editor.SetText(u"a\U0001F600\r\nb");
    editor.Select(2, 2);
    EXPECT_EQ(editor.selection(), At(1, 1));
    editor.Select(0, 2);
    EXPECT_EQ(editor.selection(), At(0, 3));
    editor.Select(4, 2);
    EXPECT_EQ(editor.selection(), At(5, 1));
    editor.Select(99, 0);
    EXPECT_EQ(editor.selection(), At(6, 0));
    // Left and Right collapse a selection to its side.
    editor.Select(1, 5);
    editor.Move(Motion::Left, false);
    EXPECT_EQ(editor.selection(), At(1, 1));
    editor.Select(5, 1);
    editor.Move(Motion::Right, false);
    EXPECT_EQ(editor.selection(), At(5, 5));
    editor.Move(Motion::Left, true);
    EXPECT_EQ(editor.selection(), At(5, 3));
}

TEST_F(EditorTest, WordMovesAndDoubleClick) {
    editor.SetText(u"Hello, world");
    std::vector<std::size_t> stops;
    for (int i = 0; i < 4; ++i) {
        editor.Move(Motion::WordRight, false);
        stops.push_back(editor.selection().caret);
    }
    EXPECT_EQ(stops, (std::vector<std::size_t>{5, 7, 12, 12}));
    editor.Move(Motion::WordLeft, true);
    EXPECT_EQ(editor.selection(), At(12, 7));
    editor.SelectWordAt(8);
    EXPECT_EQ(editor.selection(), At(7, 12));
    EXPECT_EQ(editor.SelectedText(), u"world");
    editor.Move(Motion::DocumentEnd, false);
    editor.DeleteWordBackward();
    EXPECT_EQ(editor.Text(), u"Hello, ");
    // Ctrl+Delete takes the word and the spaces after it, and a selection whole.
    editor.SetText(u"one two  three");
    editor.Select(4, 4);
    editor.DeleteWordForward();
    EXPECT_EQ(editor.Text(), u"one three");
    EXPECT_EQ(editor.selection(), At(4, 4));
    editor.Select(1, 5);
    editor.DeleteWordForward();
    EXPECT_EQ(editor.Text(), u"ohree");
    editor.Move(Motion::DocumentEnd, false);
    editor.DeleteWordForward();
    EXPECT_EQ(editor.Text(), u"ohree");
}

TEST_F(EditorTest, UpAndDownKeepTheColumnTheyStartedAt) {
    editor.SetText(u"abcdefghij\r\nab\r\nabcdefghij");
    editor.Select(8, 8);
    std::vector<std::size_t> carets;
    for (Motion motion : {Motion::Down, Motion::Down, Motion::Down, Motion::Up, Motion::Up, Motion::Up}) {
        editor.Move(motion, false);
        carets.push_back(editor.selection().caret);
    }
    EXPECT_EQ(carets, (std::vector<std::size_t>{14, 24, 24, 14, 8, 8}));
    editor.Move(Motion::PageDown, true, 2);
    EXPECT_EQ(editor.selection(), At(8, 24));
    editor.Move(Motion::PageUp, false, 2);
    EXPECT_EQ(editor.selection(), At(8, 8));
    // A horizontal move forgets the column.
    editor.Move(Motion::Down, false);
    editor.Move(Motion::Left, false);
    editor.Move(Motion::Down, false);
    EXPECT_EQ(editor.selection().caret, 17u);
}

// Rows drawn right to left: a caret's drawn x is the row's width less its x in the text's order.
class MirroredRows : public DrawnRows {
public:
    explicit MirroredRows(const Editor& editor) : editor_(editor) {}
    int CaretX(std::size_t row, std::size_t position, bool atEndOfRow) override {
        return Width(row) - editor_.XOf(position, atEndOfRow);
    }
    std::size_t PositionAtX(std::size_t row, int x) override {
        return editor_.PositionAt(row, Width(row) - x);
    }

private:
    int Width(std::size_t row) const { return editor_.XOf(editor_.rows().RowEnd(row), true); }
    const Editor& editor_;
};

TEST_F(EditorTest, UpAndDownKeepTheDrawnXAcrossShortRowsUntilAClickOrAnotherKey) {
    MirroredRows drawn(editor);
    editor.SetDrawnRows(&drawn);
    // Rows of 8, 1 and 8 clusters, 80, 10 and 80 pixels wide.
    editor.SetText(u"abcdefgh\nA\nabcdefgh");
    editor.Select(6, 6);  // drawn at 20
    std::vector<std::size_t> carets;
    const auto move = [&](Motion motion) {
        editor.Move(motion, false, 5);
        carets.push_back(editor.selection().caret);
    };
    move(Motion::Down);  // 20 is past the short row, whose start is drawn at 10
    move(Motion::Down);
    move(Motion::Down);  // the last row: the caret stays
    move(Motion::Up);
    move(Motion::Up);
    EXPECT_EQ(carets, (std::vector<std::size_t>{9, 17, 17, 9, 6}));

    // A click sets another x: at 12, drawn at 70.
    editor.PlaceInRow(2, 12, false);
    carets.clear();
    move(Motion::Up);
    move(Motion::Up);
    EXPECT_EQ(carets, (std::vector<std::size_t>{9, 1}));

    // End puts the caret at the row's drawn left edge, which Down then keeps to.
    editor.Move(Motion::LineEnd, false);
    carets.clear();
    move(Motion::Down);
    move(Motion::Down);
    EXPECT_EQ(carets, (std::vector<std::size_t>{10, 19}));

    // A page past either end goes to the first or last row, at the kept x.
    editor.Select(2, 2);  // drawn at 60
    carets.clear();
    move(Motion::PageDown);
    move(Motion::PageUp);
    EXPECT_EQ(carets, (std::vector<std::size_t>{13, 2}));
    editor.SetDrawnRows(nullptr);
}

TEST_F(EditorTest, HomeAndEndOfWrappedRowsAndClicks) {
    editor.SetText(u"aaaa bbbb");
    editor.SetWidth(50);
    ASSERT_EQ(editor.rows().RowCount(), 2u);
    editor.Select(2, 2);
    editor.Move(Motion::LineEnd, false);
    EXPECT_EQ(editor.selection().caret, 5u);
    EXPECT_TRUE(editor.CaretAtRowEnd());
    EXPECT_EQ(editor.CaretRow(), 0u);
    EXPECT_EQ(editor.XOf(5, true), 50);
    EXPECT_EQ(editor.XOf(5), 0);
    editor.Move(Motion::LineStart, false);
    EXPECT_EQ(editor.selection().caret, 0u);
    editor.Select(7, 7);
    editor.Move(Motion::LineStart, false);
    EXPECT_EQ(editor.selection().caret, 5u);
    EXPECT_EQ(editor.CaretRow(), 1u);
    editor.Move(Motion::LineEnd, false);
    EXPECT_EQ(editor.selection().caret, 9u);
    editor.Move(Motion::Up, false);
    EXPECT_EQ(editor.selection().caret, 4u);

    // A click goes to the nearest cluster boundary; past a wrapped row's end, to its end.
    editor.MoveToPoint(1, 14, false);
    EXPECT_EQ(editor.selection().caret, 6u);
    editor.MoveToPoint(1, 15, false);
    EXPECT_EQ(editor.selection().caret, 7u);
    editor.MoveToPoint(0, 999, true);
    EXPECT_EQ(editor.selection(), At(7, 5));
    EXPECT_TRUE(editor.CaretAtRowEnd());
    EXPECT_EQ(editor.PositionAt(1, -5), 5u);
}

TEST_F(EditorTest, ChangesAreReportedWithTheirRange) {
    std::vector<std::size_t> seen;
    std::vector<std::u16string> removed;
    editor.SetChangeListener([&](const TextChange& change) {
        seen.insert(seen.end(), {change.position, change.removed, change.inserted});
        removed.emplace_back(change.removedText);
    });
    editor.SetText(u"abc");
    editor.Select(1, 2);
    editor.ReplaceSelection(u"XYZ", EditKind::Paste);
    editor.Undo();
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 0, 3, 1, 1, 3, 1, 3, 1}));
    EXPECT_EQ(removed, (std::vector<std::u16string>{u"", u"b", u"XYZ"}));
}

TEST(UndoHistory, KeepsWithinItsBudgetButAlwaysTheNewestStep) {
    // What an edit removed is held; what it inserted stands in the document and costs nothing.
    UndoHistory history(8);
    history.Record(0, u"", 1000, {}, {1000, 1000}, EditKind::Paste);
    history.Record(0, u"abcde", 0, {0, 5}, {0, 0}, EditKind::Delete);
    EXPECT_EQ(history.StepCount(), 2u);
    history.Record(0, u"fghij", 0, {0, 5}, {0, 0}, EditKind::Delete);
    EXPECT_EQ(history.StepCount(), 1u);
    EditStep* step = history.Undo();
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->gone, u"fghij");
    EXPECT_EQ(step->present, 0u);
    EXPECT_EQ(history.Undo(), nullptr);
    history.Record(0, std::u16string(100, u'x'), 0, {}, {}, EditKind::Delete);
    EXPECT_EQ(history.StepCount(), 1u);
    EXPECT_TRUE(history.CanUndo());
}

// Choices from a random engine; inserted text from pieces that matter to clusters, breaks and words.
class RandomSteps : public testing::StepSource {
public:
    explicit RandomSteps(unsigned seed) : random_(seed) {}

    std::size_t Below(std::size_t bound) override {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }
    std::u16string Text(std::size_t size) override {
        static const std::u16string pieces[] = {u"a",          u" ",       u"\r\n",    u"\r",
                                                u"\n",         u"\xD800"s, u"\xDC00"s, u"\u0301",
                                                u"\U0001F600", u"%7%%5%",  u"-",       u"word"};
        std::u16string text;
        while (text.size() < size)
            text += pieces[Below(std::size(pieces))];
        return text;
    }

private:
    std::mt19937 random_;
};

// Random use, with every code unit in the text: the rows always equal a whole layout of the text, the
// selection stands at cluster boundaries, and undoing everything gives the first text back, redoing
// everything the last.
TEST(EditorRandomUse, RowsSelectionAndHistoryStaySound) {
    TestMeasurer measurer([](char32_t c) { return static_cast<int>(c % 13); });
    Editor editor(measurer);
    std::u16string first;
    for (unsigned unit = 0; unit <= 0xFFFF; unit += 7)
        first += static_cast<char16_t>(unit);
    first += u"\r\n\r\r\n\n\xD800\xDC00\xDC00 e\u0301\u200D\U0001F600"s;
    editor.SetText(first);
    editor.SetWidth(61);
    RandomSteps steps(17);
    for (int i = 0; i < 4000; ++i) {
        testing::TakeStep(editor, steps);
        ASSERT_TRUE(testing::SelectionIsSound(editor)) << i;
        if (i % 50 == 0) {
            ASSERT_TRUE(testing::RowsAreAWholeLayout(editor, measurer)) << i;
        }
    }
    while (editor.Redo()) {
    }
    const std::u16string last = editor.Text();
    while (editor.Undo()) {
    }
    EXPECT_EQ(editor.Text(), first);
    while (editor.Redo()) {
    }
    EXPECT_EQ(editor.Text(), last);
}

}  // namespace
}  // namespace quorvel::forms::textedit
