// SPDX-License-Identifier: MIT
//
// The composition root: everything the running program holds, in one place
// (the host and the link it was given, the flight-state record, the navigation
// data, the windows, the timers and the state of each part of the program).
// Only the handlers and cycles of app/startup and the two shells hold it; each
// handler hands the parts of the program their own inputs and writes back
// what they decide.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/airports/AirportSearch.h"
#include "app/airports/SearchState.h"
#include "app/autopilot/FlyTherePlan.h"
#include "app/controls/ControlsState.h"
#include "app/flightstate/FlightState.h"
#include "app/flightstate/planeinterface.h"
#include "app/forms/Forms.h"
#include "app/mainwindow/MainWindowState.h"
#include "app/map/MapState.h"
#include "app/presenters/FlyTherePresenter.h"
#include "app/startup/StartupState.h"
#include "navdata/AirportDatabase.h"
#include "navdata/CoastlineData.h"
#include "ports/Host.h"
#include "ports/SimulatorLink.h"

namespace corvane {

struct Program {
    Program(host::Host& programHost, flightstate::SimulatorLink& simulatorLink)
        : host(programHost), link(simulatorLink) {}
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    host::Host& host;
    flightstate::SimulatorLink& link;

    flightstate::FlightState flightState;
    flightstate::planeinterface plane{flightState};

    // The navigation data, read-only once loaded: nothing in the program
    // changes it, so programs that read the same files may share one copy.
    // Empty (never null) until start-up has loaded the files.
    std::shared_ptr<const navdata::AirportDatabase> airports =
        std::make_shared<const navdata::AirportDatabase>();
    std::shared_ptr<const navdata::CoastlineData> coast =
        std::make_shared<const navdata::CoastlineData>();
    // How start-up reads the navigation data files (airdata.tri, COAST2.int)
    // into airports and coast; unset, each start reads and parses them. A
    // process that starts the program again and again (the harness) sets
    // readers that hand every start the same parsed data while the files are
    // unchanged. A reader returns data or throws; it never returns null.
    std::function<std::shared_ptr<const navdata::AirportDatabase>(const std::string& path)>
        readAirportDatabase;
    std::function<std::shared_ptr<const navdata::CoastlineData>(const std::string& path)>
        readCoastlines;
    // The index of the airport database's names that the airport search may
    // use instead of reading every record (it finds the same airports): a
    // process that hands every start the same database hands its index too.
    // Unset, or null for a database, the search reads the records.
    std::function<std::shared_ptr<const airports::AirportSearchIndex>(
        const navdata::AirportDatabase& db)>
        airportSearchIndexOf;

    forms::Forms forms;

    // The program's folder, ending in the platform's separator.
    std::string AppFolder;
    // The folder of the navigation data files and the help file, ending in the
    // platform's separator: the program's folder as built, <prefix>/share/corvane/
    // as installed, or a folder the pilot chose.
    std::string DataFolder;
    // The simulator's pause byte as saved before the program paused it.
    std::int16_t SavedPauseState = 0;
    bool FirstCycle = false;
    bool MainCycleBusy = false;
    host::WindowId SimulatorWindowHandle = 0;
    host::Rect SimulatorWindowRect;

    map::MapState map;
    autopilot::FlyTherePlan plan;
    // The fly-there status as last shown in Form4 (what the steps reported).
    presenters::FlyThereStatus flyThereStatus;
    controls::JoystickState joystick;
    airports::SearchState search;
    mainwindow::MainWindowState mainWindow;
    startup::StartupState startup;

    // Timers: Form1's main cycle (150 ms), map cycle (300 ms) and fly-past
    // (30 s, then 20 s), and Form5's watchdog (500 ms). Made at start-up.
    std::unique_ptr<host::Timer> Form1Timer1;
    std::unique_ptr<host::Timer> Form1Timer3;
    std::unique_ptr<host::Timer> Form1Timer4;
    std::unique_ptr<host::Timer> Form5Timer1;
};

}  // namespace corvane
