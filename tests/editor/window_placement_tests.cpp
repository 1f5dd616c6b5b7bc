// Bank windows that open and cascade inside the visible document area.
#include "editor/core/window_placement.h"

#include <gtest/gtest.h>

namespace calyx::editor {
namespace {

bool inside(const Place& p, PlaceSize area) {
    return p.x >= 0 && p.y >= 0 && p.x + p.width <= area.width && p.y + p.height <= area.height;
}

TEST(WindowPlacement, ANewWindowIsSeenWholeAndShrinksOnlyWhereTheAreaIsSmaller) {
    // Room enough: where it was asked for, at its size.
    EXPECT_EQ(fitInArea({1000, 700}, 30, 30, bankWindowSize), (Place{30, 30, 660, 360}));
    // The third window of a cascade would run off the bottom: moved up.
    EXPECT_EQ(fitInArea({700, 420}, 60, 60, bankWindowSize), (Place{40, 60, 660, 360}));
    // An area narrower than the window (a preview pane beside it): as wide as the area.
    EXPECT_EQ(fitInArea({560, 500}, 20, 20, bankWindowSize), (Place{0, 20, 560, 360}));
    EXPECT_EQ(fitInArea({0, 0}, 5, 5, bankWindowSize), (Place{0, 0, 0, 0}));
}

TEST(WindowPlacement, CascadedWindowsStayLargeAndInsideTheArea) {
    const PlaceSize area{1000, 700};
    const auto three = cascadePlaces(area, 3, 30);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0], (Place{0, 0, 940, 640}));
    EXPECT_EQ(three[2], (Place{60, 60, 940, 640}));

    // Many windows: never below 640x400, and a new round starts at the corner.
    const auto many = cascadePlaces(area, 40, 30);
    for (const Place& p : many) {
        EXPECT_TRUE(inside(p, area)) << p.x << "," << p.y;
        EXPECT_EQ(p.width, 640);
        EXPECT_EQ(p.height, 400);
    }
    EXPECT_EQ(many[10].x, 300);
    EXPECT_EQ(many[11].x, 0);

    // An area smaller than the minimum: the windows fill it.
    for (const Place& p : cascadePlaces({500, 300}, 4, 30)) EXPECT_EQ(p, (Place{0, 0, 500, 300}));
    EXPECT_TRUE(cascadePlaces(area, 0, 30).empty());
}

TEST(WindowPlacement, TheFirstMainWindowTakesMostOfTheScreen) {
    EXPECT_EQ(firstMainWindowSize({1920, 1050}), (PlaceSize{1536, 840}));
    EXPECT_EQ(firstMainWindowSize({1024, 740}), (PlaceSize{1000, 700}));
    // A 1024x768 screen at scale 1.5 has 683x512 of the toolkit's pixels: all of it.
    EXPECT_EQ(firstMainWindowSize({683, 512}), (PlaceSize{683, 512}));
}

}  // namespace
}  // namespace calyx::editor
