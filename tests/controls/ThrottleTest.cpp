// SPDX-License-Identifier: MIT
//
// The throttle bar in the running program: what moving it sends, how it
// follows the simulator's throttle, and its place in the window's outline.
#include <gtest/gtest.h>

#include <vector>

#include "tests/controls/ControlsFixture.h"

namespace corvane::testing {
namespace {

using forms::RegionShape;
using Kind = RegionShape::Kind;

class ThrottleTest : public ControlsTest {
  protected:
    forms::ScrollBar& bar() { return form().VScroll1; }
    void MoveBar(int value) {
        bar().value = value;
        startup::VScroll1_Change(p);
    }
    void ExpectEngines(std::int16_t throttle) {
        for (std::uint32_t offset : kThrottleOffsets)
            EXPECT_EQ(Simulator<std::int16_t>(offset), throttle) << std::hex << offset;
    }
};

TEST_F(ThrottleTest, MovingTheBarSetsAllEnginesAndStaysThere) {
    const int cases[][2] = {{0, 16383}, {16383, 0}, {1000, 15383}, {8000, 8383}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        MoveBar(c[0]);
        // The reading lags the write by an exchange: neither the bar nor the
        // simulator may fall back to the throttle before the move.
        for (int tick = 0; tick < 4; ++tick) {
            NextTick();
            EXPECT_EQ(bar().value, c[0]);
            ExpectEngines(std::int16_t(c[1]));
        }
    }
}

TEST_F(ThrottleTest, WithoutTheLinkMovingTheBarWritesNothing) {
    p.flightState.simulatorkind = flightstate::kNoSimulator;
    MoveBar(0);
    EXPECT_EQ(p.flightState.throttle1pending, flightstate::kRequestClear);
    // The display still follows the last reading (idle), and writes nothing.
    startup::ThrottleDisplay(p);
    EXPECT_EQ(bar().value, 16383);
    EXPECT_EQ(p.flightState.throttle1pending, flightstate::kRequestClear);
}

TEST_F(ThrottleTest, BarFollowsTheEngineOneThrottleAndGivesItToAllEngines) {
    struct Case {
        std::int16_t reading;
        int value;  // the bar's value after the tick
    };
    const Case cases[] = {{8000, 8383}, {16383, 8383}, {-4096, 8383}, {0, 16383}, {12000, 4383}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reading);
        // Set in the simulator itself: engine 1 only.
        link.Put<std::int16_t>(kThrottleOffsets[0], c.reading);
        for (int i = 1; i < 4; ++i)
            link.Put<std::int16_t>(kThrottleOffsets[i], 3000);
        NextTick();
        EXPECT_EQ(bar().value, c.value);
        NextTick();
        if (c.reading >= 0 && c.reading < 16383) {
            ExpectEngines(c.reading);
        } else {
            EXPECT_EQ(Simulator<std::int16_t>(kThrottleOffsets[1]), 3000);
        }
    }
}

TEST_F(ThrottleTest, BarShowsTheThrottleTheAutopilotSets) {
    p.plane.throttles(12000);  // between ticks, as the guidance does
    for (int tick = 0; tick < 4; ++tick) {
        NextTick();
        EXPECT_EQ(bar().value, 4383);
        ExpectEngines(12000);
    }
}

TEST_F(ThrottleTest, ShowAndHideJoinAndDropTheBarInTheCurrentOutline) {
    // 2500 twips are 167 pixels; the bar is 2500..2755 twips across.
    const RegionShape round{Kind::Ellipse, 0, 0, 167, 167};
    const RegionShape square{Kind::Rectangle, 0, 0, 167, 167};
    const RegionShape throttle{Kind::Rectangle, 167, 0, 184, 167};
    for (const RegionShape& outline : {round, square}) {
        SCOPED_TRACE(outline.kind == Kind::Ellipse ? "round" : "square");
        if (form().region.front() != outline)
            startup::mnushape_Click(p);
        ASSERT_EQ(form().region, std::vector<RegionShape>{outline});
        p.mainWindow.MenuActionEnded = false;
        startup::mnuthrottle_Click(p);
        EXPECT_TRUE(p.mainWindow.MenuActionEnded);
        EXPECT_EQ(menu().mnuthrottle.caption, "Hide throttle");
        EXPECT_EQ(form().region, (std::vector<RegionShape>{outline, throttle}));
        startup::mnuthrottle_Click(p);
        EXPECT_EQ(menu().mnuthrottle.caption, "Show throttle");
        EXPECT_EQ(form().region, std::vector<RegionShape>{outline});
    }
    // Shrunk to the spot the window keeps it; restore brings the bar along.
    ASSERT_TRUE(startup::MenuClick(p, "mnuminimize"));
    const std::vector<RegionShape> spot = form().region;
    startup::mnuthrottle_Click(p);
    EXPECT_EQ(form().region, spot);
    ASSERT_TRUE(startup::MenuClick(p, "mnuminimize"));
    EXPECT_EQ(form().region, (std::vector<RegionShape>{square, throttle}));
}

}  // namespace
}  // namespace corvane::testing
