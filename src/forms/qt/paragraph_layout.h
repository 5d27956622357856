#pragma once

#include <QPlainTextDocumentLayout>

namespace quorvel::forms::qt {

// The layout of a text field's document: QPlainTextDocumentLayout's, but with each line's wrap mode
// chosen for the text it starts at.
//
// Qt 6.4 lays out a line in word-boundary-or-anywhere mode by first taking the whole word that
// starts it, up to the next break opportunity or space, and only then, when that overflows, laying
// the line out again breaking anywhere. Coded text has neither, so every line of a long coded
// paragraph would read to the paragraph's end: the cost grows with the square of its length. Here a
// line whose first word is longer than the line before is first laid out breaking anywhere; if the
// word did not fit, that is the line Qt would have given, at the line's cost, and else the line is
// laid out again in Qt's mode. Every other line is laid out in Qt's mode at once, so every line is
// the one Qt gives and prose still wraps between words. Since it gives Qt's own lines
// (tests/qt/text_layout_test.cpp), it stays right with a Qt that lays lines out in linear time;
// bench/window_bench shows whether it still pays there.
class ParagraphLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    explicit ParagraphLayout(QTextDocument* document);

    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    enum class SizeNotice { Now, Later };
    void layOut(const QTextBlock& block, SizeNotice notice);

    // The base layout's block count, which decides as the base does whether an edit stayed inside
    // one paragraph.
    int blockCount_ = 1;
    bool sizeNoticePending_ = false;
};

}  // namespace quorvel::forms::qt
