// SPDX-License-Identifier: MIT
#include "sim/physics/Aircraft.h"

#include <cmath>
#include <cstdio>

#include "sim/physics/Atmosphere.h"
#include "sim/physics/Units.h"

namespace corvane::sim {

namespace {

std::string Figure(const char* format, double value) {
    char text[200];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

AircraftConfig TwinTurboprop() {
    return AircraftConfig{};
}

AircraftConfig LightSingle() {
    AircraftConfig c;
    c.id = "single";
    c.name = "stand-in light single";
    // A high-wing four-seater of 1,100 kg: 16.2 m^2 of wing, 11 m of span.
    c.massKg = 1100.0;
    c.wingAreaM2 = 16.2;
    c.wingSpanM = 11.0;
    c.oswaldEfficiency = 0.75;
    // Lift: zero lift at -2.7 degrees of body angle, the wing stalling near 16
    // degrees; 30 degrees of flap add 0.31 to CL at an angle and 0.32 to CLmax.
    c.liftSlopePerRad = 4.7;
    c.zeroLiftAlphaBodyDeg = -2.7;
    c.clMaxClean = 1.52;
    c.flapsDeltaCl = 0.31;
    c.flapsDeltaClMax = 0.32;
    c.spoilersDeltaCl = 0.0;
    c.spoilersDeltaClMax = 0.0;
    // Drag: a fixed gear and big slotted flaps.
    c.cd0 = 0.026;
    c.gearCd = 0.006;
    c.flapsCd = 0.065;
    c.spoilersCd = 0.0;
    c.sideForcePerRad = 0.6;
    // One piston engine of 160 hp with a fixed-pitch propeller: 2.6 kN
    // static, 95 kW of thrust power; no reverse.
    c.engineCount = 1;
    c.staticThrustPerEngineN = 2600.0;
    c.thrustPowerPerEngineW = 95000.0;
    c.powerLapseExponent = 1.0;
    c.reverseThrustFraction = 0.0;
    c.engineTimeConstantS = 0.5;
    c.engineType = 0;  // piston
    // Flaps in detents of 10, 20 and 30 degrees, electric, about 9 s to full;
    // 10 degrees to 110 kt, beyond that to 85 kt.
    c.flapSettings = {{"10°", 1.0 / 3.0, 110.0}, {"20°", 2.0 / 3.0, 85.0}, {"30°", 1.0, 85.0}};
    c.landingFlaps = 1.0;
    c.flapDetents = true;
    c.hasSpoilers = false;
    c.flapsTravelS = 9.0;
    c.retractableGear = false;
    c.alphaTimeConstantS = 0.3;
    c.manualRollRateDegPerS = 60.0;
    c.rudderSideslipDeg = 10.0;
    // Ground: the reference point 1.2 m above the ground standing, the main
    // wheels 0.44 m behind it, the nose wheel 1.21 m ahead, 2.3 m of track.
    c.gearHeightM = 1.2;
    c.bellyHeightM = 0.4;
    c.wheelbaseM = 1.65;
    c.mainGearAftOfCgM = 0.44;
    c.mainGearTrackM = 2.3;
    // Spring-steel main legs and an oleo nose strut, compressed 0.15 m and
    // 0.08 m by their static loads; dampers as for the twin (0.3 and 0.9 of
    // critical).
    c.mainStrutStiffnessNPerM = 5.27e4;
    c.mainStrutDampingNsPerM = 3.9e3;
    c.mainStrutReboundDampingNsPerM = 1.17e4;
    c.noseStrutStiffnessNPerM = 3.6e4;
    c.noseStrutDampingNsPerM = 1.95e3;
    c.noseStrutReboundDampingNsPerM = 5.85e3;
    c.pitchInertiaKgM2 = 1825.0;
    c.maxNoseWheelDeg = 30.0;
    c.maxNoseWheelHighSpeedDeg = 5.0;
    c.rollingFriction = 0.02;
    c.brakeFriction = 0.4;
    c.maxGroundPitchDeg = 12.0;
    c.crashSinkFpm = 1000.0;
    c.wingStrikeBankDeg = 12.0;
    c.apBankLimitDeg = 20.0;
    return c;
}

std::vector<std::string> StandInAircraftIds() {
    return {"twin", "single"};
}

std::optional<AircraftConfig> StandInAircraft(const std::string& id) {
    if (id == "twin")
        return TwinTurboprop();
    if (id == "single")
        return LightSingle();
    return std::nullopt;
}

double StallSpeedKias(const AircraftConfig& config, double flaps) {
    const double clMax = config.clMaxClean + config.flapsDeltaClMax * flaps;
    const double weightN = config.massKg * units::kGravityMps2;
    const double vsMps =
        std::sqrt(2.0 * weightN / (Atmosphere::kSeaLevelDensityKgM3 * config.wingAreaM2 * clMax));
    return vsMps * units::kKnotsPerMps;
}

AircraftData DataOf(const AircraftConfig& config) {
    AircraftData d;
    d.id = config.id;
    d.name = config.name;
    d.stallCleanKias = {
        StallSpeedKias(config, 0.0),
        Figure("configuration: mass, wing area and CLmax clean %.2f", config.clMaxClean)};
    d.stallLandingKias = {StallSpeedKias(config, config.landingFlaps),
                          Figure("configuration: mass, wing area and CLmax with landing flaps %.2f",
                                 config.clMaxClean + config.flapsDeltaClMax * config.landingFlaps)};
    for (const FlapPlacard& p : config.flapSettings)
        d.flaps.push_back({p.name, p.position, {p.limitKias, "configuration: flap settings"}});
    d.landingFlapsPosition = config.landingFlaps;
    d.gear.mainAftOfCgM = {config.mainGearAftOfCgM, "configuration"};
    d.gear.noseForwardOfCgM = {config.wheelbaseM - config.mainGearAftOfCgM,
                               "configuration: wheelbase less the main gear's place"};
    d.gear.mainTrackM = {config.mainGearTrackM, "configuration"};
    d.gear.referenceHeightM = {config.gearHeightM, "configuration"};
    d.gear.retractable = config.retractableGear;
    return d;
}

}  // namespace corvane::sim
