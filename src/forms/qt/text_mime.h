#pragma once

#include <QMimeData>

#include <memory>
#include <string_view>

namespace quorvel::forms::qt {

// Plain text as the clipboard and a drag carry it; marked for clipboard history tools to leave out
// when `sensitive`.
std::unique_ptr<QMimeData> TextMimeData(std::u16string_view text, bool sensitive);

}  // namespace quorvel::forms::qt
