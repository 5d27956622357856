#pragma once

#include "editor.h"
#include "glyph_measurer.h"
#include "key_map.h"
#include "preedit.h"
#include "row_painter.h"
#include "uia_provider.h"
#include "viewport.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel::forms::win32 {

// The program's multi-line text field, a window class of its own. It answers the messages of a
// multi-line edit control that programs and tests use (WM_SETTEXT, WM_GETTEXT, EM_GETSEL, EM_SETSEL,
// EM_REPLACESEL, EM_UNDO, WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, WM_SETFONT, EM_LINEINDEX, ...) and tells
// its parent of edits with EN_CHANGE. The text, its rows, the selection and the undo history are the
// editing core's; the field measures, paints only the rows in view, and turns keys, the mouse, the
// input method and the clipboard into the core's edits; which rows are in view, and what keys and the
// context menu do, are the core's too. Rows wrap at the field's width; the vertical scroll bar is always
// shown, and there is no horizontal one.
class TextView final : public AccessibleField, private textedit::DrawnRows {
public:
    static constexpr wchar_t ClassName[] = L"QuorvelTextField";
    // The timer that scrolls the view while a drag selects past its top or bottom.
    static constexpr UINT_PTR kAutoScrollTimer = 1;

    // Registers the window class, once.
    static void Register();
    // The field behind a window of this class, or nullptr for any other window.
    static TextView* Of(HWND window);

    // The text, every code unit of it: NUL included, which WM_SETTEXT and WM_GETTEXT cannot carry.
    const std::u16string& Text() const { return editor_.Text(); }
    // Sets the text as WM_SETTEXT does: the caret at the start, the view at the top, no undo, no EN_CHANGE.
    void SetText(std::u16string text);
    // What UI Automation calls the field and finds it by.
    void SetNames(std::u16string accessibleName, std::u16string automationId);
    // The first row in view, and how many whole rows the field shows.
    std::size_t TopRow() const { return viewport_.TopRow(); }
    std::size_t PageRows() const { return viewport_.PageRows(); }
    // What an input method is composing, drawn at the caret; it is not in the text.
    const textedit::Preedit& Composing() const { return preedit_; }

    HWND handle() const override { return handle_; }
    const textedit::Editor& editor() const override { return editor_; }
    std::u16string AccessibleName() const override { return accessibleName_; }
    std::u16string AutomationId() const override { return automationId_; }
    void SetValue(std::u16string_view text) override;
    void Select(std::size_t anchor, std::size_t caret) override;
    Rows VisibleRows() const override;
    RECT RowRectangle(std::size_t row, std::size_t begin, std::size_t end) override;
    std::size_t PositionAt(POINT screen) override;
    void ScrollIntoView(std::size_t position, bool alignToTop) override;

private:
    explicit TextView(HWND handle);

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Text, selection and line messages of an edit control; false when `message` is none of them.
    bool HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Input: text_view_input.cpp.
    void KeyDown(UINT key);
    void Character(char16_t unit);
    // Carries out what a key asks: the clipboard's commands here, the others in the core.
    void Run(const textedit::KeyCommand& command);
    void ButtonDown(POINT at, bool extend);
    void DoubleClick(POINT at);
    void Drag(POINT at);
    void AutoScroll();
    void ShowContextMenu(POINT screen);
    // Takes what a WM_IME_COMPOSITION names from the input method's context: the result is typed, and
    // the composition as it now stands is shown at the caret.
    void Composition(LPARAM changed);
    // Types what the input method is composing where it is shown, and ends the composition: when the
    // focus leaves the field or a click moves the caret.
    void CommitComposition();
    void PlaceComposition();
    void Copy();
    void Cut();
    void Paste();
    void Clear();

    // Runs an edit or a caret move of the user's, and brings the view up to date after it: the caret
    // in view, the scroll bar, the paint, EN_CHANGE when the text changed, and UI Automation's events.
    template <typename Change> void UserEdit(Change change);
    void AfterChange(const textedit::Selection& before);
    // Sends the parent an edit control's notification (EN_CHANGE, EN_SETFOCUS, ...).
    void Notify(WORD code);

    // Draws the rows in `area` of the client area into `dc`.
    void Paint(HDC dc, const RECT& area);
    void Resize();
    // Whether handling `message` reads the rows, which a resize leaves to be laid out.
    static bool NeedsRows(UINT message);
    void ApplyWidth();
    // Tells the viewport the client area's height and the font's line height.
    void UpdateViewport();
    void SetFont(HFONT font, bool redraw);
    void ScrollTo(std::size_t top);
    void ScrollBy(long long rows);
    // Brings the scroll bar, the caret and the paint up to date after the view scrolled.
    void Scrolled();
    void ScrollBar(WORD request);
    void UpdateScrollBar();
    void MakeCaret();
    void UpdateCaret();
    void Repaint();

    int Margin() const;
    int TextWidth() const;
    std::u16string_view RowText(std::size_t row) const;
    // The x of `position` in `row`, from the text's left edge, as the row is drawn: shaped rows are
    // drawn in visual order, which the core does not know.
    int CaretX(std::size_t row, std::size_t position, bool atEndOfRow) override;
    // The position in `row` nearest to `x` from the text's left edge, as the row is drawn.
    std::size_t PositionAtX(std::size_t row, int x) override;
    // Places the caret at a point of the client area, selecting from the anchor with `extend`.
    void MoveToPoint(POINT at, bool extend);
    std::size_t PositionAtPoint(POINT at);

    HWND handle_;
    GlyphMeasurer measurer_;
    RowPainter painter_;
    textedit::Editor editor_;
    textedit::Viewport viewport_{editor_.rows()};
    FieldAutomation automation_{*this};
    textedit::Preedit preedit_;
    bool focused_ = false;
    bool selecting_ = false;
    bool composing_ = false;
    bool widthPending_ = false;
    bool changed_ = false;
    std::u16string accessibleName_;
    std::u16string automationId_;
};

template <typename Change> void TextView::UserEdit(Change change) {
    const textedit::Selection before = editor_.selection();
    changed_ = false;
    change();
    AfterChange(before);
}

}  // namespace quorvel::forms::win32
