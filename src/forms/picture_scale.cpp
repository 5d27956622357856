#include "picture_scale.h"

#include <cmath>

namespace quorvel::forms {

PictureChoice ChoosePicture(PictureSize size, double scale) {
    return {scale >= 1.5 ? 2 : 1,
            {static_cast<int>(std::lround(size.width * scale)),
             static_cast<int>(std::lround(size.height * scale))}};
}

std::string PictureResource(std::string_view picture, int variant) {
    std::string name(picture);
    if (variant != 1)
        name.append("_").append(std::to_string(variant)).append("x");
    return name;
}

}  // namespace quorvel::forms
