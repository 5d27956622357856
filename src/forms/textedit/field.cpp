#include "field.h"

#include "cluster_measure.h"
#include "units.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <utility>

namespace quorvel::forms::textedit {
namespace {

constexpr int kAutoScrollMs = 50;

// A y or an x far outside the view, kept where an int holds it.
long long Clamped(long long at) { return std::clamp<long long>(at, INT_MIN / 2, INT_MAX / 2); }

// Ends a sentence: a full stop, question or exclamation mark of any script.
bool IsSentenceTerminal(char16_t unit) {
    switch (unit) {
    case u'.':
    case u'!':
    case u'?':
    case 0x0589:  // Armenian full stop
    case 0x061F:  // Arabic question mark
    case 0x06D4:  // Arabic full stop
    case 0x0964:  // Devanagari danda
    case 0x0965:
    case 0x203C:
    case 0x203D:
    case 0x2047:
    case 0x2048:
    case 0x2049:
    case 0x3002:  // ideographic full stop
    case 0xFF01:
    case 0xFF0E:
    case 0xFF1F:
    case 0xFF61:
        return true;
    default:
        return false;
    }
}

// What may follow a sentence's terminal inside the sentence: closing quotes and brackets.
bool IsSentenceCloser(char16_t unit) {
    switch (unit) {
    case u'"':
    case u'\'':
    case u')':
    case u']':
    case u'}':
    case 0x00BB:
    case 0x2019:
    case 0x201D:
    case 0x203A:
    case 0x300D:
    case 0x300F:
    case 0xFF09:
        return true;
    default:
        return false;
    }
}

// Where the sentence that starts at `from` ends within [from, limit): after its terminal, the closers
// that follow it and the spaces after them; or at `limit`. A terminal with a letter right after it (a
// decimal point, an abbreviation inside a word) ends no sentence, but one of an ideographic script does.
std::size_t SentenceEnd(std::u16string_view text, std::size_t from, std::size_t limit) {
    for (std::size_t at = from; at < limit; ++at) {
        if (!IsSentenceTerminal(text[at]))
            continue;
        std::size_t end = at + 1;
        while (end < limit && (IsSentenceTerminal(text[end]) || IsSentenceCloser(text[end])))
            ++end;
        const bool spaced = end < limit && IsHangingSpace(text[end]);
        if (end < limit && !spaced && text[at] < 0x3000)
            continue;
        while (end < limit && IsHangingSpace(text[end]))
            ++end;
        return end;
    }
    return limit;
}

}  // namespace

Field::Field(Measurer& measurer, FieldHost& host) : measurer_(measurer), host_(host), editor_(measurer) {
    editor_.SetChangeListener([this](const TextChange& change) {
        directions_.Edited(editor_.Text(), change);
        changed_ = true;
        // What a double- or triple-click selected is gone with the text it was in.
        pressUnit_ = TextUnit::Character;
        host_.TextEdited(change);
    });
    editor_.SetDrawnRows(this);
}

Field::~Field() { editor_.SetDrawnRows(nullptr); }

// Geometry

int Field::TextWidth() const { return std::max(1, geometry_.width - 2 * geometry_.margin) * geometry_.scale; }

void Field::SetGeometry(const Geometry& geometry, bool relayout) {
    geometry_ = geometry;
    geometry_.lineHeight = std::max(1, geometry.lineHeight);
    geometry_.scale = std::max(1, geometry.scale);
    viewport_.SetGeometry(geometry_.height, geometry_.topMargin, geometry_.lineHeight);
    if (editor_.rows().Width() != TextWidth())
        editor_.SetWidth(TextWidth());
    else if (relayout)
        editor_.Relayout();
    viewport_.KeepInRange();
    host_.ScrollBarChanged();
    host_.Repaint();
}

// The program's changes

void Field::SetText(std::u16string text) {
    const Selection before = editor_.selection();
    editor_.SetText(std::move(text));
    changed_ = false;
    viewport_.ScrollTo(0);
    host_.ScrollBarChanged();
    RestartCaret();
    host_.Repaint();
    host_.Changed({.before = before, .textChanged = true, .byUser = false});
}

void Field::Select(std::size_t anchor, std::size_t caret) {
    UserChange([&] { editor_.Select(anchor, caret); });
}

void Field::Replace(std::size_t from, std::size_t to, std::u16string_view text, EditKind kind) {
    UserChange([&] {
        editor_.Select(from, to);
        editor_.ReplaceSelection(text, kind);
    });
}

template <typename Change> void Field::UserChange(Change change) {
    const Selection before = editor_.selection();
    changed_ = false;
    change();
    AfterChange(before, true);
}

void Field::AfterChange(const Selection& before, bool byUser) {
    viewport_.ShowRow(editor_.CaretRow());
    host_.ScrollBarChanged();
    RestartCaret();
    host_.Repaint();
    const bool textChanged = std::exchange(changed_, false);
    host_.Changed({.before = before, .textChanged = textChanged, .byUser = byUser});
}

// Keys and the context menu

void Field::Perform(const KeyCommand& command) {
    switch (command.command) {
    case Command::None:
        return;
    case Command::Cut:
        return Run(MenuCommand::Cut);
    case Command::Copy:
        return Run(MenuCommand::Copy);
    case Command::Paste:
        return Run(MenuCommand::Paste);
    default:
        UserChange([&] { textedit::Perform(Directed(command), editor_, viewport_); });
        return;
    }
}

void Field::Run(MenuCommand command) {
    switch (command) {
    case MenuCommand::Undo:
        UserChange([&] { editor_.Undo(); });
        return;
    case MenuCommand::Redo:
        UserChange([&] { editor_.Redo(); });
        return;
    case MenuCommand::Cut:
        Cut();
        return;
    case MenuCommand::Copy:
        Copy();
        return;
    case MenuCommand::Paste:
        Paste();
        return;
    case MenuCommand::Delete:
        if (!editor_.selection().empty())
            UserChange([&] { editor_.ReplaceSelection({}, EditKind::Delete); });
        return;
    case MenuCommand::SelectAll:
        UserChange([&] { editor_.SelectAll(); });
        return;
    }
}

// In a right-to-left paragraph Left goes on through the text and Right back, where the arrows follow the
// direction; the paragraph is the caret's.
KeyCommand Field::Directed(KeyCommand command) const {
    if (!arrowsFollowDirection_ || command.command != Command::Move ||
        DirectionAt(editor_.selection().caret) != TextDirection::RightToLeft)
        return command;
    switch (command.motion) {
    case Motion::Left:
        command.motion = Motion::Right;
        break;
    case Motion::Right:
        command.motion = Motion::Left;
        break;
    case Motion::WordLeft:
        command.motion = Motion::WordRight;
        break;
    case Motion::WordRight:
        command.motion = Motion::WordLeft;
        break;
    default:
        break;
    }
    return command;
}

bool Field::IsEnabled(MenuCommand command) const {
    return textedit::IsEnabled(command, editor_, command == MenuCommand::Paste && host_.ClipboardHasText());
}

void Field::Type(std::u16string_view text) {
    if (!text.empty())
        UserChange([&] { editor_.ReplaceSelection(text, EditKind::Typing); });
}

// The clipboard: a field that shows the plain message keeps it out of clipboard history, and a cut
// removes the selection only once the clipboard holds it.

void Field::Copy() {
    if (!editor_.selection().empty())
        host_.CopyToClipboard(editor_.SelectedText(), sensitive_);
}

void Field::Cut() {
    if (!editor_.selection().empty() && host_.CopyToClipboard(editor_.SelectedText(), sensitive_))
        UserChange([&] { editor_.ReplaceSelection({}, EditKind::Cut); });
}

void Field::Paste() {
    if (const std::optional<std::u16string> text = host_.ClipboardText())
        UserChange([&] { editor_.ReplaceSelection(*text, EditKind::Paste); });
}

// Input methods

void Field::Compose(std::u16string_view text, std::size_t cursor, std::vector<Preedit::Span> spans) {
    if (text.empty())
        preedit_.Clear();
    else
        preedit_.Set(text, cursor, std::move(spans));
    RestartCaret();
    host_.Repaint();
    host_.Changed({.before = editor_.selection()});
}

void Field::Commit(std::u16string_view text, long long replaceFrom, std::size_t replaceLength) {
    preedit_.Clear();
    if (!text.empty() || replaceLength > 0) {
        UserChange([&] { editor_.ReplaceNearCaret(replaceFrom, replaceLength, text); });
        return;
    }
    host_.Repaint();
    host_.Changed({.before = editor_.selection()});
}

std::u16string Field::TakeComposition() {
    std::u16string text = preedit_.Text();
    preedit_.Clear();
    return text;
}

// The mouse and the wheel

void Field::PlaceAt(Point at, bool extend) {
    const std::size_t row = viewport_.RowAtY(at.y);
    editor_.PlaceInRow(row, OffsetAtX(row, (at.x - geometry_.margin) * geometry_.scale), extend);
}

bool Distance::Near(Point from, Point to) const {
    const long long dx = std::abs(static_cast<long long>(to.x) - from.x);
    const long long dy = std::abs(static_cast<long long>(to.y) - from.y);
    return manhattan ? dx + dy <= x : dx <= x && dy <= y;
}

void Field::SetTripleClick(TextUnit unit, int intervalMs, Distance nearby) {
    tripleUnit_ = unit;
    tripleMs_ = std::max(0, intervalMs);
    tripleNearby_ = nearby;
}

void Field::DropComposition() {
    if (!preedit_.Active())
        return;
    preedit_.Clear();
    host_.Repaint();
}

void Field::SelectUnitAt(Point at, TextUnit unit) {
    const std::size_t position = PositionAt(at);
    pressUnit_ = unit;
    pressRange_ = unit == TextUnit::Word ? editor_.WordAt(position) : UnitAt(position, unit);
    editor_.Select(pressRange_.first, pressRange_.second);
}

void Field::Press(Point at, int clicks, Modifiers modifiers, long long timeMs) {
    DropComposition();
    const bool triple = clicks == 1 && afterDouble_ && tripleMs_ > 0 && timeMs - doubleAt_ < tripleMs_ &&
                        tripleNearby_.Near(doublePoint_, at);
    afterDouble_ = clicks == 2;
    doubleAt_ = timeMs;
    doublePoint_ = at;
    mayDrag_ = false;
    pressPoint_ = dragPoint_ = at;
    selecting_ = true;
    if (triple || clicks >= 2) {
        UserChange([&] { SelectUnitAt(at, triple ? tripleUnit_ : TextUnit::Word); });
        return;
    }
    if (modifiers.shift) {
        UserChange([&] { ExtendTo(at); });
        return;
    }
    const Selection& selection = editor_.selection();
    const std::size_t position = PositionAt(at);
    if (!selection.empty() && position >= selection.begin() && position <= selection.end()) {
        selecting_ = false;
        mayDrag_ = true;
        return;
    }
    pressUnit_ = TextUnit::Character;
    UserChange([&] { PlaceAt(at, false); });
}

void Field::ExtendTo(Point at) {
    if (pressUnit_ == TextUnit::Character)
        return PlaceAt(at, true);
    const std::size_t position = PositionAt(at);
    const auto [first, last] = pressRange_;
    if (position >= first && position <= last) {
        editor_.Select(first, last);
        return;
    }
    if (pressUnit_ != TextUnit::Word) {
        const auto [begin, end] = UnitAt(position, pressUnit_);
        return position < first ? editor_.Select(last, begin) : editor_.Select(first, end);
    }
    // Past the first word the caret goes to the start or the end of the word under the pointer,
    // whichever is nearer to it, as in Qt's fields.
    const auto [begin, end] = editor_.WordAt(position);
    const RowLayout& rows = editor_.rows();
    const std::size_t row = rows.RowOf(position);
    const long long x = static_cast<long long>(at.x - geometry_.margin) * geometry_.scale;
    const auto distance = [&](std::size_t end) {
        end = std::clamp(end, rows.RowStart(row), rows.RowEnd(row));
        return std::abs(XInRow(row, end, end == rows.RowEnd(row)) - x);
    };
    editor_.Select(position < first ? last : first, distance(begin) < distance(end) ? begin : end);
}

void Field::Drag(Point at) {
    if (mayDrag_) {
        if (!dragDistance_.Near(pressPoint_, at)) {
            mayDrag_ = false;
            DragSelection();
        }
        dragPoint_ = at;
        return;
    }
    if (!selecting_)
        return;
    dragPoint_ = at;
    // Above or below the view the selection goes on growing while the button is down.
    const bool outside = viewport_.AutoScrollAt(at.y) != Viewport::AutoScroll::None;
    if (outside != autoScrolling_) {
        autoScrolling_ = outside;
        if (outside)
            host_.StartTimer(FieldTimer::AutoScroll, kAutoScrollMs);
        else
            host_.StopTimer(FieldTimer::AutoScroll);
    }
    UserChange([&] { ExtendTo(at); });
}

void Field::Release() {
    // A press in the selection that dragged nothing places the caret, where the button came up.
    if (std::exchange(mayDrag_, false)) {
        pressUnit_ = TextUnit::Character;
        UserChange([&] { PlaceAt(dragPoint_, false); });
    }
    selecting_ = false;
    if (std::exchange(autoScrolling_, false))
        host_.StopTimer(FieldTimer::AutoScroll);
}

void Field::DragSelection() {
    const Selection dragged = editor_.selection();
    const std::u16string text = editor_.SelectedText();
    dragSource_ = DragSource{dragged.begin(), dragged.end()};
    const DropAction action = host_.StartDrag(text, sensitive_);
    const DragSource source = *std::exchange(dragSource_, std::nullopt);
    // Moved into another program: the text goes from here, if it still stands where it was.
    if (action != DropAction::Move || source.droppedHere || source.end > editor_.Text().size() ||
        std::u16string_view(editor_.Text()).substr(source.begin, source.end - source.begin) != text)
        return;
    Replace(source.begin, source.end, {}, EditKind::Cut);
}

void Field::DropAt(Point at, std::u16string_view text) {
    UserChange([&] {
        const std::size_t position = PositionAt(at);
        editor_.Select(position, position);
        editor_.ReplaceSelection(text, EditKind::Paste);
    });
}

void Field::DragOver(Point at) {
    const std::size_t position = PositionAt(at);
    if (dropCaret_ == position)
        return;
    dropCaret_ = position;
    host_.Repaint();
}

void Field::DragLeave() {
    if (std::exchange(dropCaret_, std::nullopt))
        host_.Repaint();
}

DropAction Field::Drop(Point at, std::u16string_view text, DropAction proposed) {
    DragLeave();
    if (text.empty() || proposed == DropAction::None)
        return DropAction::None;
    const std::size_t position = PositionAt(at);
    if (dragSource_ && proposed == DropAction::Move) {
        // This field's own selection: moved here, and not taken away again when the drag ends.
        dragSource_->droppedHere = true;
        const std::size_t begin = dragSource_->begin;
        const std::size_t end = dragSource_->end;
        if (position >= begin && position <= end)
            return DropAction::None;
        UserChange([&] { editor_.MoveText(begin, end, position); });
        return DropAction::Move;
    }
    DropAt(at, text);
    return proposed;
}

Box Field::DropCaretBox() const {
    if (!dropCaret_)
        return {};
    const std::size_t position = std::min(*dropCaret_, editor_.Text().size());
    const std::size_t row = editor_.rows().RowOf(position);
    const long long x = XInRow(row, position, false);
    Box box = RowBox(row, x, x);
    box.x = std::min<long long>(box.x, std::max(0, geometry_.width - 1));
    box.width = 1;
    return box;
}

void Field::Wheel(int delta, std::size_t rowsPerNotch) { ScrollBy(viewport_.WheelRows(delta, rowsPerNotch)); }

void Field::WheelPixels(int pixels) { ScrollBy(viewport_.WheelPixelRows(pixels)); }

void Field::Tick(FieldTimer timer) {
    switch (timer) {
    case FieldTimer::CaretBlink:
        caretOn_ = !caretOn_;
        host_.Repaint();
        return;
    case FieldTimer::AutoScroll:
        if (selecting_)
            Drag(dragPoint_);
        else
            Release();
        return;
    }
}

// Focus and the caret

void Field::FocusIn() {
    focused_ = true;
    RestartCaret();
    host_.Repaint();
}

void Field::FocusOut() {
    focused_ = false;
    viewport_.DropWheel();
    RestartCaret();
    host_.Repaint();
}

void Field::RestartCaret() {
    caretOn_ = focused_;
    // Every change starts the blink afresh, with the caret on; a timer never started is not stopped.
    if (focused_ && blinkMs_ > 0)
        host_.StartTimer(FieldTimer::CaretBlink, blinkMs_);
    else if (std::exchange(blinking_, false))
        host_.StopTimer(FieldTimer::CaretBlink);
    blinking_ = focused_ && blinkMs_ > 0;
}

bool Field::CaretShown() const {
    const std::size_t row = editor_.CaretRow();
    const std::size_t top = viewport_.TopRow();
    return focused_ && caretOn_ && row >= top && row < top + viewport_.ShownRows();
}

// Scrolling

void Field::Scrolled() {
    host_.ScrollBarChanged();
    host_.Repaint();
}

void Field::ScrollTo(std::size_t top) {
    if (viewport_.ScrollTo(top))
        Scrolled();
}

void Field::ScrollBy(long long rows) {
    if (rows != 0 && viewport_.ScrollBy(rows))
        Scrolled();
}

void Field::ScrollIntoView(std::size_t position, bool alignToTop) {
    if (viewport_.ScrollIntoView(position, alignToTop))
        Scrolled();
}

std::pair<std::size_t, std::size_t> Field::VisibleRows() const {
    const std::size_t top = viewport_.TopRow();
    return {top, std::min(editor_.rows().RowCount(), top + viewport_.ShownRows())};
}

// Positions and boxes

std::u16string_view Field::RowText(std::size_t row) const {
    const RowLayout& rows = editor_.rows();
    return std::u16string_view(editor_.Text())
        .substr(rows.RowStart(row), rows.RowEnd(row) - rows.RowStart(row));
}

TextDirection Field::DirectionAt(std::size_t position) const {
    return directions_.At(editor_.Text(), position);
}

TextDirection Field::RowDirection(std::size_t row) const { return DirectionAt(editor_.rows().RowStart(row)); }

// A row of a right-to-left paragraph is reordered for drawing even when it holds only Latin and digits.
bool Field::Shaped(std::u16string_view row, TextDirection direction) const {
    return !row.empty() && row.size() <= Measurer::MaxPieceLength &&
           (direction == TextDirection::RightToLeft ||
            AnyClusterNeedsShaping(row, [this](std::u16string_view text, std::size_t begin, std::size_t end) {
                return measurer_.NeedsShaping(text, begin, end);
            }));
}

long long Field::X(std::u16string_view text, std::size_t offset, TextDirection direction) const {
    offset = std::min(offset, text.size());
    if (Shaped(text, direction))
        return host_.ShapedX(text, offset, direction);
    long long x = 0;
    std::vector<int> advances;
    for (std::size_t at = 0; at < offset;) {
        const std::size_t end = std::max(ClusterFloor(text, std::min(offset, at + Measurer::MaxPieceLength)),
                                         NextCluster(text, at));
        advances.assign(end - at, 0);
        measurer_.Advances(text.substr(at, end - at), advances);
        for (const int advance : advances)
            x += advance;
        at = end;
    }
    return x;
}

int Field::XInRow(std::size_t row, std::size_t position, bool atEndOfRow) const {
    const std::u16string_view text = RowText(row);
    if (const TextDirection direction = RowDirection(row); Shaped(text, direction))
        return host_.ShapedX(text, position - editor_.rows().RowStart(row), direction);
    return editor_.XOf(position, atEndOfRow);
}

std::size_t Field::OffsetAtX(std::size_t row, int x) const {
    const std::u16string_view text = RowText(row);
    if (const TextDirection direction = RowDirection(row); Shaped(text, direction))
        return editor_.rows().RowStart(row) + ClusterFloor(text, host_.ShapedOffsetAt(text, x, direction));
    return editor_.PositionAt(row, x);
}

int Field::CaretX(std::size_t row, std::size_t position, bool atEndOfRow) {
    return XInRow(row, position, atEndOfRow);
}

std::size_t Field::PositionAtX(std::size_t row, int x) { return OffsetAtX(row, x); }

std::size_t Field::PositionAt(Point at) const {
    const std::size_t row = viewport_.RowAtY(at.y);
    return OffsetAtX(row, (at.x - geometry_.margin) * geometry_.scale);
}

Box Field::RowBox(std::size_t row, long long left, long long right) const {
    const long long scale = geometry_.scale;
    const long long from = geometry_.margin + std::min(left, right) / scale;
    const long long to = geometry_.margin + std::max(left, right) / scale;
    return {Clamped(from), Clamped(viewport_.RowY(row)),
            static_cast<int>(std::min<long long>(to - from, INT_MAX / 2)), geometry_.lineHeight};
}

Box Field::CaretBox() const {
    // While composing, the caret is the input method's, inside the pre-edit.
    if (preedit_.Active()) {
        const ComposedRows composed = Composed();
        return ComposedBox(composed, composed.shown.caret);
    }
    const std::size_t row = editor_.CaretRow();
    const long long x = XInRow(row, editor_.selection().caret, editor_.CaretAtRowEnd());
    return CaretAt(RowBox(row, x, x));
}

Box Field::PreeditBox(std::size_t offset) const {
    if (!preedit_.Active())
        return CaretBox();
    const ComposedRows composed = Composed();
    return ComposedBox(composed, composed.shown.preeditBegin + std::min(offset, preedit_.Text().size()));
}

Box Field::ComposedBox(const ComposedRows& composed, std::size_t at) const {
    // On the row of the view that shows `at`.
    std::size_t composedRow = 0;
    while (composedRow + 2 < composed.starts.size() && composed.starts[composedRow + 1] <= at)
        ++composedRow;
    const std::size_t start = composed.starts[composedRow];
    const long long x =
        X(std::u16string_view(composed.shown.text).substr(start, composed.starts[composedRow + 1] - start),
          at - start, RowDirection(editor_.CaretRow()));
    Box box = RowBox(editor_.CaretRow(), x, x);
    box.y = Clamped(box.y + static_cast<long long>(composedRow) * geometry_.lineHeight);
    return CaretAt(box);
}

Box Field::CaretAt(Box box) const {
    // Spaces hang past the view's edge at the end of a row; the caret after them stays at the edge.
    box.x = std::min<long long>(box.x, std::max(0, geometry_.width - 1));
    box.width = 1;
    return box;
}

Field::ComposedRows Field::Composed() const {
    const std::size_t row = editor_.CaretRow();
    ComposedRows composed{
        preedit_.Show(RowText(row), editor_.selection().caret - editor_.rows().RowStart(row)), {}};
    // Wrapped as the text's rows are, at the view's width.
    RowLayout rows;
    rows.Layout(composed.shown.text, editor_.rows().Width(), measurer_);
    for (std::size_t at = 0; at < rows.RowCount(); ++at)
        composed.starts.push_back(rows.RowStart(at));
    composed.starts.push_back(composed.shown.text.size());
    return composed;
}

Box Field::CharacterBox(std::size_t position) const {
    const std::u16string_view text = editor_.Text();
    position = std::min(ClusterFloor(text, position), text.size());
    const std::size_t row = editor_.rows().RowOf(position);
    const std::size_t end =
        std::max(position, std::min(NextCluster(text, position), editor_.rows().RowEnd(row)));
    return RangeBox(row, position, end);
}

Box Field::RangeBox(std::size_t row, std::size_t begin, std::size_t end) const {
    const long long left = XInRow(row, begin, false);
    const long long right = XInRow(row, end, end == editor_.rows().RowEnd(row));
    return RowBox(row, left, right);
}

// Painting

std::vector<RowPaint> Field::Paint(long long top, long long bottom) const {
    std::vector<RowPaint> painted;
    const RowLayout& rows = editor_.rows();
    const Selection& selection = editor_.selection();
    const bool selectionShown = !selection.empty() && (focused_ || selectionShownUnfocused_);
    const std::size_t caretRow = editor_.CaretRow();
    std::optional<ComposedRows> composed;
    if (preedit_.Active())
        composed = Composed();
    // Rows below a composition that wraps move down by the rows it takes.
    long long shift = 0;
    for (std::size_t row = viewport_.TopRow(); row < rows.RowCount(); ++row) {
        const long long y = viewport_.RowY(row) + shift;
        if (y >= bottom || y >= geometry_.height)
            break;
        if (composed && row == caretRow) {
            const std::size_t pieces = composed->starts.size() - 1;
            shift = static_cast<long long>(pieces - 1) * geometry_.lineHeight;
            for (std::size_t piece = 0; piece < pieces; ++piece)
                PaintComposed(*composed, piece, row, y + static_cast<long long>(piece) * geometry_.lineHeight,
                              top, bottom, painted);
            continue;
        }
        if (y + geometry_.lineHeight <= top)
            continue;
        RowPaint& paint = painted.emplace_back();
        paint.row = row;
        paint.y = y;
        paint.text = RowText(row);
        if (selectionShown) {
            const std::size_t start = rows.RowStart(row);
            paint.selectionBegin = std::clamp(selection.begin(), start, rows.RowEnd(row)) - start;
            paint.selectionEnd = std::clamp(selection.end(), start, rows.RowEnd(row)) - start;
        }
        LayRuns(paint);
    }
    return painted;
}

void Field::PaintComposed(const ComposedRows& composed, std::size_t piece, std::size_t row, long long y,
                          long long top, long long bottom, std::vector<RowPaint>& painted) const {
    if (y >= bottom || y >= geometry_.height || y + geometry_.lineHeight <= top)
        return;
    const std::size_t begin = composed.starts[piece];
    const std::size_t end = composed.starts[piece + 1];
    RowPaint& paint = painted.emplace_back();
    paint.row = row;
    paint.y = y;
    paint.text = RowText(row);
    paint.composing = true;
    paint.composed = composed.shown.text.substr(begin, end - begin);
    for (const Preedit::Span& span : composed.shown.spans) {
        const std::size_t from = std::max(span.begin, begin);
        const std::size_t to = std::min(span.begin + span.length, end);
        if (from < to)
            paint.preedit.push_back({from - begin, to - from, span.style});
    }
    LayRuns(paint);
}

void Field::LayRuns(RowPaint& paint) const {
    const std::u16string_view text = paint.Drawn();
    paint.direction = RowDirection(paint.row);
    paint.shaped = Shaped(text, paint.direction);
    if (paint.shaped || text.empty())
        return;
    const long long right = static_cast<long long>(geometry_.width - geometry_.margin) * geometry_.scale;

    // Measured in at most a piece of the core's, and drawn up to the first cluster past the right edge.
    const std::size_t measured = ClusterFloor(text, std::min(text.size(), Measurer::MaxPieceLength));
    paint.advances.assign(measured, 0);
    if (measured > 0)
        measurer_.Advances(text.substr(0, measured), paint.advances);
    std::size_t shown = 0;
    for (long long x = 0; shown < measured && x <= right; ++shown)
        x += paint.advances[shown];
    shown = std::min(ClusterCeil(text, shown), measured);
    paint.advances.resize(shown);

    // Runs between tabs, which are gaps as wide as they were measured, and the selection's ends.
    const std::size_t begin = std::min(paint.selectionBegin, shown);
    const std::size_t end = std::min(paint.selectionEnd, shown);
    long long x = 0;
    std::size_t runStart = 0;
    long long runX = 0;
    const auto close = [&](std::size_t at) {
        if (runStart < at)
            paint.runs.push_back(
                {runStart, at, runX, x - runX, runStart >= begin && at <= end && begin < end});
    };
    for (std::size_t at = 0; at <= shown; ++at) {
        if (at == begin && begin < end)
            paint.selectionLeft = x;
        if (at == end && begin < end)
            paint.selectionRight = x;
        if (at == shown)
            break;
        if (at == begin || at == end) {
            close(at);
            runStart = at;
            runX = x;
        }
        x += paint.advances[at];
        if (text[at] == u'\t') {
            close(at);
            runStart = at + 1;
            runX = x;
        }
    }
    close(shown);
}

// Screen readers' text units

std::pair<std::size_t, std::size_t> Field::UnitAt(std::size_t position, TextUnit unit) const {
    const std::u16string_view text = editor_.Text();
    position = std::min(position, text.size());
    switch (unit) {
    case TextUnit::Character: {
        const std::size_t begin = ClusterFloor(text, position);
        return {begin, NextCluster(text, begin)};
    }
    case TextUnit::Word: {
        // From a word's start, where Ctrl+Right stops, to the next one: the word with the spaces after it.
        std::size_t begin = PreviousWordStart(text, PreviousWordStart(text, position));
        for (std::size_t next = NextWordStart(text, begin); next > begin && next <= position;
             next = NextWordStart(text, begin))
            begin = next;
        return {begin, std::max(begin, NextWordStart(text, begin))};
    }
    case TextUnit::Line: {
        const std::size_t row = editor_.rows().RowOf(position);
        return {editor_.rows().RowStart(row), editor_.rows().RowLimit(row)};
    }
    case TextUnit::Sentence: {
        // Within the paragraph, bounded as the text an input method is given is.
        const Surrounding around = SurroundingOf(text, position);
        std::size_t begin = around.begin;
        std::size_t end = SentenceEnd(text, begin, around.end);
        while (end <= position && end < around.end) {
            begin = end;
            end = SentenceEnd(text, begin, around.end);
        }
        if (end == ParagraphEnd(text, position))
            end += ParagraphBreakLength(text, end);
        return {begin, end};
    }
    case TextUnit::Paragraph: {
        const std::size_t end = ParagraphEnd(text, position);
        return {ParagraphStart(text, position), end + ParagraphBreakLength(text, end)};
    }
    }
    return {0, text.size()};
}

}  // namespace quorvel::forms::textedit
