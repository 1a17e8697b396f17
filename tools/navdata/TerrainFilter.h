// SPDX-License-Identifier: MIT
//
// The airports where FlightGear's wheels touch ground: FlightGear flies over
// a sea-level surface where a scenery tile is not installed, and no landing
// can be made there. A runway is kept when both its ends and its middle lie
// on installed tiles; an airport is kept when a runway of it is.
#pragma once

#include <string>
#include <vector>

#include "sim/flightgear/SceneryTiles.h"
#include "tools/navdata/ConversionReport.h"
#include "tools/navdata/SourceData.h"

namespace corvane::navdata::convert {

// The reason the report gives for what the filter leaves out.
inline constexpr const char* kNoTerrainReason = "no terrain installed in FlightGear's scenery";

// Whether the terrain under a runway, its two ends and its middle, is installed.
bool RunwayOnInstalledTerrain(const SourceRunway& runway,
                              const sim::flightgear::InstalledTerrain& terrain);

// Leaves in apt the runways on installed terrain and the airports that keep
// one; counts what it drops in the report (airports and runways, for
// kNoTerrainReason).
void KeepOnInstalledTerrain(AptDatContents& apt, const sim::flightgear::InstalledTerrain& terrain,
                            DatabaseReport& report);

}  // namespace corvane::navdata::convert
