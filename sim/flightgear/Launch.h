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
    // InAir and OnGround start at latitudeDeg/longitudeDeg; OnRunway and
    // OnFinal at FlightGear's runway of that name.
    enum class Start { InAir, OnRunway, OnFinal, OnGround } start = Start::OnRunway;
    std::string airport;  // ICAO, for OnRunway and OnFinal
    std::string runway;   // empty: FlightGear's choice into the wind
    double finalNm = 10.0;
    double glidePathDeg = 3.0;
    double speedKt = 90.0;  // calibrated airspeed of an air or final start
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFt = 3000.0;   // InAir
    double headingTrueDeg = 0.0;  // InAir and OnGround
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
    // Scenery folders FlightGear reads besides its own (--fg-scenery).
    std::vector<std::string> sceneryFolders;
    // The virtual screen's display number, or the first one tried when it is
    // taken (0: xvfb-run's own choice). Two FlightGears starting at once
    // must not try the same one.
    int virtualScreen = 0;
    std::vector<std::string> extraOptions;  // passed to fgfs as they are, last
};

// fgfs and its options.
std::vector<std::string> FgfsArguments(const LaunchPlan& plan);
// The whole command: fgfs, wrapped for the virtual screen without a window.
std::vector<std::string> LaunchCommand(const LaunchPlan& plan);
// The two --generic options alone.
std::vector<std::string> GenericOptions(const LaunchPlan& plan);
// What a FlightGear the user starts (from its launcher) needs for the stand-in
// to attach to it: the data folder holding the protocol file, the Cessna,
// FlightGear's own auto-coordination off (the stand-in's loops move the
// rudder) and the two streams.
// Example: --data=/home/u/.local/share/corvane/flightgear --aircraft=c172p
// --disable-auto-coordination --generic=socket,out,30,127.0.0.1,5500,udp,corvane
// --generic=socket,in,30,127.0.0.1,5501,udp,corvane
std::vector<std::string> AttachOptions(const LaunchPlan& plan);
// The ports --fg-options and the attach use unless told others.
inline constexpr int kDefaultReadingsPort = 5500;
inline constexpr int kDefaultCommandsPort = 5501;

// The point at a distance and initial bearing (true) from a point, on the
// sphere of radius units::kEarthRadiusM (the program's).
void PointOnSphere(double latDeg, double lonDeg, double bearingDeg, double distanceM,
                   double* outLatDeg, double* outLonDeg);

// Turns a final or runway start into a start by position: on the extended
// centre line finalNm out (at the threshold's elevation plus the glide path's
// height), or on the ground at the threshold, heading down the runway.
// FlightGear places a runway start by the runway's name in its own airport
// data, which need not be ours: the scenery's NavData/apt/BIKF.dat names
// Keflavik's runways 01/19 and 10/28 (and replaces the 02/20 and 11/29 of
// Airports/apt.dat.gz and of our data); FlightGear then waits forever, its
// log ending at "Attempting to set starting position for BIKF:11". A start by
// position needs no name. Plans of other starts are left as they are.
void StartByPosition(LaunchPlan& plan, double thresholdLatDeg, double thresholdLonDeg,
                     double headingTrueDeg, double thresholdElevationFt);

// A runway designator as FlightGear's airport data spells it: two digits
// ("8L" -> "08L", "9" -> "09"). FlightGear waits forever for a runway it does
// not know, so the spelling matters.
std::string RunwayIdent(const std::string& designator);

// Scenario turbulence names as FlightGear's strength.
double TurbulenceStrength(const std::string& level);

}  // namespace corvane::sim::flightgear
