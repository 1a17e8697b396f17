// SPDX-License-Identifier: MIT
#include "app/flightstate/AircraftCommands.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/flightstate/FlightState.h"
#include "app/flightstate/planeinterface.h"
#include "tests/flightstate/OutgoingItems.h"

namespace corvane::flightstate {
namespace {

using testing::PlainOutgoingItems;

// The outgoing values and write requests of a record, for comparing two.
struct Written {
    FlightState::Outgoing out;
    std::vector<std::int16_t> pending;
};
Written WrittenOf(const FlightState& s) {
    Written w{s.out, {}};
    for (const auto& item : PlainOutgoingItems())
        w.pending.push_back(s.*item.pending);
    w.pending.push_back(s.towerlatpending);
    w.pending.push_back(s.towerlonpending);
    w.pending.push_back(s.toweraltpending);
    return w;
}
void ExpectSameWrites(const FlightState& a, const FlightState& b) {
    const Written wa = WrittenOf(a);
    const Written wb = WrittenOf(b);
    EXPECT_EQ(std::memcmp(&wa.out, &wb.out, sizeof wa.out), 0);
    EXPECT_EQ(wa.pending, wb.pending);
}

// The commands' writers, item by item in the order of PlainOutgoingItems.
using Command = void (*)(AircraftCommands&, std::int32_t);
#define CORVANE_COMMAND(name) [](AircraftCommands& c, std::int32_t v) { c.name(v); }
const Command kCommands[] = {
    CORVANE_COMMAND(autocoordinator), CORVANE_COMMAND(paused),
    CORVANE_COMMAND(throttle1),       CORVANE_COMMAND(throttle2),
    CORVANE_COMMAND(throttle3),       CORVANE_COMMAND(throttle4),
    CORVANE_COMMAND(armspoilers),     CORVANE_COMMAND(spoilers),
    CORVANE_COMMAND(flaps),           CORVANE_COMMAND(leftbrake),
    CORVANE_COMMAND(rightbrake),      CORVANE_COMMAND(brakeindicator),
    CORVANE_COMMAND(parkingbrake),    CORVANE_COMMAND(airbrake),
    CORVANE_COMMAND(aileron),         CORVANE_COMMAND(elevator),
    CORVANE_COMMAND(rudder),          CORVANE_COMMAND(apmaster),
    CORVANE_COMMAND(apwinglevel),     CORVANE_COMMAND(apheadinghold),
    CORVANE_COMMAND(apheading),       CORVANE_COMMAND(apalthold),
    CORVANE_COMMAND(apaltitude),      CORVANE_COMMAND(apvertspeed),
    CORVANE_COMMAND(crashing),        CORVANE_COMMAND(thrust1),
    CORVANE_COMMAND(thrust2),         CORVANE_COMMAND(thrust3),
    CORVANE_COMMAND(thrust4),         CORVANE_COMMAND(gearhandle),
};
#undef CORVANE_COMMAND

TEST(AircraftCommands, EachCommandWritesWhatItsPropertyWrites) {
    const auto& items = PlainOutgoingItems();
    ASSERT_EQ(std::size(kCommands), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(items[i].name);
        for (std::int32_t value : {0x12345678, -1, 0}) {
            FlightState direct;
            planeinterface plane(direct);
            items[i].set(plane, value);

            FlightState commanded;
            planeinterface commandedPlane(commanded);
            AircraftCommands c;
            kCommands[i](c, value);
            EXPECT_FALSE(c.Empty());
            c.ApplyTo(commandedPlane);
            ExpectSameWrites(commanded, direct);
        }
    }
}

TEST(AircraftCommands, TheLaterOfTwoWritesWinsAndNothingCommandedWritesNothing) {
    AircraftCommands c;
    EXPECT_TRUE(c.Empty());
    FlightState untouched;
    planeinterface untouchedPlane(untouched);
    c.ApplyTo(untouchedPlane);
    ExpectSameWrites(untouched, FlightState{});

    c.apvertspeed(-1215);
    c.throttles(8192);
    c.apvertspeed(-600);
    c.throttle2(0);
    EXPECT_EQ(c.Get(AircraftCommands::kApvertspeed), -600);
    EXPECT_EQ(c.Get(AircraftCommands::kThrottle1), 8192);
    EXPECT_EQ(c.Get(AircraftCommands::kThrottle2), 0);
    EXPECT_FALSE(c.Get(AircraftCommands::kFlaps));

    FlightState direct;
    planeinterface plane(direct);
    plane.apvertspeed(-1215);
    plane.throttles(8192);
    plane.apvertspeed(-600);
    plane.throttle2(0);
    FlightState commanded;
    planeinterface commandedPlane(commanded);
    c.ApplyTo(commandedPlane);
    ExpectSameWrites(commanded, direct);
}

TEST(AircraftCommands, TheTowerViewpointIsLaidAsItsPropertiesLayIt) {
    AircraftCommands c;
    c.towerlat(-0.5);
    c.towerlon(-179.25);
    c.toweralt(1234.5);
    FlightState direct;
    planeinterface plane(direct);
    plane.towerlat(-0.5);
    plane.towerlon(-179.25);
    plane.toweralt(1234.5);
    FlightState commanded;
    planeinterface commandedPlane(commanded);
    c.ApplyTo(commandedPlane);
    ExpectSameWrites(commanded, direct);
    EXPECT_EQ(commanded.towerlatpending, kRequestSet);
    EXPECT_EQ(commanded.toweraltpending, kRequestSet);
}

}  // namespace
}  // namespace corvane::flightstate
