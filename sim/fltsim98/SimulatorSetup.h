// SPDX-License-Identifier: MIT
//
// Makes the simulator the command line asks for: finds and loads the airport
// database (for the terrain and --airport), sets the simulator's options and
// places the aircraft.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "navdata/AirportDatabase.h"
#include "sim/flightgear/Launch.h"
#include "sim/fltsim98/CommandLine.h"
#include "sim/inprocess/AirportLookup.h"
#include "sim/model/Simulator.h"
#include "sim/physics/AirportTerrain.h"

namespace corvane::sim {

class SimulatorSetup {
  public:
    // Where the database is looked for: the --data path (a file, or a folder
    // holding airdata.tri), else the program's folder, else ../bin/ beside it
    // (the build's layout).
    static std::vector<std::string> DataCandidates(const CommandLine& command,
                                                   const std::string& programFolder);

    // Loads the first candidate that exists. False (with *error) when the
    // database is needed and cannot be had: --data names a missing or damaged
    // file, or --airport is given without a database. A database found
    // without being asked for that cannot be read is a warning (sea level).
    bool LoadData(const CommandLine& command, const std::string& programFolder, std::string* error);

    const navdata::AirportDatabase* Database() const { return database_ ? &*database_ : nullptr; }
    const Terrain* Ground() const { return terrain_.get(); }
    const std::string& DataPath() const { return dataPath_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }

    static SimulatorOptions Options(const CommandLine& command);

    // How FlightGear starts for --backend flightgear: the same start, wind,
    // turbulence and rate as the command line asks of the stand-in. An air
    // start faster than the Cessna may fly is slowed to kFlightGearTopSpeedKt.
    static flightgear::LaunchPlan FlightGearPlan(const CommandLine& command);
    static constexpr double kFlightGearTopSpeedKt = 120.0;
    static constexpr double kFlightGearFinalSpeedKt = 90.0;

    // A final or runway start of --backend flightgear by the runway's
    // position in the database (see flightgear::StartByPosition: FlightGear's
    // own airport data may call the runway otherwise and would then wait
    // forever). Without a database the plan keeps FlightGear's runway names.
    // False (with *error) when the airport or runway is unknown.
    bool PlaceFlightGear(flightgear::LaunchPlan& plan, const CommandLine& command,
                         std::string* error) const;

    // Places the aircraft; *description says where (for the console). False
    // (with *error) when the airport or runway is unknown or the air start is
    // below the ground.
    bool Place(Simulator& simulator, const CommandLine& command, std::string* description,
               std::string* error) const;

  private:
    // The runway of an --airport start (the one asked for, else the one into
    // the wind) and the airport's name; nothing with *error saying why.
    std::optional<RunwayDirection> StartRunway(const CommandLine& command, std::string* airportName,
                                               std::string* error) const;

    std::optional<navdata::AirportDatabase> database_;
    std::unique_ptr<AirportTerrain> terrain_;
    std::string dataPath_;
    std::vector<std::string> warnings_;
};

}  // namespace corvane::sim
