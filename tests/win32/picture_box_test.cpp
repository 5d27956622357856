// Picture boxes at the window's DPI: the bitmap of 96 dpi unscaled at 96 dpi, the bitmap of twice
// the size unscaled once the window has moved to 192 dpi, and that bitmap shrunk to the picture's
// size at 144 dpi.
#include "about_window.h"
#include "driver.h"
#include "main_window.h"
#include "win32_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::forms::win32 {
namespace {

// Pixels read back from a bitmap, top row first, 0x00RRGGBB.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgb;
    std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y * width + x)] & 0xFFFFFF; }
};

Pixels Read(HDC dc, HBITMAP bitmap) {
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    Pixels pixels{size.bmWidth, size.bmHeight, {}};
    pixels.rgb.resize(static_cast<std::size_t>(size.bmWidth * size.bmHeight));
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.rgb.data(), &format, DIB_RGB_COLORS);
    return pixels;
}

// One of the program's bitmap resources.
Pixels Resource(const wchar_t* name) {
    auto* bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, 0));
    EXPECT_NE(bitmap, nullptr);
    HDC screen = GetDC(nullptr);
    Pixels pixels = Read(screen, bitmap);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return pixels;
}

// The box as it paints itself, into a bitmap as on the screen.
Pixels Painted(HWND box) {
    RECT area{};
    GetClientRect(box, &area);
    HDC screen = GetDC(nullptr);
    HDC drawn = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, area.right, area.bottom);
    HGDIOBJ previous = SelectObject(drawn, canvas);
    SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawn), PRF_CLIENT);
    SelectObject(drawn, previous);
    Pixels pixels = Read(drawn, canvas);
    DeleteObject(canvas);
    DeleteDC(drawn);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// How many pixels of `shown` differ from `bitmap` where both lie.
int Differing(const Pixels& shown, const Pixels& bitmap) {
    int differing = 0;
    for (int y = 0; y < std::min(shown.height, bitmap.height); ++y)
        for (int x = 0; x < std::min(shown.width, bitmap.width); ++x)
            differing += shown.at(x, y) != bitmap.at(x, y);
    return differing;
}

Win32Window& Native(Form& form) { return *dynamic_cast<Win32Window*>(form.window()); }

// Tells the window that it is on a monitor of `dpi`, as Windows does when it is moved there.
void MoveToDpi(HWND window, UINT dpi) {
    RECT outer{};
    GetWindowRect(window, &outer);
    const RECT suggested{outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, dpi, 96),
                         outer.top + MulDiv(outer.bottom - outer.top, dpi, 96)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

const std::uint32_t kWindowColour = [] {
    const COLORREF colour = GetSysColor(COLOR_BTNFACE);
    return std::uint32_t(GetRValue(colour)) << 16 | std::uint32_t(GetGValue(colour)) << 8 | GetBValue(colour);
}();

struct Case {
    const WindowLayout* layout;
    const wchar_t *single, *doubled;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.layout->name; }

class PictureAtDpi : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        form.Show();
        testing::drive::Opened(form);
        box = Native(form).Control("Picture1");
        ASSERT_NE(box, nullptr);
    }

    Form form{*GetParam().layout};
    HWND box = nullptr;
};

// The box shows this bitmap pixel for pixel from its top-left corner, and the window's colour
// beyond it.
void ExpectUnscaled(HWND box, const wchar_t* resource) {
    const Pixels bitmap = Resource(resource);
    const Pixels shown = Painted(box);
    ASSERT_GT(shown.width, bitmap.width);
    EXPECT_EQ(Differing(shown, bitmap), 0);
    EXPECT_EQ(shown.at(bitmap.width, 2), kWindowColour);
}

TEST_P(PictureAtDpi, At96DpiTheBitmapUnscaled) { ExpectUnscaled(box, GetParam().single); }

TEST_P(PictureAtDpi, At192DpiTheBitmapOfTwiceTheSizeUnscaled) {
    MoveToDpi(Native(form).handle(), 192);
    ExpectUnscaled(box, GetParam().doubled);
}

// `bitmap` resized to width x height: each pixel the mean of the part of the bitmap it covers.
Pixels Resized(const Pixels& bitmap, int width, int height) {
    // For each pixel along one axis, the bitmap's pixels it covers and how much of each.
    auto cover = [](int from, int to) {
        std::vector<std::vector<std::pair<int, double>>> parts(static_cast<std::size_t>(to));
        const double step = double(from) / to;
        for (int i = 0; i < to; ++i)
            for (int s = int(i * step); s < from && s < (i + 1) * step; ++s)
                parts[static_cast<std::size_t>(i)].emplace_back(
                    s, (std::min((i + 1) * step, s + 1.0) - std::max(i * step, double(s))) / step);
        return parts;
    };
    const auto columns = cover(bitmap.width, width), rows = cover(bitmap.height, height);
    Pixels resized{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height))};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (const int shift : {0, 8, 16}) {
                double sum = 0;
                for (const auto& [sy, wy] : rows[static_cast<std::size_t>(y)])
                    for (const auto& [sx, wx] : columns[static_cast<std::size_t>(x)])
                        sum += wy * wx * (bitmap.at(sx, sy) >> shift & 0xFF);
                resized.rgb[static_cast<std::size_t>(y * width + x)] |= std::uint32_t(sum + 0.5) << shift;
            }
    return resized;
}

// The mean difference of `shown` from `expected` over expected's pixels that `shown` holds, per colour
// channel, from 0 to 255.
double MeanDifference(const Pixels& shown, const Pixels& expected) {
    double difference = 0;
    int compared = 0;
    for (int y = 0; y < std::min(shown.height, expected.height); ++y)
        for (int x = 0; x < std::min(shown.width, expected.width); ++x, ++compared)
            for (const int shift : {0, 8, 16})
                difference +=
                    std::abs(int(shown.at(x, y) >> shift & 0xFF) - int(expected.at(x, y) >> shift & 0xFF));
    return difference / (3.0 * compared);
}

// At 144 dpi the picture is one and a half times its 96-dpi size: the larger bitmap, shrunk. Both
// bitmaps brought to that size look alike, so the picture shown must be clearly nearer to the larger
// one than to the smaller one blown up.
TEST_P(PictureAtDpi, At144DpiTheBitmapOfTwiceTheSizeShrunkToThePicturesSize) {
    MoveToDpi(Native(form).handle(), 144);
    const Pixels single = Resource(GetParam().single);
    const Pixels shown = Painted(box);
    const int width = single.width * 3 / 2, height = single.height * 3 / 2;
    ASSERT_GT(shown.width, width + 1);
    EXPECT_EQ(shown.at(width, 4), kWindowColour);
    const double fromDoubled = MeanDifference(shown, Resized(Resource(GetParam().doubled), width, height));
    const double fromSingle = MeanDifference(shown, Resized(single, width, height));
    EXPECT_LT(fromDoubled, 0.7 * fromSingle)
        << "from the larger bitmap " << fromDoubled << ", from the smaller " << fromSingle;
}

INSTANTIATE_TEST_SUITE_P(Windows, PictureAtDpi,
                         ::testing::Values(Case{&windows::kMainLayout, L"banner", L"banner_2x"},
                                           Case{&windows::kAboutLayout, L"about", L"about_2x"}),
                         [](const auto& info) { return std::string(info.param.layout->name); });

}  // namespace
}  // namespace quorvel::forms::win32
