#pragma once

#include "field.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::forms {

// The part of a text field's host that every platform lends the same way: the clipboard, through the
// seam the windows and their tests share, a copy marked by what the field shows.
class FieldClipboard : public textedit::FieldHost {
protected:
    bool CopyToClipboard(std::u16string_view text, bool sensitive) override;
    std::optional<std::u16string> ClipboardText() override;
    bool ClipboardHasText() override;
};

}  // namespace quorvel::forms
