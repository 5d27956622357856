#include "field_clipboard.h"

#include "clipboard.h"

namespace quorvel::forms {

bool FieldClipboard::CopyToClipboard(std::u16string_view text, bool sensitive) {
    return TheClipboard().tryPutText(text, sensitive ? Clipboard::Content::Sensitive
                                                     : Clipboard::Content::Ordinary);
}

std::optional<std::u16string> FieldClipboard::ClipboardText() { return TheClipboard().text(); }

bool FieldClipboard::ClipboardHasText() { return TheClipboard().hasText(); }

}  // namespace quorvel::forms
