#include "font_choice.h"

namespace quorvel::forms {

std::array<std::string_view, 3> FamilyChoices(const Font& font, const StandIns& standIns) {
    return {font.family, font.family == "Verdana" ? standIns.wide : standIns.narrow, standIns.wide};
}

}  // namespace quorvel::forms
