// SPDX-License-Identifier: MIT
#include "tools/harness/CommandReplay.h"

#include <chrono>
#include <cmath>

#include "sim/model/Simulator.h"
#include "sim/physics/Aircraft.h"
#include "sim/physics/Wind.h"
#include "sim/variables/ImageBinding.h"
#include "tools/harness/Destination.h"
#include "tools/harness/FlightRecorder.h"
#include "tools/harness/RunwayFrame.h"

namespace corvane::harness {

std::string ReplayAircraftId(const std::string& requested, const sim::CommandTrace& trace,
                             const Scenario& scenario) {
    std::string id = requested;
    if (id.empty())
        id = trace.aircraftId;
    if (id.empty())
        id = AircraftOf(scenario, false);
    return sim::StandInAircraft(id) ? id : "single";
}

LandingReport ReplayCommands(const navdata::AirportDatabase& db, const sim::Terrain* terrain,
                             const Scenario& scenario, const sim::CommandTrace& trace,
                             const sim::AircraftConfig& aircraft, std::FILE* traceFile,
                             int traceEverySteps) {
    LandingReport r;
    r.scenario = scenario.name;
    r.file = scenario.file;
    r.aircraft.id = aircraft.id;
    const auto wallStart = std::chrono::steady_clock::now();
    try {
        if (trace.steps.empty())
            throw ScenarioError(scenario.name + ": the recording holds no commands");
        const Destination dest = ResolveDestination(db, scenario);
        const RunwayFrame runway(db, dest.runwayChoice);
        ReportDestination(dest, runway, scenario, r);

        sim::SimulatorOptions options;
        options.aircraft = aircraft;
        options.windFromDeg = scenario.windFromDeg;
        options.windSpeedKt = scenario.windSpeedKt;
        options.windGradient = scenario.windGradient;
        options.turbulence = scenario.turbulence;
        options.turbulenceSeed = scenario.turbulenceSeed;
        options.crashDetection = trace.steps.front().inputs.crashDetection;
        sim::Simulator sim(options, terrain);
        FlightRecorder recorder(sim);
        sim.SetTraceSink(&recorder);
        if (traceFile)
            recorder.WriteTrace(traceFile, traceEverySteps, "program", [] { return "replay"; });
        r.aircraft = FiguresOf(sim.Aircraft());

        const sim::CommandStart& st = trace.start;
        sim::AirStart air;
        air.latitudeDeg = st.latitudeDeg;
        air.longitudeDeg = st.longitudeDeg;
        air.altitudeFt = st.altitudeFt;
        air.headingTrueDeg = st.headingTrueDeg;
        air.iasKt = st.iasKt;
        air.flaps = st.flaps;
        air.gearDown = true;
        air.climbFpm = st.climbFpm;
        sim.StartInAir(air);
        const double startS = sim.TimeS();
        recorder.BeginFlight(runway);
        const RunwayPoint startAt = recorder.Position();
        r.startDistanceNm = std::hypot(startAt.alongFt * 0.3048, startAt.crossM) / 1852.0;

        const double endS = trace.steps.back().timeS + kReplayAfterS;
        while (sim.TimeS() - startS < endS && !recorder.Crashed()) {
            sim::ControlInputs in = trace.At(sim.TimeS() - startS);
            in.paused = false;
            sim::ImageBinding::WriteInputs(in, sim.Variables());
            sim.Step();
        }
        r.flightTimeS = sim.TimeS() - startS;
        r.virtualTimeS = r.flightTimeS;
        recorder.FillReport(startS, r);
        const sim::ControlInputs& last = trace.steps.back().inputs;
        r.handedBack = !last.autopilot.master;
        if (r.handedBack)
            r.handBackTimeS = trace.steps.back().timeS;
        DecideOutcome(r, recorder.LeftRunway(),
                      r.crashed ? "the simulator detected a crash (" + r.crashReason + ")"
                                : "the recording ended without a stop on the runway");
    } catch (const std::exception& e) {
        r.outcome = Outcome::Error;
        r.error = e.what();
        r.outcomeDetail = e.what();
    }
    r.wallTimeS =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    r.speedUp = r.wallTimeS > 0 ? r.virtualTimeS / r.wallTimeS : 0.0;
    JudgeLanding(r);
    return r;
}

}  // namespace corvane::harness
