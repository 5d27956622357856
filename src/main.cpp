#include "decrypt_window.h"
#include "encrypt_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quorvel::windows::frmEncrypt encrypt;
    quorvel::windows::frmDecrypt decrypt;
    encrypt.Show();
    decrypt.Show();
    return app.exec();
}
