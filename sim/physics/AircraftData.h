// SPDX-License-Identifier: MIT
//
// What a pilot knows of an aircraft from its handbook, in one place per
// aircraft: the stall speeds clean and in the landing configuration, the
// reference landing speed, the flap settings with their limiting speeds and
// the gear's geometry. Each figure says where it comes from. The simulators
// say which aircraft flies; the harness judges every landing with the figures
// of the aircraft that flew it. The program itself never sees these figures:
// it learns an aircraft only through what the link reads.
#pragma once

#include <string>
#include <vector>

namespace corvane::sim {

// A number and where it comes from (a configuration field, a handbook, a
// JSBSim file, a measurement).
struct SourcedFigure {
    double value = 0.0;
    std::string source;
};

// A flap setting and the highest indicated airspeed it may be flown at (its
// limiting speed, VFE).
struct FlapSetting {
    std::string name;       // "10°", "approach"
    double position = 0.0;  // flap position of the setting, 0 (up) .. 1 (full)
    SourcedFigure limitKias;
};

// Where the wheels are, from the centre of gravity, in body axes.
struct GearGeometry {
    SourcedFigure mainAftOfCgM;      // main wheels' contact behind the centre of gravity
    SourcedFigure noseForwardOfCgM;  // nose wheel's contact ahead of it
    SourcedFigure mainTrackM;        // between the main wheels
    SourcedFigure referenceHeightM;  // reference point above the ground, standing
    bool retractable = false;
};

struct AircraftData {
    std::string id;                  // as scenarios and reports name it: "twin", "single", "c172p"
    std::string name;                // "stand-in twin turboprop"
    SourcedFigure stallCleanKias;    // 1 g, flaps up, power off
    SourcedFigure stallLandingKias;  // 1 g, landing flaps, gear down, power off
    // Flap settings in the order they extend, up excluded; the last is full.
    std::vector<FlapSetting> flaps;
    // The position of the flaps the aircraft lands with.
    double landingFlapsPosition = 1.0;
    GearGeometry gear;

    // The reference landing speed: 1.3 times the stall speed in the landing
    // configuration.
    double ReferenceKias() const { return 1.3 * stallLandingKias.value; }
    // The limiting speed of the flaps at a position: that of the first
    // setting that reaches the position (flaps on their way between two
    // settings are held to the speed of the next one out). 0 for flaps up
    // (no flap limit), and for an aircraft without settings.
    double FlapLimitKias(double position) const;
    // The setting a position is flown under (as FlapLimitKias chooses it), or
    // null for flaps up.
    const FlapSetting* FlapSettingAt(double position) const;
    // The flaps are at the landing setting (within a detent's tolerance).
    bool LandingFlapsSet(double position) const;
};

// Flap positions closer than this count as the same setting: a surface
// settling on its detent, a lever set a little short of its end (3 % of the
// travel is about 1 degree of a 30-degree flap).
inline constexpr double kFlapPositionTolerance = 0.03;

}  // namespace corvane::sim
