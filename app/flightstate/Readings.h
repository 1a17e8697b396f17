// SPDX-License-Identifier: MIT
//
// The aircraft's readings in named units, decoded once at the end of every
// exchange from the flight-state record's wire values. Everything the program
// decides reads these; the wire values stay in the record as the simulator
// sent them. While no simulator is linked (simulatorkind other than 2) the
// exchange does nothing, so the readings keep their zeros.
#pragma once

#include <cstdint>

namespace corvane::flightstate {

struct FlightState;

struct Readings {
    double latitudeDeg = 0;           // north positive (see LatitudeDegrees)
    double longitudeDeg = 0;          // east positive (see LongitudeDegrees)
    // The same position as the moving map reads it (see FractionRule).
    double mapLatitudeDeg = 0;
    double mapLongitudeDeg = 0;
    double headingTrueDeg = 0;        // [0, 360)
    double magneticVariationDeg = 0;  // east positive, (-180, 180]
    double trueAirspeedKnots = 0;
    double indicatedAirspeedKnots = 0;
    std::int32_t altitudeM = 0;         // whole metres above sea level
    std::int32_t groundAltitudeM = 0;   // ground elevation under the aircraft, whole metres
    std::int32_t verticalSpeedFpm = 0;  // positive up
    std::uint8_t onGround = 0;          // 1 on the ground
    std::uint8_t paused = 0;            // the simulator's pause byte
    std::uint8_t crashSetting = 0;      // the simulator's crash detection setting
    // 16-bit simulator values as the unsigned wire value (0..65535).
    std::int32_t throttle1 = 0;
    std::int32_t throttle2 = 0;
    std::int32_t throttle3 = 0;
    std::int32_t throttle4 = 0;
    std::int32_t gearHandle = 0;
    std::int32_t stallFactor = 0;
    std::int32_t apAltHold = 0;
    std::int16_t apMaster = 0;
    std::int32_t apAltitudeFt = 0;
    std::int16_t apVerticalSpeedFpm = 0;
    std::int16_t engineType = 0;
};

// How a reader joins the low word (the fraction, taken as a signed 32-bit
// number) to the high word (the whole units) of a 64-bit position.
enum class FractionRule {
    // hi + lo / 2^32 whatever the sign of hi: the autopilot's and every
    // reader's but the map's. A low word of 2^31 or more takes one whole unit
    // off (the simulator means it unsigned), so the reading lies up to one
    // unit south or west of the simulator's position for half of all
    // positions. Example: hi 100, lo 0x80000000 -> 99.5 units.
    Added,
    // hi + lo / 2^32 when hi >= 0, hi - lo / 2^32 when hi < 0: the moving
    // map's. South of the equator and west of Greenwich the map's aircraft
    // therefore lies up to two fractions (at most two units) from the
    // autopilot's. Example: hi -100, lo 0x40000000 -> -100.25 units.
    SignOfHighWord,
};

// The one decoder of the position words, in the simulator's units.
double PositionUnits(std::int32_t hi, std::uint32_t lo, FractionRule rule = FractionRule::Added);
// Degrees north: PositionUnits x 45 / 5000875 (one unit is a metre of the
// program's sphere). Example: hi 5000875 / 45 x 51 -> 51 degrees.
double LatitudeDegrees(std::int32_t hi, std::uint32_t lo, FractionRule rule = FractionRule::Added);
// Degrees east: PositionUnits x 90 / 2^30 (one unit is 9.3 mm at the equator).
double LongitudeDegrees(std::int32_t hi, std::uint32_t lo,
                        FractionRule rule = FractionRule::Added);
// Degrees true in [0, 360): heading x 360 / 2^32, plus 360 when negative.
double TrueHeadingDegrees(std::int32_t heading);
// Degrees, east positive: magvar x 360 / 65536, minus 360 when above 180.
double MagneticVariationDegrees(std::int32_t magvar);

// The readings of the record's wire values.
Readings DecodeReadings(const FlightState& state);

}  // namespace corvane::flightstate
