#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::forms {

// The system clipboard as the windows use it; tests replace it.
class Clipboard {
public:
    enum class Content {
        Ordinary,
        // Marked so that clipboard history tools leave it out of their history.
        Sensitive
    };

    virtual ~Clipboard() = default;
    // Empties the clipboard of every format.
    virtual void clear() = 0;
    // Puts the text on the clipboard as plain text. A clipboard that does not then hold it is a
    // failure, as the clipboard's failure to open: the user would paste something else elsewhere.
    void putText(std::u16string_view text, Content content);
    // The same for a text field's copy and cut, which report no failure: whether the clipboard holds it.
    bool tryPutText(std::u16string_view text, Content content);
    // The clipboard's plain text, or nothing when it holds none or cannot be read; whether it holds any.
    virtual std::optional<std::u16string> text() const = 0;
    virtual bool hasText() const = 0;

protected:
    virtual void place(std::u16string_view text, Content content) = 0;
    // Whether the clipboard holds what place() put there, as far as the platform can tell.
    virtual bool holdsPlaced() const = 0;
};

Clipboard& TheClipboard();

// Replaces the clipboard the windows use and returns the one they used before.
std::unique_ptr<Clipboard> SetClipboard(std::unique_ptr<Clipboard> clipboard);

}  // namespace quorvel::forms
