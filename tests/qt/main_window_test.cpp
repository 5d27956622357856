#include "driver.h"
#include "main_window.h"
#include "qt_widgets.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace quorvel::windows {
namespace {

// The main window, opened as at start-up, and clicked as a user would.
class MainWidget : public ::testing::Test {
protected:
    void SetUp() override {
        main.Show();
        testing::drive::Opened(main);
    }
    static QWidget* Widget(const forms::Form* form) { return testing::qt::WindowWidget(*form); }
    void click(const char* button) { testing::drive::Click(main, button); }
    static void close(forms::Form* form) { testing::drive::Close(*form); }

    frmMain main;
};

TEST_F(MainWidget, OpensTheOtherWindowsModelessAndWithoutOwner) {
    click("Command1");
    click("Command2");
    click("Command3");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (forms::Form* form :
         std::initializer_list<forms::Form*>{main.encryptSlot(), main.decryptSlot(), main.aboutSlot()})
        EXPECT_EQ(Widget(form)->parentWidget(), nullptr);
}

TEST_F(MainWidget, AboutShowsItsTextsAtItsFixedPlace) {
    click("Command3");
    QWidget* about = Widget(main.aboutSlot());
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
    EXPECT_EQ(Widget(main.aboutSlot())->geometry().topLeft(), QPoint(144, 117));
    EXPECT_EQ(Widget(main.aboutSlot())->findChild<QLabel*>("lblhelp")->text(), help);
}

TEST_F(MainWidget, IsCentredOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((Widget(&main)->geometry().center() - screen.center()).manhattanLength(), 2);
}

}  // namespace
}  // namespace quorvel::windows
