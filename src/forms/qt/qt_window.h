#pragma once

#include "window.h"

#include <QWidget>

#include <functional>

namespace quorvel::forms::qt {

// A window of the program on Qt: a top-level widget that deletes itself when closed.
class QtWindow final : public QWidget, public Window {
    Q_OBJECT
public:
    QtWindow(const WindowLayout& layout, std::function<void()> closed);

    void Raise() override;
    void OnClick(std::string_view control, std::function<void()> handler) override;
    std::u16string_view Text(std::string_view field) const override;
    void SetText(std::string_view field, std::u16string text) override;
    bool Holds(std::string_view field, std::u16string_view text) const override;
    void SetContent(std::string_view field, Clipboard::Content content) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <class Control> Control& Find(std::string_view name) const;

    std::function<void()> closed_;
};

}  // namespace quorvel::forms::qt
