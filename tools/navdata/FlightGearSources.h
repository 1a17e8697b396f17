// SPDX-License-Identifier: MIT
//
// FlightGear's airports and navaids as FlightGear itself reads them: first the
// NavData/apt/*.dat files of each scenery folder (in FlightGear's order of
// the folders, the files of a folder by name), then Airports/apt.dat.gz of
// its data folder; an airport defined in an earlier file wins and later
// definitions are skipped. Debian's scenery so redefines Keflavik (BIKF) with
// runways 01/19 and 10/28 over the 02/20 and 11/29 of apt.dat.gz, and FlightGear
// knows only the former. The navaids are those of NavData/nav/*.dat of each
// scenery folder and of Navaids/nav.dat.gz (an ILS names its runway, so one
// of a definition that was skipped links to nothing).
#pragma once

#include <string>
#include <vector>

#include "tools/navdata/SourceData.h"

namespace corvane::navdata::convert {

// The files, in the order FlightGear reads them.
struct FlightGearSourceFiles {
    std::vector<std::string> apt;  // the scenery's NavData/apt files, then Airports/apt.dat.gz
    std::vector<std::string> nav;  // the scenery's NavData/nav files, then Navaids/nav.dat.gz
};

// The NavData/apt and NavData/nav files (.dat or .dat.gz) of the scenery
// folders, in order, followed by the data folder's own files (found as
// FindFlightGearFiles finds them). A scenery folder without NavData adds
// nothing.
FlightGearSourceFiles FindFlightGearSourceFiles(const std::string& root, const char* fgRootVariable,
                                                const std::vector<std::string>& sceneryFolders);

// The airports of several apt.dat files read in FlightGear's order: an
// airport (by its ICAO code) defined in an earlier file wins. The counts of
// rows set aside are summed; the version is the last file's.
struct MergedAirports {
    AptDatContents apt;
    std::vector<std::string> skipped;  // ICAO codes of the later definitions left out
};
MergedAirports MergeAirports(std::vector<AptDatContents> files);

// The navaids of several nav.dat files, in order: all localizers and glide
// slopes, and each VOR and NDB once (a later file's copy of one, the same
// kind, ident and frequency within about 100 m, is left out).
NavDatContents MergeNavaids(std::vector<NavDatContents> files);

}  // namespace corvane::navdata::convert
