// The windows' behaviour, driven through their real controls on the backend the tests are built for.
#include "decrypt_window.h"
#include "driver.h"
#include "encrypt_window.h"
#include "fakes.h"
#include "main_window.h"
#include "passes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::windows {
namespace {

using forms::Clipboard;
using testing::ClipboardReplaced;
using testing::FailureDialogReplaced;
using testing::FakeClipboard;
using testing::FakeFailureDialog;
namespace drive = testing::drive;
using Calls = std::vector<std::string>;

struct Mirror {
    const char* name;
    std::function<std::unique_ptr<MessageWindow>()> make;
    MessageWindow::Pass pass;
    std::u16string prompt;
    std::u16string output;
    Clipboard::Content copied;
    const char* firstFocused;
};

const Mirror kEncrypt{"Encrypt",
                      [] { return std::make_unique<frmEncrypt>(); },
                      EncodeMessage,
                      u"Enter Message To Encrypt",
                      u"Encrypted Message",
                      Clipboard::Content::Ordinary,
                      "Text1"};
const Mirror kDecrypt{"Decrypt",
                      [] { return std::make_unique<frmDecrypt>(); },
                      DecodeMessage,
                      u"Enter Message To Decrypt",
                      u"Decrypted Message",
                      Clipboard::Content::Sensitive,
                      "Command1"};

class MessageWindows : public ::testing::TestWithParam<const Mirror*> {
protected:
    void SetUp() override {
        form->Show();
        drive::Opened(*form);
    }
    std::u16string Text(std::string_view field) const { return std::u16string(form->window()->Text(field)); }
    void SetText(std::string_view field, std::u16string_view text) const {
        form->window()->SetText(field, std::u16string(text));
    }

    const Mirror& mirror = *GetParam();
    std::unique_ptr<MessageWindow> form = mirror.make();
    std::shared_ptr<FakeClipboard::Log> clipboard = std::make_shared<FakeClipboard::Log>();
    ClipboardReplaced fakeClipboard{clipboard};
};

TEST_P(MessageWindows, OpenWithTheFocusOnTheFirstControlInTabOrder) {
    EXPECT_EQ(drive::Focused(*form), mirror.firstFocused);
}

TEST_P(MessageWindows, AClickEmptiesTheInputOnlyWhileItHoldsExactlyThePrompt) {
    std::u16string lower = mirror.prompt;
    for (char16_t& unit : lower)
        unit = unit >= u'A' && unit <= u'Z' ? char16_t(unit + 32) : unit;
    for (const std::u16string& almost : {lower, mirror.prompt + u" ", mirror.prompt + u"\n"}) {
        SetText("Text1", almost);
        drive::Click(*form, "Text1");
        EXPECT_EQ(Text("Text1"), almost);
    }
    SetText("Text1", mirror.prompt);
    drive::Click(*form, "Text1");
    EXPECT_EQ(Text("Text1"), u"");
    drive::Type(*form, "hello");
    drive::Click(*form, "Text1");
    EXPECT_EQ(Text("Text1"), u"hello");
}

TEST_P(MessageWindows, ReachingTheInputWithTabKeepsThePrompt) {
    for (int step = 0; step < 4 && drive::Focused(*form) != "Text1"; ++step)
        drive::Press(*form, drive::Key::Tab);
    EXPECT_EQ(drive::Focused(*form), "Text1");
    EXPECT_EQ(Text("Text1"), mirror.prompt);
}

TEST_P(MessageWindows, ShiftTabGoesBackThroughTheTabOrder) {
    std::vector<std::string> forward{drive::Focused(*form)};
    for (int step = 0; step < 4; ++step) {
        drive::Press(*form, drive::Key::Tab);
        forward.push_back(drive::Focused(*form));
    }
    EXPECT_EQ(forward.back(), forward.front());
    std::vector<std::string> backward{drive::Focused(*form)};
    for (int step = 0; step < 4; ++step) {
        drive::Press(*form, drive::Key::ShiftTab);
        backward.push_back(drive::Focused(*form));
    }
    std::ranges::reverse(backward);
    EXPECT_EQ(backward, forward);
}

TEST_P(MessageWindows, RunButtonPutsThePassOfTheInputIntoTheOutput) {
    // A fresh window runs its pass over the prompt itself.
    drive::Click(*form, "Command1");
    EXPECT_EQ(Text("Text2"), mirror.pass(mirror.prompt));

    const std::u16string message = u"Meet at 10:30, 100% sure!\n%%ABC 12 \U0001F600";
    SetText("Text1", message);
    drive::Click(*form, "Command1");
    EXPECT_EQ(Text("Text2"), mirror.pass(message));
    drive::Click(*form, "Command1");
    EXPECT_EQ(Text("Text2"), mirror.pass(message));
    EXPECT_EQ(Text("Text1"), message);

    SetText("Text1", u"");
    drive::Click(*form, "Command1");
    EXPECT_EQ(Text("Text2"), u"");
}

// What another program copied arrives unit for unit on both platforms, so the same paste gives the same
// pass: line ends of every kind, a paragraph separator, noncharacters and lone surrogates included. (The
// system clipboard's plain text ends at NUL on Windows, so the paste holds none.)
TEST_P(MessageWindows, APasteHoldsEveryCodeUnitTheOtherProgramCopied) {
    // Hexadecimal escapes give lone surrogates as code units.
    const std::u16string copied = u"a\rb\r\nc\n\r\u2029\u2028\uFDD0\uFFFF\xD800"
                                  u"d\xDC00\t\xDBFF\xDFFF%\u0085\v";
    drive::Click(*form, "Text1");
    ASSERT_EQ(Text("Text1"), u"");
    drive::Paste(*form, copied);
    EXPECT_EQ(Text("Text1"), copied);
    drive::Paste(*form, copied);
    EXPECT_EQ(Text("Text1"), copied + copied);
    drive::Click(*form, "Command1");
    EXPECT_EQ(Text("Text2"), mirror.pass(copied + copied));
}

TEST_P(MessageWindows, SpaceOnTheRunButtonRunsIt) {
    for (int step = 0; step < 4 && drive::Focused(*form) != "Command1"; ++step)
        drive::Press(*form, drive::Key::Tab);
    drive::Press(*form, drive::Key::Space);
    EXPECT_EQ(Text("Text2"), mirror.pass(mirror.prompt));
}

TEST_P(MessageWindows, CopyClearsTheClipboardThenPutsTheOutputOnIt) {
    drive::Click(*form, "Command2");
    EXPECT_EQ(clipboard->calls, Calls({"clear", "put"}));
    EXPECT_EQ(clipboard->text, mirror.output);
    EXPECT_EQ(clipboard->content, mirror.copied);

    SetText("Text2", u"typed by hand");
    drive::Click(*form, "Command2");
    EXPECT_EQ(clipboard->text, u"typed by hand");

    SetText("Text1", u"");
    drive::Click(*form, "Command1");
    clipboard->calls.clear();
    drive::Click(*form, "Command2");
    EXPECT_EQ(clipboard->calls, Calls({"clear", "put"}));
    EXPECT_EQ(clipboard->text, u"");
}

TEST_P(MessageWindows, ShowingAgainKeepsOneWindowAndItsText) {
    const forms::Window* first = form->window();
    drive::Click(*form, "Text1");
    drive::Type(*form, "typed");
    form->Show();
    EXPECT_EQ(form->window(), first);
    EXPECT_EQ(Text("Text1"), u"typed");
    EXPECT_EQ(drive::OpenWindows(form->layout().name), 1);
}

TEST_P(MessageWindows, ClosingDiscardsTheTextAndTheNextShowBringsThePromptsBack) {
    SetText("Text1", u"secret");
    SetText("Text2", u"more");
    drive::Close(*form);
    EXPECT_EQ(form->window(), nullptr);
    EXPECT_EQ(drive::OpenWindows(form->layout().name), 0);
    form->Show();
    drive::Opened(*form);
    EXPECT_EQ(Text("Text1"), mirror.prompt);
    EXPECT_EQ(Text("Text2"), mirror.output);
}

TEST_P(MessageWindows, ACopyTheClipboardRefusesIsReportedAndEndsTheProgram) {
    auto shown = std::make_shared<FakeFailureDialog::Shown>();
    FailureDialogReplaced fakeDialog{shown};
    clipboard->refuse = true;
    const int status = drive::RunProgram([this] { drive::Click(*form, "Command2"); });
    EXPECT_NE(status, 0);
    EXPECT_EQ(shown->count, 1);
    EXPECT_EQ(shown->number, forms::kClipboardFailure);
    EXPECT_EQ(shown->description, "Can't open Clipboard");
    EXPECT_EQ(clipboard->calls, Calls({"clear", "put"}));
    // The busy cursor is gone before the report is shown.
    EXPECT_FALSE(shown->underBusyCursor);
    EXPECT_FALSE(drive::Busy());
}

// A name that only a test can get wrong, since the windows' own names are checked when they are
// compiled: the backend fails at once instead of passing over it.
TEST_P(MessageWindows, ANameTheWindowDoesNotHaveFailsLoudly) {
    forms::Window& window = *form->window();
    EXPECT_THROW(window.Text("Txet1"), std::logic_error);
    EXPECT_THROW(window.SetText("Command1", u"not a field"), std::logic_error);
    EXPECT_THROW(window.Holds("Text3", u""), std::logic_error);
    EXPECT_THROW(window.OnClick("Comand1", [] {}), std::logic_error);
    EXPECT_EQ(Text("Text1"), mirror.prompt);
}

INSTANTIATE_TEST_SUITE_P(Mirrors, MessageWindows, ::testing::Values(&kEncrypt, &kDecrypt),
                         [](const auto& info) { return std::string(info.param->name); });

// The main window, opened as at start-up, and clicked as a user would.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        main.Show();
        drive::Opened(main);
    }

    frmMain main;
};

TEST_F(MainWindow, StartsWithTheFocusOnEncryptAndSpaceOpensIt) {
    EXPECT_EQ(drive::Focused(main), "Command1");
    drive::Press(main, drive::Key::Space);
    ASSERT_NE(main.encryptSlot(), nullptr);
    EXPECT_NE(main.encryptSlot()->window(), nullptr);
    EXPECT_EQ(drive::OpenWindows("frmEncrypt"), 1);
}

TEST_F(MainWindow, EachButtonShowsOneWindowFromItsSlot) {
    EXPECT_EQ(main.encryptSlot(), nullptr);
    drive::Click(main, "Command1");
    drive::Click(main, "Command2");
    drive::Click(main, "Command3");
    const auto* encrypt = main.encryptSlot();
    const auto* decrypt = main.decryptSlot();
    const auto* about = main.aboutSlot();
    drive::Click(main, "Command1");
    drive::Click(main, "Command2");
    drive::Click(main, "Command3");
    EXPECT_EQ(main.encryptSlot(), encrypt);
    EXPECT_EQ(main.decryptSlot(), decrypt);
    EXPECT_EQ(main.aboutSlot(), about);
    // All four windows are open together, one of each.
    for (const char* name : {"frmMain", "frmEncrypt", "frmDecrypt", "frmAbout"})
        EXPECT_EQ(drive::OpenWindows(name), 1) << name;
}

TEST_F(MainWindow, TypedTextSurvivesAnotherClickAndClosingBringsThePromptsBack) {
    drive::Click(main, "Command1");
    frmEncrypt& encrypt = *main.encryptSlot();
    drive::Opened(encrypt);
    drive::Click(encrypt, "Text1");
    drive::Type(encrypt, "still here");
    drive::Click(main, "Command1");
    EXPECT_EQ(encrypt.window()->Text("Text1"), u"still here");

    drive::Close(encrypt);
    EXPECT_EQ(encrypt.window(), nullptr);
    drive::Click(main, "Command1");
    EXPECT_EQ(main.encryptSlot(), &encrypt);
    EXPECT_EQ(encrypt.window()->Text("Text1"), u"Enter Message To Encrypt");
    EXPECT_EQ(encrypt.window()->Text("Text2"), u"Encrypted Message");
}

TEST_F(MainWindow, WindowsStayOpenAfterTheMainWindowCloses) {
    drive::Click(main, "Command2");
    drive::Close(main);
    ASSERT_NE(main.decryptSlot()->window(), nullptr);
    EXPECT_EQ(drive::OpenWindows("frmDecrypt"), 1);
    EXPECT_EQ(drive::OpenWindows("frmMain"), 0);
}

// A window whose table is not written in tab order: the window opens on the first control in tab
// order that takes the focus, and Tab walks the tab order, equal indexes in the table's order.
TEST(TabOrder, AWindowWhoseTableIsShuffledOpensAndTabsInTabOrder) {
    using forms::ControlKind;
    static constexpr forms::ControlLayout kShuffled[] = {
        {"Command2", ControlKind::PushButton, 1800, 120, 1500, 495, 4, "Last", nullptr},
        {"Label1", ControlKind::Label, 120, 720, 1500, 255, 0, "Not a stop", nullptr},
        {"Command3", ControlKind::PushButton, 1800, 720, 1500, 495, 2, "Second", nullptr},
        {"Text1", ControlKind::TextField, 120, 1320, 3195, 1000, 1, "First", nullptr, "First stop"},
        {"Command1", ControlKind::PushButton, 1800, 2520, 1500, 495, 2, "Third", nullptr},
    };
    static constexpr forms::WindowLayout kShuffledLayout{.name = "frmShuffled",
                                                         .caption = "Tab order",
                                                         .clientWidth = 3435,
                                                         .clientHeight = 3135,
                                                         .frame = forms::Frame::FixedSingle,
                                                         .icon = forms::Icon::ToolkitDefault,
                                                         .placement = forms::Placement::SystemDefault,
                                                         .controls = kShuffled};
    forms::Form form(kShuffledLayout);
    form.Show();
    drive::Opened(form);
    std::vector<std::string> stops{drive::Focused(form)};
    for (int step = 0; step < 4; ++step) {
        drive::Press(form, drive::Key::Tab);
        stops.push_back(drive::Focused(form));
    }
    EXPECT_EQ(stops, (std::vector<std::string>{"Text1", "Command3", "Command1", "Command2", "Text1"}));
    drive::Press(form, drive::Key::ShiftTab);
    EXPECT_EQ(drive::Focused(form), "Command2");
}

// A control of another window's table, though checked against that table, is no control of this one.
TEST(ControlNames, AControlOfAnotherWindowsLayoutFailsLoudly) {
    static constexpr forms::ControlLayout kOther[] = {
        {"Text1", forms::ControlKind::TextField, 0, 0, 100, 100, 0, "", nullptr}};
    struct Probe : frmEncrypt {
        using Form::Text;
    } encrypt;
    encrypt.Show();
    EXPECT_THROW(encrypt.Text(forms::NamedField(kOther, "Text1")), std::logic_error);
}

TEST(ErrorReport, HandlersRunUnderTheBusyCursorAndLeaveItHoweverTheyEnd) {
    std::optional<bool> during;
    forms::RunHandler([&during] { during = drive::Busy(); });
    EXPECT_EQ(during, true);
    EXPECT_FALSE(drive::Busy());

    auto shown = std::make_shared<FakeFailureDialog::Shown>();
    FailureDialogReplaced fakeDialog{shown};
    const int status = drive::RunProgram([] { forms::RunHandler([] { throw std::bad_alloc(); }); });
    EXPECT_NE(status, 0);
    EXPECT_EQ(shown->count, 1);
    EXPECT_EQ(shown->number, forms::kOutOfMemory);
    EXPECT_EQ(shown->description, "Out of memory");
    EXPECT_FALSE(shown->underBusyCursor);
    EXPECT_FALSE(drive::Busy());
}

}  // namespace
}  // namespace quorvel::windows
