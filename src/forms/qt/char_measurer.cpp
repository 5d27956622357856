#include "char_measurer.h"

#include "cluster_measure.h"

#include "units.h"

#include <algorithm>
#include <cmath>

namespace quorvel::forms::qt {
namespace {

// Wide enough for any piece on one line.
constexpr qreal kUnboundedWidth = 1e7;

int Scaled(qreal pixels) { return std::max(0, static_cast<int>(std::lround(pixels * CharMeasurer::kScale))); }

}  // namespace

QString DrawnText(std::u16string_view text) {
    QString drawn(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    std::ranges::transform(text, reinterpret_cast<char16_t*>(drawn.data()), DrawnUnit);
    return drawn;
}

Qt::LayoutDirection LayoutDirection(textedit::TextDirection direction) {
    return direction == textedit::TextDirection::RightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
}

ShapedRow::ShapedRow(std::u16string_view text, const QFont& font, Qt::LayoutDirection direction)
    : layout_(DrawnText(text), font) {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(direction);
    layout_.setTextOption(option);
    layout_.beginLayout();
    line_ = layout_.createLine();
    if (line_.isValid())
        line_.setLineWidth(kUnboundedWidth);
    layout_.endLayout();
}

CharMeasurer::CharMeasurer(const QFont& font) : metrics_(font) { SetFont(font); }

void CharMeasurer::SetFont(const QFont& font) {
    font_ = font;
    metrics_ = QFontMetricsF(font);
    lineHeight_ = std::max(1, static_cast<int>(std::ceil(metrics_.height())));
    ascent_ = static_cast<int>(std::ceil(metrics_.ascent()));
    known_.assign(0x10000, -1);
}

int CharMeasurer::Width(char16_t unit) {
    std::int32_t& width = known_[unit];
    if (width < 0)
        width = unit == u'\t' ? Scaled(textedit::Measurer::TabAverageCharacters * metrics_.averageCharWidth())
                : textedit::IsSurrogate(unit) ? Scaled(metrics_.horizontalAdvance(QChar(0xFFFD)))
                                              : Scaled(metrics_.horizontalAdvance(QChar(DrawnUnit(unit))));
    return width;
}

void CharMeasurer::Advances(std::u16string_view piece, std::span<int> advances) {
    textedit::MeasureClusters(
        piece, advances, [this](char16_t unit) { return Width(unit); }, textedit::NeedsShaping,
        [this](std::u16string_view run, std::span<int> runAdvances) { Shape(run, runAdvances); });
}

void CharMeasurer::Shape(std::u16string_view run, std::span<int> advances) {
    std::ranges::fill(advances, 0);
    const ShapedRow shaped(run, font_);
    const QTextLine& line = shaped.line();
    // A cluster is as wide as the distance between the carets at its edges; in a run of one direction
    // that is the cluster's own advance.
    for (std::size_t at = 0; at < run.size();) {
        const std::size_t next = textedit::NextCluster(run, at);
        if (line.isValid()) {
            const qreal left = line.cursorToX(static_cast<int>(at));
            const qreal right = line.cursorToX(static_cast<int>(next));
            advances[at] = Scaled(std::abs(right - left));
        } else {
            advances[at] = Width(run[at]);
        }
        at = next;
    }
}

}  // namespace quorvel::forms::qt
