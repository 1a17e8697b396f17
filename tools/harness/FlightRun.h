// SPDX-License-Identifier: MIT
//
// One scenario's flight in the harness (ScenarioRunner.h): the simulator (the
// stand-in's model or FlightGear behind it), the headless host, the link and
// the program, and the pilot's clicks scheduled on the host. FlightRun.cpp
// sets up, flies and measures; FlightRunPilot.cpp holds the pilot's clicks.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "app/forms/Mouse.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"
#include "app/startup/SimulatorLocator.h"
#include "app/startup/Startup.h"
#include "linklib/Connection.h"
#include "navdata/AirportDatabaseFile.h"
#include "platform/headless/HeadlessHost.h"
#include "sim/flightgear/FlightGearSimulator.h"
#include "sim/flightgear/process/FlightGearProcess.h"
#include "sim/flightgear/process/SceneryScan.h"
#include "sim/inprocess/AirportLookup.h"
#include "sim/inprocess/InProcessSimulator.h"
#include "sim/physics/Aircraft.h"
#include "sim/physics/AirportTerrain.h"
#include "sim/physics/Units.h"
#include "sim/variables/Offsets.h"
#include "tools/harness/BlankCanvas.h"
#include "tools/harness/ConnectionLink.h"
#include "tools/harness/Destination.h"
#include "tools/harness/FlightGearFlights.h"
#include "tools/harness/FlightRecorder.h"
#include "tools/harness/RunwayFrame.h"
#include "tools/harness/ScenarioRunner.h"

namespace corvane::harness {

// One scenario's run: the simulator, the host, the link and the program, and
// the pilot's clicks scheduled on the host.
class FlightRun {
  public:
    FlightRun(const HarnessOptions& options, const navdata::AirportDatabase& db,
              std::shared_ptr<const sim::Terrain> terrain,
              const sim::flightgear::InstalledTerrain& flightGearTerrain, NavDataCache& navData,
              const Scenario& scenario, LandingReport& report)
        : options_(options),
          db_(db),
          terrain_(std::move(terrain)),
          flightGearTerrain_(flightGearTerrain),
          navData_(navData),
          sc_(scenario),
          r_(report) {}

    ~FlightRun() {
        if (sim_) {
            sim_->Backend().SetTraceSink(nullptr);
            sim_->UseBackend(nullptr);
        }
        if (traceFile_)
            std::fclose(traceFile_);
        if (commandsFile_)
            std::fclose(commandsFile_);
    }

    void Fly();

  private:
    // The simulator is brought up to the program's time at every link batch
    // and event, and at least once a main cycle (150 ms) by its timer.
    static constexpr int kStepTimerMs = 150;
    static constexpr double kCruiseStepS = kStepTimerMs / 1000.0;
    static constexpr double kCruiseStepAboveFt = 500.0;
    static constexpr double kLoopChunkS = 0.5;
    // The pilot's pace between two clicks (the simulator is paused meanwhile).
    static constexpr double kClickGapS = 1.0;
    static constexpr double kFirstClickAfterStartS = 2.0;
    // How long the harness waits for the aircraft to stand once control is back.
    static constexpr double kSettleAfterHandBackS = 30.0;
    static constexpr double kCrashAftermathS = 1.0;
    static constexpr double kFlightStartWaitS = 120.0;
    static constexpr double kPausedMarginS = 600.0;
    // FlightGear: seconds it flies on after its first line before the program starts.
    static constexpr double kFlightGearSettleS = 5.0;
    // FlightGear: the host's clock moves in these steps, each held to the wall clock.
    static constexpr double kRealTimeChunkS = 0.05;
    static constexpr const char* kSimulatorFolder = "/fs98/";
    static constexpr const char* kSimulatorProgram = "FLTSIM98.EXE";
    static constexpr forms::Rgb kMapBackground{0, 128, 0};

    static std::string Fixed(double x, int decimals);

    void SetUpSimulator();
    void StartFlightGear();
    // FlightGear: holds the host's virtual clock to the wall clock.
    void Pace();
    void CheckBackend();
    void SetUpHost();
    void SetUpProgram();
    void SchedulePilot(double t0);
    void Loop();
    void Finish();

    // Brings the simulator up to the host's virtual time.
    void CatchUp();
    // Notes stage changes and Form4's stage texts.
    void Watch();
    void Disturb();
    void SaveFrame();
    bool HandedBack() const;
    double SimNow() const { return sim_->Backend().TimeS(); }
    double FlightTime() const { return flightStartSimS_ ? SimNow() - *flightStartSimS_ : 0.0; }

    void RightClickOnMap();
    void Fail(const std::string& why) {
        if (failure_.empty())
            failure_ = why;
    }
    void ChooseAirport();
    void ChooseRunway();
    void ChooseCruiseHeight();

    const HarnessOptions& options_;
    const navdata::AirportDatabase& db_;
    std::shared_ptr<const sim::Terrain> terrain_;
    const sim::flightgear::InstalledTerrain& flightGearTerrain_;
    NavDataCache& navData_;
    const Scenario& sc_;
    LandingReport& r_;

    Destination dest_;
    RunwayFrame runway_;
    std::unique_ptr<sim::InProcessSimulator> sim_;
    std::unique_ptr<desktop::FlightGearProcess> flightGear_;
    std::unique_ptr<sim::flightgear::FlightGearSimulator> flightGearBackend_;
    std::chrono::steady_clock::time_point wallStart_;
    double paceVirtualStart_ = 0.0;
    std::unique_ptr<FlightRecorder> recorder_;
    // The program's world, torn down in reverse order.
    headless::HeadlessHost host_;
    link::Connection connection_{link::SystemLinkPlatform()};
    ConnectionLink link_{connection_};
    Program p_{host_, link_};
    std::unique_ptr<host::Timer> stepper_;

    double simClock_ = 0.0;
    double startVirtual_ = 0.0;
    std::optional<double> flightStartSimS_;
    std::optional<double> flightStartVirtual_;
    std::optional<double> handBackS_;
    int lastRoute_ = 0;
    int lastLanding_ = 0;
    std::string lastStage_;
    std::string failure_;
    std::string endDetail_;
    bool timedOut_ = false;
    bool disturbed_ = false;
    double nextFrameS_ = 0.0;
    int frameCount_ = 0;
    std::FILE* traceFile_ = nullptr;
    std::FILE* commandsFile_ = nullptr;
};

}  // namespace corvane::harness
