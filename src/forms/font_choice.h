#pragma once

#include "layout.h"

#include <array>
#include <string_view>

namespace quorvel::forms {

// The families a platform has in place of the layouts' fonts where those are missing: one wide and
// open like Verdana, and one narrower, close to MS Sans Serif.
struct StandIns {
    std::string_view wide;
    std::string_view narrow;
};

// The families to try for a layout's font, best first: its own, the stand-in of similar metrics, and
// the wide stand-in as the last resort.
std::array<std::string_view, 3> FamilyChoices(const Font& font, const StandIns& standIns);

}  // namespace quorvel::forms
