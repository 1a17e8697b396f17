// SPDX-License-Identifier: MIT
//
// The fly-there autopilot's commands as values: the landing directions listed
// for a destination, the plan filled from a chosen direction, the simulator
// autopilot's engagement and disengagement, the cruise heights of the menu,
// the ground track's samples. The program's handlers apply them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/autopilot/FlyTherePlan.h"
#include "app/flightstate/AircraftCommands.h"
#include "app/flightstate/Readings.h"
#include "navdata/AirportDatabase.h"

namespace corvane::autopilot {

// One line of the airport window's list of landing directions.
struct RunwayChoiceLine {
    std::string text;         // "<designator>\t<length> ft"
    std::int32_t choice = 0;  // +i end A of runway record i, -i end B
};
// The landing directions of an airport: two lines per runway record, in
// record order.
std::vector<RunwayChoiceLine> RunwayChoiceLines(const navdata::AirportDatabase& db,
                                                int airportNumber);

// Fills the plan for a landing direction (+i end A, -i end B): the runway's
// ends, designator, elevation, heading, length, width and aim point; the
// ground track and the go-arounds start again, the en-route base throttle is
// the start throttle. False (the plan unchanged) when the choice names no
// runway record.
bool PlanFlight(const navdata::AirportDatabase& db, std::int32_t runwayChoice, FlyTherePlan& plan);
// The throttle a flight starts with.
inline constexpr std::int32_t kStartThrottle = 7168;

// "--> <airport name> - runway <designator>": the destination in the status row.
std::string DestinationText(const navdata::AirportDatabase& db, const FlyTherePlan& plan);

// The simulator's autopilot engaged for the guidance, over two exchanges: the
// master, altitude hold and heading hold switches first; then, from the
// readings of that exchange, everything else neutral, the heading the present
// magnetic heading (whole degrees) and the altitude in feet.
flightstate::AircraftCommands EngageSwitches();
flightstate::AircraftCommands EngageSettings(const flightstate::Readings& aircraft,
                                             std::int32_t altitudeFt);

// The stop command's two batches: every control and autopilot value neutral,
// then the three autopilot switches off.
flightstate::AircraftCommands StopSettings();
flightstate::AircraftCommands StopSwitches();

// The cruise heights of the menu by their entries' names.
struct CruiseHeightEntry {
    const char* entryName;  // mnuAbs3000 ... mnuground16000
    double heightFt;
    bool aboveGround;  // above the ground under the aircraft, else above sea level
};
extern const CruiseHeightEntry kCruiseHeightEntries[8];
// The entry of that name; nullptr when it is not a cruise height.
const CruiseHeightEntry* CruiseHeightEntryNamed(std::string_view entryName);
// Sets the plan's cruise height (metres) and reference from the entry.
void SetCruiseHeight(const CruiseHeightEntry& entry, FlyTherePlan& plan);

// Adds the aircraft's position to the plan's ground track, except while the
// simulator is paused (its positions then say nothing of the motion).
void SampleGroundTrack(const flightstate::Readings& aircraft, double timeOfDayS,
                       FlyTherePlan& plan);

}  // namespace corvane::autopilot
