// SPDX-License-Identifier: MIT
//
// corvane-flight-cards: flies the performance cards (tools/flightcards/
// FlightCards.h) on the stand-in's flight model or on FlightGear's Cessna
// 172P behind the stand-in's FlightGear backend, over the sea south of
// Honolulu at 3,000 ft, and prints one line per card.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "sim/flightgear/FlightGearSimulator.h"
#include "sim/flightgear/process/FlightGearProcess.h"
#include "sim/model/Simulator.h"
#include "sim/physics/Aircraft.h"
#include "tools/flightcards/FlightCards.h"

namespace {

using namespace corvane;

constexpr const char* kUsage =
    "usage: corvane-flight-cards [--flightgear] [--aircraft ID] [--mass-kg KG]\n"
    "                            [--settle S] [--measure S] [--log FILE]\n"
    "\n"
    "Flies level flight at three power settings with the flaps up and at each\n"
    "flap setting, and idle descents at 800 and 1200 ft/min, and prints the\n"
    "settled "
    "indicated airspeed, pitch, angle of attack and climb of each card.\n"
    "\n"
    "  --flightgear   FlightGear's Cessna 172P behind the stand-in's FlightGear\n"
    "                 backend (needs Debian's flightgear; about 20 minutes)\n"
    "  --aircraft ID  the stand-in's aircraft: single (default) or twin\n"
    "  --mass-kg KG   the stand-in's aircraft at this mass\n"
    "  --settle S     seconds each card settles before it is read (default 60)\n"
    "  --measure S    seconds each card is read over (default 15)\n"
    "  --log FILE     FlightGear's log (default /tmp/corvane-flight-cards.log)\n";

constexpr double kStartLatitudeDeg = 21.15;
constexpr double kStartLongitudeDeg = -157.95;
constexpr double kStartAltitudeFt = 3000.0;
constexpr double kStartHeadingDeg = 270.0;
constexpr double kStartIasKt = 90.0;

bool Number(const char* text, double* out) {
    char* end = nullptr;
    *out = std::strtod(text, &end);
    return end != text && *end == '\0' && *out > 0.0;
}

void Print(const flightcards::CardResult& r) {
    std::fprintf(stderr, "%-40s %6.1f kt  pitch %5.1f  climb %5.0f ft/min%s\n", r.card.name.c_str(),
                 r.iasKt, r.pitchDeg, r.climbFpm, r.settled ? "" : "  (not settled)");
}

}  // namespace

int main(int argc, char** argv) {
    bool flightGear = false;
    std::string aircraftId = "single";
    double massKg = 0.0;
    std::string log = "/tmp/corvane-flight-cards.log";
    flightcards::CardTiming timing;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--flightgear") {
            flightGear = true;
        } else if (a == "--aircraft" && hasValue) {
            aircraftId = argv[++i];
        } else if (a == "--mass-kg" && hasValue && Number(argv[i + 1], &massKg)) {
            ++i;
        } else if (a == "--settle" && hasValue && Number(argv[i + 1], &timing.settleS)) {
            ++i;
        } else if (a == "--measure" && hasValue && Number(argv[i + 1], &timing.measureS)) {
            ++i;
        } else if (a == "--log" && hasValue) {
            log = argv[++i];
        } else {
            std::fprintf(stderr, "corvane-flight-cards: bad option '%s'\n%s", a.c_str(), kUsage);
            return 2;
        }
    }

    if (flightGear) {
        desktop::FlightGearProcess::Options o;
        o.plan.start = sim::flightgear::LaunchPlan::Start::InAir;
        o.plan.latitudeDeg = kStartLatitudeDeg;
        o.plan.longitudeDeg = kStartLongitudeDeg;
        o.plan.altitudeFt = kStartAltitudeFt;
        o.plan.headingTrueDeg = kStartHeadingDeg;
        o.plan.speedKt = kStartIasKt;
        o.logPath = log;
        desktop::FlightGearProcess process;
        std::string error;
        if (!process.Start(o, &error)) {
            std::fprintf(stderr, "corvane-flight-cards: %s\n", error.c_str());
            return 1;
        }
        sim::flightgear::BackendOptions options;
        options.logPath = log;
        sim::flightgear::FlightGearSimulator sim(process, options);
        const auto wallStart = std::chrono::steady_clock::now();
        double wallLast = 0.0;
        auto advance = [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
            sim.Advance(wall - wallLast);
            wallLast = wall;
        };
        while (!sim.Started() && sim.Failure().empty())
            advance();
        const auto results = flightcards::FlyCards(sim, flightcards::StandardCards(sim.Aircraft()),
                                                   timing, advance, Print);
        if (!sim.Failure().empty()) {
            std::fprintf(stderr, "corvane-flight-cards: %s\n", sim.Failure().c_str());
            return 1;
        }
        std::fputs(flightcards::CardTable(sim.Aircraft().name + " (FlightGear)", results).c_str(),
                   stdout);
        return 0;
    }

    const std::optional<sim::AircraftConfig> aircraft = sim::StandInAircraft(aircraftId);
    if (!aircraft) {
        std::fprintf(stderr, "corvane-flight-cards: the stand-in has no aircraft '%s'\n",
                     aircraftId.c_str());
        return 2;
    }
    sim::SimulatorOptions options;
    options.aircraft = *aircraft;
    if (massKg > 0.0)
        options.aircraft.massKg = massKg;
    options.crashDetection = false;
    sim::Simulator sim(options, nullptr);
    sim::AirStart air;
    air.latitudeDeg = kStartLatitudeDeg;
    air.longitudeDeg = kStartLongitudeDeg;
    air.altitudeFt = kStartAltitudeFt;
    air.headingTrueDeg = kStartHeadingDeg;
    air.iasKt = kStartIasKt;
    air.gearDown = true;
    sim.StartInAir(air);
    const auto results = flightcards::FlyCards(
        sim, flightcards::StandardCards(sim.Aircraft()), timing, [&] { sim.Step(); }, Print);
    char title[160];
    std::snprintf(title, sizeof title, "%s (stand-in, %.0f kg)", sim.Aircraft().name.c_str(),
                  options.aircraft.massKg);
    std::fputs(flightcards::CardTable(title, results).c_str(), stdout);
    return 0;
}
