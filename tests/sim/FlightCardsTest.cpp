// SPDX-License-Identifier: MIT
#include "tools/flightcards/FlightCards.h"

#include <gtest/gtest.h>

#include "sim/model/Simulator.h"
#include "sim/physics/Aircraft.h"

namespace corvane::flightcards {
namespace {

// The cards of both of the stand-in's aircraft order as an aircraft's do:
// more power flies faster at every flap setting, more flap slower at every
// power, the upper powers hold the height, and the steeper idle descent is
// the faster one.
TEST(FlightCards, BothAircraftFlyTheCardsInTheOrderOfPowerAndFlap) {
    for (const std::string& id : sim::StandInAircraftIds()) {
        SCOPED_TRACE(id);
        sim::SimulatorOptions options;
        options.aircraft = *sim::StandInAircraft(id);
        options.crashDetection = false;
        sim::Simulator sim(options, nullptr);
        sim::AirStart air;
        air.latitudeDeg = 21.15;
        air.longitudeDeg = -157.95;
        air.altitudeFt = 3000.0;
        air.headingTrueDeg = 270.0;
        air.iasKt = 1.5 * sim.Aircraft().stallCleanKias.value;
        air.gearDown = true;
        sim.StartInAir(air);
        const std::vector<Card> cards = StandardCards(sim.Aircraft());
        ASSERT_EQ(cards.size(), 3 * (sim.Aircraft().flaps.size() + 1) + 2);
        const std::vector<CardResult> r = FlyCards(
            sim, cards, CardTiming{}, [&] { sim.Step(); }, nullptr);
        ASSERT_EQ(r.size(), cards.size());
        const std::size_t settings = sim.Aircraft().flaps.size() + 1;
        for (std::size_t f = 0; f < settings; ++f) {
            for (std::size_t p = 0; p < 3; ++p) {
                const CardResult& c = r[3 * f + p];
                SCOPED_TRACE(c.card.name);
                if (p > 0) {
                    EXPECT_LT(c.iasKt, r[3 * f + p - 1].iasKt);
                }
                if (f > 0) {
                    EXPECT_LT(c.iasKt, r[3 * (f - 1) + p].iasKt);
                }
                if (p < 2) {
                    EXPECT_NEAR(c.climbFpm, 0.0, 50.0);
                }
                EXPECT_GT(c.iasKt, sim.Aircraft().stallLandingKias.value);
            }
        }
        EXPECT_LT(r[r.size() - 2].iasKt, r.back().iasKt);
        EXPECT_NEAR(r[r.size() - 2].climbFpm, -800.0, 100.0);
    }
}

}  // namespace
}  // namespace corvane::flightcards
