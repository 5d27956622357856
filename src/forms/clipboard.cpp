#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quorvel::forms {
namespace {

class SystemClipboard : public Clipboard {
public:
    void clear() override { QGuiApplication::clipboard()->clear(); }

    void putText(const QString& text, Content content) override {
        auto data = std::make_unique<QMimeData>();
        data->setText(text);
        if (content == Content::Sensitive) {
            // Honoured by the clipboard managers of Linux desktops.
            data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
#ifdef Q_OS_WIN
            // Honoured by the clipboard history of Windows.
            data->setData(
                QStringLiteral(
                    "application/x-qt-windows-mime;value=\"ExcludeClipboardContentFromMonitorProcessing\""),
                QByteArray(4, '\0'));
#endif
        }
        QGuiApplication::clipboard()->setMimeData(data.release());
    }
};

std::unique_ptr<Clipboard>& Current() {
    static std::unique_ptr<Clipboard> clipboard = std::make_unique<SystemClipboard>();
    return clipboard;
}

}  // namespace

Clipboard& TheClipboard() { return *Current(); }

std::unique_ptr<Clipboard> SetClipboard(std::unique_ptr<Clipboard> clipboard) {
    Current().swap(clipboard);
    return clipboard;
}

}  // namespace quorvel::forms
