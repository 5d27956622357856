#include "main_window.h"
#include "text_field.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quorvel::windows {
namespace {

int OpenWindowsNamed(const QString& name) {
    int open = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        open += window->objectName() == name && window->isVisible();
    return open;
}

// The main window, opened as at start-up, and clicked as a user would.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        main.Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.window()));
    }
    void click(const char* button) {
        QTest::mouseClick(main.window()->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    static forms::TextField* field(forms::Form* form, const char* name) {
        return form->window()->findChild<forms::TextField*>(name);
    }
    static void close(forms::Form* form) {
        form->window()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmMain main;
};

TEST_F(MainWindow, StartsWithTheFocusOnEncryptAndSpaceOpensIt) {
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Command1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_NE(main.encryptSlot(), nullptr);
    EXPECT_TRUE(main.encryptSlot()->window()->isVisible());
}

TEST_F(MainWindow, EachButtonShowsOneWindowFromItsSlot) {
    EXPECT_EQ(main.encryptSlot(), nullptr);
    click("Command1");
    click("Command2");
    click("Command3");
    const auto* encrypt = main.encryptSlot();
    const auto* decrypt = main.decryptSlot();
    const auto* about = main.aboutSlot();
    click("Command1");
    click("Command2");
    click("Command3");
    EXPECT_EQ(main.encryptSlot(), encrypt);
    EXPECT_EQ(main.decryptSlot(), decrypt);
    EXPECT_EQ(main.aboutSlot(), about);
    // All four windows are open together, one of each.
    for (const char* name : {"frmMain", "frmEncrypt", "frmDecrypt", "frmAbout"})
        EXPECT_EQ(OpenWindowsNamed(name), 1) << name;
    // None of them blocks the others.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindow, TypedTextSurvivesAnotherClickAndClosingBringsThePromptsBack) {
    click("Command1");
    forms::Form* encrypt = main.encryptSlot();
    QTest::mouseClick(field(encrypt, "Text1")->viewport(), Qt::LeftButton, {}, {5, 5});
    QTest::keyClicks(field(encrypt, "Text1"), "still here");
    click("Command1");
    EXPECT_EQ(field(encrypt, "Text1")->text(), "still here");

    close(encrypt);
    EXPECT_EQ(encrypt->window(), nullptr);
    click("Command1");
    EXPECT_EQ(main.encryptSlot(), encrypt);
    EXPECT_EQ(field(encrypt, "Text1")->text(), "Enter Message To Encrypt");
    EXPECT_EQ(field(encrypt, "Text2")->text(), "Encrypted Message");
}

TEST_F(MainWindow, WindowsStayOpenAfterTheMainWindowCloses) {
    click("Command2");
    close(&main);
    ASSERT_NE(main.decryptSlot()->window(), nullptr);
    EXPECT_TRUE(main.decryptSlot()->window()->isVisible());
}

TEST_F(MainWindow, AboutShowsItsTextsAtItsFixedPlace) {
    click("Command3");
    QWidget* about = main.aboutSlot()->window();
    EXPECT_EQ(about->geometry().topLeft(), QPoint(144, 117));
    const QString help = about->findChild<QLabel*>("lblhelp")->text();
    EXPECT_TRUE(help.startsWith("Need help? Well Thats What This Is For."));
    EXPECT_TRUE(help.endsWith("ready to be sent! Enjoy!"));
    EXPECT_TRUE(help.contains("Click the \"Encrypt\" Button"));
    EXPECT_FALSE(help.contains('\n'));
    EXPECT_EQ(about->findChild<QLabel*>("Label8")->text(), "1.01a");

    // Closed and shown again, it is the same content at the same place.
    close(main.aboutSlot());
    click("Command3");
    EXPECT_EQ(main.aboutSlot()->window()->geometry().topLeft(), QPoint(144, 117));
    EXPECT_EQ(main.aboutSlot()->window()->findChild<QLabel*>("lblhelp")->text(), help);
}

TEST_F(MainWindow, IsCentredOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((main.window()->geometry().center() - screen.center()).manhattanLength(), 2);
}

}  // namespace
}  // namespace quorvel::windows
