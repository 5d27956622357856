#include "text_field.h"

#include <QMouseEvent>
#include <QTextDocument>

namespace quorvel::forms {

TextField::TextField(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Coded text has no spaces, so long lines must be able to break anywhere.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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

void TextField::setText(const QString& text) { setPlainText(text); }

bool TextField::holds(const QString& text) const {
    // The document counts one more character than it shows, for its final block separator.
    return document()->characterCount() - 1 == text.size() && this->text() == text;
}

void TextField::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

std::u16string_view Units(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString FromUnits(std::u16string_view units) {
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

}  // namespace quorvel::forms
