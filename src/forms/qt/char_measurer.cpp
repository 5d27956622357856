#include "char_measurer.h"

#include "cluster_measure.h"

#include "units.h"

#include <algorithm>
#include <cmath>

namespace quorvel::forms::qt {
namespace {

// Wide enough for any piece on one line.
constexpr qreal kUnboundedWidth = 1e7;

constexpr std::size_t kMaxKnownEmoji = 4096;

// A code point a font may lack without the cluster being drawn wrong: a variation selector, which
// picks between the font's own glyphs.
bool IsVariationSelector(char32_t c) {
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

QFont Shaped(QFont font) {
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() & ~QFont::PreferNoShaping));
    font.setKerning(true);
    return font;
}

// The emoji font fontconfig names, all of the cluster from it: Qt 6.4 merges fonts code point by code
// point and takes a keycap's digit, or a heart before U+FE0F, from the text font.
QFont Emoji(QFont font) {
    font.setFamilies({QStringLiteral("emoji")});
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QTextLayout::FormatRange Range(std::size_t begin, std::size_t end, const QFont& font) {
    QTextLayout::FormatRange range;
    range.start = static_cast<int>(begin);
    range.length = static_cast<int>(end - begin);
    range.format.setFont(font);
    return range;
}

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

FieldFonts::FieldFonts(const QFont& plain)
    : plain_(plain), shaped_(Shaped(plain)), emoji_(Emoji(plain)), emojiMetrics_(emoji_),
      hasEmoji_(emojiMetrics_.inFontUcs4(0x1F600)) {}

bool FieldFonts::DrawnAsEmoji(std::u16string_view cluster) const {
    if (!hasEmoji_ || !textedit::IsEmojiPresentation(cluster))
        return false;
    for (std::size_t at = 0; at < cluster.size(); ++at) {
        const char32_t c = textedit::CodePointAt(cluster, at);
        if (c > 0xFFFF)
            ++at;
        if (!IsVariationSelector(c) && !emojiMetrics_.inFontUcs4(c))
            return false;
    }
    return true;
}

QList<QTextLayout::FormatRange> FieldFonts::Formats(std::u16string_view text) const {
    QList<QTextLayout::FormatRange> formats;
    std::size_t begin = 0;
    const QFont* font = nullptr;
    for (std::size_t at = 0; at < text.size();) {
        const bool lone = at + 1 < text.size() && textedit::IsLoneUnitCluster(text[at], text[at + 1]);
        const std::size_t next = lone ? at + 1 : textedit::NextCluster(text, at);
        const QFont* drawn = lone || !textedit::NeedsShaping(text, at, next) ? nullptr
                             : DrawnAsEmoji(text.substr(at, next - at))      ? &emoji_
                                                                             : &shaped_;
        if (drawn != font) {
            if (font)
                formats.push_back(Range(begin, at, *font));
            begin = at;
            font = drawn;
        }
        at = next;
    }
    if (font)
        formats.push_back(Range(begin, text.size(), *font));
    return formats;
}

ShapedRow::ShapedRow(std::u16string_view text, const FieldFonts& fonts, Qt::LayoutDirection direction)
    : layout_(DrawnText(text), fonts.plain()) {
    layout_.setFormats(fonts.Formats(text));
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

CharMeasurer::CharMeasurer(const QFont& font) : fonts_(font), metrics_(font) { SetFont(font); }

void CharMeasurer::SetFont(const QFont& font) {
    fonts_ = FieldFonts(font);
    metrics_ = QFontMetricsF(font);
    lineHeight_ = std::max(1, static_cast<int>(std::ceil(metrics_.height())));
    ascent_ = static_cast<int>(std::ceil(metrics_.ascent()));
    known_.assign(0x10000, -1);
    knownEmoji_.clear();
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
    // An emoji is drawn in a font of its own, apart from what is around it.
    std::size_t begin = 0;
    for (std::size_t at = 0; at < run.size();) {
        const std::size_t next = textedit::NextCluster(run, at);
        if (const std::u16string_view cluster = run.substr(at, next - at); fonts_.DrawnAsEmoji(cluster)) {
            ShapeTogether(run.substr(begin, at - begin), advances.subspan(begin, at - begin));
            advances[at] = EmojiWidth(cluster);
            begin = next;
        }
        at = next;
    }
    ShapeTogether(run.substr(begin), advances.subspan(begin));
}

int CharMeasurer::EmojiWidth(std::u16string_view cluster) {
    // Bounded, whatever sequences the text holds.
    if (knownEmoji_.size() >= kMaxKnownEmoji)
        knownEmoji_.clear();
    const auto [known, added] = knownEmoji_.try_emplace(std::u16string(cluster), 0);
    if (added) {
        const ShapedRow shaped(cluster, fonts_);
        if (shaped.line().isValid())
            known->second = Scaled(shaped.line().cursorToX(static_cast<int>(cluster.size())));
    }
    return known->second;
}

void CharMeasurer::ShapeTogether(std::u16string_view run, std::span<int> advances) {
    if (run.empty())
        return;
    const ShapedRow shaped(run, fonts_);
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
