// SPDX-License-Identifier: MIT
#include "app/autopilot/FlyThereCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/autopilot/ApproachGeometry.h"
#include "navdata/Geodesy.h"
#include "navdata/PositionText.h"

namespace corvane::autopilot {
namespace {

std::string RunwayLine(int code, std::int16_t lengthFeet) {
    return navdata::RunwayDesignatorText(code) + "\t" + navdata::NumberText(lengthFeet) + " ft";
}

std::string AirportName(const navdata::AirportDatabase& db, int airport) {
    if (airport < 0 || airport >= static_cast<int>(db.Airports.size()))
        return {};
    return db.Airports[static_cast<std::size_t>(airport)].name;
}

}  // namespace

const CruiseHeightEntry kCruiseHeightEntries[8] = {
    {"mnuAbs3000", 3000, false},   {"mnuAbs6000", 6000, false},     {"mnuAbs15000", 15000, false},
    {"mnuAbs30000", 30000, false}, {"mnuground2000", 2000, true},   {"mnuground4000", 4000, true},
    {"mnuground8000", 8000, true}, {"mnuground16000", 16000, true},
};

std::vector<RunwayChoiceLine> RunwayChoiceLines(const navdata::AirportDatabase& db,
                                                int airportNumber) {
    std::vector<RunwayChoiceLine> lines;
    const int last = std::min<int>(db.RunwayCount, static_cast<int>(db.Runways.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        const navdata::RunwayRecord& runway = db.Runways[static_cast<std::size_t>(i)];
        if (runway.airportNumber != airportNumber)
            continue;
        lines.push_back({RunwayLine(runway.codeA, runway.lengthFeet), i});
        lines.push_back({RunwayLine(runway.codeB, runway.lengthFeet), -i});
    }
    return lines;
}

bool PlanFlight(const navdata::AirportDatabase& db, std::int32_t runwayChoice, FlyTherePlan& plan) {
    const std::int64_t index = std::llabs(std::int64_t{runwayChoice});
    if (index < 1 || index > db.RunwayCount || index >= std::int64_t(db.Runways.size()))
        return false;
    const navdata::RunwayRecord& runway = db.Runways[static_cast<std::size_t>(index)];

    plan.RunwayChoice = static_cast<std::int16_t>(runwayChoice);
    const bool endB = plan.RunwayChoice < 1;
    if (endB) {
        plan.Threshold = {runway.latitudeB, runway.longitudeB};
        plan.FarEnd = {runway.latitudeA, runway.longitudeA};
        plan.RunwayDesignator = navdata::RunwayDesignatorText(runway.codeB);
        plan.RunwayElevation = runway.elevationB * kFeetPerMetre;
    } else {
        plan.Threshold = {runway.latitudeA, runway.longitudeA};
        plan.FarEnd = {runway.latitudeB, runway.longitudeB};
        plan.RunwayDesignator = navdata::RunwayDesignatorText(runway.codeA);
        plan.RunwayElevation = runway.elevationA * kFeetPerMetre;
    }
    plan.RunwayHeading = navdata::InitialBearing(plan.Threshold.lat, plan.Threshold.lon,
                                                 plan.FarEnd.lat, plan.FarEnd.lon);
    plan.RunwayLengthFt = runway.lengthFeet;
    plan.RunwayWidthFt = runway.widthFeet;
    plan.AimPointFt = AimPointDistance(plan.RunwayLengthFt);
    plan.Track.Reset();
    plan.Speeds.Reset();
    plan.GoArounds = 0;
    plan.GateChecked = false;
    plan.RouteBaseThrottle = kStartThrottle;
    return true;
}

std::string DestinationText(const navdata::AirportDatabase& db, const FlyTherePlan& plan) {
    return "--> " + AirportName(db, plan.DestAirport) + " - runway " + plan.RunwayDesignator;
}

flightstate::AircraftCommands EngageSwitches() {
    flightstate::AircraftCommands plane;
    plane.apmaster(1);
    plane.apalthold(1);
    plane.apheadinghold(1);
    return plane;
}

flightstate::AircraftCommands EngageSettings(const flightstate::Readings& aircraft,
                                             std::int32_t altitudeFt) {
    flightstate::AircraftCommands plane;
    plane.spoilers(0);
    plane.armspoilers(0);
    plane.flaps(0);
    plane.brakeindicator(0);
    plane.airbrake(0);
    plane.apwinglevel(0);
    // The autopilot's heading is magnetic: the aircraft's true heading less
    // the variation, so that engaging it does not turn the aircraft.
    const double wholeDegrees =
        std::nearbyint(aircraft.headingTrueDeg - aircraft.magneticVariationDeg);
    plane.apheading(static_cast<std::int32_t>(std::nearbyint(wholeDegrees * 65536 / 360)));
    plane.apaltitude(altitudeFt);
    plane.apvertspeed(0);
    plane.leftbrake(0);
    plane.rightbrake(0);
    plane.elevator(0);
    plane.rudder(0);
    plane.autocoordinator(1);
    plane.aileron(0);
    return plane;
}

flightstate::AircraftCommands StopSettings() {
    flightstate::AircraftCommands plane;
    plane.spoilers(0);
    plane.armspoilers(0);
    plane.flaps(0);
    plane.brakeindicator(0);
    plane.airbrake(0);
    plane.apwinglevel(0);
    plane.apheading(0);
    plane.apaltitude(0);
    plane.apvertspeed(0);
    plane.leftbrake(0);
    plane.rightbrake(0);
    plane.elevator(0);
    plane.rudder(0);
    plane.autocoordinator(1);
    plane.aileron(0);
    return plane;
}

flightstate::AircraftCommands StopSwitches() {
    flightstate::AircraftCommands plane;
    plane.apalthold(0);
    plane.apheadinghold(0);
    plane.apmaster(0);
    return plane;
}

const CruiseHeightEntry* CruiseHeightEntryNamed(std::string_view entryName) {
    const CruiseHeightEntry* chosen = nullptr;
    for (const CruiseHeightEntry& entry : kCruiseHeightEntries) {
        if (entry.entryName == entryName)
            chosen = &entry;
    }
    return chosen;
}

void SetCruiseHeight(const CruiseHeightEntry& entry, FlyTherePlan& plan) {
    plan.CruiseHeight = entry.heightFt / kFeetPerMetre;
    plan.CruiseAboveGround = entry.aboveGround;
}

void SampleGroundTrack(const flightstate::Readings& aircraft, double timeOfDayS,
                       FlyTherePlan& plan) {
    // A paused simulator does not move: its positions say nothing of the
    // motion (the gap starts the record again when it goes on).
    if (aircraft.paused != 0)
        return;
    plan.Track.Add(timeOfDayS, aircraft.latitudeDeg, aircraft.longitudeDeg,
                   aircraft.headingTrueDeg);
    plan.Track.UpdateDrift(aircraft.headingTrueDeg, aircraft.onGround == 0);
}

}  // namespace corvane::autopilot
