// Runs the window tests inside one QApplication, as the program runs its windows.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Headless unless told otherwise, also when the test runner only lists the tests.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
