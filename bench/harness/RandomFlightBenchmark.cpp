// SPDX-License-Identifier: MIT
//
// The cost of one random flight: the whole program against the stand-in in
// the same process and virtual time, as corvane-harness --no-draw flies it
// (start-up, the pilot's clicks, the main and map cycles on blank canvases,
// the simulator's steps and the flight's measuring), over the world data the
// build makes from data/. Each iteration flies the next of the same twenty
// flights of seed 101, so runs of two builds compare flight for flight.
// Counters: simulator seconds flown per CPU second, and the CPU seconds of a
// flight of the mean length.
// For medians: --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tools/harness/RandomFlights.h"
#include "tools/harness/ScenarioRunner.h"

namespace corvane::harness {
namespace {

constexpr int kFlights = 20;
constexpr std::uint64_t kSeed = 101;

HarnessOptions WorldData() {
    HarnessOptions options;
    options.dataFolder = CORVANE_BENCH_APP_DIR;
    return options;
}

struct Campaign {
    ScenarioRunner runner{WorldData()};
    std::vector<Scenario> flights;

    Campaign() {
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

void BM_RandomFlight(benchmark::State& state) {
    Campaign& c = TheCampaign();
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
BENCHMARK(BM_RandomFlight)->Iterations(kFlights)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane::harness

BENCHMARK_MAIN();
