// SPDX-License-Identifier: MIT
#include "sim/flightgear/Cessna172p.h"

#include <cmath>

#include "sim/flightgear/Mapping.h"

namespace corvane::sim::flightgear {

namespace {

// The Cessna as FlightGear 2020.3 installs it
// (/usr/share/games/flightgear/Aircraft/c172p/), and the stall speed its
// JSBSim file gives.
constexpr const char* kJsbSim = "c172p.xml";

// The weight FlightGear flies the Cessna at unless the user loads it: the
// empty weight (c172p.xml mass_balance/emptywt 1467 lb), the pilot
// (pointmass "Pilot", 180 lb) and the fuel the c172p's start-up leaves in
// its tanks (Nasal/c172p.nas keeps each main tank at least a quarter full);
// read in flight from /fdm/jsbsim/inertia/weight-lbs (corvane-fg-check).
constexpr double kDefaultWeightLb = 1700.0;
constexpr double kWingAreaFt2 = 174.0;          // c172p.xml metrics/wingarea
constexpr double kSeaLevelDensity = 0.0023769;  // slug/ft^3, the standard atmosphere's
constexpr double kKnotsPerFps = 0.5924838;

// The 1 g stall speed, equivalent airspeed: lift = weight at the most lift
// the wing gives (AircraftFacts' lift tables, whose stall factor gives this
// speed back in steady flight). Near sea level it is the calibrated
// airspeed, which FlightGear's airspeed indicator shows (the c172p's
// Systems/indicated-airspeed.xml calls it KCAS: the pitot is perfect).
double StallKt(double clMax) {
    return std::sqrt(2.0 * kDefaultWeightLb / (kSeaLevelDensity * kWingAreaFt2 * clMax)) *
           kKnotsPerFps;
}

// Inches in c172p.xml's structural frame (x aft) to metres.
constexpr double kMetresPerInch = 0.0254;
// The centre of gravity at that weight, x: empty 1467 lb at 39.06 in
// (mass_balance/location CG), the pilot's 180 lb at 36 in, the fuel's 53 lb at
// 48 in (propulsion/tank locations).
constexpr double kCgXIn = (1467.0 * 39.06 + 180.0 * 36.0 + 53.0 * 48.0) / kDefaultWeightLb;

}  // namespace

AircraftData Cessna172pData() {
    const AircraftFacts facts;
    AircraftData d;
    d.id = "c172p";
    d.name = "FlightGear Cessna 172P";
    d.stallCleanKias = {
        StallKt(MaxLiftCoefficient(0.0, facts)),
        std::string(kJsbSim) +
            ": 1 g stall at the default 1700 lb (weight-lbs in flight), wing area 174 ft2 "
            "(metrics/wingarea), CLmax 1.47 (aero/coefficient/CLwbh at alpha 0.28 rad): "
            "sqrt(2 W / (rho0 S CLmax)), calibrated"};
    d.stallLandingKias = {
        StallKt(MaxLiftCoefficient(1.0, facts)),
        std::string(kJsbSim) +
            ": 1 g stall with flaps 30 at the default 1700 lb, CLmax 1.47 + 0.35 "
            "(aero/coefficient/CLDf at flap-pos-deg 30): sqrt(2 W / (rho0 S CLmax)), calibrated"};
    const std::string checklist =
        "c172-checklists.xml, Normal Landing, Wing Flaps: \"0 - 10 degrees below 110KIAS\", "
        "\"10 - 30 degrees below 85KIAS\"";
    d.flaps = {{"10°", 1.0 / 3.0, {110.0, checklist}},
               {"20°", 2.0 / 3.0, {85.0, checklist}},
               {"30°", 1.0, {85.0, checklist}}};
    // c172-help.xml: "Landing: full flaps, 65 KIAS".
    d.landingFlapsPosition = 1.0;
    d.gear.mainAftOfCgM = {
        (58.2 - kCgXIn) * kMetresPerInch,
        std::string(kJsbSim) +
            ": ground_reactions LEFT_MAIN/RIGHT_MAIN x 58.2 in, centre of gravity 39.0 in at "
            "the default loading (mass_balance)"};
    d.gear.noseForwardOfCgM = {(kCgXIn + 6.8) * kMetresPerInch,
                               std::string(kJsbSim) +
                                   ": ground_reactions NOSE x -6.8 in (contact 0, "
                                   "/gear/gear[0]), centre of gravity 39.0 in"};
    d.gear.mainTrackM = {86.0 * kMetresPerInch, std::string(kJsbSim) +
                                                    ": ground_reactions LEFT_MAIN y -43 in, "
                                                    "RIGHT_MAIN y 43 in"};
    d.gear.referenceHeightM = {1.34,
                               "measured standing on the three wheels in FlightGear after a "
                               "landing at Honolulu (altitude above the ground, 4.4 ft)"};
    d.gear.retractable = false;
    return d;
}

}  // namespace corvane::sim::flightgear
