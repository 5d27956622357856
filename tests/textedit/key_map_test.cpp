#include "key_map.h"

#include "editor.h"
#include "measurers.h"
#include "viewport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace quorvel::forms::textedit {
namespace {

using testing::FixedMeasurer;
using testing::TestMeasurer;

constexpr Modifiers kNone{};
constexpr Modifiers kShift{.shift = true};
constexpr Modifiers kControl{.control = true};
constexpr Modifiers kControlShift{.shift = true, .control = true};
constexpr Modifiers kAltGr{.control = true, .alt = true};

KeyCommand Moves(Motion motion, bool extend = false) { return {Command::Move, motion, extend}; }
KeyCommand Does(Command command) { return {command}; }

TEST(KeyMap, KeysAndModifiersGiveTheEditControlsCommands) {
    EXPECT_EQ(CommandForKey(Key::Left, kNone), Moves(Motion::Left));
    EXPECT_EQ(CommandForKey(Key::Left, kControlShift), Moves(Motion::WordLeft, true));
    EXPECT_EQ(CommandForKey(Key::Right, kControl), Moves(Motion::WordRight));
    EXPECT_EQ(CommandForKey(Key::Up, kControlShift), Moves(Motion::Up, true));
    EXPECT_EQ(CommandForKey(Key::Down, kNone), Moves(Motion::Down));
    EXPECT_EQ(CommandForKey(Key::Home, kShift), Moves(Motion::LineStart, true));
    EXPECT_EQ(CommandForKey(Key::Home, kControl), Moves(Motion::DocumentStart));
    EXPECT_EQ(CommandForKey(Key::End, kNone), Moves(Motion::LineEnd));
    EXPECT_EQ(CommandForKey(Key::End, kControlShift), Moves(Motion::DocumentEnd, true));
    EXPECT_EQ(CommandForKey(Key::PageUp, kShift), Moves(Motion::PageUp, true));
    EXPECT_EQ(CommandForKey(Key::PageDown, kNone), Moves(Motion::PageDown));
    // AltGr is no Alt to the caret keys.
    EXPECT_EQ(CommandForKey(Key::Left, kAltGr), Moves(Motion::WordLeft));

    EXPECT_EQ(CommandForKey(Key::Backspace, kShift), Does(Command::Backspace));
    EXPECT_EQ(CommandForKey(Key::Backspace, kControl), Does(Command::DeleteWordBackward));
    EXPECT_EQ(CommandForKey(Key::Delete, kNone), Does(Command::Delete));
    EXPECT_EQ(CommandForKey(Key::Delete, kShift), Does(Command::Cut));
    EXPECT_EQ(CommandForKey(Key::Delete, kControl), Does(Command::DeleteWordForward));
    EXPECT_EQ(CommandForKey(Key::Delete, kControlShift), Does(Command::Delete));
    EXPECT_EQ(CommandForKey(Key::Insert, kControl), Does(Command::Copy));
    EXPECT_EQ(CommandForKey(Key::Insert, kShift), Does(Command::Paste));
    EXPECT_EQ(CommandForKey(Key::Insert, kNone), Does(Command::None));
    EXPECT_EQ(CommandForKey(Key::Insert, kControlShift), Does(Command::None));

    EXPECT_EQ(CommandForKey(Key::A, kControl), Does(Command::SelectAll));
    EXPECT_EQ(CommandForKey(Key::C, kControlShift), Does(Command::Copy));
    EXPECT_EQ(CommandForKey(Key::V, kControl), Does(Command::Paste));
    EXPECT_EQ(CommandForKey(Key::X, kControl), Does(Command::Cut));
    EXPECT_EQ(CommandForKey(Key::Z, kControl), Does(Command::Undo));
    EXPECT_EQ(CommandForKey(Key::Z, kControlShift), Does(Command::Redo));
    EXPECT_EQ(CommandForKey(Key::Y, kControl), Does(Command::Redo));
    // Letters without Ctrl, or with AltGr, are typed, not commands.
    EXPECT_EQ(CommandForKey(Key::Z, kShift), Does(Command::None));
    EXPECT_EQ(CommandForKey(Key::V, kAltGr), Does(Command::None));
}

// Ten rows of one cluster each, "x\r\n" apiece (row r starts at 3r), in a view of 3 whole rows.
class PerformTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::u16string text;
        for (int row = 1; row < 10; ++row)
            text += u"x\r\n";
        editor.SetText(text + u"x");
        view.SetGeometry(49, 1, 16);
    }
    void Press(Key key, Modifiers modifiers = kNone) { Perform(CommandForKey(key, modifiers), editor, view); }

    TestMeasurer measurer = FixedMeasurer();
    Editor editor{measurer};
    Viewport view{editor.rows()};
};

TEST_F(PerformTest, PagesScrollTheViewWithTheCaretAndStopAtTheEnds) {
    Press(Key::PageDown);
    EXPECT_EQ(view.TopRow(), 3u);
    EXPECT_EQ(editor.CaretRow(), 3u);
    Press(Key::PageDown);
    Press(Key::PageDown, kShift);
    EXPECT_EQ(view.TopRow(), 7u);
    EXPECT_EQ(editor.CaretRow(), 9u);
    EXPECT_EQ(editor.selection(), (Selection{18, 27}));
    Press(Key::PageDown);
    EXPECT_EQ(view.TopRow(), 7u);
    EXPECT_EQ(editor.CaretRow(), 9u);

    Press(Key::PageUp);
    EXPECT_EQ(view.TopRow(), 4u);
    EXPECT_EQ(editor.CaretRow(), 6u);
    Press(Key::PageUp);
    Press(Key::PageUp);
    EXPECT_EQ(view.TopRow(), 0u);
    EXPECT_EQ(editor.CaretRow(), 0u);
    Press(Key::PageUp);
    EXPECT_EQ(view.TopRow(), 0u);
    EXPECT_EQ(editor.CaretRow(), 0u);
}

TEST_F(PerformTest, EditingKeysReachTheEditorAndClipboardOnesDoNot) {
    Press(Key::End, kControl);
    Press(Key::Backspace);
    EXPECT_EQ(editor.Text().size(), 27u);
    Press(Key::Left, kShift);
    Press(Key::Delete, kShift);  // Cut: the view's
    Press(Key::X, kControl);
    EXPECT_EQ(editor.Text().size(), 27u);
    Press(Key::Delete);
    EXPECT_EQ(editor.Text().size(), 25u);
    Press(Key::Z, kControl);
    EXPECT_EQ(editor.Text().size(), 27u);
    Press(Key::Y, kControl);
    EXPECT_EQ(editor.Text().size(), 25u);
    Press(Key::A, kControl);
    EXPECT_EQ(editor.selection(), (Selection{0, 25}));
}

TEST(ContextMenu, OffersWhatCanBeDoneNow) {
    TestMeasurer measurer = FixedMeasurer();
    Editor editor{measurer};
    const auto offered = [&](bool clipboardHasText) {
        std::string menu;
        for (const auto& [command, letter] : {std::pair{MenuCommand::Undo, 'U'},
                                              {MenuCommand::Redo, 'R'},
                                              {MenuCommand::Cut, 'T'},
                                              {MenuCommand::Copy, 'C'},
                                              {MenuCommand::Paste, 'P'},
                                              {MenuCommand::Delete, 'D'},
                                              {MenuCommand::SelectAll, 'A'}})
            menu += IsEnabled(command, editor, clipboardHasText) ? letter : '-';
        return menu;
    };
    EXPECT_EQ(offered(false), "-------");
    EXPECT_EQ(offered(true), "----P--");
    editor.ReplaceSelection(u"ab", EditKind::Typing);
    EXPECT_EQ(offered(false), "U-----A");
    editor.Select(0, 1);
    EXPECT_EQ(offered(false), "U-TC-DA");
    editor.SelectAll();
    EXPECT_EQ(offered(true), "U-TCPD-");
    editor.Select(2, 1);
    EXPECT_EQ(offered(false), "U-TC-DA");
    editor.Undo();
    EXPECT_EQ(offered(false), "-R-----");
}

}  // namespace
}  // namespace quorvel::forms::textedit
