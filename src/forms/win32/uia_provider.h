#pragma once

#include "field.h"
#include "uia_library.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace quorvel::forms::win32 {

// What a text field shows to UI Automation: its text, selection and rows come from its editing core, the
// pixels and the edits from the field itself. Positions are code-unit offsets into the text.
class AccessibleField {
public:
    virtual ~AccessibleField() = default;

    virtual HWND handle() const = 0;
    virtual const textedit::Editor& editor() const = 0;
    // What a screen reader calls the field, and the name programs find it by (its layout name).
    virtual std::u16string AccessibleName() const = 0;
    virtual std::u16string AutomationId() const = 0;

    // Replaces the whole text as a user's edit would: the parent hears of the change, and it can be undone.
    virtual void SetValue(std::u16string_view text) = 0;
    // Selects from `anchor` to `caret` and scrolls the caret into view.
    virtual void Select(std::size_t anchor, std::size_t caret) = 0;

    // The rows shown now, from `first` up to before `last`, in the editor's row numbering.
    struct Rows {
        std::size_t first, last;
    };
    virtual Rows VisibleRows() const = 0;
    // In screen pixels, the part of `row` from `begin` to `end` (both within the row; equal for an empty
    // part, which is then a rectangle of no width at that position).
    virtual RECT RowRectangle(std::size_t row, std::size_t begin, std::size_t end) = 0;
    // The text position nearest to a point in screen pixels.
    virtual std::size_t PositionAt(POINT screen) = 0;
    // Scrolls so that `position`'s row shows, at the top of the field or else at its bottom.
    virtual void ScrollIntoView(std::size_t position, bool alignToTop) = 0;
    // The piece of `unit` that holds `position`, as [begin, end), by the field's own rules.
    virtual std::pair<std::size_t, std::size_t> UnitAt(std::size_t position,
                                                       textedit::TextUnit unit) const = 0;
};

class FieldProvider;

// A field's UI Automation: the field owns one, and answers WM_GETOBJECT and tells of its edits through it.
// The provider is made on the first request; when the field goes, its clients find it gone
// (UIA_E_ELEMENTNOTAVAILABLE) instead of reaching a deleted field. UI Automation's functions are loaded from
// uiautomationcore.dll when a client first asks; without them the field answers no request and raises no
// event.
class FieldAutomation {
public:
    explicit FieldAutomation(AccessibleField& field) : field_(field) {}
    // With UI Automation's functions as the caller has them; `library` outlives this object.
    FieldAutomation(AccessibleField& field, const UiaLibrary& library) : field_(field), library_(&library) {}
    FieldAutomation(AccessibleField& field, const UiaLibrary&& library) = delete;
    ~FieldAutomation();
    FieldAutomation(const FieldAutomation&) = delete;
    FieldAutomation& operator=(const FieldAutomation&) = delete;

    // For WM_GETOBJECT: the provider's answer to a UI Automation request, or 0 for any other request (then
    // the field passes the message on to DefWindowProc).
    LRESULT AnswerGetObject(WPARAM wParam, LPARAM lParam);
    // After an edit, and after the selection or caret moved: listening clients hear of it.
    void TextChanged();
    void SelectionChanged();

    // The provider, made if needed, with a reference the caller releases.
    IRawElementProviderSimple* Provider();

private:
    const UiaLibrary& Library();
    void Raise(EVENTID event);

    AccessibleField& field_;
    const UiaLibrary* library_ = nullptr;  // the system's, looked up on first use
    FieldProvider* provider_ = nullptr;
    HWND window_ = nullptr;  // the field's, kept for the destructor, which runs when the field is half gone
};

}  // namespace quorvel::forms::win32
