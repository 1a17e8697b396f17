// SPDX-License-Identifier: MIT
#include "tools/harness/FlightGearFlights.h"

#include <cmath>
#include <cstdio>

#include "sim/flightgear/Launch.h"
#include "sim/physics/Units.h"

namespace corvane::harness {

namespace units = sim::units;
namespace fg = sim::flightgear;

namespace {

// The initial bearing from one point to another on the sphere, degrees true.
double BearingDeg(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg) {
    const double lat1 = lat1Deg * units::kDegToRad;
    const double lat2 = lat2Deg * units::kDegToRad;
    const double dLon = (lon2Deg - lon1Deg) * units::kDegToRad;
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x =
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    return std::atan2(y, x) * units::kRadToDeg;
}

}  // namespace

bool RunwayTerrainInstalled(const fg::InstalledTerrain& terrain, const sim::RunwayStart& runway,
                            std::string* missing) {
    struct Point {
        double latDeg;
        double lonDeg;
        std::string what;
    };
    const double thrLat = runway.thresholdLatitudeDeg;
    const double thrLon = runway.thresholdLongitudeDeg;
    std::vector<Point> points = {
        {thrLat, thrLon, "the threshold"},
        {runway.farEndLatitudeDeg, runway.farEndLongitudeDeg, "the far end"},
        {(thrLat + runway.farEndLatitudeDeg) / 2.0, (thrLon + runway.farEndLongitudeDeg) / 2.0,
         "the middle of the runway"}};
    const double back =
        BearingDeg(thrLat, thrLon, runway.farEndLatitudeDeg, runway.farEndLongitudeDeg) + 180.0;
    // Every quarter mile: far closer than a tile's size (7 nm or more).
    for (double nm = 0.25; nm <= kFlightGearApproachTerrainNm + 1e-9; nm += 0.25) {
        Point p{0.0, 0.0, ""};
        fg::PointOnSphere(thrLat, thrLon, back, nm * units::kMetresPerNm, &p.latDeg, &p.lonDeg);
        char what[64];
        std::snprintf(what, sizeof what, "the final %.2f nm before the threshold", nm);
        p.what = what;
        points.push_back(p);
    }
    for (const Point& p : points) {
        const fg::SceneryTile tile = fg::TileAt(p.latDeg, p.lonDeg);
        if (terrain.Has(tile))
            continue;
        if (missing != nullptr) {
            char text[160];
            std::snprintf(text, sizeof text, "tile %s/%lld (%s, %.4f %.4f)", tile.Folder().c_str(),
                          static_cast<long long>(tile.Index()), p.what.c_str(), p.latDeg, p.lonDeg);
            *missing = text;
        }
        return false;
    }
    return true;
}

RandomFlightRanges FlightGearRandomRanges() {
    RandomFlightRanges r;
    r.aircraft = "c172p";
    // A light single's runways: the Cessna lands in well under 2,000 ft, and
    // the touchdown zone is a third of the runway.
    r.minRunwayLengthFt = 3000.0;
    r.minRunwayWidthFt = 60.0;
    // Near and slow: the Cessna climbs at 300-700 ft/min and cruises at
    // about 100 kt, so a start as far as the stand-in's would be an hour's
    // flight. (DrawFlightGearFlight starts on the final: the heights are
    // those of an air start drawn with these ranges.)
    r.minDistanceNm = 6.0;
    r.maxDistanceNm = 15.0;
    r.minHeightFt = 2000.0;
    r.maxHeightFt = 4000.0;
    r.minClearanceFt = 2000.0;
    r.minIasKt = 85.0;
    r.maxIasKt = 100.0;
    // The wind and its limits stay the stand-in's (RandomFlightRanges).
    return r;
}

Scenario DrawFlightGearFlight(const navdata::AirportDatabase& db, const RandomFlightPool& pool,
                              const sim::Terrain* terrain, std::uint64_t seed, int index) {
    Scenario s = DrawRandomFlight(db, pool, terrain, seed, index, FlightGearRandomRanges());
    StartState& st = s.start;
    st.kind = StartState::Kind::Final;
    st.glidePathDeg = 3.0;
    st.flaps = 0.0;
    st.gearDown = true;
    char description[200];
    std::snprintf(description, sizeof description,
                  "FlightGear random flight %d of seed %llu: %s %s from %.1f nm out on final at "
                  "%.0f kt, wind %.0f/%.1f kt, turbulence %s",
                  index, static_cast<unsigned long long>(seed), s.searchText.c_str(),
                  s.runwayLine.text.c_str(), st.distanceNm, st.iasKt, s.windFromDeg, s.windSpeedKt,
                  sim::TurbulenceLevelName(s.turbulence));
    s.description = description;
    return s;
}

RandomFlightPool OnInstalledTerrain(const RandomFlightPool& pool,
                                    const fg::InstalledTerrain& terrain) {
    RandomFlightPool kept;
    for (const RandomFlightPool::Airport& a : pool.airports) {
        RandomFlightPool::Airport airport = a;
        airport.directions.clear();
        for (const sim::RunwayDirection& d : a.directions) {
            if (RunwayTerrainInstalled(terrain, d.start, nullptr))
                airport.directions.push_back(d);
        }
        if (airport.directions.empty())
            continue;
        kept.directions += static_cast<int>(airport.directions.size());
        kept.airports.push_back(std::move(airport));
    }
    return kept;
}

}  // namespace corvane::harness
