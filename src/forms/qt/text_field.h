#pragma once

#include "char_measurer.h"
#include "editor.h"
#include "key_map.h"
#include "preedit.h"
#include "viewport.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <string>
#include <string_view>

class QMenu;
class QMimeData;

namespace quorvel::forms::qt {

// A multi-line plain-text field over the editing core: the text, its rows, the selection, the undo
// history, which rows are in view and what keys and the context menu do are the core's; the field
// measures, paints only the rows in view, and turns Qt's keys, mouse, drops, input method and clipboard
// into the core's calls. It holds every code unit it is given, and reports every left click in it when
// the button comes up. Rows wrap at the field's width; the vertical scroll bar is always shown.
class TextField : public QAbstractScrollArea, private textedit::DrawnRows {
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

    const textedit::Editor& editor() const { return editor_; }
    // Selects from `anchor` to `caret`, as the user would.
    void select(std::size_t anchor, std::size_t caret);
    // Replaces [from, to) with `text`, as the user would.
    void replace(std::size_t from, std::size_t to, std::u16string_view text);
    // The caret's rectangle, and that of the cluster at `position`, in the viewport's coordinates.
    QRect cursorRect();
    QRect characterRect(std::size_t position);
    // The position nearest to `at`, in the viewport's coordinates.
    std::size_t positionAt(QPoint at);
    // Scrolls the row of `position` into view.
    void showPosition(std::size_t position);

    // Undo, Redo, Cut, Copy, Paste, Delete and Select All, each enabled as the core says; the caller
    // owns the menu.
    QMenu* createStandardContextMenu();
    void copy();
    void cut();
    void paste();

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
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // The command of a key event, or Command::None for a key the core does not know.
    static textedit::KeyCommand CommandOf(const QKeyEvent& event);
    // Carries out what a key asks: the clipboard's commands here, the others in the core.
    void run(const textedit::KeyCommand& command);
    // Runs an edit or a caret move of the user's, and brings the view up to date after it: the caret in
    // view, the scroll bar, the paint, the primary selection and the accessibility events.
    template <typename Change> void userEdit(Change change);
    void beforeChange();
    void afterChange(const textedit::Selection& before);
    void textChanged(const textedit::TextChange& change);
    void pasteFrom(const QMimeData* data);
    void setPrimarySelection();
    void drag(QPoint at);
    void autoScroll();
    void showContextMenu(QPoint global);

    int textWidth() const;
    void relayout();
    void updateViewport();
    void updateScrollBar();
    void restartCaret();
    void paintRow(QPainter& painter, std::size_t row, int y);
    // Draws the caret's row with the input method's pre-edit at the caret.
    void paintComposing(QPainter& painter, std::size_t row, int y);
    std::u16string_view rowText(std::size_t row) const;
    static bool shaped(std::u16string_view row);
    int CaretX(std::size_t row, std::size_t position, bool atEndOfRow) override;
    std::size_t PositionAtX(std::size_t row, int x) override;
    void moveToPoint(QPoint at, bool extend);

    CharMeasurer measurer_;
    textedit::Editor editor_;
    textedit::Viewport viewport_{editor_.rows()};
    textedit::Preedit preedit_;
    QTimer caretTimer_;
    QTimer autoScrollTimer_;
    QPoint dragPoint_;
    bool caretShown_ = false;
    bool selecting_ = false;
    bool changed_ = false;
};

template <typename Change> void TextField::userEdit(Change change) {
    const textedit::Selection before = editor_.selection();
    beforeChange();
    change();
    afterChange(before);
}

// The fields hold UTF-16 code units, as the cipher does; these convert without touching them.
std::u16string_view Units(const QString& text);
QString FromUnits(std::u16string_view units);

}  // namespace quorvel::forms::qt
