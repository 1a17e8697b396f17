// SPDX-License-Identifier: MIT
#include "app/flightstate/Readings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "app/flightstate/FlightState.h"
#include "sim/variables/Encoding.h"
#include "tests/flightstate/FakeSimulator.h"

namespace corvane::flightstate {
namespace {

constexpr double kTwoTo32 = 4294967296.0;

// ---- The position words ----------------------------------------------------------

// Two rules: the autopilot adds the signed low word to the high word whatever
// its sign; the map adds it to a non-negative high word and subtracts it from
// a negative one. Both read the low word as signed.
TEST(PositionWords, TheLowWordIsASignedFractionJoinedByEachReadersRule) {
    struct Row {
        const char* name;
        std::int32_t hi;
        std::uint32_t lo;
        double added;  // FractionRule::Added
        double map;    // FractionRule::SignOfHighWord
    };
    const Row rows[] = {
        {"whole units", 5000875, 0, 5000875.0, 5000875.0},
        {"a positive high word adds a positive fraction", 5000875, 0x40000000u, 5000875.25,
         5000875.25},
        {"a low word of 2^31 or more takes a whole unit off", 1, 0xC0000000u, 0.75, 0.75},
        {"exactly 2^31 is minus one half", 10, 0x80000000u, 9.5, 9.5},
        {"just below 2^31 is almost one half", 10, 0x7FFFFFFFu, 10 + 0x7FFFFFFF / kTwoTo32,
         10 + 0x7FFFFFFF / kTwoTo32},
        {"a negative high word: added, or subtracted by the map", -5000875, 0x40000000u,
         -5000874.75, -5000875.25},
        {"negative high word, negative low word", -2, 0xC0000000u, -2.25, -1.75},
        {"a zero high word counts as positive", 0, 0xFFFFFFFFu, -1 / kTwoTo32, -1 / kTwoTo32},
        {"minus one, whole", -1, 0, -1.0, -1.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_DOUBLE_EQ(PositionUnits(r.hi, r.lo), r.added);
        EXPECT_DOUBLE_EQ(LatitudeDegrees(r.hi, r.lo), r.added * 45 / 5000875);
        EXPECT_DOUBLE_EQ(LongitudeDegrees(r.hi, r.lo), r.added * 90 / 1073741824);
        const FractionRule map = FractionRule::SignOfHighWord;
        EXPECT_DOUBLE_EQ(PositionUnits(r.hi, r.lo, map), r.map);
        EXPECT_DOUBLE_EQ(LatitudeDegrees(r.hi, r.lo, map), r.map * 45 / 5000875);
        EXPECT_DOUBLE_EQ(LongitudeDegrees(r.hi, r.lo, map), r.map * 90 / 1073741824);
    }
}

// Against the simulator's own encoding (the low word unsigned): the program's
// reading is the simulator's position whenever the fraction is below one half,
// and one whole unit (a metre of latitude, 9.3 mm of longitude at the equator)
// less when it is one half or more, in every quadrant.
TEST(PositionWords, AgainstTheSimulatorsEncodingTheReadingIsAtMostOneUnitSouthOrWest) {
    std::mt19937_64 random(24);
    std::uniform_real_distribution<double> latitude(-89.99, 89.99);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0);
    int unitOff[2] = {0, 0};
    for (int i = 0; i < 20000; ++i) {
        const double lat = latitude(random);
        const double lon = longitude(random);
        const sim::encoding::Fixed64 la = sim::encoding::EncodeLatitude(lat);
        const sim::encoding::Fixed64 lo = sim::encoding::EncodeLongitude(lon);
        struct Axis {
            sim::encoding::Fixed64 raw;
            double encoded;  // the simulator's position in its units
            double read;     // the program's, in the same units
        };
        const Axis axes[2] = {
            {la, sim::encoding::DecodeLatitude(la) * 5000875 / 45, PositionUnits(la.hi, la.lo)},
            {lo, sim::encoding::DecodeLongitude(lo) * 1073741824 / 90, PositionUnits(lo.hi, lo.lo)},
        };
        for (int a = 0; a < 2; ++a) {
            const bool upperHalf = axes[a].raw.lo >= 0x80000000u;
            const double expected = axes[a].encoded - (upperHalf ? 1.0 : 0.0);
            ASSERT_NEAR(axes[a].read, expected, 1e-4) << lat << " " << lon << " axis " << a;
            unitOff[a] += upperHalf;
        }
    }
    // About half of all positions read one unit off, on both axes.
    for (int a = 0; a < 2; ++a) {
        EXPECT_GT(unitOff[a], 9000);
        EXPECT_LT(unitOff[a], 11000);
    }
}

// ---- Heading and variation --------------------------------------------------------

TEST(Angles, HeadingIsTakenIntoZeroTo360AndVariationIntoPlusMinus180) {
    EXPECT_DOUBLE_EQ(TrueHeadingDegrees(0x40000000), 90);
    EXPECT_DOUBLE_EQ(TrueHeadingDegrees(-0x40000000), 270);
    EXPECT_DOUBLE_EQ(TrueHeadingDegrees(INT32_MIN), 180);
    EXPECT_DOUBLE_EQ(TrueHeadingDegrees(0), 0);
    EXPECT_DOUBLE_EQ(MagneticVariationDegrees(1820), 1820 * 360.0 / 65536);
    EXPECT_DOUBLE_EQ(MagneticVariationDegrees(32768), 180);  // exactly 180 stays
    EXPECT_DOUBLE_EQ(MagneticVariationDegrees(32769), 32769 * 360.0 / 65536 - 360);
    EXPECT_DOUBLE_EQ(MagneticVariationDegrees(64626), 64626 * 360.0 / 65536 - 360);
}

// ---- Decoded at the exchange ------------------------------------------------------------

TEST(ReadingsAtTheExchange, EveryExchangeDecodesWhatItRead) {
    testing::FakeSimulator sim;
    FlightState s;
    s.simulatorkind = kFs98;
    // The position block: latitude 1.5 units, longitude -2 + 0.75 units,
    // altitude 914 m, heading 90 degrees.
    sim.Put<std::uint32_t>(0x0560, 0x80000000u);
    sim.Put<std::int32_t>(0x0564, 2);
    sim.Put<std::uint32_t>(0x0568, 0xC0000000u);
    sim.Put<std::int32_t>(0x056C, -1);
    sim.Put<std::int32_t>(0x0560 + 20, 914);
    sim.Put<std::int32_t>(0x0560 + 32, 0x40000000);
    sim.Put<std::uint8_t>(0x0366, 1);               // on the ground
    sim.Put<std::int32_t>(0x02A0, 65536 - 1820);    // variation 10 degrees west
    sim.Put<std::int32_t>(0x02B8, 150 * 128 + 64);  // true airspeed
    sim.Put<std::int32_t>(0x02BC, 140 * 128);       // indicated airspeed
    sim.Put<std::int32_t>(0x0B4C, 119);             // ground
    sim.Put<std::int16_t>(0x0842, 100);             // 100 m/min down
    sim.Put<std::uint16_t>(0x088C, 40000);          // throttle 1, unsigned
    sim.Put<std::int32_t>(0x07D4, 3000 * 19975);    // autopilot altitude
    ExchangeFlightState(s, sim);
    const Readings& r = s.readings;
    EXPECT_DOUBLE_EQ(r.latitudeDeg, 1.5 * 45 / 5000875);
    EXPECT_DOUBLE_EQ(r.longitudeDeg, -1.25 * 90 / 1073741824);
    // The map's reading of the same words: the fraction taken from the
    // negative high word of the longitude.
    EXPECT_DOUBLE_EQ(r.mapLatitudeDeg, 1.5 * 45 / 5000875);
    EXPECT_DOUBLE_EQ(r.mapLongitudeDeg, -0.75 * 90 / 1073741824);
    EXPECT_EQ(r.altitudeM, 914);
    EXPECT_DOUBLE_EQ(r.headingTrueDeg, 90);
    EXPECT_EQ(r.onGround, 1);
    EXPECT_DOUBLE_EQ(r.magneticVariationDeg, (65536 - 1820) * 360.0 / 65536 - 360);
    EXPECT_DOUBLE_EQ(r.trueAirspeedKnots, 150.5);
    EXPECT_DOUBLE_EQ(r.indicatedAirspeedKnots, 140);
    EXPECT_EQ(r.groundAltitudeM, 119);
    EXPECT_EQ(r.verticalSpeedFpm, -328);  // -floor(100 x 3.2808)
    EXPECT_EQ(r.throttle1, 40000);
    EXPECT_EQ(r.apAltitudeFt, 3000);

    // The next exchange decodes again: the readings follow the simulator.
    sim.Put<std::int32_t>(0x0560 + 20, 1000);
    ExchangeFlightState(s, sim);
    EXPECT_EQ(s.readings.altitudeM, 1000);
}

TEST(ReadingsAtTheExchange, WithoutTheSimulatorLinkedTheReadingsStayZero) {
    testing::FakeSimulator sim;
    sim.Put<std::int32_t>(0x0560 + 20, 914);
    sim.Put<std::int32_t>(0x02B8, 150 * 128);
    for (std::int16_t kind : {0, 1, 3, 4}) {
        FlightState s;
        s.simulatorkind = kind;
        ExchangeFlightState(s, sim);
        EXPECT_EQ(s.readings.altitudeM, 0) << kind;
        EXPECT_EQ(s.readings.trueAirspeedKnots, 0) << kind;
        EXPECT_EQ(s.readings.latitudeDeg, 0) << kind;
    }
}

}  // namespace
}  // namespace corvane::flightstate
