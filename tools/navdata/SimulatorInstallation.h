// SPDX-License-Identifier: MIT
//
// The airport and navaid files of a simulator installed on this computer, so that the
// converter can build Corvane's database from the scenery the pilot flies.
#pragma once

#include <string>
#include <vector>

namespace corvane::navdata::convert {

/// Where Debian's flightgear-data-base puts FlightGear's data.
inline constexpr const char* kDebianFlightGearRoot = "/usr/share/games/flightgear";

struct InstalledSourceFiles {
    std::string apt;  // apt.dat, plain or gzip
    std::string nav;  // nav.dat or earth_nav.dat
};

/// FlightGear's Airports/apt.dat.gz and Navaids/nav.dat.gz (or their plain forms) under root;
/// an empty root means $FG_ROOT (fgRootVariable) when set, else kDebianFlightGearRoot. Raises
/// ConversionError naming the folder looked at and what to install or where to point it when
/// the files are not there.
InstalledSourceFiles FindFlightGearFiles(const std::string& root, const char* fgRootVariable);

/// X-Plane 12's or 11's global airports (Global Scenery/ or Custom Scenery/Global Airports/
/// Earth nav data/apt.dat, else the older Resources/default scenery/default apt dat/) and
/// earth_nav.dat (Custom Data/, where navigation data updates go, else Resources/default data/)
/// under the install folder. Raises ConversionError naming the places looked at.
InstalledSourceFiles FindXPlaneFiles(const std::string& folder);

/// The places FindXPlaneFiles looks at, in order, relative to the install folder.
std::vector<std::string> XPlaneAptPlaces();
std::vector<std::string> XPlaneNavPlaces();

}  // namespace corvane::navdata::convert
