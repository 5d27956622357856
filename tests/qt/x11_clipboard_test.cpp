// Against a real X server and its clipboard: what other programs get when they paste.
#include "decrypt_window.h"
#include "driver.h"
#include "encrypt_window.h"
#include "passes.h"
#include "qt_widgets.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTest>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace quorvel::windows {
namespace {

// Runs xclip while this program's event loop keeps answering the X server's selection requests.
QByteArray Xclip(const QStringList& arguments) {
    QProcess xclip;
    xclip.start("xclip", QStringList{"-o", "-selection", "clipboard"} + arguments);
    EXPECT_TRUE(QTest::qWaitFor([&xclip] { return xclip.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(xclip.exitCode(), 0) << xclip.readAllStandardError().toStdString();
    return xclip.readAllStandardOutput();
}

void EncodeOrDecodeAndCopy(MessageWindow& form, const QString& input) {
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(testing::qt::WindowWidget(form)));
    testing::qt::Field(form, "Text1")->setText(input);
    testing::drive::Click(form, "Command1");
    testing::drive::Click(form, "Command2");
}

TEST(X11Clipboard, OtherProgramsPasteTheCodedText) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    const QString message = QStringLiteral("Grüße, 100% at 7:30 \U0001F600");
    frmEncrypt encrypt;
    EncodeOrDecodeAndCopy(encrypt, message);
    EXPECT_EQ(Xclip({}), forms::qt::FromUnits(EncodeMessage(forms::qt::Units(message))).toUtf8());
    EXPECT_FALSE(Xclip({"-t", "TARGETS"}).contains("x-kde-passwordManagerHint"));
}

TEST(X11Clipboard, TheDecodedMessageIsMarkedSensitive) {
    const QString message = QStringLiteral("the plain message");
    frmDecrypt decrypt;
    EncodeOrDecodeAndCopy(decrypt, forms::qt::FromUnits(EncodeMessage(forms::qt::Units(message))));
    EXPECT_EQ(Xclip({}), message.toUtf8());
    const QByteArray targets = Xclip({"-t", "TARGETS"});
    EXPECT_TRUE(targets.contains("x-kde-passwordManagerHint")) << targets.toStdString();
    EXPECT_EQ(Xclip({"-t", "x-kde-passwordManagerHint"}), "secret");
}

// Ctrl+C, Ctrl+Insert and the context menu's Copy in a field that shows the plain message (the Decrypt
// window's output, the Encrypt window's input) mark the copy as the copy button marks the decoded
// message; copies of coded text stay unmarked.
TEST(X11Clipboard, CopiesOfThePlainMessageFromAFieldAreMarkedSensitive) {
    frmEncrypt encrypt;
    frmDecrypt decrypt;
    const std::pair<MessageWindow*, const char*> plain[] = {{&encrypt, "Text1"}, {&decrypt, "Text2"}};
    const std::pair<MessageWindow*, const char*> coded[] = {{&encrypt, "Text2"}, {&decrypt, "Text1"}};
    const std::function<void(forms::qt::TextField*)> copies[] = {
        [](forms::qt::TextField* field) { QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier); },
        [](forms::qt::TextField* field) { QTest::keyClick(field, Qt::Key_Insert, Qt::ControlModifier); },
        [](forms::qt::TextField* field) {
            std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
            menu->findChild<QAction*>("edit-copy")->trigger();
        }};
    const auto copy = [&](MessageWindow* form, const char* name, const auto& how) {
        form->Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(testing::qt::WindowWidget(*form)));
        forms::qt::TextField* field = testing::qt::Field(*form, name);
        field->setText(QString::fromLatin1(name) + " text");
        field->select(0, 10);
        how(field);
        EXPECT_EQ(Xclip({}), QString::fromLatin1(name) + " text") << name;
        return Xclip({"-t", "TARGETS"}).contains("x-kde-passwordManagerHint");
    };
    for (const auto& how : copies) {
        for (const auto& [form, name] : plain)
            EXPECT_TRUE(copy(form, name, how)) << form->layout().name << " " << name;
        for (const auto& [form, name] : coded)
            EXPECT_FALSE(copy(form, name, how)) << form->layout().name << " " << name;
    }
}

// Another program that owns the clipboard and offers `data` as `type`, as long as this test runs.
class OtherOwner {
public:
    OtherOwner(const QByteArray& data, const QString& type) {
        xclip_.start("xclip", {"-i", "-selection", "clipboard", "-t", type, "-quiet"});
        EXPECT_TRUE(xclip_.waitForStarted());
        xclip_.write(data);
        xclip_.closeWriteChannel();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Formats().isEmpty(); }, 10000));
    }
    ~OtherOwner() {
        xclip_.kill();
        xclip_.waitForFinished();
    }
    static QStringList Formats() { return QGuiApplication::clipboard()->mimeData()->formats(); }

private:
    QProcess xclip_;
};

using Route = std::pair<const char*, std::function<void(forms::qt::TextField*)>>;

// Every way a user pastes into a field, or drops onto it, at the field's cursor.
std::vector<Route> PasteRoutes() {
    return {
        {"Ctrl+V",
         [](forms::qt::TextField* field) { QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert",
         [](forms::qt::TextField* field) { QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"Ctrl+Shift+Insert",
         [](forms::qt::TextField* field) {
             QTest::keyClick(field, Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
         }},
        {"middle click",
         [](forms::qt::TextField* field) {
             QTest::mouseClick(field->viewport(), Qt::MiddleButton, {}, field->cursorRect().center());
         }},
        {"context menu",
         [](forms::qt::TextField* field) {
             std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
             QAction* paste = menu->findChild<QAction*>("edit-paste");
             ASSERT_NE(paste, nullptr);
             paste->trigger();
         }},
        {"drop",
         [](forms::qt::TextField* field) {
             const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
             QMimeData dropped;
             for (const QString& format : offered->formats())
                 dropped.setData(format, offered->data(format));
             const QPoint at = field->cursorRect().center();
             QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, {});
             QCoreApplication::sendEvent(field->viewport(), &enter);
             QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, {});
             QCoreApplication::sendEvent(field->viewport(), &drop);
         }},
    };
}

// Pastes by every route into every field of both windows and checks what the field then holds.
void PasteEverywhere(const std::function<void(forms::qt::TextField*, const char*)>& check) {
    frmEncrypt encrypt;
    frmDecrypt decrypt;
    for (MessageWindow* form : std::initializer_list<MessageWindow*>{&encrypt, &decrypt}) {
        form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(testing::qt::WindowWidget(*form)));
        for (forms::qt::TextField* field :
             testing::qt::WindowWidget(*form)->findChildren<forms::qt::TextField*>())
            for (const auto& [route, paste] : PasteRoutes()) {
                field->setText("kept text");
                field->select(4, 4);
                paste(field);
                check(field, route);
            }
    }
}

void ExpectNothingPasted(forms::qt::TextField* field, const char* route) {
    EXPECT_EQ(field->text(), "kept text") << route << " into " << field->objectName().toStdString();
    EXPECT_EQ(field->editor().selection(), (forms::textedit::Selection{4, 4})) << route;
}

TEST(X11Clipboard, PastingFromAnEmptyClipboardOrSelectionInsertsNothing) {
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    QGuiApplication::clipboard()->clear(QClipboard::Selection);
    ASSERT_TRUE(OtherOwner::Formats().isEmpty()) << "the clipboard has an owner";
    ASSERT_TRUE(QGuiApplication::clipboard()->mimeData(QClipboard::Selection)->formats().isEmpty());
    PasteEverywhere(ExpectNothingPasted);
}

TEST(X11Clipboard, PastingAClipboardThatHoldsNoTextInsertsNothing) {
    const OtherOwner picture(QByteArray("\x89PNG\r\n\x1a\n", 8), "image/png");
    PasteEverywhere(ExpectNothingPasted);
}

TEST(X11Clipboard, TextFromAnotherProgramIsPastedExactly) {
    const QString text = QStringLiteral("Grüße\u00a0%K7B \U0001F600\tend");
    const OtherOwner other(text.toUtf8(), "UTF8_STRING");
    QGuiApplication::clipboard()->clear(QClipboard::Selection);
    PasteEverywhere([&text](forms::qt::TextField* field, const char* route) {
        // Both paste the primary selection, which is empty.
        if (std::string_view(route) == "middle click" || std::string_view(route) == "Ctrl+Shift+Insert")
            return ExpectNothingPasted(field, route);
        EXPECT_EQ(field->text(), "kept" + text + " text") << route;
    });
}

TEST(X11Clipboard, SelectingSetsThePrimarySelectionAndAMiddleClickPastesIt) {
    frmEncrypt form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(testing::qt::WindowWidget(form)));
    forms::qt::TextField* input = testing::qt::Field(form, "Text1");
    forms::qt::TextField* output = testing::qt::Field(form, "Text2");
    input->setText("alpha beta");
    QTest::mouseDClick(input->viewport(), Qt::LeftButton, {}, input->characterRect(7).center());
    EXPECT_EQ(QGuiApplication::clipboard()->text(QClipboard::Selection), "beta");
    output->setText("xy");
    QTest::mouseClick(output->viewport(), Qt::MiddleButton, {}, output->characterRect(1).topLeft());
    EXPECT_EQ(output->text(), "xbetay");
}

}  // namespace
}  // namespace quorvel::windows
