#pragma once

#include "clipboard.h"
#include "driver.h"
#include "error_report.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::testing {

// Records what the windows do to the clipboard; can be told to refuse what is put on it.
class FakeClipboard : public forms::Clipboard {
public:
    struct Log {
        std::vector<std::string> calls;  // "clear", or "put" for a text
        std::u16string text;
        std::optional<Content> content;
        bool refuse = false;
    };

    explicit FakeClipboard(std::shared_ptr<Log> log) : log_(std::move(log)) {}

    void clear() override {
        log_->calls.push_back("clear");
        log_->text.clear();
        log_->content.reset();
    }

    std::optional<std::u16string> text() const override {
        if (!log_->content)
            return std::nullopt;
        return log_->text;
    }
    bool hasText() const override { return log_->content.has_value(); }

protected:
    void place(std::u16string_view text, Content content) override {
        log_->calls.push_back("put");
        if (log_->refuse)
            return;
        log_->text = text;
        log_->content = content;
    }
    bool holdsPlaced() const override { return !log_->refuse; }

private:
    std::shared_ptr<Log> log_;
};

// Records the failures the error report shows instead of opening a message box.
class FakeFailureDialog : public forms::FailureDialog {
public:
    struct Shown {
        int number = 0;
        std::string description;
        int count = 0;
        bool underBusyCursor = false;
    };

    explicit FakeFailureDialog(std::shared_ptr<Shown> shown) : shown_(std::move(shown)) {}

    void show(int number, std::string_view description) override {
        shown_->number = number;
        shown_->description = description;
        ++shown_->count;
        shown_->underBusyCursor = drive::Busy();
    }

private:
    std::shared_ptr<Shown> shown_;
};

// Puts a fake in place for the life of a test and the real one back afterwards.
template <class Seam, class Fake, auto Set> class Replaced {
public:
    template <class... Args>
    explicit Replaced(Args&&... args) : previous_(Set(std::make_unique<Fake>(std::forward<Args>(args)...))) {}
    ~Replaced() { Set(std::move(previous_)); }
    Replaced(const Replaced&) = delete;
    Replaced& operator=(const Replaced&) = delete;

private:
    std::unique_ptr<Seam> previous_;
};

using ClipboardReplaced = Replaced<forms::Clipboard, FakeClipboard, &forms::SetClipboard>;
using FailureDialogReplaced = Replaced<forms::FailureDialog, FakeFailureDialog, &forms::SetFailureDialog>;

}  // namespace quorvel::testing
