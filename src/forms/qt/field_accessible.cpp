#include "field_accessible.h"

#include "text_field.h"
#include "units.h"

#include <algorithm>

namespace quorvel::forms::qt {
namespace {

// The run of units that share the attributes of the unit at `position`: its paragraph's text, or the
// paragraph break it is in.
std::pair<std::size_t, std::size_t> AttributeRun(std::u16string_view text, std::size_t position) {
    if (!textedit::IsParagraphBreakUnit(text[position]))
        return {textedit::ParagraphStart(text, position), textedit::ParagraphEnd(text, position)};
    const std::size_t begin =
        text[position] == u'\n' && position > 0 && text[position - 1] == u'\r' ? position - 1 : position;
    return {begin, begin + textedit::ParagraphBreakLength(text, begin)};
}

// A family name as a quoted attribute value, its separators escaped.
QString Quoted(QString family) {
    for (const QChar special : {u'\\', u':', u',', u'=', u';', u'"'})
        family.replace(special, QStringLiteral("\\") + special);
    return QLatin1Char('"') + family + QLatin1Char('"');
}

QString FontAttributes(const QFont& font, bool rightToLeft) {
    QString attributes;
    const auto add = [&attributes](const char* name, const QString& value) {
        attributes += QLatin1String(name) + QLatin1Char(':') + value + QLatin1Char(';');
    };
    if (!font.family().isEmpty())
        add("font-family", Quoted(font.family()));
    // A font sized in pixels has no point size to tell.
    if (font.pointSize() > 0)
        add("font-size", QString::number(font.pointSize()) + QLatin1String("pt"));
    add("font-weight", QLatin1String(font.weight() > QFont::Normal ? "bold" : "normal"));
    const QFont::Style style = font.style();
    add("font-style", QLatin1String(style == QFont::StyleItalic    ? "italic"
                                    : style == QFont::StyleOblique ? "oblique"
                                                                   : "normal"));
    if (font.underline()) {
        add("text-underline-style", QStringLiteral("solid"));
        add("text-underline-type", QStringLiteral("single"));
    }
    if (rightToLeft)
        add("writing-mode", QStringLiteral("rl"));
    add("text-position", QStringLiteral("baseline"));
    // Qt's fields align every paragraph to the start of its direction and call it left.
    add("text-align", QStringLiteral("left"));
    return attributes;
}

}  // namespace

FieldAccessible::FieldAccessible(TextField* field) : QAccessibleWidget(field, QAccessible::EditableText) {}

QAccessibleInterface* FieldAccessible::Create(const QString&, QObject* object) {
    if (auto* field = qobject_cast<TextField*>(object))
        return new FieldAccessible(field);
    return nullptr;
}

TextField* FieldAccessible::field() const { return static_cast<TextField*>(widget()); }

void* FieldAccessible::interface_cast(QAccessible::InterfaceType type) {
    switch (type) {
    case QAccessible::TextInterface:
        return static_cast<QAccessibleTextInterface*>(this);
    case QAccessible::EditableTextInterface:
        return static_cast<QAccessibleEditableTextInterface*>(this);
    default:
        return QAccessibleWidget::interface_cast(type);
    }
}

QAccessible::State FieldAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.focusable = true;
    state.selectableText = true;
    return state;
}

QString FieldAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value)
        return field()->text();
    return QAccessibleWidget::text(kind);
}

std::size_t FieldAccessible::clamp(int offset) const {
    const std::size_t length = field()->editor().Text().size();
    return offset < 0 ? length : std::min(static_cast<std::size_t>(offset), length);
}

void FieldAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const textedit::Selection& selected = field()->editor().selection();
    const bool there = selectionIndex == 0 && !selected.empty();
    *startOffset = there ? static_cast<int>(selected.begin()) : 0;
    *endOffset = there ? static_cast<int>(selected.end()) : 0;
}

int FieldAccessible::selectionCount() const { return field()->editor().selection().empty() ? 0 : 1; }

void FieldAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void FieldAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0)
        return;
    const std::size_t caret = field()->editor().selection().caret;
    field()->select(caret, caret);
}

void FieldAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        field()->select(clamp(startOffset), clamp(endOffset));
}

int FieldAccessible::cursorPosition() const { return static_cast<int>(field()->editor().selection().caret); }

void FieldAccessible::setCursorPosition(int position) { field()->select(clamp(position), clamp(position)); }

QString FieldAccessible::text(int startOffset, int endOffset) const {
    const std::size_t begin = clamp(startOffset);
    const std::size_t end = std::max(begin, clamp(endOffset));
    return FromUnits(std::u16string_view(field()->editor().Text()).substr(begin, end - begin));
}

std::pair<std::size_t, std::size_t> FieldAccessible::piece(std::size_t position,
                                                           QAccessible::TextBoundaryType boundary) const {
    using textedit::TextUnit;
    const textedit::Field& text = field()->field();
    switch (boundary) {
    case QAccessible::CharBoundary:
        return text.UnitAt(position, TextUnit::Character);
    case QAccessible::WordBoundary:
        // Read as Qt's own fields give a word, and as Orca expects: without the spaces after it.
        return text.editor().WordAt(position);
    case QAccessible::LineBoundary:
        return text.UnitAt(position, TextUnit::Line);
    case QAccessible::SentenceBoundary:
        return text.UnitAt(position, TextUnit::Sentence);
    case QAccessible::ParagraphBoundary:
        return text.UnitAt(position, TextUnit::Paragraph);
    case QAccessible::NoBoundary:
        break;
    }
    return {0, text.editor().Text().size()};
}

QString FieldAccessible::answer(std::pair<std::size_t, std::size_t> range, int* startOffset,
                                int* endOffset) const {
    *startOffset = static_cast<int>(range.first);
    *endOffset = static_cast<int>(range.second);
    return text(*startOffset, *endOffset);
}

QString FieldAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                      int* startOffset, int* endOffset) const {
    return answer(piece(clamp(offset), boundaryType), startOffset, endOffset);
}

QString FieldAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const {
    const std::size_t begin = piece(clamp(offset), boundaryType).first;
    if (begin == 0)
        return answer({0, 0}, startOffset, endOffset);
    return answer(piece(begin - 1, boundaryType), startOffset, endOffset);
}

QString FieldAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
    const std::size_t end = piece(clamp(offset), boundaryType).second;
    const std::size_t length = field()->editor().Text().size();
    if (end >= length)
        return answer({length, length}, startOffset, endOffset);
    return answer(piece(end, boundaryType), startOffset, endOffset);
}

int FieldAccessible::characterCount() const { return static_cast<int>(field()->editor().Text().size()); }

QRect FieldAccessible::characterRect(int offset) const {
    const QRect local = field()->characterRect(clamp(offset));
    return QRect(field()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int FieldAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = field()->viewport()->mapFromGlobal(point);
    if (!field()->viewport()->rect().contains(local))
        return -1;
    return static_cast<int>(field()->positionAt(local));
}

void FieldAccessible::scrollToSubstring(int startIndex, int) { field()->showPosition(clamp(startIndex)); }

// The attributes of the paragraph, or of the paragraph break, at `offset` (-2 the caret, -1 or the
// length the last unit), named as IAccessible2 and AT-SPI name them and in the order Qt's own fields
// give them; nothing where there is no unit.
QString FieldAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    const std::u16string_view text = field()->editor().Text();
    const auto length = static_cast<long long>(text.size());
    long long at = offset == -2 ? cursorPosition() : offset;
    if (at == -1 || at == length)
        at = length - 1;
    if (at < 0 || at >= length) {
        *startOffset = *endOffset = -1;
        return {};
    }
    const auto [begin, end] = AttributeRun(text, static_cast<std::size_t>(at));
    *startOffset = static_cast<int>(begin);
    *endOffset = static_cast<int>(end);
    return FontAttributes(field()->font(),
                          field()->field().DirectionAt(begin) == textedit::TextDirection::RightToLeft);
}

void FieldAccessible::deleteText(int startOffset, int endOffset) { replaceText(startOffset, endOffset, {}); }

void FieldAccessible::insertText(int offset, const QString& text) { replaceText(offset, offset, text); }

void FieldAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    const std::size_t begin = clamp(startOffset);
    field()->replace(begin, std::max(begin, clamp(endOffset)), Units(text));
}

}  // namespace quorvel::forms::qt
