#include "error_report.h"

#include <QApplication>
#include <QMessageBox>

#include <new>

namespace quorvel::forms {
namespace {

class MessageBoxDialog : public FailureDialog {
public:
    void show(int number, const QString& description) override {
        QMessageBox box(
            QMessageBox::Critical, QApplication::applicationDisplayName(),
            QApplication::translate("ErrorReport", "Run-time error '%1':\n\n%2").arg(number).arg(description),
            QMessageBox::Ok);
        box.exec();
    }
};

std::unique_ptr<FailureDialog>& Dialog() {
    static std::unique_ptr<FailureDialog> dialog = std::make_unique<MessageBoxDialog>();
    return dialog;
}

// The busy cursor for as long as it lives; a long pass and its field write take a while.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

void Report(int number, const QString& description) {
    Dialog()->show(number, description);
    QCoreApplication::exit(1);
}

}  // namespace

std::unique_ptr<FailureDialog> SetFailureDialog(std::unique_ptr<FailureDialog> dialog) {
    Dialog().swap(dialog);
    return dialog;
}

void RunHandler(const std::function<void()>& handler) {
    try {
        const BusyCursor busy;
        handler();
    } catch (const Failure& failure) {
        Report(failure.number(), QString::fromUtf8(failure.what()));
    } catch (const std::bad_alloc&) {
        Report(kOutOfMemory, QStringLiteral("Out of memory"));
    } catch (const std::exception& failure) {
        Report(kUnexpectedFailure, QString::fromUtf8(failure.what()));
    }
}

}  // namespace quorvel::forms
