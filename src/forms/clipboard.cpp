#include "clipboard.h"

#include "error_report.h"
#include "platform.h"

namespace quorvel::forms {
namespace {

std::unique_ptr<Clipboard>& Current() {
    static std::unique_ptr<Clipboard> clipboard = platform::SystemClipboard();
    return clipboard;
}

}  // namespace

void Clipboard::putText(std::u16string_view text, Content content) {
    if (!tryPutText(text, content))
        throw ClipboardRefused();
}

bool Clipboard::tryPutText(std::u16string_view text, Content content) {
    place(text, content);
    return holdsPlaced();
}

Clipboard& TheClipboard() { return *Current(); }

std::unique_ptr<Clipboard> SetClipboard(std::unique_ptr<Clipboard> clipboard) {
    Current().swap(clipboard);
    return clipboard;
}

}  // namespace quorvel::forms
