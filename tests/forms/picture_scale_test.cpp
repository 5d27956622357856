#include "picture_scale.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quorvel::forms {
namespace {

// The 96-dpi bitmap below a scale of 1.5, the one of twice the size from there on, drawn at the
// picture's 96-dpi size at the scale, rounded to whole pixels.
TEST(PictureScale, TheBitmapOfTwiceTheSizeFromAScaleOfOneAndAHalf) {
    const PictureSize banner{350, 180};
    for (const auto& [scale, variant, width, height] :
         {std::tuple{1.0, 1, 350, 180}, std::tuple{1.25, 1, 438, 225}, std::tuple{1.49, 1, 522, 268},
          std::tuple{1.5, 2, 525, 270}, std::tuple{1.75, 2, 613, 315}, std::tuple{2.0, 2, 700, 360},
          std::tuple{3.0, 2, 1050, 540}}) {
        const PictureChoice choice = ChoosePicture(banner, scale);
        EXPECT_EQ(choice.variant, variant) << scale;
        EXPECT_EQ(choice.drawn, (PictureSize{width, height})) << scale;
    }
}

TEST(PictureScale, EachBitmapHasAResourceNameOfItsOwn) {
    EXPECT_EQ(PictureResource("banner", 1), "banner");
    EXPECT_EQ(PictureResource("banner", 2), "banner_2x");
    EXPECT_EQ(PictureResource("about", 2), "about_2x");
}

}  // namespace
}  // namespace quorvel::forms
