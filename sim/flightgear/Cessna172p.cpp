// SPDX-License-Identifier: MIT
#include "sim/flightgear/Cessna172p.h"

namespace corvane::sim::flightgear {

AircraftData Cessna172pData() {
    AircraftData d;
    d.id = "c172p";
    d.name = "FlightGear Cessna 172P";
    d.stallCleanKias = {48.0, "Cessna 172P handbook, stall speeds at 2,400 lb (calibrated)"};
    d.stallLandingKias = {44.0,
                          "Cessna 172P handbook, stall speeds at 2,400 lb, flaps 30° (calibrated)"};
    d.flaps = {{"10°", 1.0 / 3.0, {110.0, "c172p-set.xml, limits: max-flap-extension-speed"}},
               {"20°", 2.0 / 3.0, {85.0, "c172p-set.xml, limits: max-flap-extension-speed"}},
               {"30°", 1.0, {85.0, "c172p-set.xml, limits: max-flap-extension-speed"}}};
    d.landingFlapsPosition = 1.0;
    d.gear.mainAftOfCgM = {0.43, "c172p.xml, ground reactions, against the centre of gravity"};
    d.gear.noseForwardOfCgM = {1.15, "c172p.xml, ground reactions, against the centre of gravity"};
    d.gear.mainTrackM = {2.3, "c172p.xml, ground reactions"};
    d.gear.referenceHeightM = {1.2, "measured standing in FlightGear"};
    d.gear.retractable = false;
    return d;
}

}  // namespace corvane::sim::flightgear
