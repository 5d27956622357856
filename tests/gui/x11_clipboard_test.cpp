// Against a real X server and its clipboard: what other programs get when they paste.
#include "decrypt_window.h"
#include "encrypt_window.h"
#include "passes.h"
#include "text_field.h"

#include <QProcess>
#include <QPushButton>
#include <QTest>

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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.window()));
    form.window()->findChild<forms::TextField*>("Text1")->setText(input);
    QTest::mouseClick(form.window()->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QTest::mouseClick(form.window()->findChild<QPushButton*>("Command2"), Qt::LeftButton);
}

TEST(X11Clipboard, OtherProgramsPasteTheCodedText) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    const QString message = QStringLiteral("Grüße, 100% at 7:30 \U0001F600");
    frmEncrypt encrypt;
    EncodeOrDecodeAndCopy(encrypt, message);
    EXPECT_EQ(Xclip({}), forms::FromUnits(EncodeMessage(forms::Units(message))).toUtf8());
    EXPECT_FALSE(Xclip({"-t", "TARGETS"}).contains("x-kde-passwordManagerHint"));
}

TEST(X11Clipboard, TheDecodedMessageIsMarkedSensitive) {
    const QString message = QStringLiteral("the plain message");
    frmDecrypt decrypt;
    EncodeOrDecodeAndCopy(decrypt, forms::FromUnits(EncodeMessage(forms::Units(message))));
    EXPECT_EQ(Xclip({}), message.toUtf8());
    const QByteArray targets = Xclip({"-t", "TARGETS"});
    EXPECT_TRUE(targets.contains("x-kde-passwordManagerHint")) << targets.toStdString();
    EXPECT_EQ(Xclip({"-t", "x-kde-passwordManagerHint"}), "secret");
}

}  // namespace
}  // namespace quorvel::windows
