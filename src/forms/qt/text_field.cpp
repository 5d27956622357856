#include "text_field.h"

#include "paragraph_layout.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextDocument>

namespace quorvel::forms::qt {
namespace {

// Latin text is drawn without OpenType shaping (kerning and ligatures), as Windows draws an edit
// control's text: a field lays out a whole paragraph again at every keystroke, and shaping was more
// than half of that cost. Scripts that need shaping to be legible are still shaped.
QFont Unshaped(QFont font) {
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    return font;
}

}  // namespace

TextField::TextField(QWidget* parent) : QPlainTextEdit(parent) {
    auto* document = new QTextDocument(this);
    document->setDocumentLayout(new ParagraphLayout(document));
    setDocument(document);
    // Only the style strategy is set: family and size still come from the window.
    setFont(Unshaped(QFont()));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Coded text has no spaces, so long lines must be able to break anywhere.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there, so that a paragraph is not laid out twice when it grows past the field's height
    // and the bar would narrow the text.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves between the window's controls, in the layout's tab order.
    setTabChangesFocus(true);
}

QString TextField::text() const {
    QString raw = document()->toRawText();
    // Every unit is written back, so the loop vectorizes: QString::replace is several times slower
    // on a large paste.
    char16_t* units = reinterpret_cast<char16_t*>(raw.data());
    for (qsizetype k = 0; k < raw.size(); ++k)
        units[k] = units[k] == QChar::ParagraphSeparator ? u'\n' : units[k];
    return raw;
}

// QPlainTextEdit::setPlainText replaces the text and then sets its character format in the same edit,
// which lays a paragraph out twice: once when the edit moves a cursor over it, and again when the
// edit ends. The document's own replacement lays it out once.
void TextField::setText(const QString& text) {
    QTextDocument* document = this->document();
    const bool undo = document->isUndoRedoEnabled();
    // A written text starts a new undo history, as the toolkit's own setter does.
    document->setUndoRedoEnabled(false);
    document->setPlainText(text);
    document->setUndoRedoEnabled(undo);
    document->setModified(false);
    moveCursor(QTextCursor::Start);
}

bool TextField::holds(const QString& text) const {
    // The document counts one more character than it shows, for its final block separator.
    return document()->characterCount() - 1 == text.size() && this->text() == text;
}

void TextField::changeEvent(QEvent* event) {
    // A font set from outside is taken unshaped; setting it sends this event again.
    if (event->type() == QEvent::FontChange && !(font().styleStrategy() & QFont::PreferNoShaping)) {
        setFont(Unshaped(font()));
        return;
    }
    QPlainTextEdit::changeEvent(event);
}

void TextField::mouseReleaseEvent(QMouseEvent* event) {
    // A middle click pastes the selection where it is clicked; with nothing to paste it leaves the
    // cursor where it was.
    if (event->button() == Qt::MiddleButton &&
        !canInsertFromMimeData(QGuiApplication::clipboard()->mimeData(QClipboard::Selection))) {
        event->accept();
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

bool TextField::canInsertFromMimeData(const QMimeData* source) const { return source && source->hasText(); }

// Every paste and drop ends here: Ctrl+V, Shift+Insert, the context menu, a middle click and a drop.
// Qt 6.4's own version reads the first of the offered formats before it looks whether there are any,
// and crashes on an empty clipboard; and it would take markdown or HTML where the field holds plain
// text. The field takes the plain text, exactly, or nothing: that is its own rule, so the override
// stays with a Qt that no longer crashes.
void TextField::insertFromMimeData(const QMimeData* source) {
    if (!canInsertFromMimeData(source))
        return;
    QTextCursor cursor = textCursor();
    cursor.insertText(source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}

std::u16string_view Units(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString FromUnits(std::u16string_view units) {
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

}  // namespace quorvel::forms::qt
