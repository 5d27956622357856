#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

namespace quorvel::forms::qt {

// A multi-line plain-text field that reports every mouse click in it and reads and writes its text
// without the conversions QPlainTextEdit::toPlainText() makes (it turns U+00A0 into a space and U+2028
// into a line feed). Only what the document cannot hold changes: CR, CR LF, U+2029, U+FDD0 and U+FDD1
// all become line breaks, which read back as line feeds.
//
// Its paragraphs are laid out in time linear in their length, however long a run without a break
// opportunity they hold, and it takes nothing but plain text from a paste or a drop.
class TextField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextField(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    // Whether the field holds exactly `text`, code unit by code unit; cheap however long the field is.
    bool holds(const QString& text) const;

signals:
    void clicked();

protected:
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

// The fields hold UTF-16 code units, as the cipher does; these convert without touching them.
std::u16string_view Units(const QString& text);
QString FromUnits(std::u16string_view units);

}  // namespace quorvel::forms::qt
