#include "text_field.h"

#include "field_accessible.h"
#include "text_mime.h"
#include "units.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCharFormat>

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

namespace quorvel::forms::qt {
namespace {

// The gap between the field's edges and its text, in pixels.
constexpr int kMargin = 4;
// How long after a press completed a composition its repeat by the input method is looked for.
constexpr int kRepeatMs = 1000;

// Latin text is drawn without OpenType shaping or kerning, so that a row is drawn at the advances its
// characters were measured at one by one. Scripts that need shaping to be legible are still shaped.
QFont Unshaped(QFont font) {
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    font.setKerning(false);
    return font;
}

qreal Pixels(long long scaled) { return static_cast<qreal>(scaled) / CharMeasurer::kScale; }

int Clamped(long long at) { return static_cast<int>(std::clamp<long long>(at, INT_MIN / 2, INT_MAX / 2)); }

QRect ToRect(const textedit::Box& box) { return {Clamped(box.x), Clamped(box.y), box.width, box.height}; }

textedit::Point ToPoint(QPointF at) {
    const QPoint point = at.toPoint();
    return {point.x(), point.y()};
}

textedit::Modifiers ModifiersOf(Qt::KeyboardModifiers modifiers) {
    return {.shift = (modifiers & Qt::ShiftModifier) != 0,
            .control = (modifiers & Qt::ControlModifier) != 0,
            .alt = (modifiers & Qt::AltModifier) != 0};
}

textedit::DropAction ActionOf(Qt::DropAction action) {
    switch (action) {
    case Qt::MoveAction:
    case Qt::TargetMoveAction:
        return textedit::DropAction::Move;
    case Qt::CopyAction:
    case Qt::LinkAction:
        return textedit::DropAction::Copy;
    default:
        return textedit::DropAction::None;
    }
}

QTextLayout::FormatRange Format(std::size_t begin, std::size_t length) {
    QTextLayout::FormatRange range;
    range.start = static_cast<int>(begin);
    range.length = static_cast<int>(length);
    return range;
}

}  // namespace

TextField::TextField(QWidget* parent) : QAbstractScrollArea(parent), measurer_(Unshaped(font())) {
    static const bool accessible = (QAccessible::installFactory(FieldAccessible::Create), true);
    Q_UNUSED(accessible);
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

    // Qt's fields show their selection without the focus, in the inactive highlight.
    field_.SetSelectionShownUnfocused(true);
    // The platform's flash time is a whole on-and-off cycle; 0 or less means a caret that does not blink.
    field_.SetCaretBlink(std::max(0, QApplication::cursorFlashTime() / 2));
    // A press within the double-click interval of a double-click, and closer to it than the drag
    // distance, selects the paragraph, as in Qt's fields; a press in the selection drags it past it.
    const int dragDistance = QApplication::startDragDistance();
    field_.SetTripleClick(textedit::TextUnit::Paragraph, QApplication::doubleClickInterval(),
                          {std::max(0, dragDistance - 1), 0, true});
    field_.SetDragDistance({dragDistance, 0, true});
    clock_.start();
    repeatTimer_.setSingleShot(true);
    connect(&repeatTimer_, &QTimer::timeout, this, [this] { repeatedCommit_.clear(); });
    connect(&caretTimer_, &QTimer::timeout, this, [this] { field_.Tick(textedit::FieldTimer::CaretBlink); });
    connect(&autoScrollTimer_, &QTimer::timeout, this,
            [this] { field_.Tick(textedit::FieldTimer::AutoScroll); });
    layOutText(false);
}

TextField::~TextField() = default;

QString TextField::text() const { return FromUnits(editor().Text()); }

void TextField::setText(const QString& text) { setText(std::u16string(Units(text))); }

void TextField::setText(std::u16string text) { field_.SetText(std::move(text)); }

bool TextField::holds(const QString& text) const { return editor().Text() == Units(text); }

QRect TextField::cursorRect() const { return ToRect(field_.CaretBox()); }

QRect TextField::characterRect(std::size_t position) const { return ToRect(field_.CharacterBox(position)); }

std::size_t TextField::positionAt(QPoint at) const { return field_.PositionAt({at.x(), at.y()}); }

// What the field asks of Qt

int TextField::ShapedX(std::u16string_view row, std::size_t offset) {
    const ShapedRow drawn(row, measurer_.font());
    if (!drawn.line().isValid())
        return 0;
    return static_cast<int>(drawn.line().cursorToX(static_cast<int>(offset)) * CharMeasurer::kScale);
}

std::size_t TextField::ShapedOffsetAt(std::u16string_view row, int x) {
    const ShapedRow drawn(row, measurer_.font());
    if (!drawn.line().isValid())
        return 0;
    return static_cast<std::size_t>(
        std::max(0, drawn.line().xToCursor(Pixels(x), QTextLine::CursorBetweenCharacters)));
}

QTimer& TextField::timer(textedit::FieldTimer timer) {
    return timer == textedit::FieldTimer::CaretBlink ? caretTimer_ : autoScrollTimer_;
}

void TextField::StartTimer(textedit::FieldTimer which, int ms) { timer(which).start(ms); }

void TextField::StopTimer(textedit::FieldTimer which) { timer(which).stop(); }

textedit::DropAction TextField::StartDrag(std::u16string_view text, bool sensitive) {
    // Qt deletes the drag once it is over.
    auto* drag = new QDrag(this);
    drag->setMimeData(TextMimeData(text, sensitive).release());
    return ActionOf(drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction));
}

void TextField::Repaint() { viewport()->update(); }

void TextField::ScrollBarChanged() {
    const textedit::Viewport& rows = field_.viewport();
    QScrollBar* bar = verticalScrollBar();
    // Setting the range may move the bar, which would scroll the field back to an old top row.
    const bool setting = std::exchange(settingBar_, true);
    bar->setRange(0, static_cast<int>(std::min<std::size_t>(rows.LastTopRow(), INT_MAX)));
    bar->setPageStep(static_cast<int>(rows.PageRows()));
    bar->setSingleStep(1);
    bar->setValue(static_cast<int>(std::min<std::size_t>(rows.TopRow(), INT_MAX)));
    settingBar_ = setting;
}

void TextField::scrollContentsBy(int, int) {
    if (!settingBar_)
        field_.ScrollTo(static_cast<std::size_t>(std::max(0, verticalScrollBar()->value())));
}

void TextField::TextEdited(const textedit::TextChange& change) {
    if (!QAccessible::isActive())
        return;
    if (change.removed > 0) {
        QAccessibleTextRemoveEvent event(this, static_cast<int>(change.position),
                                         FromUnits(change.removedText));
        QAccessible::updateAccessibility(&event);
    }
    if (change.inserted > 0) {
        const std::u16string_view inserted =
            std::u16string_view(editor().Text()).substr(change.position, change.inserted);
        QAccessibleTextInsertEvent event(this, static_cast<int>(change.position), FromUnits(inserted));
        QAccessible::updateAccessibility(&event);
    }
}

void TextField::Changed(const textedit::FieldChange& change) {
    // Every caret move, the program's own included, else the input method places its window by an old one.
    updateMicroFocus();
    const textedit::Selection& selection = editor().selection();
    const textedit::Selection& before = change.before;
    if (selection == before && !change.textChanged)
        return;
    // A drag's selection goes to the primary selection once, when the button comes up.
    if (change.byUser && !field_.Selecting() && selection != before)
        setPrimarySelection();
    if (QAccessible::isActive())
        announceCaret(before);
}

void TextField::announceCaret(const textedit::Selection& before) {
    const textedit::Selection& selection = editor().selection();
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

void TextField::setPrimarySelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && !editor().selection().empty())
        clipboard->setText(FromUnits(editor().SelectedText()), QClipboard::Selection);
}

// Keys

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
    return textedit::CommandForKey(known->second, ModifiersOf(event.modifiers()));
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
        field_.Perform(command);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        field_.Type(u"\n");
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
    field_.Type(Units(typed));
}

// Drops and the mouse

void TextField::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void TextField::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    field_.DragOver(ToPoint(event->position()));
    event->acceptProposedAction();
}

void TextField::dragLeaveEvent(QDragLeaveEvent*) { field_.DragLeave(); }

// The plain text of a drop, exactly; the drag's source hears whether it was copied or moved here.
void TextField::dropEvent(QDropEvent* event) {
    if (!event->mimeData() || !event->mimeData()->hasText()) {
        field_.DragLeave();
        event->ignore();
        return;
    }
    const textedit::DropAction done = field_.Drop(
        ToPoint(event->position()), Units(event->mimeData()->text()), ActionOf(event->dropAction()));
    if (done == textedit::DropAction::None) {
        event->ignore();
        return;
    }
    event->setDropAction(done == textedit::DropAction::Move ? Qt::MoveAction : Qt::CopyAction);
    event->accept();
}

void TextField::completeComposition() {
    if (!field_.preedit().Active())
        return;
    std::u16string shown = field_.preedit().Text();
    QGuiApplication::inputMethod()->commit();
    // Qt 6.4's IBus input context commits the pre-edit it shows and then resets the engine, on which
    // IBus commits a pre-edit of the commit mode (m17n's, Hangul's) once more: that repeat, coming
    // next and soon, is not typed again.
    if (!field_.preedit().Active()) {
        repeatedCommit_ = std::move(shown);
        repeatTimer_.start(kRepeatMs);
    }
}

void TextField::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    completeComposition();
    field_.Press(ToPoint(event->position()), 1, ModifiersOf(event->modifiers()), clock_.elapsed());
}

void TextField::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    completeComposition();
    field_.Press(ToPoint(event->position()), 2, ModifiersOf(event->modifiers()), clock_.elapsed());
}

void TextField::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        field_.Drag(ToPoint(event->position()));
}

void TextField::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        // A middle click pastes the primary selection where it is clicked, or leaves all as it was.
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Selection);
        if (data && data->hasText())
            field_.DropAt(ToPoint(event->position()), Units(data->text()));
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const bool selecting = field_.Selecting();
    field_.Release();
    if (selecting)
        setPrimarySelection();
    // Every left click reaches the window; last, as its handler may do anything.
    emit clicked();
}

void TextField::wheelEvent(QWheelEvent* event) {
    // Touchpads tell pixels; wheels tell eighths of a degree.
    if (!event->pixelDelta().isNull())
        field_.WheelPixels(event->pixelDelta().y());
    else
        field_.Wheel(event->angleDelta().y(),
                     static_cast<std::size_t>(std::max(1, QApplication::wheelScrollLines())));
    event->accept();
}

// The context menu

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
    auto* menu = new QMenu(this);
    const auto add = [&](const QString& label, const char* name, MenuCommand command) {
        QAction* item = menu->addAction(label, this, [this, command] { field_.Run(command); });
        item->setObjectName(QLatin1String(name));
        item->setEnabled(field_.IsEnabled(command));
    };
    // Named as Qt names the actions of its own text widgets' menus.
    add(tr("&Undo"), "edit-undo", MenuCommand::Undo);
    add(tr("&Redo"), "edit-redo", MenuCommand::Redo);
    menu->addSeparator();
    add(tr("Cu&t"), "edit-cut", MenuCommand::Cut);
    add(tr("&Copy"), "edit-copy", MenuCommand::Copy);
    add(tr("&Paste"), "edit-paste", MenuCommand::Paste);
    add(tr("Delete"), "edit-delete", MenuCommand::Delete);
    menu->addSeparator();
    add(tr("Select All"), "select-all", MenuCommand::SelectAll);
    return menu;
}

// The input method

void TextField::inputMethodEvent(QInputMethodEvent* event) {
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
    const QString commit = event->commitString();
    // Only what an input method typed or composes ends the wait for the repeat, not its notice that
    // the pre-edit is gone.
    if (!repeatedCommit_.empty() && (!composing.isEmpty() || !commit.isEmpty())) {
        const bool repeat =
            composing.isEmpty() && event->replacementLength() == 0 && Units(commit) == repeatedCommit_;
        repeatedCommit_.clear();
        if (repeat) {
            event->accept();
            return;
        }
    }
    if (composing.isEmpty() || !commit.isEmpty() || event->replacementLength() > 0)
        field_.Commit(Units(commit), event->replacementStart(),
                      static_cast<std::size_t>(std::max(0, event->replacementLength())));
    if (!composing.isEmpty())
        field_.Compose(Units(composing), cursor, std::move(spans));
    event->accept();
}

QVariant TextField::inputMethodQuery(Qt::InputMethodQuery query) const {
    const textedit::Selection& selection = editor().selection();
    const textedit::Surrounding surrounding = textedit::SurroundingOf(editor().Text(), selection.caret);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImFont:
        return measurer_.font();
    case Qt::ImCursorRectangle:
        return QRectF(cursorRect().translated(viewport()->pos()));
    // Positions count from the start of the surrounding text the input method is given.
    case Qt::ImCursorPosition:
        return static_cast<qlonglong>(selection.caret - surrounding.begin);
    case Qt::ImAnchorPosition:
        return static_cast<qlonglong>(std::clamp(selection.anchor, surrounding.begin, surrounding.end) -
                                      surrounding.begin);
    case Qt::ImSurroundingText:
        return FromUnits(std::u16string_view(editor().Text())
                             .substr(surrounding.begin, surrounding.end - surrounding.begin));
    case Qt::ImCurrentSelection:
        return FromUnits(editor().SelectedText());
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// Focus, geometry and fonts

void TextField::focusInEvent(QFocusEvent* event) {
    field_.FocusIn();
    QAbstractScrollArea::focusInEvent(event);
}

void TextField::focusOutEvent(QFocusEvent* event) {
    field_.FocusOut();
    QAbstractScrollArea::focusOutEvent(event);
}

void TextField::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        // A font set from outside is taken unshaped; setting it sends this event again.
        if (!(font().styleStrategy() & QFont::PreferNoShaping) || font().kerning()) {
            setFont(Unshaped(font()));
            return;
        }
        measurer_.SetFont(font());
        layOutText(true);
    }
    QAbstractScrollArea::changeEvent(event);
}

void TextField::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layOutText(false);
}

void TextField::layOutText(bool relayout) {
    field_.SetGeometry({.width = viewport()->width(),
                        .height = viewport()->height(),
                        .margin = kMargin,
                        .topMargin = kMargin,
                        .lineHeight = measurer_.LineHeight(),
                        .scale = CharMeasurer::kScale},
                       relayout);
}

// Painting

void TextField::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Base));
    painter.setFont(measurer_.font());
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    for (const textedit::RowPaint& row : field_.Paint(area.top(), area.bottom() + 1))
        paintRow(painter, row, group);
    if (field_.CaretShown())
        painter.fillRect(cursorRect(), palette().color(QPalette::Text));
    // Where text dragged over the field would go, drawn as Qt's fields draw it: as a caret.
    if (field_.DropCaret())
        painter.fillRect(ToRect(field_.DropCaretBox()), palette().color(QPalette::Text));
}

void TextField::paintLayout(QPainter& painter, const textedit::RowPaint& row,
                            const QList<QTextLayout::FormatRange>& formats) {
    ShapedRow drawn(row.Drawn(), measurer_.font());
    painter.setPen(palette().color(QPalette::Text));
    drawn.layout().draw(&painter, QPointF(kMargin, static_cast<qreal>(row.y)), formats);
}

void TextField::paintRow(QPainter& painter, const textedit::RowPaint& row, QPalette::ColorGroup group) {
    const QPalette& colours = palette();
    const QColor highlight = colours.color(group, QPalette::Highlight);
    const QColor highlighted = colours.color(group, QPalette::HighlightedText);
    if (row.composing || row.shaped) {
        QList<QTextLayout::FormatRange> formats;
        for (const textedit::Preedit::Span& span : row.preedit) {
            QTextLayout::FormatRange& range = formats.emplace_back(Format(span.begin, span.length));
            range.format.setFontUnderline(true);
            if (span.style == textedit::Preedit::Style::Selected) {
                range.format.setBackground(highlight);
                range.format.setForeground(highlighted);
            }
        }
        if (row.selectionBegin < row.selectionEnd) {
            QTextLayout::FormatRange& range =
                formats.emplace_back(Format(row.selectionBegin, row.selectionEnd - row.selectionBegin));
            range.format.setBackground(highlight);
            range.format.setForeground(highlighted);
        }
        paintLayout(painter, row, formats);
        return;
    }
    const int y = Clamped(row.y);
    if (row.selectionLeft < row.selectionRight)
        painter.fillRect(QRectF(kMargin + Pixels(row.selectionLeft), y,
                                Pixels(row.selectionRight - row.selectionLeft), measurer_.LineHeight()),
                         highlight);
    const std::u16string_view text = row.Drawn();
    const int baseline = y + measurer_.Ascent();
    for (const textedit::RowPaint::Run& run : row.runs) {
        QString drawn = DrawnText(text.substr(run.begin, run.end - run.begin));
        // A lone surrogate is drawn as the replacement character it is measured as.
        for (QChar& unit : drawn)
            if (unit.isSurrogate())
                unit = QChar(QChar::ReplacementCharacter);
        painter.setPen(run.selected ? highlighted : colours.color(QPalette::Text));
        painter.drawText(QPointF(kMargin + Pixels(run.x), baseline), drawn);
    }
}

std::u16string_view Units(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString FromUnits(std::u16string_view units) {
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

}  // namespace quorvel::forms::qt
