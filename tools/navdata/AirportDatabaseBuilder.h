// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "navdata/AirportDatabase.h"
#include "tools/navdata/ConversionReport.h"
#include "tools/navdata/SourceData.h"

namespace corvane::navdata::convert {

struct DatabaseOptions {
    /// Shortest runway kept, in feet. When the airports or runways kept still exceed the file's
    /// limit of 32766, the length is raised in steps of runwayStepFeet until both fit.
    double minRunwayFeet = 1500.0;
    double runwayStepFeet = 100.0;
    /// The first header texts of the file (the rest are written empty).
    std::vector<std::string> headerTexts;
};

/// Builds the airport database from apt.dat and nav.dat contents by the documented rules
/// (docs/navdata-formats.md): land airports keeping at least one runway, named
/// "Name (ICAO)" uniquely, runways with displaced thresholds and ILS links, ATIS, VORs and NDBs
/// sorted by longitude with their longitude indexes. Deterministic: the same input gives the
/// same database.
AirportDatabase BuildAirportDatabase(const AptDatContents& apt, const NavDatContents& nav,
                                     const DatabaseOptions& options, DatabaseReport& report);

/// Longitude held to -180 up to below 180 (180 itself reads -180, the same meridian).
double NormalizeLongitude(double longitude);

/// "VOR - " + label1 + " - " + label2 reads like "VOR - AALBORG - AAL 116.70"; the NDB labels
/// like "NDB - AALBORG - GL 398".
void BeaconLabels(const SourceBeacon& beacon, std::string& label1, std::string& label2);

}  // namespace corvane::navdata::convert
