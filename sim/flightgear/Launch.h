// SPDX-License-Identifier: MIT
//
// How FlightGear is started for the stand-in: its command line, from where
// the aircraft starts, the weather, the speed-up and the two generic-protocol
// streams on the loopback interface. Without a window of its own FlightGear
// runs on a private virtual screen (xvfb-run inside a D-Bus session) with
// everything it need not draw switched off, which keeps it near 200 frames a
// second on a machine without a graphics card; with one it draws as usual.
// Pure: no file or process is touched here.
#pragma once

#include <string>
#include <vector>

namespace corvane::sim::flightgear {

struct LaunchPlan {
    std::string fgfs = "fgfs";
    // A folder FlightGear adds to its data path (--data): it holds the
    // stand-in's protocol file in Protocol/, where FlightGear looks for it.
    std::string dataFolder;
    std::string aircraft = "c172p";
    enum class Start { InAir, OnRunway, OnFinal } start = Start::OnRunway;
    std::string airport;  // ICAO, for OnRunway and OnFinal
    std::string runway;   // empty: FlightGear's choice into the wind
    double finalNm = 10.0;
    double glidePathDeg = 3.0;
    double speedKt = 90.0;  // calibrated airspeed of an air or final start
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFt = 3000.0;
    double headingTrueDeg = 0.0;
    double windFromDeg = 0.0;
    double windSpeedKt = 0.0;
    double turbulence = 0.0;  // FlightGear's 0..1
    double speedUp = 1.0;
    int readingsPort = 0;  // where FlightGear sends the readings (the stand-in listens)
    int commandsPort = 0;  // where FlightGear listens for the commands
    int rateHz = 30;
    bool ownWindow = false;  // FlightGear draws in a window of its own
    // FlightGear aborts without a D-Bus session bus: a window of its own on a
    // display that has none gets a session of its own too.
    bool sessionBus = true;
    bool paused = false;
    std::vector<std::string> extraOptions;  // passed to fgfs as they are, last
};

// fgfs and its options.
std::vector<std::string> FgfsArguments(const LaunchPlan& plan);
// The whole command: fgfs, wrapped for the virtual screen without a window.
std::vector<std::string> LaunchCommand(const LaunchPlan& plan);
// The two --generic options alone (for a FlightGear the user starts).
std::vector<std::string> GenericOptions(const LaunchPlan& plan);

// A runway designator as FlightGear's airport data spells it: two digits
// ("8L" -> "08L", "9" -> "09"). FlightGear waits forever for a runway it does
// not know, so the spelling matters.
std::string RunwayIdent(const std::string& designator);

// Scenario turbulence names as FlightGear's strength.
double TurbulenceStrength(const std::string& level);

}  // namespace corvane::sim::flightgear
