// SPDX-License-Identifier: MIT
//
// One step of the stand-in's flight model, for each aircraft: in the air (no
// wheel touches; the struts are not integrated) and rolling on the runway
// (the main and nose struts integrated in their substeps). The difference is
// the cost of the ground on its struts (docs/flight-model.md).
#include <benchmark/benchmark.h>

#include <string>

#include "sim/model/Simulator.h"
#include "sim/physics/Aircraft.h"
#include "sim/variables/ImageBinding.h"

namespace {

using namespace corvane::sim;

Simulator MakeSimulator(const std::string& id) {
    SimulatorOptions options;
    options.aircraft = *StandInAircraft(id);
    options.fixedMagneticVariationDeg = 0.0;
    return Simulator(options, nullptr);
}

void InTheAir(benchmark::State& state, const std::string& id) {
    Simulator sim = MakeSimulator(id);
    AirStart air;
    air.altitudeFt = 3000.0;
    air.iasKt = 1.5 * sim.Aircraft().stallCleanKias.value;
    air.gearDown = true;
    sim.StartInAir(air);
    for (auto _ : state) {
        sim.Step();
        benchmark::DoNotOptimize(sim.State().altitudeM);
    }
}

void RollingOnTheRunway(benchmark::State& state, const std::string& id) {
    Simulator sim = MakeSimulator(id);
    RunwayStart runway;
    runway.farEndLatitudeDeg = 0.3;  // a runway 33 km long: the roll never ends
    sim.StartOnRunway(runway);
    ControlInputs in = ImageBinding::ReadInputs(sim.Variables());
    in.paused = false;
    in.throttle = {0.3, 0.3, 0.3, 0.3};
    ImageBinding::WriteInputs(in, sim.Variables());
    for (int i = 0; i < 500; ++i)
        sim.Step();
    for (auto _ : state) {
        sim.Step();
        benchmark::DoNotOptimize(sim.State().groundSpeedMps);
    }
    if (!sim.State().mainWheelsOnGround)
        state.SkipWithError("the aircraft left the ground");
}

BENCHMARK_CAPTURE(InTheAir, twin, std::string("twin"));
BENCHMARK_CAPTURE(RollingOnTheRunway, twin, std::string("twin"));
BENCHMARK_CAPTURE(InTheAir, single, std::string("single"));
BENCHMARK_CAPTURE(RollingOnTheRunway, single, std::string("single"));

}  // namespace

BENCHMARK_MAIN();
