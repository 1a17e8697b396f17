// SPDX-License-Identifier: MIT
//
// The cost of one random flight: the whole program against the stand-in in
// the same process and virtual time, as corvane-harness --no-draw flies it
// (start-up, the pilot's clicks, the main and map cycles on blank canvases,
// the simulator's steps and the flight's measuring), over the world data the
// build makes from data/. Each iteration flies the next of the same twenty
// flights of seed 101, so runs of two builds compare flight for flight.
// Counters: simulator seconds flown per CPU second, and the CPU seconds of a
// flight of the mean length. BM_RandomFlightFineSteps flies the same flights
// with the stand-in's 20 ms step at every height (--fine-steps), the cost of
// the steps before the one step a batch high above the ground, in the same
// run. A further benchmark asks the terrain alone, as flights near airports
// ask it.
// For medians: --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/harness/RandomFlights.h"
#include "tools/harness/ScenarioRunner.h"

namespace corvane::harness {
namespace {

constexpr int kFlights = 20;
constexpr std::uint64_t kSeed = 101;

HarnessOptions WorldData(bool fineSteps = false) {
    HarnessOptions options;
    options.dataFolder = CORVANE_BENCH_APP_DIR;
    options.fineSteps = fineSteps;
    return options;
}

struct Campaign {
    ScenarioRunner runner;
    std::vector<Scenario> flights;

    explicit Campaign(bool fineSteps = false) : runner(WorldData(fineSteps)) {
        const RandomFleet fleet = StandInFleet(runner.Database());
        for (int i = 0; i < kFlights; ++i)
            flights.push_back(
                DrawFleetFlight(runner.Database(), fleet, runner.Terrain(), kSeed, i));
    }
};

Campaign& TheCampaign() {
    static Campaign campaign;
    return campaign;
}

Campaign& TheFineStepsCampaign() {
    static Campaign campaign(true);
    return campaign;
}

void FlyTheCampaign(benchmark::State& state, Campaign& c) {
    std::size_t next = 0;
    double flownS = 0.0;
    for (auto _ : state) {
        const LandingReport report = c.runner.Run(c.flights[next]);
        if (report.outcome == Outcome::Error) {
            state.SkipWithError(("flight " + c.flights[next].name + ": " + report.error).c_str());
            return;
        }
        flownS += report.flightTimeS;
        next = (next + 1) % c.flights.size();
    }
    state.counters["flown_s_per_cpu_s"] = benchmark::Counter(flownS, benchmark::Counter::kIsRate);
    state.counters["flown_s_per_flight"] =
        benchmark::Counter(flownS, benchmark::Counter::kAvgIterations);
}
void BM_RandomFlight(benchmark::State& state) {
    FlyTheCampaign(state, TheCampaign());
}
BENCHMARK(BM_RandomFlight)->Iterations(kFlights)->Unit(benchmark::kMillisecond);

void BM_RandomFlightFineSteps(benchmark::State& state) {
    FlyTheCampaign(state, TheFineStepsCampaign());
}
BENCHMARK(BM_RandomFlightFineSteps)->Iterations(kFlights)->Unit(benchmark::kMillisecond);

// The ground under the aircraft: the world's terrain asked along 40 km from
// twenty airports spread through the database, each on a heading of its own,
// at the simulator's step at 250 kt (2.6 m), as a flight asks it. Counter:
// answers per CPU second.
void BM_TerrainFromAirports(benchmark::State& state) {
    Campaign& c = TheCampaign();
    const sim::Terrain* terrain = c.runner.Terrain();
    const navdata::AirportDatabase& db = c.runner.Database();
    const int count = std::min<int>(db.AirportCount, static_cast<int>(db.Airports.size()) - 1);
    if (terrain == nullptr || count < kFlights) {
        state.SkipWithError("no terrain or too few airports");
        return;
    }
    constexpr double kStepM = 2.6;
    constexpr int kSteps = 15000;
    constexpr double kMetresPerDegree = 20003500.0 / 180.0;
    constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
    double answers = 0.0;
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i < kFlights; ++i) {
            const navdata::AirportRecord& from =
                db.Airports[std::size_t(1 + i * (count / kFlights))];
            double lat = from.latitude;
            double lon = from.longitude;
            const double north = std::cos(i * 37.0 * kDegToRad) * kStepM;
            const double east = std::sin(i * 37.0 * kDegToRad) * kStepM;
            for (int k = 0; k < kSteps; ++k) {
                lat += north / kMetresPerDegree;
                lon += east / (kMetresPerDegree * std::cos(lat * kDegToRad));
                sum += terrain->ElevationM(lat, lon);
            }
            answers += kSteps;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["answers_per_cpu_s"] = benchmark::Counter(answers, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TerrainFromAirports)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane::harness

BENCHMARK_MAIN();
