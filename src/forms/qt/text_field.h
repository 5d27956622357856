#pragma once

#include "char_measurer.h"
#include "field_clipboard.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <string>
#include <string_view>

class QMenu;

namespace quorvel::forms::qt {

// A multi-line plain-text field, a view of the editing core's field: the text, its rows, the selection,
// the undo history, the rows in view and what keys, the mouse, the wheel, the clipboard and the context
// menu do are the core's. The view turns Qt's events into the field's calls, draws what it answers and
// lends it Qt's shaping, timers, clipboard, input method, primary selection and accessibility events.
// It holds every code unit it is given, and reports every left click in it when the button comes up.
// Rows wrap at the field's width; the vertical scroll bar is always shown.
class TextField : public QAbstractScrollArea, private FieldClipboard {
    Q_OBJECT
public:
    explicit TextField(QWidget* parent = nullptr);
    ~TextField() override;

    QString text() const;
    // Sets the text: the caret at the start, the view at the top, no undo.
    void setText(const QString& text);
    void setText(std::u16string text);
    // Whether the field holds exactly `text`, code unit by code unit.
    bool holds(const QString& text) const;
    // A field that shows the plain message keeps every copy out of clipboard history.
    void setSensitive(bool sensitive) { field_.SetSensitive(sensitive); }

    const textedit::Field& field() const { return field_; }
    const textedit::Editor& editor() const { return field_.editor(); }
    // Selects from `anchor` to `caret`, as the user would.
    void select(std::size_t anchor, std::size_t caret) { field_.Select(anchor, caret); }
    // Replaces [from, to) with `text`, as the user would.
    void replace(std::size_t from, std::size_t to, std::u16string_view text) {
        field_.Replace(from, to, text);
    }
    // The caret's rectangle, and that of the cluster at `position`, in the viewport's coordinates.
    QRect cursorRect() const;
    QRect characterRect(std::size_t position) const;
    // The position nearest to `at`, in the viewport's coordinates.
    std::size_t positionAt(QPoint at) const;
    // Scrolls the row of `position` into view.
    void showPosition(std::size_t position) { field_.ScrollIntoView(position, false); }

    // Undo, Redo, Cut, Copy, Paste, Delete and Select All, each enabled as the core says; the caller
    // owns the menu.
    QMenu* createStandardContextMenu();
    void copy() { field_.Run(textedit::MenuCommand::Copy); }
    void cut() { field_.Run(textedit::MenuCommand::Cut); }
    void paste() { field_.Run(textedit::MenuCommand::Paste); }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void clicked();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // FieldHost
    int ShapedX(std::u16string_view row, std::size_t offset) override;
    std::size_t ShapedOffsetAt(std::u16string_view row, int x) override;
    void StartTimer(textedit::FieldTimer timer, int ms) override;
    void StopTimer(textedit::FieldTimer timer) override;
    textedit::DropAction StartDrag(std::u16string_view text, bool sensitive) override;
    void Repaint() override;
    void ScrollBarChanged() override;
    void TextEdited(const textedit::TextChange& change) override;
    void Changed(const textedit::FieldChange& change) override;

    // The command of a key event, or Command::None for a key the core does not know.
    static textedit::KeyCommand CommandOf(const QKeyEvent& event);
    QTimer& timer(textedit::FieldTimer timer);
    // Tells the field the viewport's size and the font's rows; `relayout` after a font change.
    void layOutText(bool relayout);
    void setPrimarySelection();
    // Before a press: the input method commits its composition as it chose, as in Qt's own fields.
    void completeComposition();
    // Tells screen readers where the caret and the selection are now.
    void announceCaret(const textedit::Selection& before);
    void showContextMenu(QPoint global);
    void paintRow(QPainter& painter, const textedit::RowPaint& row, QPalette::ColorGroup group);
    // Draws a row in visual order by Qt's shaping, with `formats` over it.
    void paintLayout(QPainter& painter, const textedit::RowPaint& row,
                     const QList<QTextLayout::FormatRange>& formats);

    CharMeasurer measurer_;
    textedit::Field field_{measurer_, *this};
    QTimer caretTimer_;
    QTimer autoScrollTimer_;
    // The clock of presses, which tells a triple-click as Qt's fields' timer does.
    QElapsedTimer clock_;
    // A composition that a press had the input method commit, whose repeat is not typed again.
    std::u16string repeatedCommit_;
    QTimer repeatTimer_;
    // The scroll bar is being set from the field, which then needs no telling.
    bool settingBar_ = false;
};

// The fields hold UTF-16 code units, as the cipher does; these convert without touching them.
std::u16string_view Units(const QString& text);
QString FromUnits(std::u16string_view units);

}  // namespace quorvel::forms::qt
