// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "app/map/HoverChoice.h"

namespace corvane::map {
namespace {

MapState Dots(std::initializer_list<MapDot> dots) {
    MapState state;
    for (const MapDot& d : dots)
        state.MapDots[++state.MapDotCount] = d;
    return state;
}

TEST(HoverChoice, TheNearestDotByManhattanDistanceAndTiesGoToTheLaterDot) {
    const MapState state = Dots({{10, 10, kVorDot, 1}, {14, 10, kNdbDot, 2}, {30, 30, 0, 3}});
    EXPECT_EQ(ChooseNearestDot(state, 12, 10).dot, 2);  // 2 and 2: the later one
    EXPECT_EQ(ChooseNearestDot(state, 11.9f, 10).dot, 1);
    EXPECT_EQ(ChooseNearestDot(state, 12, 13).dot, 2);  // 2 + 3 both ways, later again
    // Manhattan, not straight-line: (3, 3) is 6 away, (0, 5.5) only 5.5.
    const MapState two = Dots({{3, 3, 0, 1}, {0, 5.5f, 0, 2}});
    EXPECT_EQ(ChooseNearestDot(two, 0, 0).dot, 2);
    EXPECT_FLOAT_EQ(ChooseNearestDot(two, 0, 0).distance, 5.5f);
    const DotChoice none = ChooseNearestDot(MapState{}, 5, 5);
    EXPECT_EQ(none.dot, 0);
    EXPECT_EQ(none.distance, 10000);
}

TEST(HoverChoice, TheCatchDistanceComesFromPicyellowAndIsExclusive) {
    const float r = CatchDistance(66, 66, 15, 15);
    EXPECT_FLOAT_EQ(r, 8.8f);
    const MapState state = Dots({{100, 100, kVorDot, 1}});
    EXPECT_EQ(ChooseHoverDot(state, true, false, 104, 104.7f, r), 1);  // 8.7
    EXPECT_EQ(ChooseHoverDot(state, true, false, 104, 104.8f, r), 0);  // 8.8 is not closer
    EXPECT_EQ(ChooseHoverDot(state, true, false, 91.3f, 100, r), 1);
}

TEST(HoverChoice, NoLabelOffTheMapOrWhileTheJoystickIsDragged) {
    const MapState state = Dots({{100, 100, kVorDot, 1}});
    EXPECT_EQ(ChooseHoverDot(state, false, false, 100, 100, 8.8f), 0);
    EXPECT_EQ(ChooseHoverDot(state, true, true, 100, 100, 8.8f), 0);
    EXPECT_EQ(ChooseHoverDot(state, true, false, 100, 100, 8.8f), 1);
}

TEST(HoverChoice, TheMapRectangleIncludesAllFourEdges) {
    const host::Rect rect{100, 200, 267, 367};
    EXPECT_TRUE(PointInRectInclusive({100, 200}, rect));
    EXPECT_TRUE(PointInRectInclusive({267, 367}, rect));
    EXPECT_FALSE(PointInRectInclusive({99, 250}, rect));
    EXPECT_FALSE(PointInRectInclusive({268, 250}, rect));
    EXPECT_FALSE(PointInRectInclusive({150, 199}, rect));
    EXPECT_FALSE(PointInRectInclusive({150, 368}, rect));
}

}  // namespace
}  // namespace corvane::map
