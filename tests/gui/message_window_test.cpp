#include "decrypt_window.h"
#include "encrypt_window.h"
#include "fakes.h"
#include "passes.h"
#include "text_field.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace quorvel::windows {
namespace {

using forms::Clipboard;
using forms::TextField;
using testing::ClipboardReplaced;
using testing::FailureDialogReplaced;
using testing::FakeClipboard;
using testing::FakeFailureDialog;

struct Mirror {
    const char* name;
    std::function<std::unique_ptr<MessageWindow>()> make;
    MessageWindow::Pass pass;
    QString prompt;
    QString output;
    Clipboard::Content copied;
};

const Mirror kEncrypt{"Encrypt",           [] { return std::make_unique<frmEncrypt>(); },
                      EncodeMessage,       "Enter Message To Encrypt",
                      "Encrypted Message", Clipboard::Content::Ordinary};
const Mirror kDecrypt{"Decrypt",           [] { return std::make_unique<frmDecrypt>(); },
                      DecodeMessage,       "Enter Message To Decrypt",
                      "Decrypted Message", Clipboard::Content::Sensitive};

QString Pass(const Mirror& mirror, const QString& text) {
    return forms::FromUnits(mirror.pass(forms::Units(text)));
}

// Drives one open window through its controls, as a user would.
struct Driver {
    explicit Driver(MessageWindow& form) : form(form) {
        form.Show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.window()));
    }
    template <class T = QWidget> T* control(const char* name) const {
        return form.window()->findChild<T*>(name);
    }
    TextField* input() const { return control<TextField>("Text1"); }
    TextField* output() const { return control<TextField>("Text2"); }
    void click(const char* name) const { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    void clickInto(TextField* field) const {
        QTest::mouseClick(field->viewport(), Qt::LeftButton, {}, {5, 5});
    }
    void paste(TextField* field) const {
        clickInto(field);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }

    MessageWindow& form;
};

void CloseAndDiscard(QWidget* window) {
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class MessageWindows : public ::testing::TestWithParam<const Mirror*> {
protected:
    const Mirror& mirror = *GetParam();
    std::unique_ptr<MessageWindow> form = mirror.make();
    std::shared_ptr<FakeClipboard::Log> clipboard = std::make_shared<FakeClipboard::Log>();
    ClipboardReplaced fakeClipboard{clipboard};
};

TEST_P(MessageWindows, AClickEmptiesTheInputOnlyWhileItHoldsExactlyThePrompt) {
    Driver window(*form);
    TextField* input = window.input();
    for (const QString& almost : {mirror.prompt.toLower(), mirror.prompt + " "}) {
        input->setText(almost);
        window.clickInto(input);
        EXPECT_EQ(input->text(), almost);
    }
    input->setText(mirror.prompt);
    window.clickInto(input);
    EXPECT_EQ(input->text(), "");
    QTest::keyClicks(input, "hello");
    window.clickInto(input);
    EXPECT_EQ(input->text(), "hello");
}

TEST_P(MessageWindows, ReachingTheInputWithTabKeepsThePrompt) {
    Driver window(*form);
    while (QApplication::focusWidget() != window.input())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(window.input()->text(), mirror.prompt);
}

TEST_P(MessageWindows, RunButtonPutsThePassOfTheInputIntoTheOutput) {
    Driver window(*form);
    // A fresh window runs its pass over the prompt itself.
    window.click("Command1");
    EXPECT_EQ(window.output()->text(), Pass(mirror, mirror.prompt));

    const QString message = "Meet at 10:30, 100% sure!\n%%ABC 12";
    window.input()->setText(message);
    window.click("Command1");
    EXPECT_EQ(window.output()->text(), Pass(mirror, message));
    window.click("Command1");
    EXPECT_EQ(window.output()->text(), Pass(mirror, message));
    EXPECT_EQ(window.input()->text(), message);

    window.input()->setText("");
    window.click("Command1");
    EXPECT_EQ(window.output()->text(), "");
}

TEST_P(MessageWindows, CopyClearsTheClipboardThenPutsTheOutputOnIt) {
    Driver window(*form);
    window.click("Command2");
    EXPECT_EQ(clipboard->calls, QStringList({"clear", "put"}));
    EXPECT_EQ(clipboard->text, mirror.output);
    EXPECT_EQ(clipboard->content, mirror.copied);

    window.output()->setText("typed by hand");
    window.click("Command2");
    EXPECT_EQ(clipboard->text, "typed by hand");

    window.input()->setText("");
    window.click("Command1");
    clipboard->calls.clear();
    window.click("Command2");
    EXPECT_EQ(clipboard->calls, QStringList({"clear", "put"}));
    EXPECT_EQ(clipboard->text, "");
}

TEST_P(MessageWindows, ShowingAgainKeepsOneWindowAndItsText) {
    Driver window(*form);
    QWidget* first = form->window();
    window.clickInto(window.input());
    QTest::keyClicks(window.input(), "typed");
    form->Show();
    EXPECT_EQ(form->window(), first);
    EXPECT_EQ(window.input()->text(), "typed");
    int open = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        open += top->objectName() == first->objectName();
    EXPECT_EQ(open, 1);
}

TEST_P(MessageWindows, ClosingDiscardsTheTextAndTheNextShowBringsThePromptsBack) {
    {
        Driver window(*form);
        window.input()->setText("secret");
        window.output()->setText("more");
        CloseAndDiscard(form->window());
        EXPECT_EQ(form->window(), nullptr);
    }
    Driver window(*form);
    EXPECT_EQ(window.input()->text(), mirror.prompt);
    EXPECT_EQ(window.output()->text(), mirror.output);
}

TEST_P(MessageWindows, ACopyTheClipboardRefusesIsReportedAndEndsTheProgram) {
    auto shown = std::make_shared<FakeFailureDialog::Shown>();
    FailureDialogReplaced fakeDialog{shown};
    clipboard->refuse = true;
    Driver window(*form);
    QTimer::singleShot(0, form->window(), [&window] { window.click("Command2"); });
    const int status = QApplication::exec();
    EXPECT_NE(status, 0);
    EXPECT_EQ(shown->count, 1);
    EXPECT_EQ(shown->number, forms::kClipboardFailure);
    EXPECT_EQ(shown->description, "Can't open Clipboard");
    EXPECT_EQ(clipboard->calls, QStringList({"clear", "put"}));
}

INSTANTIATE_TEST_SUITE_P(Mirrors, MessageWindows, ::testing::Values(&kEncrypt, &kDecrypt),
                         [](const auto& info) { return std::string(info.param->name); });

TEST(EncryptWindow, OpensWithTheFocusInTheInput) {
    frmEncrypt form;
    Driver window(form);
    EXPECT_EQ(QApplication::focusWidget(), window.input());
}

TEST(DecryptWindow, OpensWithTheFocusOnTheRunButtonAndSpaceRunsIt) {
    frmDecrypt form;
    Driver window(form);
    EXPECT_EQ(QApplication::focusWidget(), window.control("Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(window.output()->text(), "Enter Message To Decrypt");
}

// The whole road of a message through both windows and the real clipboard: typed with line breaks,
// or pasted with characters the fields could easily change.
TEST(MessageRoad, TypedOrPastedMessagesComeBackExactly) {
    const QString pasted = QStringLiteral("a\u00a0b\u2028c\td \u00e9\u00df \U0001F600 100% %K7B20 ~:\"");
    for (const bool typed : {true, false}) {
        SCOPED_TRACE(typed ? "typed" : "pasted");
        frmEncrypt encryptForm;
        frmDecrypt decryptForm;
        Driver encrypt(encryptForm);
        QString message;
        if (typed) {
            encrypt.clickInto(encrypt.input());
            QTest::keyClicks(encrypt.input(), "Line one, 50% off");
            QTest::keyClick(encrypt.input(), Qt::Key_Return);
            QTest::keyClicks(encrypt.input(), "Line TWO: 42");
            message = "Line one, 50% off\nLine TWO: 42";
        } else {
            QGuiApplication::clipboard()->setText(pasted);
            encrypt.paste(encrypt.input());
            message = pasted;
        }
        ASSERT_EQ(encrypt.input()->text(), message);
        encrypt.click("Command1");
        encrypt.click("Command2");
        EXPECT_EQ(QGuiApplication::clipboard()->text(),
                  forms::FromUnits(EncodeMessage(forms::Units(message))));

        Driver decrypt(decryptForm);
        decrypt.paste(decrypt.input());
        decrypt.click("Command1");
        EXPECT_EQ(decrypt.output()->text(), message);
        decrypt.click("Command2");
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        EXPECT_EQ(copied->text(), message);
        EXPECT_EQ(copied->data("x-kde-passwordManagerHint"), "secret");
    }
}

TEST(TextField, KeepsEveryCodeUnitButLineBreaksThroughAWriteAndARead) {
    QString all;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit)
        if (unit != u'\r' && unit != 0x2029 && unit != 0xFDD0 && unit != 0xFDD1)
            all.append(QChar(static_cast<char16_t>(unit)));
    TextField field;
    field.setText(all);
    EXPECT_TRUE(field.text() == all);
    EXPECT_TRUE(field.holds(all));

    field.setText("a\r\nb\rc\nd\u2029e");
    EXPECT_EQ(field.text(), "a\nb\nc\nd\ne");
}

TEST(ErrorReport, HandlersRunUnderTheBusyCursorAndLeaveItHoweverTheyEnd) {
    std::optional<Qt::CursorShape> during;
    forms::RunHandler([&during] {
        if (const QCursor* cursor = QGuiApplication::overrideCursor())
            during = cursor->shape();
    });
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    auto shown = std::make_shared<FakeFailureDialog::Shown>();
    FailureDialogReplaced fakeDialog{shown};
    forms::RunHandler([] { throw std::bad_alloc(); });
    EXPECT_EQ(shown->count, 1);
    EXPECT_EQ(shown->number, forms::kOutOfMemory);
    EXPECT_FALSE(shown->underBusyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(TextField, DrawsTheFontItIsGivenOrInheritsUnshaped) {
    QWidget window;
    window.setFont(QFont("DejaVu Sans", 20));
    TextField field(&window);
    EXPECT_EQ(field.font().pointSize(), 20);
    EXPECT_TRUE(field.font().styleStrategy() & QFont::PreferNoShaping);
    field.setFont(QFont("DejaVu Serif", 9));
    EXPECT_EQ(field.font().family(), "DejaVu Serif");
    EXPECT_TRUE(field.font().styleStrategy() & QFont::PreferNoShaping);
}

TEST(TextField, TakesOnlyThePlainTextOfAPaste) {
    // Programs often offer markdown or HTML first; the field holds the plain text, as it was.
    auto* offered = new QMimeData;
    offered->setData("text/markdown", "**not bold** _nor_ <i>this</i>");
    offered->setHtml("<b>html</b>");
    offered->setText("**not bold** _nor_ <i>this</i>");
    QGuiApplication::clipboard()->setMimeData(offered);
    TextField field;
    field.paste();
    EXPECT_EQ(field.text(), "**not bold** _nor_ <i>this</i>");
}

}  // namespace
}  // namespace quorvel::windows
