#pragma once

#include "bidi.h"
#include "measurer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QString>
#include <QTextLayout>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel::forms::qt {

// The fonts a field draws in, all of one size: `plain`, the field's font without shaping or kerning,
// for text that shaping would not change, drawn and measured character by character; `shaped`, the
// same font shaped and kerned by HarfBuzz, for the clusters that need shaping; and the system's colour
// emoji font for the emoji clusters it has, so that a flag, a family or a keycap is one picture.
class FieldFonts {
public:
    explicit FieldFonts(const QFont& plain);
    const QFont& plain() const { return plain_; }
    // `text` as formats over a layout in `plain`: each run of clusters that needs shaping in `shaped`
    // or the emoji font.
    QList<QTextLayout::FormatRange> Formats(std::u16string_view text) const;
    // Whether the cluster is drawn in the emoji font, a picture of its own.
    bool DrawnAsEmoji(std::u16string_view cluster) const;

private:
    QFont plain_;
    QFont shaped_;
    QFont emoji_;
    QFontMetricsF emojiMetrics_;
    bool hasEmoji_ = false;
};

// A text field's widths in its fonts, in 1/64 of a pixel (Qt's own fixed-point unit, so that the sums
// are the positions QTextLayout draws at). A character drawn alone is measured once in the plain font
// and remembered; a run of clusters that needs shaping (marks, right-to-left and Indic scripts,
// surrogate pairs, emoji) is shaped by QTextLayout in the fonts it is drawn in each time it is asked
// for, in the bounded pieces the editing core asks for.
class CharMeasurer final : public textedit::Measurer {
public:
    static constexpr int kScale = 64;

    explicit CharMeasurer(const QFont& font);

    // Measures in `font` from now on; what was remembered is forgotten.
    void SetFont(const QFont& font);
    const QFont& font() const { return fonts_.plain(); }
    const FieldFonts& fonts() const { return fonts_; }
    int LineHeight() const { return lineHeight_; }
    int Ascent() const { return ascent_; }

    void Advances(std::u16string_view piece, std::span<int> advances) override;

private:
    int Width(char16_t unit);
    void Shape(std::u16string_view run, std::span<int> advances);
    void ShapeTogether(std::u16string_view run, std::span<int> advances);
    int EmojiWidth(std::u16string_view cluster);

    FieldFonts fonts_;
    QFontMetricsF metrics_;
    int lineHeight_ = 1;
    int ascent_ = 0;
    // One entry per BMP code unit, negative until measured.
    std::vector<std::int32_t> known_;
    // The widths of the emoji clusters met, each as wide wherever it stands: Qt decodes a colour emoji's
    // picture each time it measures it.
    std::unordered_map<std::u16string, int> knownEmoji_;
};

// What the field draws for a unit: a tab and the line and paragraph separators are drawn as a space,
// which QTextLayout would otherwise turn into a tab stop or a new line.
inline char16_t DrawnUnit(char16_t unit) {
    return unit == u'\t' || unit == 0x2028 || unit == 0x2029 ? u' ' : unit;
}
// `text` as the field draws it.
QString DrawnText(std::u16string_view text);
// The direction Qt lays a row of a paragraph of `direction` out in.
Qt::LayoutDirection LayoutDirection(textedit::TextDirection direction);

// `text` as one unwrapped line of QTextLayout, drawn as the field draws it: for measuring shaped runs,
// and for drawing and hit-testing rows in visual order in their paragraph's base `direction`, from the
// left edge whatever the direction, as QPlainTextEdit draws its rows.
class ShapedRow {
public:
    ShapedRow(std::u16string_view text, const FieldFonts& fonts,
              Qt::LayoutDirection direction = Qt::LayoutDirectionAuto);
    QTextLayout& layout() { return layout_; }
    const QTextLine& line() const { return line_; }

private:
    QTextLayout layout_;
    QTextLine line_;
};

}  // namespace quorvel::forms::qt
