// SPDX-License-Identifier: MIT
#include "app/startup/FlyThereHandlers.h"

#include "app/autopilot/FlyPast.h"
#include "app/autopilot/FlyThereCommands.h"
#include "app/autopilot/LandingSequence.h"
#include "app/autopilot/RouteGuidance.h"
#include "app/presenters/FlyTherePresenter.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"

namespace corvane::startup {
namespace {

constexpr double kStartWaitSeconds = 2;
constexpr double kSecondsPerDay = 86400;

void Exchange(Program& p) {
    flightstate::ExchangeFlightState(p.flightState, p.link);
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

// Writes a step's commands, engages the simulator's autopilot when the step
// asks, shows its report, and puts its message (if any) in front of the pilot.
void Carry(Program& p, const autopilot::FlyThereStep& step) {
    step.commands.ApplyTo(p.plane);
    if (step.engageAtAltitudeFt)
        EngageAutopilot(p, *step.engageAtAltitudeFt);
    presenters::ShowFlyThereReport(p.forms.Form4, p.forms.Form1.menu, p.map.ReadoutsShown,
                                   p.flyThereStatus, step.report);
    if (!step.report.alert.empty()) {
        p.host.ShowMessageBox(step.report.alert, "Fly there", host::MessageBoxIcon::Exclamation,
                              host::MessageBoxButtons::Ok);
    }
}

}  // namespace

void RouteTick(Program& p) {
    Carry(p, autopilot::RouteStep(p.flightState.readings, p.plan));
}

void LandingTick(Program& p) {
    const flightstate::FlightState& s = p.flightState;
    autopilot::LandingInputs in{s.readings};
    in.timeOfDayS = p.host.TimeOfDay();
    in.autopilotTargetsSent = s.apheadingpending == flightstate::kRequestClear &&
                              s.apaltitudepending == flightstate::kRequestClear &&
                              s.apvertspeedpending == flightstate::kRequestClear;
    in.holdSwitchesSent = s.apheadingholdpending == flightstate::kRequestClear &&
                          s.apaltholdpending == flightstate::kRequestClear;
    Carry(p, autopilot::LandingStep(in, p.plan));
}

void SampleGroundTrack(Program& p) {
    autopilot::SampleGroundTrack(p.flightState.readings, p.host.TimeOfDay(), p.plan);
}

void cmdflyme_Click(Program& p) {
    autopilot::FlyTherePlan& plan = p.plan;
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
    for (const autopilot::RunwayChoiceLine& line :
         autopilot::RunwayChoiceLines(*p.airports, p.plan.DestAirport)) {
        list.AddItem(line.text, line.choice);
    }
}

void StartFlight(Program& p, std::int32_t runwayChoice) {
    autopilot::FlyTherePlan& plan = p.plan;
    if (!autopilot::PlanFlight(*p.airports, runwayChoice, plan))
        return;
    p.plane.throttles(autopilot::kStartThrottle);

    // The simulator's crash detection is off during the flight.
    plan.SavedCrashSetting = p.flightState.readings.crashSetting;
    p.plane.crashing(0);

    presenters::ShowFlightStart(p.forms.Form4, p.forms.Form1.menu, p.flyThereStatus,
                                autopilot::DestinationText(*p.airports, plan), "To turning point");

    EngageAutopilot(p, 4000);
    cmdclose_Click(p);

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
    autopilot::EngageSwitches().ApplyTo(p.plane);
    Exchange(p);
    autopilot::EngageSettings(p.flightState.readings, altitudeFt).ApplyTo(p.plane);
    Exchange(p);
}

void CruiseHeight_Click(Program& p, const std::string& entryName) {
    const autopilot::CruiseHeightEntry* chosen = autopilot::CruiseHeightEntryNamed(entryName);
    if (chosen == nullptr)
        return;  // not a cruise-height entry
    forms::MainMenu& menu = p.forms.Form1.menu;
    for (const autopilot::CruiseHeightEntry& entry : autopilot::kCruiseHeightEntries) {
        if (forms::MenuItem* item = menu.Find(entry.entryName))
            item->checked = &entry == chosen;
    }
    autopilot::SetCruiseHeight(*chosen, p.plan);
    EndMenuAction(p);
}

void mnuFlythereOff_Click(Program& p) {
    autopilot::FlyTherePlan& plan = p.plan;
    plan.LandingStage = 0;
    plan.RouteStage = 0;
    plan.StartPending = false;
    autopilot::StopSettings().ApplyTo(p.plane);
    Exchange(p);
    autopilot::StopSwitches().ApplyTo(p.plane);
    Exchange(p);
    autopilot::FlyThereStep end;
    autopilot::EndFlightDisplay(plan, end);
    Carry(p, end);
    Exchange(p);
    EndMenuAction(p);
}

void FlyPastTick(Program& p, double leadSeconds, double sideFt) {
    autopilot::FlyPastCommands(p.flightState.readings, leadSeconds, sideFt).ApplyTo(p.plane);
}

void Timer4_Timer(Program& p) {
    int intervalMs = autopilot::kFlyPastIntervalMs;
    if (p.Form1Timer4) {
        p.Form1Timer4->SetInterval(autopilot::kFlyPastIntervalMs);
        intervalMs = p.Form1Timer4->Interval();
    }
    FlyPastTick(p, intervalMs / 2000.0, autopilot::kFlyPastSideFt);
}

void mnuFlyPast_Click(Program& p) {
    forms::MenuItem& item = p.forms.Form1.menu.mnuFlyPast;
    if (p.Form1Timer4) {
        const bool on = !p.Form1Timer4->Enabled();
        p.Form1Timer4->SetEnabled(on);
        if (on) {
            item.caption = "Stop fly past view";
            // The viewpoint moves at once, not 20 seconds later.
            Timer4_Timer(p);
        } else {
            item.caption = "Fly past view";
        }
    }
    EndMenuAction(p);
}

}  // namespace corvane::startup
