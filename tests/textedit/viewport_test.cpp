#include "viewport.h"

#include "measurers.h"
#include "row_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel::forms::textedit {
namespace {

using testing::FixedMeasurer;
using testing::TestMeasurer;

// A view 85 pixels high with a margin of 1 above rows 16 high: 5 whole rows and a part of a sixth.
class ViewportTest : public ::testing::Test {
protected:
    void SetUp() override { view.SetGeometry(85, 1, 16); }

    // `count` rows of one cluster each, "x\n" apiece: row r starts at 2r.
    void Rows(std::size_t count) {
        std::u16string text;
        for (std::size_t row = 1; row < count; ++row)
            text += u"x\n";
        rows.Layout(text + u"x", RowLayout::Unlimited, measurer);
    }

    TestMeasurer measurer = FixedMeasurer();
    RowLayout rows;
    Viewport view{rows};
};

TEST_F(ViewportTest, APageIsTheWholeRowsAndTheLastTopRowShowsTheLastRowAtItsBottom) {
    EXPECT_EQ(view.PageRows(), 5u);
    EXPECT_EQ(view.ShownRows(), 6u);
    Rows(10);
    EXPECT_EQ(view.LastTopRow(), 5u);
    Rows(6);
    EXPECT_EQ(view.LastTopRow(), 1u);
    // Texts of a page or less never scroll.
    Rows(5);
    EXPECT_EQ(view.LastTopRow(), 0u);
    Rows(2);
    EXPECT_EQ(view.LastTopRow(), 0u);
    EXPECT_FALSE(view.ScrollBy(3));
    EXPECT_EQ(view.TopRow(), 0u);
    // A view lower than a row still shows one.
    view.SetGeometry(10, 1, 16);
    EXPECT_EQ(view.PageRows(), 1u);
    EXPECT_EQ(view.ShownRows(), 1u);
    EXPECT_EQ(view.LastTopRow(), 1u);
}

TEST_F(ViewportTest, ScrollingStaysBetweenTheFirstAndTheLastTopRow) {
    Rows(10);
    EXPECT_TRUE(view.ScrollTo(100));
    EXPECT_EQ(view.TopRow(), 5u);
    EXPECT_FALSE(view.ScrollTo(5));
    EXPECT_TRUE(view.ScrollBy(-7));
    EXPECT_EQ(view.TopRow(), 0u);
    view.ScrollBy(2);
    EXPECT_EQ(view.TopRow(), 2u);

    // The caret's row comes into the page by as few rows as can be.
    view.ShowRow(6);
    EXPECT_EQ(view.TopRow(), 2u);
    view.ShowRow(7);
    EXPECT_EQ(view.TopRow(), 3u);
    view.ShowRow(9);
    EXPECT_EQ(view.TopRow(), 5u);
    view.ShowRow(1);
    EXPECT_EQ(view.TopRow(), 1u);

    // A screen reader's scroll: to the top, or to the bottom of the page.
    view.ScrollIntoView(2 * 8, false);
    EXPECT_EQ(view.TopRow(), 4u);
    view.ScrollIntoView(2 * 2 + 1, true);
    EXPECT_EQ(view.TopRow(), 2u);
    view.ScrollIntoView(1000, true);
    EXPECT_EQ(view.TopRow(), 5u);

    // Fewer rows, or a taller view, bring the top row back.
    Rows(7);
    view.KeepInRange();
    EXPECT_EQ(view.TopRow(), 2u);
    view.SetGeometry(200, 1, 16);
    view.KeepInRange();
    EXPECT_EQ(view.TopRow(), 0u);
}

TEST_F(ViewportTest, TheRowUnderAPointIncludesRowsAboveAndBelowTheView) {
    Rows(10);
    view.ScrollTo(3);
    EXPECT_EQ(view.RowY(3), 1);
    EXPECT_EQ(view.RowY(5), 33);
    EXPECT_EQ(view.RowY(0), -47);
    EXPECT_EQ(view.RowAtY(1), 3u);
    EXPECT_EQ(view.RowAtY(16), 3u);
    EXPECT_EQ(view.RowAtY(17), 4u);
    EXPECT_EQ(view.RowAtY(84), 8u);  // the row partly shown
    EXPECT_EQ(view.RowAtY(0), 2u);   // the margin is the row above's last pixel
    EXPECT_EQ(view.RowAtY(-15), 2u);
    EXPECT_EQ(view.RowAtY(-16), 1u);
    EXPECT_EQ(view.RowAtY(-1000), 0u);
    EXPECT_EQ(view.RowAtY(1000), 9u);
}

TEST_F(ViewportTest, TheWheelScrollsInProportionKeepsWhatIsLeftOfARowAndDropsItOnTurningBack) {
    EXPECT_EQ(view.WheelRows(-40, 3), 1);
    EXPECT_EQ(view.WheelRows(-40, 3), 1);
    EXPECT_EQ(view.WheelRows(-300, 3), 7);  // 900 of 120ths: 60 left
    EXPECT_EQ(view.WheelRows(100, 5), -4);  // the 60 dropped: 500 back, 20 left
    EXPECT_EQ(view.WheelRows(120, 5), -5);
    EXPECT_EQ(view.WheelPixelRows(-20), 1);  // pixels: a turn in notches leaves nothing behind
    EXPECT_EQ(view.WheelPixelRows(-12), 1);
    EXPECT_EQ(view.WheelPixelRows(40), -2);
}

TEST_F(ViewportTest, ADragAboveOrBelowTheViewScrollsTowardsIt) {
    EXPECT_EQ(view.AutoScrollAt(-1), Viewport::AutoScroll::Up);
    EXPECT_EQ(view.AutoScrollAt(0), Viewport::AutoScroll::None);
    EXPECT_EQ(view.AutoScrollAt(84), Viewport::AutoScroll::None);
    EXPECT_EQ(view.AutoScrollAt(85), Viewport::AutoScroll::Down);
}

}  // namespace
}  // namespace quorvel::forms::textedit
