// SPDX-License-Identifier: MIT
#include "tools/harness/ScenarioRunner.h"

#include <chrono>

#include "navdata/AirportDatabaseFile.h"
#include "sim/flightgear/process/FlightGearProcess.h"
#include "sim/flightgear/process/SceneryScan.h"
#include "sim/physics/AirportTerrain.h"
#include "tools/harness/FlightRun.h"

namespace corvane::harness {

ScenarioRunner::ScenarioRunner(HarnessOptions options) : options_(std::move(options)) {
    if (!options_.dataFolder.empty() && options_.dataFolder.back() != '/')
        options_.dataFolder += '/';
    // The same reading as the program's at each flight's start.
    db_ = navData_.AirportDatabase(options_.dataFolder + "airdata.tri");
    const sim::TerrainInput input = sim::TerrainInputFromDatabase(*db_);
    terrain_ = std::make_shared<sim::AirportTerrain>(input.airports, input.runways);
    if (options_.flightGear) {
        flightGearTerrain_ =
            sim::flightgear::ScanInstalledTerrain(sim::flightgear::SceneryFoldersFromEnvironment(
                options_.flightGearScenery, desktop::FlightGearProcess::DefaultInstalledRoot()));
    }
}

ScenarioRunner::~ScenarioRunner() = default;

LandingReport ScenarioRunner::Run(const Scenario& scenario) {
    LandingReport report;
    report.scenario = scenario.name;
    report.file = scenario.file;
    // Named before the flight, so that a flight that fails to start still
    // counts with its aircraft.
    report.aircraft.id = AircraftOf(scenario, options_.flightGear);
    const auto wallStart = std::chrono::steady_clock::now();
    try {
        FlightRun run(options_, *db_, terrain_, flightGearTerrain_, navData_, scenario, report);
        run.Fly();
    } catch (const std::exception& e) {
        report.outcome = Outcome::Error;
        report.error = e.what();
        report.outcomeDetail = e.what();
    }
    report.wallTimeS =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    report.speedUp = report.wallTimeS > 0 ? report.virtualTimeS / report.wallTimeS : 0.0;
    JudgeLanding(report);
    return report;
}

}  // namespace corvane::harness
