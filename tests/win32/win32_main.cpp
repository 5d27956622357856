// Runs the window tests of the Win32 backend on the program's own application object.
#include "application.h"

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    quorvel::forms::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
