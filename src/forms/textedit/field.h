#pragma once

#include "bidi.h"
#include "editor.h"
#include "key_map.h"
#include "paragraph_directions.h"
#include "preedit.h"
#include "viewport.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel::forms::textedit {

// The timers a field asks its host to run; each tick comes back through Field::Tick.
enum class FieldTimer {
    CaretBlink,  // the caret's on and off
    AutoScroll,  // a drag past the view's top or bottom goes on selecting
};

// The text units a screen reader asks for.
enum class TextUnit { Character, Word, Line, Sentence, Paragraph };

// A rectangle in the view's own coordinates (device pixels, from its top-left corner).
struct Box {
    long long x = 0, y = 0;
    int width = 0, height = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

struct Point {
    int x = 0, y = 0;
};

// How far the pointer may go from a point and still be near it: as Qt measures, |dx| + |dy| up to `x`
// (`manhattan`); as Windows measures, |dx| up to `x` and |dy| up to `y`.
struct Distance {
    int x = 0, y = 0;
    bool manhattan = false;
    bool Near(Point from, Point to) const;
};

// What a drop did with the dragged text: nothing, a copy, or a move, after which the text's source
// removes it.
enum class DropAction { None, Copy, Move };

// What a field tells its host after anything changed: the text, the selection or both. `before` is the
// selection as it was; the host tells screen readers, the input method and the window.
struct FieldChange {
    Selection before;
    bool textChanged = false;
    // The user's edit or move, not the program's own SetText.
    bool byUser = true;
};

// What a field asks of the toolkit it is shown in.
class FieldHost {
public:
    virtual ~FieldHost() = default;

    // Rows that need shaping are drawn by the toolkit's shaping engine, in visual order, with their
    // paragraph's base direction: the x of the caret before `offset` in `row` (from the row's left edge,
    // in the measurer's units), and the cluster boundary of `row` nearest to `x`.
    virtual int ShapedX(std::u16string_view row, std::size_t offset, TextDirection direction) = 0;
    virtual std::size_t ShapedOffsetAt(std::u16string_view row, int x, TextDirection direction) = 0;

    // Puts `text` on the system's clipboard, kept out of clipboard history when `sensitive`; whether the
    // clipboard then holds it.
    virtual bool CopyToClipboard(std::u16string_view text, bool sensitive) = 0;
    // The clipboard's plain text, or nothing when it has none or cannot be read.
    virtual std::optional<std::u16string> ClipboardText() = 0;
    // Whether it holds plain text, for the context menu's Paste.
    virtual bool ClipboardHasText() = 0;

    // Drags `text`, the selection, out of the field: runs the platform's drag loop (QDrag::exec,
    // DoDragDrop) with the text as plain text, kept out of clipboard history when `sensitive`, and
    // answers what its target did with it once the user has dropped it or given up. The field's own
    // DragOver, DragLeave and Drop come meanwhile when the text is dragged over this same field: the
    // host passes them on as for any drag. A host with no drag loop drags nothing.
    virtual DropAction StartDrag(std::u16string_view /*text*/, bool /*sensitive*/) {
        return DropAction::None;
    }

    // Timers: a started timer ticks every `ms` until stopped; starting a running one restarts it.
    virtual void StartTimer(FieldTimer timer, int ms) = 0;
    virtual void StopTimer(FieldTimer timer) = 0;

    // The view is to be drawn again, and the scroll bar set from the viewport.
    virtual void Repaint() = 0;
    virtual void ScrollBarChanged() = 0;
    // During an edit, while `change.removedText` is valid: what went and what came, for screen readers.
    virtual void TextEdited(const TextChange& change) = 0;
    // After every change of the text, the selection or the caret, the program's included: last, as the
    // host's window may do anything on hearing of it.
    virtual void Changed(const FieldChange& change) = 0;
};

// One row as the view draws it.
struct RowPaint {
    // A piece drawn in one go at the measured advances: [begin, end) of `text`, its left edge `x` from
    // the text's left edge and its width, in the measurer's units.
    struct Run {
        std::size_t begin = 0, end = 0;
        long long x = 0;
        long long width = 0;
        bool selected = false;
    };

    std::size_t row = 0;
    // The top of the row in the view.
    long long y = 0;
    // What is drawn: the row's text, or while composing the row with the pre-edit at the caret.
    std::u16string_view text;
    // Drawn by the toolkit's shaping engine, in visual order, rather than as runs: every row of a
    // right-to-left paragraph, and rows that need shaping. `direction` is the paragraph's base direction,
    // which the engine lays the row out in.
    bool shaped = false;
    TextDirection direction = TextDirection::LeftToRight;
    // The part of `text` drawn selected; empty when none.
    std::size_t selectionBegin = 0, selectionEnd = 0;
    // Unshaped rows: the runs between tabs and the selection's ends, up to the first cluster past the
    // view's right edge, and the advances of the units they hold.
    std::vector<Run> runs;
    std::vector<int> advances;
    // Where the selection's background goes, from the text's left edge in the measurer's units.
    long long selectionLeft = 0, selectionRight = 0;
    // While composing: the piece of the row with the pre-edit in it that this row of the view shows
    // (a long composition wraps onto rows of its own), which Drawn() then gives, and the pre-edit's
    // pieces in it and how they are drawn, as offsets into it.
    bool composing = false;
    std::u16string composed;
    std::vector<Preedit::Span> preedit;

    std::u16string_view Drawn() const { return composing ? std::u16string_view(composed) : text; }
};

// A multi-line text field with no toolkit: the editing core's editor, the rows in view and an input
// method's pre-edit, and every rule of how keys, clicks, drags, the wheel, the clipboard, the focus and
// input methods change them. A view turns its toolkit's events into these calls and draws what the
// field answers; what only a toolkit can do it is asked for through FieldHost.
class Field : private DrawnRows {
public:
    // Where the view's text stands: the view's size, the gap at its left and right and above its first
    // row, in device pixels; the rows' height; and how many of the measurer's units make a pixel.
    struct Geometry {
        int width = 0, height = 0;
        int margin = 0, topMargin = 0;
        int lineHeight = 1;
        int scale = 1;
    };

    // Both must outlive the field.
    Field(Measurer& measurer, FieldHost& host);
    ~Field();
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    const Editor& editor() const { return editor_; }
    const Viewport& viewport() const { return viewport_; }
    const Preedit& preedit() const { return preedit_; }
    const Geometry& geometry() const { return geometry_; }
    bool Focused() const { return focused_; }

    // A field that shows the plain message keeps every copy out of clipboard history.
    void SetSensitive(bool sensitive) { sensitive_ = sensitive; }
    // Whether the selection shows while the field has no focus (Qt's fields), or not (Windows' EDIT).
    void SetSelectionShownUnfocused(bool shown) { selectionShownUnfocused_ = shown; }
    // How long the caret is on and off; 0 for a caret that does not blink (or that the system blinks).
    void SetCaretBlink(int ms) { blinkMs_ = ms; }
    // A press within `intervalMs` of a double-click and near its point is a triple-click, which selects
    // `unit` (Paragraph as Qt's fields and RichEdit do, with its line break; Line for a row); with an
    // interval of 0 (Windows' EDIT) a triple-click is a click.
    void SetTripleClick(TextUnit unit, int intervalMs, Distance nearby);
    // How far the pointer goes with the button down after a press in the selection before the
    // selection is dragged (QApplication::startDragDistance, SM_CXDRAG and SM_CYDRAG halved).
    void SetDragDistance(Distance distance) { dragDistance_ = distance; }
    // Whether Left and Right (Ctrl with them too) go the other way through the text in a right-to-left
    // paragraph, as in Qt's fields, or always back and on through it, as in Windows' EDIT.
    void SetArrowsFollowDirection(bool follow) { arrowsFollowDirection_ = follow; }

    // The view's geometry; the rows are laid out again at a new width, or after the measurer's font
    // changed with `relayout`.
    void SetGeometry(const Geometry& geometry, bool relayout = false);

    // The program's own changes: the whole text (caret at the start, view at the top, no undo), and
    // the selection or a replacement as the user would make them (screen readers, EM_REPLACESEL).
    void SetText(std::u16string text);
    void Select(std::size_t anchor, std::size_t caret);
    void Replace(std::size_t from, std::size_t to, std::u16string_view text, EditKind kind = EditKind::Other);

    // Keys: a command of the key map, and typed text (a line break as the platform types it).
    void Perform(const KeyCommand& command);
    void Run(MenuCommand command);
    void Type(std::u16string_view text);

    // Input methods: the composition as it now stands (an empty text ends it), and a result typed as one
    // undo step. The result replaces the selection and, where the input method says so, the
    // `replaceLength` units from `replaceFrom` units after the caret (negative: before it), as a
    // QInputMethodEvent's replacement range does; the range is kept to the text and to whole code
    // points. TakeComposition ends the composition and answers its text, for the view to type with
    // Commit once the input method has been told.
    void Compose(std::u16string_view text, std::size_t cursor, std::vector<Preedit::Span> spans);
    void Commit(std::u16string_view text, long long replaceFrom = 0, std::size_t replaceLength = 0);
    std::u16string TakeComposition();

    // The mouse: a press of the main button with the toolkit's click count (2 selects a word) and the
    // time of the event in ms (a press soon after a double-click is a triple-click), a move while it is
    // down, its release; the view captures the pointer meanwhile. A move after a double-click selects
    // whole words, after a triple-click whole paragraphs or rows; so does a Shift+press after them.
    //
    // A press during a composition: the view first has the input method complete it as it chose
    // (Qt: QInputMethod::commit(); Windows: ImmNotifyIME with CPS_COMPLETE), whose result comes as
    // Commit before the press; whatever composition is left then is dropped, as Qt's fields drop it.
    //
    // A press in the selection places no caret: a move past the drag distance drags the selection
    // through FieldHost::StartDrag, and a release without one places the caret where the button came
    // up. When the target moved the text into another program, the selection is removed as one undo
    // step; when it was dropped back into this field, Drop has moved it.
    void Press(Point at, int clicks, Modifiers modifiers, long long timeMs = 0);
    void Drag(Point at);
    void Release();
    bool Selecting() const { return selecting_; }
    // A middle click: `text` pasted at the point.
    void DropAt(Point at, std::u16string_view text);

    // Text dragged over the field, from anywhere, this field included: while it moves over the field a
    // drop caret shows where it would go (DropCaretBox, drawn as the caret is); DragLeave hides it.
    // Drop puts `text` at the point and answers what the view tells the drag's source. A move of this
    // field's own selection (`proposed` Move while StartDrag runs) takes the text from where it was to
    // the point as one undo step, or leaves all as it was when dropped inside the selection itself
    // (answering None); any other drop inserts the text as a paste and answers `proposed`.
    void DragOver(Point at);
    void DragLeave();
    DropAction Drop(Point at, std::u16string_view text, DropAction proposed);
    // Where a drop would go while something is dragged over the field.
    std::optional<std::size_t> DropCaret() const { return dropCaret_; }
    Box DropCaretBox() const;
    // A wheel turn: `delta` in eighths of a degree (a notch is Viewport::kWheelNotch), `rowsPerNotch` rows
    // a notch; or, where the system tells pixels, `pixels` (positive away from the user).
    void Wheel(int delta, std::size_t rowsPerNotch);
    void WheelPixels(int pixels);
    void Tick(FieldTimer timer);
    void FocusIn();
    void FocusOut();

    // The scroll bar and screen readers scroll.
    void ScrollTo(std::size_t top);
    void ScrollBy(long long rows);
    void ScrollIntoView(std::size_t position, bool alignToTop);

    // Answers, in the view's pixels. The caret as drawn (the input method's inside a composition), and
    // whether it shows now: focused, in view, and in the on phase of its blink.
    Box CaretBox() const;
    // Where the caret before the pre-edit's unit at `offset` stands, as drawn: on the row of the view
    // that shows it (the caret's box without a pre-edit).
    Box PreeditBox(std::size_t offset) const;
    bool CaretShown() const;
    // The box of the cluster at `position`, and of [begin, end) of `row` (both in the row).
    Box CharacterBox(std::size_t position) const;
    Box RangeBox(std::size_t row, std::size_t begin, std::size_t end) const;
    // The position nearest to a point.
    std::size_t PositionAt(Point at) const;
    // The base direction of the paragraph that holds `position`.
    TextDirection DirectionAt(std::size_t position) const;
    // Whether a row of a paragraph of `direction` is drawn by the shaping engine.
    bool Shaped(std::u16string_view row, TextDirection direction) const;
    // The x of `offset` in `text` (a row as drawn, the pre-edit's included, of a paragraph of
    // `direction`), shaped or at the measured advances, from the text's left edge in the measurer's units.
    long long X(std::u16string_view text, std::size_t offset, TextDirection direction) const;
    // The rows between `top` and `bottom` of the view, as they are drawn.
    std::vector<RowPaint> Paint(long long top, long long bottom) const;
    // The piece of `unit` that holds `position`, as [begin, end).
    std::pair<std::size_t, std::size_t> UnitAt(std::size_t position, TextUnit unit) const;
    // The first and one past the last row the view shows a part of.
    std::pair<std::size_t, std::size_t> VisibleRows() const;
    // Whether the context menu offers `command` now.
    bool IsEnabled(MenuCommand command) const;

private:
    // The x of `position` in `row` as drawn, from the text's left edge in the measurer's units.
    int XInRow(std::size_t row, std::size_t position, bool atEndOfRow) const;
    int CaretX(std::size_t row, std::size_t position, bool atEndOfRow) override;
    std::size_t PositionAtX(std::size_t row, int x) override;
    template <typename Change> void UserChange(Change change);
    void AfterChange(const Selection& before, bool byUser);
    void Copy();
    void Cut();
    void Paste();
    void PlaceAt(Point at, bool extend);
    // Extends the selection to the point by the unit the press chose.
    void ExtendTo(Point at);
    void SelectUnitAt(Point at, TextUnit unit);
    void DragSelection();
    void DropComposition();
    // The row of the caret with the pre-edit in it, as the rows of the view that show it.
    struct ComposedRows {
        Preedit::ShownRow shown;
        // Where each row of the view starts in `shown.text`, and one past the last.
        std::vector<std::size_t> starts;
    };
    ComposedRows Composed() const;
    // The caret's box at `at` in the composed row, and a caret's box kept to the view's width.
    Box ComposedBox(const ComposedRows& composed, std::size_t at) const;
    Box CaretAt(Box box) const;
    void PaintComposed(const ComposedRows& composed, std::size_t piece, std::size_t row, long long y,
                       long long top, long long bottom, std::vector<RowPaint>& painted) const;
    // The runs of a row to paint, or that it is shaped.
    void LayRuns(RowPaint& paint) const;
    void RestartCaret();
    void Scrolled();
    std::u16string_view RowText(std::size_t row) const;
    TextDirection RowDirection(std::size_t row) const;
    KeyCommand Directed(KeyCommand command) const;
    std::size_t OffsetAtX(std::size_t row, int x) const;
    int TextWidth() const;
    Box RowBox(std::size_t row, long long left, long long right) const;

    Measurer& measurer_;
    FieldHost& host_;
    Editor editor_;
    Viewport viewport_{editor_.rows()};
    Preedit preedit_;
    mutable ParagraphDirections directions_;
    Geometry geometry_;
    bool sensitive_ = false;
    bool selectionShownUnfocused_ = false;
    bool arrowsFollowDirection_ = false;
    bool focused_ = false;
    bool selecting_ = false;
    bool changed_ = false;
    bool caretOn_ = false;
    bool blinking_ = false;
    int blinkMs_ = 0;
    bool autoScrolling_ = false;
    Point dragPoint_;

    // The unit a press selects by, and what it first selected: a drag extends from there.
    TextUnit pressUnit_ = TextUnit::Character;
    std::pair<std::size_t, std::size_t> pressRange_;
    TextUnit tripleUnit_ = TextUnit::Paragraph;
    int tripleMs_ = 0;
    Distance tripleNearby_;
    bool afterDouble_ = false;
    long long doubleAt_ = 0;
    Point doublePoint_;

    Distance dragDistance_{4, 4};
    // A press in the selection that may yet drag it, and where it was.
    bool mayDrag_ = false;
    Point pressPoint_;
    // The selection being dragged out, while StartDrag runs, and whether it was dropped back here.
    struct DragSource {
        std::size_t begin = 0, end = 0;
        bool droppedHere = false;
    };
    std::optional<DragSource> dragSource_;
    std::optional<std::size_t> dropCaret_;
};

}  // namespace quorvel::forms::textedit
