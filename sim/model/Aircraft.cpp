// SPDX-License-Identifier: MIT
#include "sim/model/Aircraft.h"

#include <cmath>
#include <cstdio>

#include "sim/model/Atmosphere.h"
#include "sim/model/Units.h"

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

std::vector<std::string> StandInAircraftIds() {
    return {"twin"};
}

std::optional<AircraftConfig> StandInAircraft(const std::string& id) {
    if (id == "twin")
        return TwinTurboprop();
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
