// SPDX-License-Identifier: MIT
//
// One full flight-state exchange (21 reads and the writes of a typical
// guidance tick) between this process and a stand-in simulator process, through
// the link library loaded by name as the program loads it.
#include <benchmark/benchmark.h>

#include "app/flightstate/FlightState.h"
#include "app/flightstate/planeinterface.h"
#include "platform/posix/CVcomsLibrary.h"
#include "platform/posix/ProgramFolder.h"
#include "tests/link/SimulatorProcess.h"

namespace {

void BM_ExchangeFlightStateRoundTrip(benchmark::State& benchState) {
    corvane::testing::SimulatorProcess sim(CORVANE_BENCH_SIM_DIR, {});
    if (!sim.Started()) {
        benchState.SkipWithError("the stand-in simulator did not start");
        return;
    }
    corvane::desktop::CVcomsLibrary link(corvane::desktop::ProgramFolder());
    corvane::flightstate::FlightState state;
    corvane::flightstate::planeinterface plane(state);
    state.simulatorkind = static_cast<std::int16_t>(link.fsworking());
    if (state.simulatorkind != corvane::flightstate::kFs98 || link.startit() != 1) {
        benchState.SkipWithError("the link did not open");
        return;
    }
    // The reads of a batch come before its writes: the altitude target read in
    // one exchange is the one written by the exchange before it. Checking it
    // makes sure that every exchange was served.
    std::int32_t heading = 0;
    std::int32_t writtenBefore = 0;
    std::int32_t writtenLast = 0;
    for (auto _ : benchState) {
        if (heading >= 2 && state.apaltitude != writtenBefore) {
            benchState.SkipWithError("an exchange was not served");
            break;
        }
        writtenBefore = writtenLast;
        writtenLast = 1000 + (heading & 0xFF);
        plane.apheading(heading++ & 0xFFFF);
        plane.apaltitude(writtenLast);
        plane.apvertspeed(500);
        plane.throttles(12000);
        corvane::flightstate::ExchangeFlightState(state, link);
        benchmark::DoNotOptimize(state.latitudehi);
    }
    if (state.latitudehi == 0) benchState.SkipWithError("no position was read");
    link.stopit();
}
BENCHMARK(BM_ExchangeFlightStateRoundTrip)->Repetitions(5)->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
