// SPDX-License-Identifier: MIT
#include "sim/variables/Encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "SimTestSupport.h"
#include "sim/physics/FlatTerrain.h"
#include "sim/physics/Units.h"
#include "sim/variables/ImageBinding.h"

namespace corvane::sim {
namespace {

using namespace encoding;
using test::Put;
using test::Reading;

struct PositionCase {
    const char* name;
    double degrees;
    double expected;  // after the encoding's own normalisation
};

class LatitudeRoundTrip : public ::testing::TestWithParam<PositionCase> {};

TEST_P(LatitudeRoundTrip, DecodesToTheSameLatitude) {
    const PositionCase& c = GetParam();
    const Fixed64 raw = EncodeLatitude(c.degrees);
    EXPECT_NEAR(DecodeLatitude(raw), c.expected, 1e-9);
    // The program takes the low word as signed: at most one unit (about a metre) off.
    const double program =
        (raw.hi + static_cast<std::int32_t>(raw.lo) / 4294967296.0) * 45.0 / 5000875.0;
    EXPECT_NEAR(program, c.expected, 45.0 / 5000875.0 * 1.001);
}

INSTANTIATE_TEST_SUITE_P(Cases, LatitudeRoundTrip,
                         ::testing::Values(PositionCase{"Equator", 0.0, 0.0},
                                           PositionCase{"London", 51.4775, 51.4775},
                                           PositionCase{"Sydney", -33.946111, -33.946111},
                                           PositionCase{"NearPole", 89.99999, 89.99999},
                                           PositionCase{"SouthPole", -90.0, -90.0}),
                         [](const auto& info) { return std::string(info.param.name); });

class LongitudeRoundTrip : public ::testing::TestWithParam<PositionCase> {};

TEST_P(LongitudeRoundTrip, DecodesIntoMinus180To180) {
    const PositionCase& c = GetParam();
    EXPECT_NEAR(DecodeLongitude(EncodeLongitude(c.degrees)), c.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, LongitudeRoundTrip,
                         ::testing::Values(PositionCase{"Greenwich", 0.0, 0.0},
                                           PositionCase{"SmallWest", -0.461389, -0.461389},
                                           PositionCase{"JustBelowDateLine", 179.9999, 179.9999},
                                           PositionCase{"DateLineIsWest", 180.0, -180.0},
                                           PositionCase{"PastDateLine", 181.0, -179.0},
                                           PositionCase{"FarWest", -179.5, -179.5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Encoding, AltitudeSplitsIntoWholeMetresAndFraction) {
    for (double m : {-3.75, 0.0, 0.5, 1655.37, 12000.001}) {
        const AltitudeParts raw = EncodeAltitude(m);
        EXPECT_EQ(raw.metres, static_cast<std::int32_t>(std::floor(m))) << m;
        EXPECT_NEAR(DecodeAltitude(raw), m, 1e-9) << m;
    }
}

TEST(Encoding, HeadingsAndAttitudes) {
    for (double h : {0.0, 0.001, 90.0, 180.0, 359.9999}) {
        EXPECT_NEAR(DecodeAngle32(EncodeAngle32(h)), h, 1e-7) << h;
    }
    EXPECT_NEAR(DecodeAngle32(EncodeAngle32(-90.0)), 270.0, 1e-7);
    EXPECT_NEAR(DecodeAngle32(EncodeAngle32(360.0)), 0.0, 1e-7);
    for (double a : {-45.0, -0.5, 0.0, 12.25, 179.0}) {
        EXPECT_NEAR(DecodeSignedAngle32(EncodeSignedAngle32(a)), a, 1e-7) << a;
    }
}

TEST(Encoding, SpeedsAreKnotsTimes128) {
    EXPECT_EQ(EncodeKnots128(120.0), 15360);
    EXPECT_NEAR(DecodeKnots128(EncodeKnots128(243.7)), 243.7, 1.0 / 256);
}

struct VerticalSpeedCase {
    const char* name;
    double climbFpm;
    double programFpm;  // what the program's -floor(raw * 3.2808) shows
};

class VerticalSpeed : public ::testing::TestWithParam<VerticalSpeedCase> {};

TEST_P(VerticalSpeed, IsMetresPerMinuteDownwards) {
    const auto& c = GetParam();
    const std::int16_t raw = EncodeVerticalSpeed(c.climbFpm * 0.3048 / 60.0);
    EXPECT_EQ(-std::floor(raw * 3.2808), c.programFpm);
    EXPECT_NEAR(DecodeVerticalSpeedMps(raw) * 60.0 / 0.3048, c.climbFpm, 2.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, VerticalSpeed,
                         ::testing::Values(VerticalSpeedCase{"Level", 0.0, 0.0},
                                           // 1000 ft/min up is 304.8 m/min: raw -305, shown as 1001
                                           VerticalSpeedCase{"Climb1000", 1000.0, 1001.0},
                                           // 500 ft/min down is 152.4 m/min: raw 152
                                           VerticalSpeedCase{"Descent500", -500.0, -498.0},
                                           VerticalSpeedCase{"Descent4000", -4000.0, -3999.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Encoding, AutopilotAltitudeUnitIsTheProgramsFeetTimes19975) {
    // 19975 units per foot is 65536 units per metre, to within 0.002 %.
    EXPECT_NEAR(DecodeApAltitudeM(3000 * 19975), 3000 * 0.3048, 0.02);
    EXPECT_NEAR(DecodeApAltitudeM(EncodeApAltitude(914.4)), 914.4, 1e-4);
    EXPECT_NEAR(DecodeApAltitudeM(-1000 * 19975), -304.8, 0.01);
}

struct ApHeadingCase {
    const char* name;
    double programDeg;  // whole degrees, unwrapped, as the guidance writes them
    double expectedDeg;
};

class ApHeading : public ::testing::TestWithParam<ApHeadingCase> {};

TEST_P(ApHeading, LowSixteenBitsWrap) {
    const auto& c = GetParam();
    const auto units = static_cast<std::int32_t>(std::nearbyint(c.programDeg * 65536.0 / 360.0));
    EXPECT_NEAR(DecodeApHeadingDeg(static_cast<std::uint32_t>(units)), c.expectedDeg, 0.006);
}

INSTANTIATE_TEST_SUITE_P(Cases, ApHeading,
                         ::testing::Values(ApHeadingCase{"North", 0, 0},
                                           ApHeadingCase{"East", 90, 90},
                                           ApHeadingCase{"Above360", 362, 2},
                                           ApHeadingCase{"BelowZero", -3, 357},
                                           ApHeadingCase{"Exactly360", 360, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Encoding, ControlInputsClampToFullDeflection) {
    EXPECT_DOUBLE_EQ(ControlFraction(20000), 1.0);
    EXPECT_DOUBLE_EQ(ControlFraction(-20000), -1.0);
    EXPECT_DOUBLE_EQ(ControlFraction(-8000), -8000.0 / 16383.0);
    EXPECT_DOUBLE_EQ(ControlFraction(0), 0.0);
}

// The program's tower conversions, step by step as it performs them.
TowerLatitudeParts ProgramTowerLatitude(double d) {
    const double x = d * 7283052089.0;
    const double two32 = 4294967296.0;
    const double h = x >= 0 ? std::trunc(x / two32) : -std::trunc(std::abs(x / two32)) - 1;
    double l = x - h * two32;
    if (l > 2147483647.0) {
        l -= two32;
    }
    TowerLatitudeParts parts;
    parts.upper = static_cast<std::int16_t>(h);
    parts.lower = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::nearbyint(l)));
    return parts;
}

TowerLongitudeParts ProgramTowerLongitude(double d) {
    if (d < 0) {
        d += 360;
    }
    const double v = d * 65536.0 / 360.0;
    const double w = std::floor(v);
    double f = v - w;
    if (f > 0.5) {
        f -= 1;
    }
    TowerLongitudeParts parts;
    parts.whole = static_cast<std::uint16_t>(w);
    parts.fraction =
        static_cast<std::uint32_t>(static_cast<std::int64_t>(std::nearbyint(f * 4294967296.0)));
    return parts;
}

TEST(Encoding, TowerViewpointDecodesWhatTheProgramSends) {
    for (double lat : {0.0, -0.5, 51.4775, -33.9461, 89.9}) {
        EXPECT_NEAR(DecodeTowerLatitude(ProgramTowerLatitude(lat)), lat, 1e-9) << lat;
        EXPECT_NEAR(DecodeTowerLatitude(EncodeTowerLatitude(lat)), lat, 1e-9) << lat;
    }
    EXPECT_EQ(ProgramTowerLatitude(-0.5).upper, -1);
    for (double lon : {0.0, -90.0, 100.7, -0.0001, 179.99, -179.99}) {
        EXPECT_NEAR(DecodeTowerLongitude(ProgramTowerLongitude(lon)), lon, 1e-9) << lon;
        EXPECT_NEAR(DecodeTowerLongitude(EncodeTowerLongitude(lon)), lon, 1e-9) << lon;
    }
    const TowerLongitudeParts west = ProgramTowerLongitude(-90.0);
    EXPECT_EQ(west.whole, 49152);
    EXPECT_EQ(west.fraction, 0u);
    EXPECT_NEAR(DecodeTowerAltitudeFt(19975000), 1000.0, 1e-9);
}

TEST(Encoding, TowerViewpointReachesTheSimulator) {
    Simulator sim;
    EXPECT_FALSE(sim.Tower().has_value());
    const TowerLatitudeParts lat = ProgramTowerLatitude(47.4647);
    const TowerLongitudeParts lon = ProgramTowerLongitude(-122.3086);
    Put(sim, offsets::kTowerLatitudeHi, lat.upper, 2);
    Put(sim, offsets::kTowerLatitudeLo, lat.lower, 4);
    Put(sim, offsets::kTowerLongitudeWhole, lon.whole, 2);
    Put(sim, offsets::kTowerLongitudeFraction, lon.fraction, 4);
    Put(sim, offsets::kTowerAltitude, 1500 * 19975, 4);
    sim.Step();
    ASSERT_TRUE(sim.Tower().has_value());
    EXPECT_NEAR(sim.Tower()->latitudeDeg, 47.4647, 1e-9);
    EXPECT_NEAR(sim.Tower()->longitudeDeg, -122.3086, 1e-9);
    EXPECT_NEAR(sim.Tower()->altitudeFt, 1500.0, 1e-9);
}

TEST(Encoding, PublishedStateReadsBackThroughTheProgramsConversions) {
    FlatTerrain ground(412.6);
    SimulatorOptions options = test::FixedVariation(-12.5);
    Simulator sim(options, &ground);
    AirStart air;
    air.latitudeDeg = 46.2381;
    air.longitudeDeg = -6.1089;
    air.altitudeFt = 6500;
    air.headingTrueDeg = 275.0;
    air.iasKt = 180;
    sim.StartInAir(air);
    sim.Step();
    const AircraftState& s = sim.State();
    EXPECT_NEAR(Reading::LatitudeDeg(sim), s.latitudeDeg, 2e-5);
    EXPECT_NEAR(Reading::LongitudeDeg(sim), s.longitudeDeg, 2e-5);
    EXPECT_NEAR(Reading::AltitudeFt(sim), std::floor(s.altitudeM) * 3.2808, 1e-9);
    EXPECT_NEAR(Reading::GroundFt(sim), 413 * 3.2808, 1e-9);
    EXPECT_NEAR(Reading::TrueHeadingDeg(sim), s.headingTrueDeg, 1e-6);
    EXPECT_NEAR(Reading::TrueAirspeedKt(sim), s.tasMps * 3600 / 1852, 0.01);
    EXPECT_NEAR(Reading::IndicatedAirspeedKt(sim), 180.0, 1.0);
    EXPECT_NEAR(Reading::MagneticVariationDeg(sim), -12.5, 0.006);
    EXPECT_FALSE(Reading::OnGround(sim));
    EXPECT_EQ(Reading::EngineType(sim), options.aircraft.engineType);
    EXPECT_NEAR(Reading::VerticalSpeedFpm(sim), s.velocityUpMps * 196.85, 4.0);
}

// The angle wrap takes its short cuts only where they give the library
// remainder's answer bit for bit.
TEST(Units, Wrap360GivesTheRemaindersAnswer) {
    auto byRemainder = [](double angle) {
        double a = std::fmod(angle, 360.0);
        if (a < 0.0)
            a += 360.0;
        return a >= 360.0 ? 0.0 : a;
    };
    std::vector<double> angles = {0.0,
                                  -0.0,
                                  360.0,
                                  -360.0,
                                  720.0,
                                  -720.0,
                                  1e-300,
                                  -1e-300,
                                  359.99999999999994,
                                  -1e-17,
                                  719.9999999999999,
                                  -359.99999999999994,
                                  1e300,
                                  -1e300};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-2000.0, 2000.0);
    for (int i = 0; i < 20000; ++i)
        angles.push_back(wide(random));
    for (const double angle : angles) {
        const double wrapped = units::Wrap360(angle);
        const double expected = byRemainder(angle);
        EXPECT_EQ(std::signbit(wrapped), std::signbit(expected)) << angle;
        EXPECT_EQ(wrapped, expected) << angle;
    }
    EXPECT_TRUE(std::isnan(units::Wrap360(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(units::Wrap360(std::numeric_limits<double>::infinity())));
}

}  // namespace
}  // namespace corvane::sim
