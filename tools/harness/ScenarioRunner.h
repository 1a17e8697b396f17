// SPDX-License-Identifier: MIT
//
// Flies one scenario: the whole program on the headless host, with the
// stand-in simulator in the same process and the same virtual time.
//
// The simulator's window is published in the process (found by class and
// title like the real one), the registry names the simulator's folder, and
// the program starts through its own load handler. The simulator is brought
// up to the program's virtual time before every batch of the link, every
// time the program lets events run, and from a host timer (every 50 ms of
// virtual time), so it moves in the same time as the program's 150 ms main
// cycle and 300 ms map cycle. Then the harness does what a pilot does: a
// right click on the map and "Show selected map" in the pop-up menu, the
// search text typed and OK, the airport's line, "Fly there", the landing
// direction's line, and, when the scenario names one, a cruise height from the
// pop-up menu. It records the flight until the program hands the aircraft
// back, the simulator reports a crash, or a limit is reached.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "navdata/AirportDatabase.h"
#include "ports/Canvas.h"
#include "sim/flightgear/SceneryTiles.h"
#include "sim/physics/Terrain.h"
#include "tools/harness/LandingReport.h"
#include "tools/harness/NavDataCache.h"
#include "tools/harness/Scenario.h"

namespace corvane::harness {

using CanvasFactory = std::function<std::unique_ptr<forms::Canvas>(
    int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY)>;
using FrameWriter = std::function<bool(const forms::Canvas& canvas, const std::string& path)>;

struct HarnessOptions {
    // The program's folder: airdata.tri and COAST2.int.
    std::string dataFolder;
    // Canvases for the program's pictures; empty: blank canvases (no pixels).
    CanvasFactory makeCanvas;
    // Map frames: Picture1 saved every frameEveryS virtual seconds into
    // framesFolder/<scenario>/ (needs makeCanvas and writeFrame).
    std::string framesFolder;
    double frameEveryS = 10.0;
    FrameWriter writeFrame;
    // Trace: one CSV per scenario in traceFolder, a line every traceEverySteps
    // simulator steps and at every event.
    std::string traceFolder;
    int traceEverySteps = 10;
    // The program's commands: one CSV per scenario in commandsFolder
    // (sim/trace/CommandTrace.h), for flying them again on another simulator.
    std::string commandsFolder;
    // The stand-in steps 20 ms at every height (default: one step of
    // 150 ms a main cycle while the aircraft is more than 500 ft above the
    // ground).
    bool fineSteps = false;
    // FlightGear flies instead of the stand-in, in real time times speedUp;
    // its log goes to flightGearLogFolder/fgfs-<scenario>.log (empty: the
    // default of its work folder).
    bool flightGear = false;
    double flightGearSpeedUp = 1.0;
    bool flightGearWindow = false;
    std::string flightGearLogFolder;
    // Scenery folders FlightGear reads besides $FG_SCENERY, the user's
    // TerraSync folder and its own.
    std::vector<std::string> flightGearScenery;
};

class ScenarioRunner {
  public:
    // Loads the airport database of the data folder once, for the simulator's
    // terrain and for placing the aircraft; throws navdata::NavDataError.
    explicit ScenarioRunner(HarnessOptions options);
    ~ScenarioRunner();

    // Never throws for a scenario that cannot be flown: the report's outcome
    // is then Error and its error field says why.
    LandingReport Run(const Scenario& scenario);

    const navdata::AirportDatabase& Database() const { return *db_; }
    // The simulator's ground, made from the database.
    const sim::Terrain* Terrain() const { return terrain_.get(); }
    // FlightGear: the tiles its scenery folders hold (empty for the stand-in).
    const sim::flightgear::InstalledTerrain& FlightGearTerrain() const {
        return flightGearTerrain_;
    }

  private:
    HarnessOptions options_;
    std::shared_ptr<const navdata::AirportDatabase> db_;
    std::shared_ptr<const sim::Terrain> terrain_;
    sim::flightgear::InstalledTerrain flightGearTerrain_;
    NavDataCache navData_;  // the program's data files, parsed once for every flight
};

}  // namespace corvane::harness
