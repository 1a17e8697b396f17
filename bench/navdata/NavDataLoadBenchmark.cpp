// SPDX-License-Identifier: MIT
// Start-up load of the world airdata.tri and COAST2.int that the build makes from data/.
#include <benchmark/benchmark.h>

#include <string>

#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"

namespace {

using namespace corvane::navdata;

const std::string kAppDir = CORVANE_BENCH_APP_DIR;

void LoadAirportDatabaseWorld(benchmark::State& state) {
    for (auto _ : state) {
        AirportDatabase db = LoadAirportDatabase(kAppDir + "/airdata.tri");
        benchmark::DoNotOptimize(db.AirportCount);
    }
}
BENCHMARK(LoadAirportDatabaseWorld)->Unit(benchmark::kMillisecond);

void LoadCoastlinesWorld(benchmark::State& state) {
    for (auto _ : state) {
        CoastlineData coast = LoadCoastlines(kAppDir + "/COAST2.int");
        benchmark::DoNotOptimize(coast.CoastPointCount);
    }
}
BENCHMARK(LoadCoastlinesWorld)->Unit(benchmark::kMillisecond);

// Both files, as start-up reads them.
void LoadBothWorld(benchmark::State& state) {
    for (auto _ : state) {
        AirportDatabase db = LoadAirportDatabase(kAppDir + "/airdata.tri");
        CoastlineData coast = LoadCoastlines(kAppDir + "/COAST2.int");
        benchmark::DoNotOptimize(db.AirportCount);
        benchmark::DoNotOptimize(coast.CoastPointCount);
    }
}
BENCHMARK(LoadBothWorld)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
