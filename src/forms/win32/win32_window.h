#pragma once

#include "builder.h"
#include "window.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvel::forms::win32 {

// A window of the program on Win32: a top-level window with child controls made from the layout,
// its twips scaled by the window's DPI. It deletes itself when destroyed.
class Win32Window final : public Window {
public:
    Win32Window(const WindowLayout& layout, std::function<void()> closed);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    void Raise() override;
    void OnClick(std::string_view control, std::function<void()> handler) override;
    std::u16string_view Text(std::string_view field) const override;
    void SetText(std::string_view field, std::u16string text) override;
    bool Holds(std::string_view field, std::u16string_view text) const override;
    void SetContent(std::string_view field, Clipboard::Content content) override;

    HWND handle() const { return window_; }
    const WindowLayout& layout() const { return layout_; }
    // A control by its layout name, or nullptr.
    HWND Control(std::string_view name) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Receive(UINT message, WPARAM wParam, LPARAM lParam);
    void Place(UINT dpi);
    const BuiltControl* Find(HWND handle) const;
    // Where the named control is in controls_: a name the window does not have, or a control that is
    // not a text field where one is needed, nor a button where a click is, is a fault of the program,
    // which fails at once.
    std::size_t IndexOf(std::string_view name, bool textField) const;

    const WindowLayout& layout_;
    std::function<void()> closed_;
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;  // the DPI the controls were last placed at
    std::vector<BuiltControl> controls_;
    std::vector<HFONT> fonts_;
};

// The program's window behind a top-level window handle, or nullptr for any other window.
Win32Window* ProgramWindow(HWND window);

}  // namespace quorvel::forms::win32
