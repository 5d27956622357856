#include "text_field.h"

#include "field_accessible.h"
#include "units.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

namespace quorvel::forms::qt {
namespace {

// The gap between the field's edges and its text, in pixels.
constexpr int kMargin = 4;
constexpr int kAutoScrollMs = 50;

// Latin text is drawn without OpenType shaping or kerning, so that a row is drawn at the advances its
// characters were measured at one by one. Scripts that need shaping to be legible are still shaped.
QFont Unshaped(QFont font) {
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    font.setKerning(false);
    return font;
}

qreal Pixels(long long scaled) { return static_cast<qreal>(scaled) / CharMeasurer::kScale; }

}  // namespace

TextField::TextField(QWidget* parent)
    : QAbstractScrollArea(parent), measurer_(Unshaped(font())), editor_(measurer_) {
    static const bool accessible = (QAccessible::installFactory(FieldAccessible::Create), true);
    Q_UNUSED(accessible);
    editor_.SetChangeListener([this](const textedit::TextChange& change) { textChanged(change); });
    editor_.SetDrawnRows(this);
    // Only the style strategy and kerning are set: family and size still come from the window.
    setFont(Unshaped(font()));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there, so that the text is not laid out twice when it grows past the field's height and
    // the bar would narrow it.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAcceptDrops(true);
    viewport()->setBackgroundRole(QPalette::Base);

    const int flash = QApplication::cursorFlashTime();
    caretTimer_.setInterval(flash / 2);
    connect(&caretTimer_, &QTimer::timeout, this, [this] {
        caretShown_ = !caretShown_;
        viewport()->update(cursorRect());
    });
    autoScrollTimer_.setInterval(kAutoScrollMs);
    connect(&autoScrollTimer_, &QTimer::timeout, this, &TextField::autoScroll);
    updateViewport();
}

TextField::~TextField() { editor_.SetDrawnRows(nullptr); }

QString TextField::text() const { return FromUnits(editor_.Text()); }

void TextField::setText(const QString& text) { setText(std::u16string(Units(text))); }

void TextField::setText(std::u16string text) {
    beforeChange();
    editor_.SetText(std::move(text));
    viewport_.ScrollTo(0);
    updateScrollBar();
    restartCaret();
    viewport()->update();
}

bool TextField::holds(const QString& text) const { return editor_.Text() == Units(text); }

void TextField::select(std::size_t anchor, std::size_t caret) {
    userEdit([&] { editor_.Select(anchor, caret); });
}

void TextField::replace(std::size_t from, std::size_t to, std::u16string_view text) {
    userEdit([&] {
        editor_.Select(from, to);
        editor_.ReplaceSelection(text, textedit::EditKind::Other);
    });
}

void TextField::textChanged(const textedit::TextChange& change) {
    changed_ = true;
    if (!QAccessible::isActive())
        return;
    const std::u16string_view text = editor_.Text();
    if (change.removed > 0) {
        QAccessibleTextRemoveEvent event(this, static_cast<int>(change.position),
                                         FromUnits(change.removedText));
        QAccessible::updateAccessibility(&event);
    }
    if (change.inserted > 0) {
        QAccessibleTextInsertEvent event(this, static_cast<int>(change.position),
                                         FromUnits(text.substr(change.position, change.inserted)));
        QAccessible::updateAccessibility(&event);
    }
}

void TextField::beforeChange() { changed_ = false; }

void TextField::afterChange(const textedit::Selection& before) {
    viewport_.ShowRow(editor_.CaretRow());
    updateScrollBar();
    restartCaret();
    viewport()->update();
    const textedit::Selection& selection = editor_.selection();
    if (selection == before && !changed_)
        return;
    if (!selecting_ && selection != before && !selection.empty())
        setPrimarySelection();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent cursor(this, static_cast<int>(selection.caret));
        QAccessible::updateAccessibility(&cursor);
        // A caret that moves with nothing selected before or after selects nothing.
        const bool anySelected = !selection.empty() || !before.empty();
        if (anySelected && (selection.begin() != before.begin() || selection.end() != before.end())) {
            QAccessibleTextSelectionEvent selected(this, static_cast<int>(selection.begin()),
                                                   static_cast<int>(selection.end()));
            QAccessible::updateAccessibility(&selected);
        }
    }
    updateMicroFocus();
}

void TextField::setPrimarySelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && !editor_.selection().empty())
        clipboard->setText(FromUnits(editor_.SelectedText()), QClipboard::Selection);
}

// Key events

textedit::KeyCommand TextField::CommandOf(const QKeyEvent& event) {
    using textedit::Key;
    static constexpr std::array<std::pair<int, Key>, 17> kKeys{{{Qt::Key_Left, Key::Left},
                                                                {Qt::Key_Right, Key::Right},
                                                                {Qt::Key_Up, Key::Up},
                                                                {Qt::Key_Down, Key::Down},
                                                                {Qt::Key_Home, Key::Home},
                                                                {Qt::Key_End, Key::End},
                                                                {Qt::Key_PageUp, Key::PageUp},
                                                                {Qt::Key_PageDown, Key::PageDown},
                                                                {Qt::Key_Backspace, Key::Backspace},
                                                                {Qt::Key_Delete, Key::Delete},
                                                                {Qt::Key_Insert, Key::Insert},
                                                                {Qt::Key_A, Key::A},
                                                                {Qt::Key_C, Key::C},
                                                                {Qt::Key_V, Key::V},
                                                                {Qt::Key_X, Key::X},
                                                                {Qt::Key_Y, Key::Y},
                                                                {Qt::Key_Z, Key::Z}}};
    const auto* known = std::ranges::find_if(kKeys, [&](const auto& k) { return k.first == event.key(); });
    if (known == kKeys.end())
        return {};
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return textedit::CommandForKey(known->second, {.shift = (modifiers & Qt::ShiftModifier) != 0,
                                                   .control = (modifiers & Qt::ControlModifier) != 0,
                                                   .alt = (modifiers & Qt::AltModifier) != 0});
}

bool TextField::event(QEvent* event) {
    // The field's keys go to it before any shortcut of the window's.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (CommandOf(*key).command != textedit::Command::None) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TextField::keyPressEvent(QKeyEvent* event) {
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && shift)) {
        showContextMenu(viewport()->mapToGlobal(cursorRect().bottomLeft()));
        return;
    }
    if (const textedit::KeyCommand command = CommandOf(*event); command.command != textedit::Command::None) {
        run(command);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        userEdit([&] { editor_.ReplaceSelection(u"\n", textedit::EditKind::Typing); });
        return;
    }
    const QString typed = event->text();
    const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
    const bool alt = (event->modifiers() & Qt::AltModifier) != 0;
    // Tab, Escape and the control characters of Ctrl+letter type nothing; Ctrl with Alt is AltGr.
    const bool printable = !typed.isEmpty() && std::ranges::none_of(typed, [](QChar unit) {
        return unit.unicode() < u' ' || unit.unicode() == 0x7F;
    });
    if (!printable || control != alt) {
        event->ignore();
        return;
    }
    userEdit([&] { editor_.ReplaceSelection(Units(typed), textedit::EditKind::Typing); });
}

void TextField::run(const textedit::KeyCommand& command) {
    using textedit::Command;
    switch (command.command) {
    case Command::None:
        return;
    case Command::Cut:
        cut();
        return;
    case Command::Copy:
        copy();
        return;
    case Command::Paste:
        paste();
        return;
    default:
        userEdit([&] { textedit::Perform(command, editor_, viewport_); });
        return;
    }
}

// Clipboard and drops

void TextField::copy() {
    if (!editor_.selection().empty())
        QGuiApplication::clipboard()->setText(FromUnits(editor_.SelectedText()));
}

void TextField::cut() {
    if (editor_.selection().empty())
        return;
    copy();
    userEdit([&] { editor_.ReplaceSelection({}, textedit::EditKind::Cut); });
}

void TextField::paste() { pasteFrom(QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard)); }

// Every paste and drop ends here: the plain text, exactly, or nothing when there is none.
void TextField::pasteFrom(const QMimeData* data) {
    if (!data || !data->hasText())
        return;
    const QString text = data->text();
    userEdit([&] { editor_.ReplaceSelection(Units(text), textedit::EditKind::Paste); });
}

void TextField::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData() && event->mimeData()->hasText())
        event->acceptProposedAction();
}

void TextField::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData() && event->mimeData()->hasText())
        event->acceptProposedAction();
}

void TextField::dropEvent(QDropEvent* event) {
    if (!event->mimeData() || !event->mimeData()->hasText())
        return;
    const std::size_t at = positionAt(event->position().toPoint());
    userEdit([&] { editor_.Select(at, at); });
    pasteFrom(event->mimeData());
    event->acceptProposedAction();
}

// Mouse

void TextField::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
    userEdit([&] { moveToPoint(event->position().toPoint(), extend); });
    selecting_ = true;
}

void TextField::mouseMoveEvent(QMouseEvent* event) {
    if (selecting_ && (event->buttons() & Qt::LeftButton))
        drag(event->position().toPoint());
}

void TextField::drag(QPoint at) {
    dragPoint_ = at;
    // Above or below the field the selection goes on growing while the button is down.
    if (viewport_.AutoScrollAt(at.y()) != textedit::Viewport::AutoScroll::None) {
        if (!autoScrollTimer_.isActive())
            autoScrollTimer_.start();
    } else {
        autoScrollTimer_.stop();
    }
    userEdit([&] { moveToPoint(at, true); });
}

void TextField::autoScroll() {
    if (selecting_)
        drag(dragPoint_);
    else
        autoScrollTimer_.stop();
}

void TextField::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        // A middle click pastes the primary selection where it is clicked, or leaves all as it was.
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Selection);
        if (data && data->hasText()) {
            const std::size_t at = positionAt(event->position().toPoint());
            userEdit([&] { editor_.Select(at, at); });
            pasteFrom(data);
        }
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (std::exchange(selecting_, false)) {
        autoScrollTimer_.stop();
        setPrimarySelection();
    }
    // Every left click reaches the window; last, as its handler may do anything.
    emit clicked();
}

void TextField::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const std::size_t at = positionAt(event->position().toPoint());
    userEdit([&] { editor_.SelectWordAt(at); });
}

void TextField::wheelEvent(QWheelEvent* event) {
    const long long rows = viewport_.WheelRows(
        event->angleDelta().y(), static_cast<std::size_t>(std::max(1, QApplication::wheelScrollLines())));
    if (viewport_.ScrollBy(rows)) {
        updateScrollBar();
        viewport()->update();
    }
    event->accept();
}

void TextField::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint global = event->reason() == QContextMenuEvent::Keyboard
                              ? viewport()->mapToGlobal(cursorRect().bottomLeft())
                              : event->globalPos();
    showContextMenu(global);
}

void TextField::showContextMenu(QPoint global) {
    if (!hasFocus())
        setFocus(Qt::PopupFocusReason);
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(global);
}

QMenu* TextField::createStandardContextMenu() {
    using textedit::MenuCommand;
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    const bool clipboardHasText = clipboard && clipboard->hasText();
    auto* menu = new QMenu(this);
    const auto add = [&](const QString& label, const char* name, MenuCommand command, auto action) {
        QAction* item = menu->addAction(label, this, action);
        item->setObjectName(QLatin1String(name));
        item->setEnabled(textedit::IsEnabled(command, editor_, clipboardHasText));
    };
    // Named as Qt names the actions of its own text widgets' menus.
    add(tr("&Undo"), "edit-undo", MenuCommand::Undo, [this] { userEdit([this] { editor_.Undo(); }); });
    add(tr("&Redo"), "edit-redo", MenuCommand::Redo, [this] { userEdit([this] { editor_.Redo(); }); });
    menu->addSeparator();
    add(tr("Cu&t"), "edit-cut", MenuCommand::Cut, [this] { cut(); });
    add(tr("&Copy"), "edit-copy", MenuCommand::Copy, [this] { copy(); });
    add(tr("&Paste"), "edit-paste", MenuCommand::Paste, [this] { paste(); });
    add(tr("Delete"), "edit-delete", MenuCommand::Delete,
        [this] { userEdit([this] { editor_.ReplaceSelection({}, textedit::EditKind::Delete); }); });
    menu->addSeparator();
    add(tr("Select All"), "select-all", MenuCommand::SelectAll,
        [this] { userEdit([this] { editor_.SelectAll(); }); });
    return menu;
}

// Input method

void TextField::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty())
        userEdit([&] { editor_.ReplaceSelection(Units(commit), textedit::EditKind::Typing); });
    const QString composing = event->preeditString();
    std::size_t cursor = static_cast<std::size_t>(composing.size());
    std::vector<textedit::Preedit::Span> spans;
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            cursor = static_cast<std::size_t>(std::max(0, attribute.start));
        } else if (attribute.type == QInputMethodEvent::TextFormat && attribute.length > 0) {
            // The piece being converted comes with a background of its own, the rest underlined.
            const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
            spans.push_back({static_cast<std::size_t>(std::max(0, attribute.start)),
                             static_cast<std::size_t>(attribute.length),
                             format.background().style() != Qt::NoBrush
                                 ? textedit::Preedit::Style::Selected
                                 : textedit::Preedit::Style::Underline});
        }
    }
    if (composing.isEmpty())
        preedit_.Clear();
    else
        preedit_.Set(Units(composing), cursor, std::move(spans));
    viewport()->update();
    updateMicroFocus();
    event->accept();
}

QVariant TextField::inputMethodQuery(Qt::InputMethodQuery query) const {
    auto* self = const_cast<TextField*>(this);
    const textedit::Selection& selection = editor_.selection();
    const textedit::Surrounding surrounding = textedit::SurroundingOf(editor_.Text(), selection.caret);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImFont:
        return measurer_.font();
    case Qt::ImCursorRectangle:
        return QRectF(self->cursorRect().translated(viewport()->pos()));
    // Positions count from the start of the surrounding text the input method is given.
    case Qt::ImCursorPosition:
        return static_cast<qlonglong>(selection.caret - surrounding.begin);
    case Qt::ImAnchorPosition:
        return static_cast<qlonglong>(std::clamp(selection.anchor, surrounding.begin, surrounding.end) -
                                      surrounding.begin);
    case Qt::ImSurroundingText:
        return FromUnits(std::u16string_view(editor_.Text())
                             .substr(surrounding.begin, surrounding.end - surrounding.begin));
    case Qt::ImCurrentSelection:
        return FromUnits(editor_.SelectedText());
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// Focus and the caret

void TextField::focusInEvent(QFocusEvent* event) {
    restartCaret();
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void TextField::focusOutEvent(QFocusEvent* event) {
    caretTimer_.stop();
    caretShown_ = false;
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void TextField::restartCaret() {
    caretShown_ = hasFocus();
    // The platform's flash time is a whole on-and-off cycle; 0 or less means a caret that does not blink.
    if (caretShown_ && caretTimer_.interval() > 0)
        caretTimer_.start();
    else
        caretTimer_.stop();
}

// Geometry, fonts and scrolling

int TextField::textWidth() const {
    return std::max(1, viewport()->width() - 2 * kMargin) * CharMeasurer::kScale;
}

void TextField::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        // A font set from outside is taken unshaped; setting it sends this event again.
        if (!(font().styleStrategy() & QFont::PreferNoShaping) || font().kerning()) {
            setFont(Unshaped(font()));
            return;
        }
        measurer_.SetFont(font());
        relayout();
    }
    QAbstractScrollArea::changeEvent(event);
}

void TextField::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (editor_.rows().Width() != textWidth())
        editor_.SetWidth(textWidth());
    updateViewport();
}

void TextField::relayout() {
    editor_.Relayout();
    updateViewport();
}

void TextField::updateViewport() {
    viewport_.SetGeometry(viewport()->height(), kMargin, measurer_.LineHeight());
    viewport_.KeepInRange();
    updateScrollBar();
    viewport()->update();
}

void TextField::updateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(std::min<std::size_t>(viewport_.LastTopRow(), INT_MAX)));
    bar->setPageStep(static_cast<int>(viewport_.PageRows()));
    bar->setSingleStep(1);
    bar->setValue(static_cast<int>(std::min<std::size_t>(viewport_.TopRow(), INT_MAX)));
}

void TextField::scrollContentsBy(int, int) {
    if (viewport_.ScrollTo(static_cast<std::size_t>(std::max(0, verticalScrollBar()->value()))))
        viewport()->update();
}

void TextField::showPosition(std::size_t position) {
    if (viewport_.ScrollIntoView(position, false)) {
        updateScrollBar();
        viewport()->update();
    }
}

// Rows, positions and painting

std::u16string_view TextField::rowText(std::size_t row) const {
    const textedit::RowLayout& rows = editor_.rows();
    return std::u16string_view(editor_.Text())
        .substr(rows.RowStart(row), rows.RowEnd(row) - rows.RowStart(row));
}

bool TextField::shaped(std::u16string_view row) {
    return !row.empty() && row.size() <= textedit::Measurer::MaxPieceLength &&
           CharMeasurer::AnyNeedsShaping(row);
}

int TextField::CaretX(std::size_t row, std::size_t position, bool atEndOfRow) {
    const std::u16string_view text = rowText(row);
    if (!shaped(text))
        return editor_.XOf(position, atEndOfRow);
    const ShapedRow drawn(text, measurer_.font());
    return drawn.line().isValid()
               ? static_cast<int>(
                     drawn.line().cursorToX(static_cast<int>(position - editor_.rows().RowStart(row))) *
                     CharMeasurer::kScale)
               : 0;
}

std::size_t TextField::PositionAtX(std::size_t row, int x) {
    const std::u16string_view text = rowText(row);
    if (!shaped(text))
        return editor_.PositionAt(row, x);
    const ShapedRow drawn(text, measurer_.font());
    if (!drawn.line().isValid())
        return editor_.rows().RowStart(row);
    const int at = drawn.line().xToCursor(Pixels(x), QTextLine::CursorBetweenCharacters);
    return editor_.rows().RowStart(row) +
           textedit::ClusterFloor(text, static_cast<std::size_t>(std::max(0, at)));
}

void TextField::moveToPoint(QPoint at, bool extend) {
    const std::size_t row = viewport_.RowAtY(at.y());
    editor_.PlaceInRow(row, PositionAtX(row, (at.x() - kMargin) * CharMeasurer::kScale), extend);
}

std::size_t TextField::positionAt(QPoint at) {
    return PositionAtX(viewport_.RowAtY(at.y()), (at.x() - kMargin) * CharMeasurer::kScale);
}

QRect TextField::cursorRect() {
    const std::size_t row = editor_.CaretRow();
    int x =
        kMargin + static_cast<int>(Pixels(CaretX(row, editor_.selection().caret, editor_.CaretAtRowEnd())));
    if (preedit_.Active()) {
        // While composing, the caret is the input method's, inside the pre-edit.
        const textedit::Preedit::ShownRow shown =
            preedit_.Show(rowText(row), editor_.selection().caret - editor_.rows().RowStart(row));
        const ShapedRow drawn(shown.text, measurer_.font());
        if (drawn.line().isValid())
            x = kMargin + static_cast<int>(drawn.line().cursorToX(static_cast<int>(shown.caret)));
    }
    // Spaces hang past the field's edge at the end of a row; the caret after them stays at the edge.
    const int y = static_cast<int>(std::clamp<long long>(viewport_.RowY(row), INT_MIN / 2, INT_MAX / 2));
    return {std::min(x, std::max(0, viewport()->width() - 1)), y, 1, measurer_.LineHeight()};
}

QRect TextField::characterRect(std::size_t position) {
    const std::u16string_view text = editor_.Text();
    position = std::min(textedit::ClusterFloor(text, position), text.size());
    const std::size_t row = editor_.rows().RowOf(position);
    const std::size_t end = std::min(textedit::NextCluster(text, position), editor_.rows().RowEnd(row));
    const int left = static_cast<int>(Pixels(CaretX(row, position, false)));
    const int right =
        static_cast<int>(Pixels(CaretX(row, std::max(end, position), end == editor_.rows().RowEnd(row))));
    const int y = static_cast<int>(std::clamp<long long>(viewport_.RowY(row), INT_MIN / 2, INT_MAX / 2));
    return {kMargin + std::min(left, right), y, std::abs(right - left), measurer_.LineHeight()};
}

void TextField::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Base));
    painter.setFont(measurer_.font());
    const textedit::RowLayout& rows = editor_.rows();
    const int lineHeight = measurer_.LineHeight();
    for (std::size_t row = viewport_.TopRow(); row < rows.RowCount(); ++row) {
        const auto y = static_cast<int>(viewport_.RowY(row));
        if (y > area.bottom())
            break;
        if (y + lineHeight <= area.top())
            continue;
        paintRow(painter, row, y);
    }
    if (caretShown_ && hasFocus()) {
        const std::size_t row = editor_.CaretRow();
        if (row >= viewport_.TopRow() && row < viewport_.TopRow() + viewport_.ShownRows())
            painter.fillRect(cursorRect(), palette().color(QPalette::Text));
    }
}

void TextField::paintComposing(QPainter& painter, std::size_t row, int y) {
    const textedit::Preedit::ShownRow shown =
        preedit_.Show(rowText(row), editor_.selection().caret - editor_.rows().RowStart(row));
    ShapedRow drawn(shown.text, measurer_.font());
    QList<QTextLayout::FormatRange> formats;
    for (const textedit::Preedit::Span& span : shown.spans) {
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(span.begin);
        range.length = static_cast<int>(span.length);
        range.format.setFontUnderline(true);
        if (span.style == textedit::Preedit::Style::Selected) {
            range.format.setBackground(palette().color(QPalette::Highlight));
            range.format.setForeground(palette().color(QPalette::HighlightedText));
        }
        formats.append(range);
    }
    painter.setPen(palette().color(QPalette::Text));
    drawn.layout().draw(&painter, QPointF(kMargin, y), formats);
}

void TextField::paintRow(QPainter& painter, std::size_t row, int y) {
    if (preedit_.Active() && row == editor_.CaretRow()) {
        paintComposing(painter, row, y);
        return;
    }
    const std::u16string_view text = rowText(row);
    if (text.empty())
        return;
    const std::size_t start = editor_.rows().RowStart(row);
    const textedit::Selection& selection = editor_.selection();
    const std::size_t begin = std::clamp(selection.begin(), start, start + text.size()) - start;
    const std::size_t end = std::clamp(selection.end(), start, start + text.size()) - start;
    const QPalette& colours = palette();
    if (shaped(text)) {
        ShapedRow drawn(text, measurer_.font());
        QList<QTextLayout::FormatRange> selected;
        if (begin < end) {
            QTextLayout::FormatRange range;
            range.start = static_cast<int>(begin);
            range.length = static_cast<int>(end - begin);
            range.format.setBackground(colours.color(QPalette::Highlight));
            range.format.setForeground(colours.color(QPalette::HighlightedText));
            selected.append(range);
        }
        painter.setPen(colours.color(QPalette::Text));
        drawn.layout().draw(&painter, QPointF(kMargin, y), selected);
        return;
    }
    // Drawn up to the first cluster past the field's right edge, in at most a piece of the core's.
    const std::size_t measured =
        textedit::ClusterFloor(text, std::min(text.size(), textedit::Measurer::MaxPieceLength));
    std::vector<int> advances(measured, 0);
    if (measured > 0)
        measurer_.Advances(text.substr(0, measured), advances);
    const long long right = static_cast<long long>(viewport()->width()) * CharMeasurer::kScale;
    std::size_t shown = 0;
    for (long long x = kMargin * CharMeasurer::kScale; shown < measured && x <= right; ++shown)
        x += advances[shown];
    shown = textedit::ClusterCeil(text, shown);
    QString drawnText = DrawnText(text.substr(0, shown));
    // A lone surrogate is drawn as the replacement character it is measured as.
    for (QChar& unit : drawnText)
        if (unit.isSurrogate())
            unit = QChar(QChar::ReplacementCharacter);
    const int baseline = y + measurer_.Ascent();
    long long x = kMargin * CharMeasurer::kScale;
    // Draws [from, to) from x in pieces between tabs: a tab is a gap as wide as it was measured, which
    // Qt's own advance for it would not be.
    const auto draw = [&](std::size_t from, std::size_t to, const QColor& colour) {
        from = std::min(from, shown);
        to = std::min(to, shown);
        painter.setPen(colour);
        long long width = 0;
        long long pieceLeft = 0;
        std::size_t piece = from;
        const auto drawPiece = [&](std::size_t end) {
            if (piece < end)
                painter.drawText(
                    QPointF(Pixels(x + pieceLeft), baseline),
                    drawnText.mid(static_cast<qsizetype>(piece), static_cast<qsizetype>(end - piece)));
        };
        for (std::size_t i = from; i < to; ++i) {
            const long long advance = i < measured ? advances[i] : 0;
            if (text[i] == u'\t') {
                drawPiece(i);
                piece = i + 1;
                pieceLeft = width + advance;
            }
            width += advance;
        }
        drawPiece(to);
        return width;
    };
    x += draw(0, begin, colours.color(QPalette::Text));
    if (begin < end) {
        long long width = 0;
        for (std::size_t i = begin; i < std::min(end, measured); ++i)
            width += advances[i];
        painter.fillRect(QRectF(Pixels(x), y, Pixels(width), measurer_.LineHeight()),
                         colours.color(QPalette::Highlight));
        x += draw(begin, end, colours.color(QPalette::HighlightedText));
    }
    draw(end, shown, colours.color(QPalette::Text));
}

std::u16string_view Units(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString FromUnits(std::u16string_view units) {
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

}  // namespace quorvel::forms::qt
