// SPDX-License-Identifier: MIT
#include "sim/fltsim98/SimulatorSetup.h"

#include "sim/physics/Aircraft.h"

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "navdata/AirportDatabaseFile.h"
#include "navdata/NavDataError.h"
#include "platform/posix/ProgramFolder.h"
#include "sim/inprocess/AirportLookup.h"
#include "sim/physics/Atmosphere.h"
#include "sim/variables/Offsets.h"

namespace corvane::sim {
namespace {

constexpr double kMetresPerFoot = 0.3048;

std::string Feet(double metres) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f ft", metres / kMetresPerFoot);
    return text;
}

}  // namespace

std::vector<std::string> SimulatorSetup::DataCandidates(const CommandLine& command,
                                                        const std::string& programFolder) {
    namespace fs = std::filesystem;
    if (!command.dataPath.empty()) {
        std::error_code ec;
        if (fs::is_directory(command.dataPath, ec)) {
            return {(fs::path(command.dataPath) / "airdata.tri").string()};
        }
        return {command.dataPath};
    }
    std::vector<std::string> candidates{
        programFolder + "airdata.tri",
        (fs::path(programFolder) / ".." / "bin" / "airdata.tri").lexically_normal().string()};
    // Installed: the data under <prefix>/share/corvane/.
    const std::vector<std::string> folders = desktop::DataFolderCandidates(programFolder);
    for (std::size_t i = 1; i < folders.size(); ++i)
        candidates.push_back(folders[i] + "airdata.tri");
    return candidates;
}

bool SimulatorSetup::LoadData(const CommandLine& command, const std::string& programFolder,
                              std::string* error) {
    const std::vector<std::string> candidates = DataCandidates(command, programFolder);
    const bool required = !command.dataPath.empty() || !command.airportIcao.empty();
    std::string found;
    for (const std::string& path : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) {
            found = path;
            break;
        }
    }
    if (found.empty()) {
        std::string tried;
        for (const std::string& path : candidates)
            tried += (tried.empty() ? "" : ", ") + path;
        if (required) {
            *error = "the airport database airdata.tri was not found (looked at " + tried +
                     "); give its path with --data";
            return false;
        }
        warnings_.push_back("no airport database (looked at " + tried +
                            "): the ground is at sea level everywhere");
        return true;
    }
    try {
        database_ = navdata::LoadAirportDatabase(found);
    } catch (const navdata::NavDataError& e) {
        if (required) {
            *error = e.what();
            return false;
        }
        warnings_.push_back(std::string(e.what()) + ": the ground is at sea level everywhere");
        return true;
    }
    dataPath_ = found;
    const TerrainInput input = TerrainInputFromDatabase(*database_);
    terrain_ = std::make_unique<AirportTerrain>(input.airports, input.runways);
    if (terrain_->Ignored() > 0) {
        warnings_.push_back(std::to_string(terrain_->Ignored()) + " airport or runway records of " +
                            found + " have no usable position and are left out of the terrain");
    }
    return true;
}

SimulatorOptions SimulatorSetup::Options(const CommandLine& command) {
    SimulatorOptions options;
    options.aircraft = StandInAircraft(command.aircraft).value_or(TwinTurboprop());
    options.rate = command.rate;
    options.windFromDeg = command.windFromDeg;
    options.windSpeedKt = command.windSpeedKt;
    options.windGradient = command.windGradient;
    options.turbulence = command.turbulence;
    options.turbulenceSeed = command.turbulenceSeed;
    options.crashDetection = command.crashDetection;
    return options;
}

std::optional<RunwayDirection> SimulatorSetup::StartRunway(const CommandLine& command,
                                                           std::string* airportName,
                                                           std::string* error) const {
    if (!database_) {
        *error = "--airport needs the airport database (see --data)";
        return std::nullopt;
    }
    const int airport = FindAirportByIcao(*database_, command.airportIcao);
    if (airport == 0) {
        *error = "no airport " + command.airportIcao + " in " + dataPath_;
        return std::nullopt;
    }
    const navdata::AirportRecord& a = database_->Airports[static_cast<std::size_t>(airport)];
    std::optional<RunwayDirection> runway =
        command.runway.empty() ? PreferredRunwayDirection(*database_, airport, command.windFromDeg,
                                                          command.windSpeedKt)
                               : FindRunwayDirection(*database_, airport, command.runway);
    if (!runway) {
        std::string names;
        for (const RunwayDirection& d : RunwayDirections(*database_, airport)) {
            names += (names.empty() ? "" : " ") + d.designator;
        }
        *error = command.runway.empty() ? a.name + " has no runway in " + dataPath_
                                        : "no runway " + command.runway + " at " + a.name +
                                              (names.empty() ? std::string(" (it has none)")
                                                             : " (runways: " + names + ")");
        return std::nullopt;
    }
    *airportName = a.name;
    return runway;
}

bool SimulatorSetup::PlaceFlightGear(flightgear::LaunchPlan& plan, const CommandLine& command,
                                     std::string* error) const {
    if (command.start == StartKind::InAir || !database_)
        return true;
    std::string airportName;
    const std::optional<RunwayDirection> runway = StartRunway(command, &airportName, error);
    if (!runway)
        return false;
    plan.runway = runway->designator;
    flightgear::StartByPosition(plan, runway->start.thresholdLatitudeDeg,
                                runway->start.thresholdLongitudeDeg, runway->headingTrueDeg,
                                runway->elevationM / kMetresPerFoot);
    return true;
}

bool SimulatorSetup::Place(Simulator& simulator, const CommandLine& command,
                           std::string* description, std::string* error) const {
    char text[256];
    if (command.start == StartKind::InAir) {
        const double groundM =
            terrain_ ? terrain_->ElevationM(command.latitudeDeg, command.longitudeDeg) : 0.0;
        const double altitudeM = command.altitudeFt * kMetresPerFoot;
        if (altitudeM < groundM + 30.0) {
            *error = "--alt " + Feet(altitudeM) + " is not at least 100 ft above the ground (" +
                     Feet(groundM) + " there)";
            return false;
        }
        AirStart air;
        air.latitudeDeg = command.latitudeDeg;
        air.longitudeDeg = command.longitudeDeg;
        air.altitudeFt = command.altitudeFt;
        air.headingTrueDeg = command.headingTrueDeg;
        // The command line gives the true airspeed; the model is placed by the indicated one.
        air.iasKt = command.speedKt * std::sqrt(Atmosphere::DensityRatio(altitudeM));
        simulator.StartInAir(air);
        std::snprintf(text, sizeof text,
                      "in the air at %.6f %.6f, %.0f ft, heading %.0f true, %.0f kt true airspeed",
                      command.latitudeDeg, command.longitudeDeg, command.altitudeFt,
                      command.headingTrueDeg, command.speedKt);
    } else {
        std::string airportName;
        const std::optional<RunwayDirection> runway = StartRunway(command, &airportName, error);
        if (!runway)
            return false;
        if (command.start == StartKind::OnFinal) {
            FinalStart final;
            final.runway = runway->start;
            final.distanceNm = command.finalNm;
            simulator.StartOnFinal(final);
            std::snprintf(text, sizeof text, "on a %.1f nm final to runway %s of %s",
                          command.finalNm, runway->designator.c_str(), airportName.c_str());
        } else {
            simulator.StartOnRunway(runway->start);
            std::snprintf(text, sizeof text,
                          "on the ground at the threshold of runway %s of %s, heading %.0f true",
                          runway->designator.c_str(), airportName.c_str(), runway->headingTrueDeg);
        }
    }
    if (command.paused)
        simulator.Variables().SetU16(offsets::kPause, 1);
    *description = text;
    return true;
}

flightgear::LaunchPlan SimulatorSetup::FlightGearPlan(const CommandLine& command) {
    flightgear::LaunchPlan plan;
    plan.fgfs = command.fgfsPath;
    switch (command.start) {
        case StartKind::InAir:
            plan.start = flightgear::LaunchPlan::Start::InAir;
            plan.latitudeDeg = command.latitudeDeg;
            plan.longitudeDeg = command.longitudeDeg;
            plan.altitudeFt = command.altitudeFt;
            plan.headingTrueDeg = command.headingTrueDeg;
            plan.speedKt = std::min(command.speedKt, kFlightGearTopSpeedKt);
            break;
        case StartKind::OnRunway:
            plan.start = flightgear::LaunchPlan::Start::OnRunway;
            break;
        case StartKind::OnFinal:
            plan.start = flightgear::LaunchPlan::Start::OnFinal;
            plan.finalNm = command.finalNm;
            plan.speedKt = kFlightGearFinalSpeedKt;
            break;
    }
    plan.airport = command.airportIcao;
    plan.runway = command.runway;
    plan.windFromDeg = command.windFromDeg;
    plan.windSpeedKt = command.windSpeedKt;
    plan.turbulence = flightgear::TurbulenceStrength(TurbulenceLevelName(command.turbulence));
    plan.speedUp = command.rate;
    plan.ownWindow = command.fgWindow;
    plan.paused = command.paused;
    plan.readingsPort = command.fgAttachReadingsPort;
    plan.commandsPort = command.fgAttachCommandsPort;
    plan.extraOptions = command.fgOptions;
    return plan;
}

}  // namespace corvane::sim
