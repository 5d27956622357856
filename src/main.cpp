#include "application.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
    quorvel::forms::Application app(argc, argv);
    quorvel::windows::frmMain mainWindow;
    mainWindow.Show();
    return app.Run();
}
