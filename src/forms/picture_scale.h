#pragma once

#include <string>
#include <string_view>

// Which bitmap of a picture a window draws at its scale, and how large. Every picture exists at
// 96 dpi and at twice that size; from a scale of 1.5 on the larger one is nearer to the size drawn,
// and shrinking it keeps the detail that blowing up the smaller one would blur.
namespace quorvel::forms {

struct PictureSize {
    int width, height;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

struct PictureChoice {
    int variant;        // 1: the 96-dpi bitmap; 2: the one of twice its size
    PictureSize drawn;  // in device pixels: the picture's 96-dpi size at the window's scale
};

// `size`: the picture's size at 96 dpi. `scale`: device pixels to a 96-dpi pixel, a Qt window's
// device pixel ratio or a Win32 window's dpi / 96.
PictureChoice ChoosePicture(PictureSize size, double scale);

// The name of a picture's bitmap of this variant among the program's resources: "banner" and
// "banner_2x".
std::string PictureResource(std::string_view picture, int variant);

}  // namespace quorvel::forms
