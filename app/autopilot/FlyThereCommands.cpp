// SPDX-License-Identifier: MIT
#include "app/autopilot/FlyThereCommands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "app/airports/AirportCommands.h"
#include "app/autopilot/AircraftReadings.h"
#include "app/autopilot/ApproachGeometry.h"
#include "app/autopilot/FlyThereStatus.h"
#include "app/mainwindow/MainWindowCommands.h"
#include "app/navdata/Geodesy.h"
#include "app/navdata/PositionText.h"
#include "app/startup/Program.h"

namespace corvane::autopilot {
namespace {

constexpr std::int32_t kStartThrottle = 7168;
constexpr double kStartWaitSeconds = 2;
constexpr double kSecondsPerDay = 86400;

void Exchange(Program& p) {
    flightstate::ExchangeFlightState(p.flightState, p.link);
}

struct CruiseEntry {
    forms::MenuItem forms::MainMenu::*item;
    double heightFt;
    bool aboveGround;
};

constexpr std::array<CruiseEntry, 8> kCruiseEntries{{
    {&forms::MainMenu::mnuAbs3000, 3000, false},
    {&forms::MainMenu::mnuAbs6000, 6000, false},
    {&forms::MainMenu::mnuAbs15000, 15000, false},
    {&forms::MainMenu::mnuAbs30000, 30000, false},
    {&forms::MainMenu::mnuground2000, 2000, true},
    {&forms::MainMenu::mnuground4000, 4000, true},
    {&forms::MainMenu::mnuground8000, 8000, true},
    {&forms::MainMenu::mnuground16000, 16000, true},
}};

std::string RunwayLine(int code, std::int16_t lengthFeet) {
    return navdata::RunwayDesignatorText(code) + "\t" + navdata::NumberText(lengthFeet) + " ft";
}

// Lets window events run until the clock has moved on by the given seconds.
// The time of day starts again at midnight; a wait across it still lasts its
// full length. Ends early when the program ends meanwhile.
void WaitLettingEventsRun(Program& p, double seconds) {
    const double start = p.host.TimeOfDay();
    for (;;) {
        p.host.DoEvents();
        if (p.host.Ended())
            return;
        double elapsed = p.host.TimeOfDay() - start;
        if (elapsed < 0)
            elapsed += kSecondsPerDay;
        if (elapsed >= seconds)
            return;
    }
}

std::string AirportName(const Program& p, int airport) {
    if (airport < 0 || airport >= static_cast<int>(p.airports.Airports.size()))
        return {};
    return p.airports.Airports[static_cast<std::size_t>(airport)].name;
}

}  // namespace

void cmdflyme_Click(Program& p) {
    FlyTherePlan& plan = p.plan;
    plan.LandingStage = 0;
    plan.RouteStage = 0;
    plan.StartPending = false;
    plan.DestAirport = static_cast<std::int16_t>(p.search.SelectedAirport);
    plan.GuidanceOn = true;
    p.forms.Form2.foundlist.tag = "runways";
    ListRunways(p);
}

void ListRunways(Program& p) {
    forms::ListBox& list = p.forms.Form2.foundlist;
    list.Clear();
    list.visible = true;
    const navdata::AirportDatabase& db = p.airports;
    const int last = std::min<int>(db.RunwayCount, static_cast<int>(db.Runways.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        const navdata::RunwayRecord& runway = db.Runways[static_cast<std::size_t>(i)];
        if (runway.airportNumber != p.plan.DestAirport)
            continue;
        list.AddItem(RunwayLine(runway.codeA, runway.lengthFeet), i);
        list.AddItem(RunwayLine(runway.codeB, runway.lengthFeet), -i);
    }
}

void StartFlight(Program& p, std::int32_t runwayChoice) {
    const navdata::AirportDatabase& db = p.airports;
    const std::int64_t index = std::llabs(std::int64_t{runwayChoice});
    if (index < 1 || index > db.RunwayCount || index >= std::int64_t(db.Runways.size()))
        return;
    const navdata::RunwayRecord& runway = db.Runways[static_cast<std::size_t>(index)];

    FlyTherePlan& plan = p.plan;
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
    plan.GoArounds = 0;
    plan.GateChecked = false;

    plan.RouteBaseThrottle = kStartThrottle;
    p.plane.throttles(kStartThrottle);

    p.forms.Form1.menu.mnuFlythereOff.visible = true;
    p.forms.Form1.menu.mnuFlyHeight.visible = true;

    // The simulator's crash detection is off during the flight.
    plan.SavedCrashSetting = p.plane.crashing();
    p.plane.crashing(0);

    ShowFlyThereStatus(
        p, "--> " + AirportName(p, plan.DestAirport) + " - runway " + plan.RunwayDesignator,
        "To turning point");

    EngageAutopilot(p, 4000);
    airports::cmdclose_Click(p);

    plan.StartPending = true;
    WaitLettingEventsRun(p, kStartWaitSeconds);
    // The stop command or a new "Fly there" during the wait cancels the start.
    if (!plan.StartPending || p.host.Ended())
        return;
    plan.StartPending = false;
    plan.RouteStage = 1;
    plan.LandingStage = 0;
}

void EngageAutopilot(Program& p, std::int32_t altitudeFt) {
    flightstate::planeinterface& plane = p.plane;
    plane.apmaster(1);
    plane.apalthold(1);
    plane.apheadinghold(1);
    Exchange(p);
    plane.spoilers(0);
    plane.armspoilers(0);
    plane.flaps(0);
    plane.brakeindicator(0);
    plane.airbrake(0);
    plane.apwinglevel(0);
    // The autopilot's heading is magnetic: the aircraft's true heading less
    // the variation, so that engaging it does not turn the aircraft.
    const double wholeDegrees =
        std::nearbyint(TrueHeading(p.flightState) - MagneticVariation(p.flightState));
    plane.apheading(static_cast<std::int32_t>(std::nearbyint(wholeDegrees * 65536 / 360)));
    plane.apaltitude(altitudeFt);
    plane.apvertspeed(0);
    plane.leftbrake(0);
    plane.rightbrake(0);
    plane.elevator(0);
    plane.rudder(0);
    plane.autocoordinator(1);
    plane.aileron(0);
    Exchange(p);
}

void CruiseHeight_Click(Program& p, const std::string& entryName) {
    forms::MainMenu& menu = p.forms.Form1.menu;
    const CruiseEntry* chosen = nullptr;
    for (const CruiseEntry& entry : kCruiseEntries) {
        if ((menu.*entry.item).name == entryName)
            chosen = &entry;
    }
    if (chosen == nullptr)
        return;  // not a cruise-height entry
    for (const CruiseEntry& entry : kCruiseEntries) {
        (menu.*entry.item).checked = &entry == chosen;
    }
    p.plan.CruiseHeight = chosen->heightFt / kFeetPerMetre;
    p.plan.CruiseAboveGround = chosen->aboveGround;
    mainwindow::EndMenuAction(p);
}

void SampleGroundTrack(Program& p) {
    const flightstate::FlightState& s = p.flightState;
    // A paused simulator does not move: its positions say nothing of the
    // motion (the gap starts the record again when it goes on).
    if (s.paused != 0)
        return;
    FlyTherePlan& plan = p.plan;
    plan.Track.Add(p.host.TimeOfDay(), AircraftLatitude(s), AircraftLongitude(s));
    plan.Track.UpdateDrift(TrueHeading(s), s.onground == 0);
}

void mnuFlythereOff_Click(Program& p) {
    FlyTherePlan& plan = p.plan;
    flightstate::planeinterface& plane = p.plane;
    plan.LandingStage = 0;
    plan.RouteStage = 0;
    plan.StartPending = false;
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
    Exchange(p);
    plane.apalthold(0);
    plane.apheadinghold(0);
    plane.apmaster(0);
    Exchange(p);
    EndFlyThereDisplay(p);
    Exchange(p);
    mainwindow::EndMenuAction(p);
}

}  // namespace corvane::autopilot
