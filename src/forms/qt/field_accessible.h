#pragma once

#include <QAccessibleWidget>

#include <cstddef>
#include <utility>

namespace quorvel::forms::qt {

class TextField;

// What a screen reader reads of a text field: an editable, multi-line text named as its layout names
// it, with its text, caret, selection, the rectangles of its characters, and its text by character,
// word, row, sentence and paragraph as the editing core divides it, and the font and direction each
// paragraph is shown in. Edits are read and made as the user's. Like Qt's own fields it offers no value
// to set, which would replace the whole text.
class FieldAccessible final : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleEditableTextInterface {
public:
    explicit FieldAccessible(TextField* field);

    // The factory for QAccessible::installFactory: an interface for each text field.
    static QAccessibleInterface* Create(const QString& key, QObject* object);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    TextField* field() const;
    std::size_t clamp(int offset) const;
    // The piece of `boundary` that holds `position`, as [begin, end).
    std::pair<std::size_t, std::size_t> piece(std::size_t position,
                                              QAccessible::TextBoundaryType boundary) const;
    QString answer(std::pair<std::size_t, std::size_t> range, int* startOffset, int* endOffset) const;
};

}  // namespace quorvel::forms::qt
