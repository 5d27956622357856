// The layout rules both backends follow, against values worked out by hand.
#include "failure.h"
#include "font_choice.h"
#include "placement.h"
#include "tab_order.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace quorvel::forms {
namespace {

std::vector<std::string_view> Names(const std::vector<const ControlLayout*>& controls) {
    std::vector<std::string_view> names;
    for (const ControlLayout* control : controls)
        names.push_back(control->name);
    return names;
}

// Written out of tab order, with two controls of equal index.
constexpr ControlLayout kShuffled[] = {
    {"Command2", ControlKind::PushButton, 0, 0, 100, 100, 4, "", nullptr},
    {"Label1", ControlKind::Label, 0, 0, 100, 100, 0, "", nullptr},
    {"Command3", ControlKind::PushButton, 0, 0, 100, 100, 2, "", nullptr},
    {"Text1", ControlKind::TextField, 0, 0, 100, 100, 1, "", nullptr},
    {"Command1", ControlKind::PushButton, 0, 0, 100, 100, 2, "", nullptr},
};
constexpr WindowLayout kShuffledLayout{.name = "frmShuffled",
                                       .caption = "",
                                       .clientWidth = 1500,
                                       .clientHeight = 1500,
                                       .frame = Frame::FixedSingle,
                                       .icon = Icon::ToolkitDefault,
                                       .placement = Placement::SystemDefault,
                                       .controls = kShuffled};

TEST(TabOrder, SortsByTabIndexAndKeepsTheTablesOrderAmongEqualIndexes) {
    EXPECT_EQ(Names(InTabOrder(kShuffledLayout)),
              (std::vector<std::string_view>{"Label1", "Text1", "Command3", "Command1", "Command2"}));
}

TEST(TabOrder, TheFirstFocusIsTheFirstControlInTabOrderThatTakesIt) {
    EXPECT_EQ(FirstFocus(kShuffledLayout)->name, "Text1");

    constexpr ControlLayout kNoFocus[] = {
        {"Label1", ControlKind::Label, 0, 0, 100, 100, 1, "", nullptr},
        {"Picture1", ControlKind::PictureBox, 0, 0, 100, 100, 0, "", nullptr},
    };
    WindowLayout labelsOnly = kShuffledLayout;
    labelsOnly.controls = kNoFocus;
    EXPECT_EQ(FirstFocus(labelsOnly), nullptr);
}

TEST(Pixels, RoundToTheNearestPixelWithHalvesAwayFromZero) {
    EXPECT_EQ(Pixels(7), 0);
    EXPECT_EQ(Pixels(8), 1);
    EXPECT_EQ(Pixels(-8), -1);
    EXPECT_EQ(Pixels(-120), -8);
    EXPECT_EQ(Pixels(6480), 432);
    // 5 twips are half a pixel at 144 dpi.
    EXPECT_EQ(Pixels(5, 144), 1);
    EXPECT_EQ(Pixels(-5, 144), -1);
    EXPECT_EQ(Pixels(2160, 144), 216);
}

TEST(Placement, FixedCentredOrTheSystemsChoice) {
    WindowLayout layout = kShuffledLayout;
    // A frame 8 pixels wide at the sides and the bottom, 31 above the client area.
    const Rect frame{-8, -31, 408, 308};
    const Rect workArea{0, 0, 1024, 738};

    layout.placement = Placement::Fixed;
    layout.left = 2160;
    layout.top = 1755;
    // The client area's corner at 144, 117 (at 96 dpi) or 216, 176 (at 144 dpi).
    EXPECT_EQ(FramePosition(layout, frame, workArea, 96)->x, 136);
    EXPECT_EQ(FramePosition(layout, frame, workArea, 96)->y, 86);
    EXPECT_EQ(FramePosition(layout, frame, workArea, 144)->x, 208);
    EXPECT_EQ(FramePosition(layout, frame, workArea, 144)->y, 145);

    layout.placement = Placement::CentreScreen;
    // The 416 x 339 frame in the middle of the work area, which starts below a 30 pixel panel.
    EXPECT_EQ(FramePosition(layout, frame, {0, 30, 1024, 768}, 96)->x, 304);
    EXPECT_EQ(FramePosition(layout, frame, {0, 30, 1024, 768}, 96)->y, 229);

    layout.placement = Placement::SystemDefault;
    EXPECT_FALSE(FramePosition(layout, frame, workArea, 96).has_value());
}

TEST(FontChoice, TheFamilyThenItsStandInThenTheWideOne) {
    const StandIns standIns{"Wide", "Narrow"};
    EXPECT_EQ(FamilyChoices(kVerdana12, standIns),
              (std::array<std::string_view, 3>{"Verdana", "Wide", "Wide"}));
    EXPECT_EQ(FamilyChoices(kSansSerif825, standIns),
              (std::array<std::string_view, 3>{"MS Sans Serif", "Narrow", "Wide"}));
}

TEST(FailureTexts, TheReportAndTheRefusedCopy) {
    EXPECT_EQ(ReportText(7, "Out of memory"), "Run-time error '7':\n\nOut of memory");
    const Failure refused = ClipboardRefused();
    EXPECT_EQ(refused.number(), 521);
    EXPECT_STREQ(refused.what(), "Can't open Clipboard");
}

}  // namespace
}  // namespace quorvel::forms
