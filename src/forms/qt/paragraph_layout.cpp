#include "paragraph_layout.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

#include <climits>
#include <utility>

namespace quorvel::forms::qt {
namespace {

// Where the word that Qt's word-boundary wrapping takes first on a line ends: at the next line-break
// opportunity, or at the next space, where Qt stops a word whether or not a break may follow it.
// Asked for ascending positions, it reads the paragraph once.
class WordEnds {
public:
    explicit WordEnds(QString text) : text_(std::move(text)), breaks_(QTextBoundaryFinder::Line, text_) {}

    qsizetype After(qsizetype start) {
        while (nextBreak_ >= 0 && nextBreak_ <= start)
            nextBreak_ = breaks_.toNextBoundary();
        for (nextSpace_ = qMax(nextSpace_, start); nextSpace_ < text_.size(); ++nextSpace_) {
            const QChar unit = text_[nextSpace_];
            if (unit.isSpace() && unit.decompositionTag() != QChar::NoBreak)
                break;
        }
        return qMin(nextBreak_ < 0 ? text_.size() : nextBreak_, nextSpace_);
    }

private:
    QString text_;
    QTextBoundaryFinder breaks_;
    qsizetype nextBreak_ = 0;
    qsizetype nextSpace_ = 0;
};

void SetWrapMode(QTextLayout& layout, QTextOption& option, QTextOption::WrapMode mode) {
    option.setWrapMode(mode);
    layout.setTextOption(option);
}

}  // namespace

ParagraphLayout::ParagraphLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

QRectF ParagraphLayout::blockBoundingRect(const QTextBlock& block) const {
    if (block.isValid() && block.layout()->lineCount() == 0)
        const_cast<ParagraphLayout*>(this)->layOut(block, SizeNotice::Later);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void ParagraphLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    QTextDocument* doc = document();
    const QTextBlock first = doc->findBlock(from);
    const QTextBlock last = doc->findBlock(qMax(0, from + charsRemoved + charsAdded - 1));
    if (first == last && doc->blockCount() == blockCount_ && first.isValid() && first.length()) {
        // An edit inside one paragraph is laid out at once, as the base layout does, and only the
        // paragraph is repainted unless its height changed.
        const qreal before = blockBoundingRect(first).height();
        layOut(first, SizeNotice::Now);
        if (blockBoundingRect(first).height() == before)
            emit updateBlock(first);
        else
            emit update(QRectF(0., -doc->documentMargin(), 1000000000., 1000000000.));
        return;
    }
    // Everything else the base layout only marks for a lazy layout, which comes back here.
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    blockCount_ = doc->blockCount();
}

void ParagraphLayout::layOut(const QTextBlock& block, SizeNotice notice) {
    QTextDocument* doc = document();
    const qreal margin = doc->documentMargin();
    // The frame is as wide as the base layout's text width, the width the view gave it.
    qreal width = frameBoundingRect(doc->rootFrame()).width();
    if (width <= 0)
        width = INT_MAX;
    width -= 2 * margin;

    QTextOption option = doc->defaultTextOption();
    const bool chooseByLine = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
    WordEnds wordEnds(chooseByLine ? block.text() : QString());

    QTextLayout* layout = block.layout();
    layout->setCacheEnabled(true);
    layout->setTextOption(option);
    layout->beginLayout();
    qreal height = 0;
    int previousLength = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        if (!chooseByLine) {
            line.setLineWidth(width);
        } else {
            const int start = line.textStart();
            const qsizetype wordEnd = wordEnds.After(start);
            // A first word no longer than the line before costs Qt's own mode no more than that
            // line did. A longer one is tried breaking anywhere: if the word did not fit, Qt would
            // have broken the line anywhere too, and the line stands; if it fit, the line is laid
            // out again in Qt's mode, at the cost of the line.
            const bool shortWord = wordEnd - start <= previousLength;
            SetWrapMode(*layout, option,
                        shortWord ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::WrapAnywhere);
            line.setLineWidth(width);
            if (!shortWord && wordEnd <= start + line.textLength()) {
                SetWrapMode(*layout, option, QTextOption::WrapAtWordBoundaryOrAnywhere);
                line.setLineWidth(width);
            }
            previousLength = line.textLength();
        }
        // Placed after it is laid out, as the base layout does, so that tab stops count from the
        // text's left edge.
        line.setPosition(QPointF(margin, height));
        height += line.height();
        if (line.leading() < 0)
            height += qCeil(line.leading());
    }
    layout->endLayout();

    const int linesBefore = doc->lineCount();
    const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (doc->lineCount() == linesBefore)
        return;
    if (notice == SizeNotice::Now) {
        emit documentSizeChanged(documentSize());
        return;
    }
    // A lazy layout runs while the view paints or measures its scroll bars: it hears of the new
    // size once that is done, once for all paragraphs laid out meanwhile.
    if (sizeNoticePending_)
        return;
    sizeNoticePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            sizeNoticePending_ = false;
            emit documentSizeChanged(documentSize());
        },
        Qt::QueuedConnection);
}

}  // namespace quorvel::forms::qt
