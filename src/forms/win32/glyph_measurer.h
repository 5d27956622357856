#pragma once

#include "measurer.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace quorvel::forms::win32 {

// A text field's widths in one font. A character that the font has and GDI draws alone (Latin, Greek,
// Cyrillic, punctuation, ...) is measured once and remembered for the font; a run of clusters that needs
// shaping by the editing core's table (combining marks, Arabic, Hebrew, Indic scripts, surrogate pairs),
// or of characters the font lacks, is shaped by Uniscribe each time it is asked for, in the bounded
// pieces the editing core asks for: Uniscribe draws what the font lacks in a fallback or linked font, as
// the system's edit control does, and measures it in the font that draws it.
class GlyphMeasurer final : public textedit::Measurer {
public:
    GlyphMeasurer();
    ~GlyphMeasurer() override;
    GlyphMeasurer(const GlyphMeasurer&) = delete;
    GlyphMeasurer& operator=(const GlyphMeasurer&) = delete;

    // Measures in `font` from now on (nullptr: the system font); what was remembered is forgotten.
    void SetFont(HFONT font);
    HFONT font() const { return font_; }
    // A memory DC with the font selected, for painting and shaping.
    HDC dc() const { return dc_; }
    int LineHeight() const { return lineHeight_; }

    void Advances(std::u16string_view piece, std::span<int> advances) override;
    bool NeedsShaping(std::u16string_view text, std::size_t begin, std::size_t end) override;

private:
    int Width(char16_t unit);
    bool Lacks(char16_t unit);
    void MeasureBlock(char16_t first);
    void Shape(std::u16string_view run, std::span<int> advances);

    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    int lineHeight_ = 0;
    int averageWidth_ = 0;
    int tabWidth_ = 0;
    // One entry per BMP code unit, measured a block of 256 at a time on first use: its width, and whether
    // the font has no glyph for it.
    std::vector<int> known_;
    std::vector<bool> lacking_;
    // The same for the characters below the combining marks, at hand for coded text and Latin.
    static constexpr char16_t kMarks = 0x0300;
    std::array<bool, kMarks> lacksBelowMarks_{};
    std::vector<bool> measuredBlocks_;
    std::vector<int> logical_;
};

}  // namespace quorvel::forms::win32
