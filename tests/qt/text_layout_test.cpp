// How the text fields wrap their paragraphs: as Qt's own word-boundary-or-anywhere wrapping does,
// line for line, for prose, coded text, long runs without a break opportunity and any mix of them.
#include "passes.h"
#include "text_field.h"

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace quorvel::forms::qt {
namespace {

// Paragraphs of words, coded text, long unbroken runs, CJK, marks and separators, in any mix.
class ParagraphGenerator {
public:
    explicit ParagraphGenerator(std::uint32_t seed) : random_(seed) {}

    QString Paragraph(int length) {
        QString text;
        while (text.size() < length)
            AppendPiece(text);
        text.truncate(length);
        return text;
    }

private:
    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

    void AppendPiece(QString& text) {
        static const QStringList kWords = {"the",  "quick", "brown", "fox",  "Grüße",
                                           "7:30", "100%",  "a",     "jumps"};
        switch (Below(8)) {
        case 0:
        case 1:
            for (int k = Below(40); k >= 0; --k)
                text += kWords[Below(kWords.size())] + (Below(9) ? " " : "\u00a0");
            break;
        case 2:
            text += FromUnits(EncodeMessage(Units(Paragraph(Below(600)))));
            break;
        case 3:
            text += QString(100 + Below(2900), QChar(u"xW%-/"[Below(5)]));
            break;
        case 4:
            for (int k = Below(300); k >= 0; --k)
                text += QChar(0x4E00 + Below(500));
            break;
        case 5:
            text += QStringLiteral("e\u0301\u0327 \u2028\t\U0001F600 ");
            break;
        case 6:
            // A line break, then a word that may or may not fit a line.
            text += "\u2028" + QString(5 + Below(80), QChar(u"mi"[Below(2)])) + " ";
            break;
        default:
            text += " ";
        }
    }

    std::mt19937 random_;
};

// Where each line of the field's only paragraph starts.
std::vector<int> FieldLineStarts(const TextField& field) {
    const QTextBlock block = field.document()->firstBlock();
    field.document()->documentLayout()->blockBoundingRect(block);
    std::vector<int> starts;
    for (int k = 0; k < block.layout()->lineCount(); ++k)
        starts.push_back(block.layout()->lineAt(k).textStart());
    return starts;
}

// The same paragraph laid out by Qt alone, as the field's base layout would.
std::vector<int> QtLineStarts(const TextField& field, const QString& text) {
    const QTextDocument* document = field.document();
    QTextLayout layout(text, document->defaultFont());
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<int> starts;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(field.viewport()->width() - 2 * document->documentMargin());
        starts.push_back(line.textStart());
    }
    layout.endLayout();
    return starts;
}

class TextLayout : public ::testing::Test {
protected:
    void SetUp() override {
        field.resize(409, 120);
        field.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    }
    void ExpectQtLines(const QString& text) {
        ASSERT_EQ(field.document()->blockCount(), 1);
        ASSERT_EQ(field.text(), text);
        const std::vector<int> ours = FieldLineStarts(field);
        const std::vector<int> qt = QtLineStarts(field, text);
        const auto [mismatch, _] = std::ranges::mismatch(ours, qt);
        const int line = static_cast<int>(mismatch - ours.begin());
        EXPECT_EQ(ours, qt) << "first differing line " << line << " of " << qt.size() << ", at "
                            << text.mid(line < int(qt.size()) ? qt[line] - 30 : 0, 60).toStdString();
    }
    TextField field;
};

TEST_F(TextLayout, WrapsEveryParagraphAsQtDoes) {
    ParagraphGenerator generator(7);
    for (int sample = 0; sample < 120; ++sample) {
        const QString text = generator.Paragraph(100 + sample * 70);
        field.resize(100 + sample * 37 % 800, 120);
        field.setText(text);
        ExpectQtLines(text);
    }
}

TEST_F(TextLayout, WrapsAsQtDoesAfterTypingAndResizing) {
    ParagraphGenerator generator(11);
    QString text = generator.Paragraph(5000);
    field.setText(text);
    ExpectQtLines(text);
    field.moveCursor(QTextCursor::End);
    for (const QString typed : {"x", " word", "%K7B20", "!"}) {
        QTest::keyClicks(&field, typed);
        text += typed;
        ExpectQtLines(text);
    }
    for (const int width : {150, 700, 409}) {
        field.resize(width, 120);
        QCoreApplication::processEvents();
        ExpectQtLines(text);
    }
}

TEST_F(TextLayout, ProseNeverBreaksInsideAWord) {
    const QString prose =
        QString("Meet me at the old mill tomorrow morning, bring the maps. ").repeated(2000);
    field.setText(prose);
    for (const int start : FieldLineStarts(field))
        EXPECT_TRUE(start == 0 || prose[start - 1] == ' ') << prose.mid(start - 10, 20).toStdString();
}

}  // namespace
}  // namespace quorvel::forms::qt
