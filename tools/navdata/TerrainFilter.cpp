// SPDX-License-Identifier: MIT
#include "tools/navdata/TerrainFilter.h"

#include <cmath>

namespace corvane::navdata::convert {

namespace fg = sim::flightgear;

bool RunwayOnInstalledTerrain(const SourceRunway& runway, const fg::InstalledTerrain& terrain) {
    const GeoPoint& a = runway.ends[0].position;
    const GeoPoint& b = runway.ends[1].position;
    // The middle, also of a runway across the 180 degree meridian.
    double lonB = b.longitude;
    if (lonB - a.longitude > 180.0)
        lonB -= 360.0;
    if (lonB - a.longitude < -180.0)
        lonB += 360.0;
    return terrain.HasAt(a.latitude, a.longitude) && terrain.HasAt(b.latitude, b.longitude) &&
           terrain.HasAt((a.latitude + b.latitude) / 2.0, (a.longitude + lonB) / 2.0);
}

void KeepOnInstalledTerrain(AptDatContents& apt, const fg::InstalledTerrain& terrain,
                            DatabaseReport& report) {
    std::vector<SourceAirport> kept;
    for (SourceAirport& airport : apt.airports) {
        // An airport without runways is left to the builder, which says why
        // it goes ("no land runway").
        const bool hadRunways = !airport.runways.empty();
        std::vector<SourceRunway> runways;
        for (SourceRunway& r : airport.runways) {
            if (RunwayOnInstalledTerrain(r, terrain)) {
                runways.push_back(std::move(r));
            } else {
                report.runways.Drop(kNoTerrainReason);
            }
        }
        if (hadRunways && runways.empty()) {
            report.airports.Drop(kNoTerrainReason);
            continue;
        }
        airport.runways = std::move(runways);
        kept.push_back(std::move(airport));
    }
    apt.airports = std::move(kept);
}

}  // namespace corvane::navdata::convert
