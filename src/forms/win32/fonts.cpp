#include "fonts.h"

#include "font_choice.h"
#include "wide.h"

#include <cmath>
#include <cwchar>
#include <string>

namespace quorvel::forms::win32 {
namespace {

// Whether `family` is installed, and with `outline` whether it is installed as an outline font (TrueType
// or OpenType), not only as bitmaps.
bool FamilyInstalled(const std::wstring& family, bool outline) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(query.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    struct Search {
        bool outline = false;
        bool found = false;
    } search{outline};
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &query,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM searching) -> int {
            auto& search = *reinterpret_cast<Search*>(searching);
            search.found = !search.outline || (type & RASTER_FONTTYPE) == 0;
            return search.found ? 0 : 1;
        },
        reinterpret_cast<LPARAM>(&search), 0);
    ReleaseDC(nullptr, screen);
    return search.found;
}

}  // namespace

HFONT CreateLayoutFont(const Font& font, UINT dpi, bool outline) {
    // Tahoma is wide and open like Verdana; Microsoft Sans Serif is the outline successor of MS Sans
    // Serif, of the same design and metrics at 100%.
    static constexpr StandIns kStandIns{"Tahoma", "Microsoft Sans Serif"};
    std::wstring chosen = Wide(font.family);
    for (const std::string_view family : FamilyChoices(font, kStandIns)) {
        if (const std::wstring candidate = Wide(family); FamilyInstalled(candidate, outline)) {
            chosen = candidate;
            break;
        }
    }
    LOGFONTW face{};
    face.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
    face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    face.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(face.lfFaceName, chosen.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&face);
}

HFONT CreateSystemFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), GetDpiForSystem());
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace quorvel::forms::win32
