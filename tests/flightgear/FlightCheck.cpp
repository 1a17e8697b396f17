// SPDX-License-Identifier: MIT
//
// corvane-fg-check: flies FlightGear's Cessna 172P through the stand-in's
// FlightGear backend to check the figures the harness judges it by: the
// flight model's normal load (1 in level flight, 1/cos(bank) in level turns
// of 30 and 45 degrees) and the 1 g stall speeds clean and with 30 degrees of
// flaps (a slow deceleration at idle, wings level, the height held until
// the wing gives up). The pilot here is a pair of loops of its own on the
// elevator and ailerons (the backend's, without their speed protection),
// written into the variable space as the program writes its controls.
//
//   corvane-fg-check [--log FILE] [--trace FILE.csv] [--flaps-stall]
//
// --flaps-stall flies the stall with flaps 30 alone (settled with full flaps
// first), without the turns and the clean stall before it.
//
// Needs FlightGear (Debian's flightgear and flightgear-data-base). Prints one
// line per check; exit status 1 when FlightGear fails.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "sim/flightgear/ControlLoops.h"
#include "sim/flightgear/FlightGearSimulator.h"
#include "sim/flightgear/process/FlightGearProcess.h"
#include "sim/variables/ImageBinding.h"

namespace {

using namespace corvane::sim;
using namespace corvane::sim::flightgear;

struct Phase {
    const char* name;
    double untilS;        // simulated seconds since the flight started
    double throttle;      // 0..1
    double flaps;         // lever 0..1
    double bankDeg;       // wings held at this bank
    double climbMps;      // climb rate held (0: level)
    double measureFromS;  // samples of the load from here to the phase's end
};

// Seconds a stall phase flies before it is judged.
constexpr double kSettleS = 12.0;

double Median(std::vector<double> v) {
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::string log = "/tmp/corvane-fg-check.log";
    std::string tracePath;
    bool flapsStallOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--flaps-stall") {
            flapsStallOnly = true;
        } else if (a == "--log" && i + 1 < argc) {
            log = argv[++i];
        } else if (a == "--trace" && i + 1 < argc) {
            tracePath = argv[++i];
        } else {
            std::fprintf(
                stderr,
                "usage: corvane-fg-check [--log FILE] [--trace FILE.csv] [--flaps-stall]\n");
            return a == "--help" ? 0 : 2;
        }
    }

    corvane::desktop::FlightGearProcess::Options o;
    o.plan.start = LaunchPlan::Start::InAir;
    // Over the sea south of Honolulu, heading west, away from the islands.
    o.plan.latitudeDeg = 21.15;
    o.plan.longitudeDeg = -157.95;
    o.plan.altitudeFt = 4500.0;
    o.plan.headingTrueDeg = 270.0;
    o.plan.speedKt = 95.0;
    o.logPath = log;
    corvane::desktop::FlightGearProcess process;
    std::string error;
    if (!process.Start(o, &error)) {
        std::fprintf(stderr, "corvane-fg-check: %s\n", error.c_str());
        return 1;
    }
    BackendOptions options;
    FlightGearSimulator sim(process, options);

    // The phases, one after the other; the stalls end their phase early.
    // clang-format off
    const std::vector<Phase> all = {
        {"settle",         25,  0.75, 0.0, 0,  0,    1e9},
        {"level",          45,  0.75, 0.0, 0,  0,    30},
        {"turn 30",        90,  0.85, 0.0, 30, 0,    65},
        {"turn 45",        135, 1.0,  0.0, 45, 0,    110},
        {"wings level",    150, 0.75, 0.0, 0,  0,    1e9},
        {"stall clean",    280, 0.0,  0.0, 0,  0,    1e9},
        {"recover",        330, 1.0,  0.0, 0,  -2.0, 1e9},
        {"flaps 30",       360, 0.6,  1.0, 0,  0,    1e9},
        {"stall flaps 30", 480, 0.0,  1.0, 0,  0,    1e9},
    };
    const std::vector<Phase> flapsStall = {
        {"settle",         25,  0.75, 0.0, 0,  0,    1e9},
        {"flaps 30",       60,  0.6,  1.0, 0,  0,    1e9},
        {"stall flaps 30", 180, 0.0,  1.0, 0,  0,    1e9},
    };
    // clang-format on
    const std::vector<Phase>& phases = flapsStallOnly ? flapsStall : all;
    // Into the stalls the pilot holds the height whatever the angle of
    // attack; elsewhere (the recovery too) with the backend's own speed and
    // angle-of-attack protection.
    ControlLoops::Gains stallGains;
    stallGains.minSpeedStallRatio = 0.0;
    stallGains.maxAlphaDeg = 40.0;
    stallGains.maxPitchUpDeg = 30.0;
    stallGains.maxAutopilotElevator = 1.0;
    ControlLoops stallPilot(stallGains);
    ControlLoops pilot;

    std::FILE* trace = tracePath.empty() ? nullptr : std::fopen(tracePath.c_str(), "w");
    if (trace)
        std::fprintf(trace,
                     "time_s,phase,ias_kt,alpha_deg,bank_deg,pitch_deg,vs_fpm,load_g,"
                     "weight_lb,flaps,elevator,nose,left,right,wing_damage\n");

    std::size_t phase = 0;
    std::vector<double> load;
    std::vector<double> expected;
    double phaseStartS = 0.0;
    double stallIasKt = NAN;  // where alpha passed the angle of the most lift
    double minLevelIasKt = 1e9;
    double lastTimeS = -1.0;
    bool flying = false;  // the recovery has the wing flying again
    const auto start = std::chrono::steady_clock::now();
    double wallLast = 0.0;
    while (phase < phases.size()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        sim.Advance(wall - wallLast);
        wallLast = wall;
        if (!sim.Failure().empty()) {
            std::fprintf(stderr, "corvane-fg-check: %s\n", sim.Failure().c_str());
            return 1;
        }
        if (!sim.Started() || sim.TimeS() == lastTimeS)
            continue;
        const double dt = lastTimeS < 0 ? 0.0 : sim.TimeS() - lastTimeS;
        lastTimeS = sim.TimeS();
        const Readings& r = sim.LastReadings();
        const Phase& p = phases[phase];
        const double vsFpm = -r.downFps * 60.0;

        // A stall phase judges once the loops have settled on level flight
        // at idle (the phase before may leave a climb or a descent).
        const bool stallPhase =
            std::string(p.name).rfind("stall", 0) == 0 && sim.TimeS() - phaseStartS > kSettleS;
        bool ended = sim.TimeS() >= p.untilS;
        if (stallPhase && std::isnan(stallIasKt) && r.alphaDeg >= 16.04)
            stallIasKt = r.iasKt;
        if (stallPhase && vsFpm > -150.0)
            minLevelIasKt = std::min(minLevelIasKt, r.iasKt);
        // Two degrees past the angle of the most lift, before a wing drops.
        if (stallPhase && (r.alphaDeg > 18.0 || vsFpm < -900.0 || r.iasKt < 20.0))
            ended = true;
        if (sim.TimeS() >= p.measureFromS) {
            load.push_back(r.normalLoadG);
            expected.push_back(1.0 / std::cos(r.rollDeg * M_PI / 180.0));
        }
        if (ended) {
            if (p.measureFromS < 1e8) {
                std::printf("%-14s load median %.3f g, 1/cos(bank) median %.3f (%zu frames)\n",
                            p.name, Median(load), Median(expected), load.size());
            }
            if (std::string(p.name).rfind("stall", 0) == 0) {
                std::printf(
                    "%-14s weight %.0f lb: IAS %.1f kt when alpha passed 16.04 deg; "
                    "lowest IAS with the height held (sink under 150 ft/min) %.1f kt\n",
                    p.name, r.weightLbs, stallIasKt, minLevelIasKt);
            }
            std::fflush(stdout);
            load.clear();
            expected.clear();
            stallIasKt = NAN;
            minLevelIasKt = 1e9;
            pilot = ControlLoops();
            stallPilot = ControlLoops(stallGains);
            flying = false;
            phaseStartS = sim.TimeS();
            ++phase;
            continue;
        }

        Autopilot::Command command;
        command.holdsPitch = true;
        command.holdsRoll = true;
        command.climbTargetMps = p.climbMps;
        command.bankTargetDeg = p.bankDeg;
        const LoopSense sense = LoopSenseOf(r, sim.State());
        const bool intoStall = std::string(p.name).rfind("stall", 0) == 0;
        // Out of the stall first: the nose down, wings and rudder neutral,
        // until the wing flies again; then the loops, fresh.
        const bool recovering = std::string(p.name) == "recover" && r.alphaDeg > 8.0 && !flying;
        LoopOutput out;
        if (recovering) {
            out.elevator = 0.3;
            pilot = ControlLoops();
        } else {
            flying = true;
            out = (intoStall ? stallPilot : pilot).Update(command, sense, 0.0, 0.0, 0.0, true, dt);
        }
        ControlInputs in = ImageBinding::ReadInputs(sim.Variables());
        in.paused = false;
        in.throttle = {p.throttle, 0.0, 0.0, 0.0};
        in.flapsLever = p.flaps;
        in.elevator = out.elevator;
        in.aileron = out.aileron;
        in.rudder = out.rudder;
        in.autoCoordinator = false;
        // The Cessna's damage model off: an over-g while the loops settle on a
        // new phase would break the wing (0.3 of its lift lost, c172p-damage.xml)
        // and every stall after it would come 20 % faster.
        in.crashDetection = false;
        ImageBinding::WriteInputs(in, sim.Variables());
        if (trace) {
            std::fprintf(trace,
                         "%.3f,%s,%.2f,%.2f,%.2f,%.2f,%.0f,%.3f,%.0f,%.2f,%.3f,%d,%d,%d,%.3f\n",
                         sim.TimeS(), p.name, r.iasKt, r.alphaDeg, r.rollDeg, r.pitchDeg, vsFpm,
                         r.normalLoadG, r.weightLbs, r.flapsNorm, out.elevator, r.noseWheelOnGround,
                         r.leftWheelOnGround, r.rightWheelOnGround,
                         std::max(r.leftWingDamage, r.rightWingDamage));
        }
    }
    if (trace)
        std::fclose(trace);
    return 0;
}
