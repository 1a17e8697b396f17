// SPDX-License-Identifier: MIT
//
// The two generic-protocol streams between the stand-in and FlightGear: the
// readings FlightGear sends once a frame (one line of comma-separated values
// over UDP) and the commands the stand-in sends back (one line per step). The
// field tables below are the one source of both the protocol file FlightGear
// loads from its Protocol folder and the code that reads and writes the
// lines, so the two cannot drift apart.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane::sim::flightgear {

// One frame of FlightGear's state, in FlightGear's units.
struct Readings {
    // FlightGear sends lines before its flight model runs; those lines hold
    // nothing but the start position.
    bool fdmInitialized = false;
    double timeS = 0.0;  // /sim/time/elapsed-sec (stops while frozen)
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFt = 0.0;
    double groundElevationFt = 0.0;
    double headingTrueDeg = 0.0;
    double pitchDeg = 0.0;  // nose up positive
    double rollDeg = 0.0;   // right wing down positive
    double pitchRateDegS = 0.0;
    double rollRateDegS = 0.0;
    double iasKt = 0.0;
    double tasKt = 0.0;
    double groundSpeedKt = 0.0;
    double northFps = 0.0;
    double eastFps = 0.0;
    double downFps = 0.0;
    double alphaDeg = 0.0;
    double sideslipDeg = 0.0;           // positive with the air flow from the right
    double magneticVariationDeg = 0.0;  // east positive
    bool noseWheelOnGround = false;
    bool leftWheelOnGround = false;
    bool rightWheelOnGround = false;
    // Normal load factor from the flight model's own forces: all of them but
    // the weight, the gear's included, along the body's normal axis over the
    // weight (1 in level flight and standing, 1/cos(bank) in a level turn).
    double normalLoadG = 1.0;
    double weightLbs = 0.0;  // the aircraft's weight in the flight model
    bool frozen = false;
    double throttle = 0.0;   // lever as FlightGear has it, 0..1
    double flapsNorm = 0.0;  // flap position 0..1
    double engineRpm = 0.0;
    double thrustLbs = 0.0;
    double elevatorNorm = 0.0;  // surface positions -1..1
    double aileronNorm = 0.0;
    double rudderNorm = 0.0;
    double speedUp = 1.0;  // /sim/speed-up
    // The aircraft's damage: the engine struck, the wings broken (0..1).
    bool engineCrashed = false;
    double leftWingDamage = 0.0;
    double rightWingDamage = 0.0;
    int viewNumber = 0;
    // Where FlightGear's tower view looks from (its own choice until set).
    double towerLatitudeDeg = 0.0;
    double towerLongitudeDeg = 0.0;
    double towerAltitudeFt = 0.0;
};

// What the stand-in sets in FlightGear each step.
struct Commands {
    double throttle = 0.0;  // 0..1
    double mixture = 1.0;   // 0..1
    double flaps = 0.0;     // the flap lever, 0..1 (FlightGear's detents in between)
    double leftBrake = 0.0;
    double rightBrake = 0.0;
    double parkingBrake = 0.0;      // 0 or 1
    double elevator = 0.0;          // -1..1, positive nose down
    double aileron = 0.0;           // -1..1, positive roll right
    double rudder = 0.0;            // -1..1, positive yaw right
    double elevatorTrim = 0.0;      // -1..1
    bool frozen = false;            // /sim/freeze/master and /sim/freeze/clock
    double speedUp = 1.0;           // /sim/speed-up
    bool damage = true;             // the aircraft's damage model (crash detection)
    int viewNumber = 0;             // /sim/current-view/view-number
    bool towerAutoPosition = true;  // FlightGear picks the nearest airport's tower
    double towerLatitudeDeg = 0.0;
    double towerLongitudeDeg = 0.0;
    double towerAltitudeFt = 0.0;
};

// The protocol file's name (without .xml), as --generic names it.
inline constexpr std::string_view kProtocolName = "corvane";

// The protocol file: <output> with the readings, <input> with the commands.
std::string ProtocolFileText();

// Reads one output line; nothing when the line does not hold exactly the
// fields of the table as numbers (a truncated or foreign packet).
std::optional<Readings> ParseReadings(std::string_view line);

// The input line for these commands, newline included.
std::string FormatCommands(const Commands& commands);

// The output line FlightGear would send for these readings (for tests and
// for a fake FlightGear), newline included.
std::string FormatReadings(const Readings& readings);
// And the reverse of FormatCommands.
std::optional<Commands> ParseCommands(std::string_view line);

}  // namespace corvane::sim::flightgear
