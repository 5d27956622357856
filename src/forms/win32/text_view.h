#pragma once

#include "field_clipboard.h"
#include "glyph_measurer.h"
#include "ole_drag_drop.h"
#include "row_painter.h"
#include "themed_border.h"
#include "uia_provider.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <imm.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace quorvel::forms::win32 {

// The program's multi-line text field, a window class of its own. It answers the messages of a
// multi-line edit control that programs and tests use (WM_SETTEXT, WM_GETTEXT, EM_GETSEL, EM_SETSEL,
// EM_REPLACESEL, EM_UNDO, WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, WM_SETFONT, EM_LINEINDEX, ...) and tells
// its parent of edits with EN_CHANGE. What the field does is the editing core's textedit::Field; this
// window turns its messages into the field's calls, and draws, scrolls and places the system caret as
// the field answers. Rows wrap at the window's width; the vertical scroll bar is always shown, and there
// is no horizontal one.
class TextView final : public AccessibleField, private FieldClipboard, private DropReceiver {
public:
    static constexpr wchar_t ClassName[] = L"QuorvelTextField";

    // Registers the window class, once.
    static void Register();
    // The field behind a window of this class, or nullptr for any other window.
    static TextView* Of(HWND window);

    // The text, every code unit of it: NUL included, which WM_SETTEXT and WM_GETTEXT cannot carry.
    const std::u16string& Text() const { return field_.editor().Text(); }
    // Sets the text as WM_SETTEXT does: the caret at the start, the view at the top, no undo, no EN_CHANGE.
    void SetText(std::u16string text);
    // What UI Automation calls the field and finds it by.
    void SetNames(std::u16string accessibleName, std::u16string automationId);
    // Whether every copy from the field is kept out of clipboard history.
    void SetSensitive(bool sensitive) { field_.SetSensitive(sensitive); }
    // The first row in view, and how many whole rows the field shows.
    std::size_t TopRow() const { return field_.viewport().TopRow(); }
    std::size_t PageRows() const { return field_.viewport().PageRows(); }
    // What an input method is composing, drawn at the caret; it is not in the text.
    const textedit::Preedit& Composing() const { return field_.preedit(); }

    HWND handle() const override { return handle_; }
    const textedit::Editor& editor() const override { return field_.editor(); }
    std::u16string AccessibleName() const override { return accessibleName_; }
    std::u16string AutomationId() const override { return automationId_; }
    void SetValue(std::u16string_view text) override;
    void Select(std::size_t anchor, std::size_t caret) override { field_.Select(anchor, caret); }
    Rows VisibleRows() const override;
    RECT RowRectangle(std::size_t row, std::size_t begin, std::size_t end) override;
    std::size_t PositionAt(POINT screen) override;
    void ScrollIntoView(std::size_t position, bool alignToTop) override;
    std::pair<std::size_t, std::size_t> UnitAt(std::size_t position, textedit::TextUnit unit) const override {
        return field_.UnitAt(position, unit);
    }

private:
    explicit TextView(HWND handle);

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Text, selection and line messages of an edit control; false when `message` is none of them.
    bool HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void SetSelection(WPARAM start, LPARAM end);
    LRESULT PositionFromCharacter(WPARAM position) const;
    // EM_GETLINE: copies row `line` into the buffer at `buffer`; how many characters it copied.
    std::size_t CopyLine(WPARAM line, LPARAM buffer) const;
    // Sends the parent an edit control's notification (EN_CHANGE, EN_SETFOCUS, ...).
    void Notify(WORD code);

    // Input: text_view_input.cpp.
    void KeyDown(UINT key);
    void Character(char16_t unit);
    void ButtonDown(POINT at, bool extend, int clicks = 1);
    void FocusIn();
    void FocusOut();
    void ShowContextMenu(POINT screen);
    // Takes what a WM_IME_COMPOSITION names from the input method's context: the composition as it now
    // stands is shown at the caret, and the result is typed.
    void Composition(LPARAM changed);
    // Types what the input method is composing where it is shown, and ends the composition: when the
    // focus leaves the field or a click moves the caret.
    void CommitComposition();
    // A click during a composition: the input method completes it as it chose and sends the result.
    void CompleteComposition();
    void PlaceComposition();

    // Draws the rows in `area` of the client area into `dc`.
    void Paint(HDC dc, const RECT& area);
    // A resize is applied when the rows are next needed: a DPI change brings a new size and then a new
    // font, and the text is laid out once for both.
    static bool NeedsRows(UINT message);
    void ApplyGeometry(bool relayout);
    void SetFont(HFONT font);
    void ScrollBar(WORD request);
    void MakeCaret();
    void PlaceCaret();
    int Margin() const;
    // Where the rows are drawn in the client area (EM_GETRECT).
    RECT TextRectangle() const;

    // The border, themed as the system's edit controls' are (themed_border.cpp).
    ThemedBorder::State BorderState() const;
    void RedrawBorder();
    // The pointer came into the client area, or left it: the border shows it under visual styles.
    void Hover(bool inside = true);

    // Typing hides the pointer over the field while the user has "Hide pointer while typing" on, until
    // the mouse moves; whether it is still hidden when the window is asked for its pointer.
    void HidePointerWhileTyping();
    bool PointerStaysHidden();

    // WM_IME_REQUEST: ime_request.cpp.
    LRESULT ImeRequest(WPARAM request, LPARAM data);
    // The box of the composition's unit at `offset` as drawn (without one, of the character `offset`
    // units after the caret).
    textedit::Box CompositionBox(std::size_t offset) const;
    bool CharacterPosition(IMECHARPOSITION& position) const;
    // The selection or the caret's paragraph as a RECONVERTSTRING (around the composition for a
    // document feed); its size, or 0 when `out` is too small. Null `out` asks for the size only.
    std::size_t Reconversion(RECONVERTSTRING* out, bool feed);
    bool ConfirmReconversion(const RECONVERTSTRING& confirmed);

    // textedit::FieldHost
    int ShapedX(std::u16string_view row, std::size_t offset, textedit::TextDirection direction) override {
        return painter_.ShapedX(row, offset, direction);
    }
    std::size_t ShapedOffsetAt(std::u16string_view row, int x, textedit::TextDirection direction) override {
        return painter_.ShapedOffsetAt(row, x, direction);
    }
    void StartTimer(textedit::FieldTimer timer, int ms) override;
    void StopTimer(textedit::FieldTimer timer) override;
    void Repaint() override;
    void ScrollBarChanged() override;
    void TextEdited(const textedit::TextChange&) override {}
    textedit::DropAction StartDrag(std::u16string_view text, bool sensitive) override {
        return DragText(text, sensitive);
    }

    // DropReceiver: OLE drops of text.
    void DragOverAt(POINT screen) override;
    void DragLeft() override { field_.DragLeave(); }
    textedit::DropAction DroppedAt(POINT screen, std::u16string_view text,
                                   textedit::DropAction proposed) override;
    POINT ClientPoint(POINT screen) const;
    void Changed(const textedit::FieldChange& change) override;

    HWND handle_;
    GlyphMeasurer measurer_;
    RowPainter painter_{measurer_};
    textedit::Field field_{measurer_, *this};
    FieldAutomation automation_{*this};
    ThemedBorder border_;
    bool hot_ = false;
    bool pointerHidden_ = false;
    POINT pointerHiddenAt_{};
    // The scroll bar's range, page and position as last set, none at first.
    struct Bar {
        int max = -1;
        UINT page = 0;
        int position = -1;
        bool operator==(const Bar&) const = default;
    } bar_;
    // The text last given to reconvert: where it starts and how long it is.
    struct Reconverted {
        std::size_t begin = 0, length = 0;
    } reconversion_;
    bool composing_ = false;
    bool geometryPending_ = false;
    std::u16string accessibleName_;
    std::u16string automationId_;
};

}  // namespace quorvel::forms::win32
