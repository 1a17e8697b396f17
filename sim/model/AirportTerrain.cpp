// SPDX-License-Identifier: MIT
#include "sim/model/AirportTerrain.h"

#include <algorithm>
#include <cmath>

#include "sim/model/Units.h"

namespace corvane::sim {

namespace {

constexpr int kLatCells = 180;
constexpr int kLonCells = 360;

int LatCell(double latitudeDeg) {
    return std::clamp(static_cast<int>(std::floor(latitudeDeg + 90.0)), 0, kLatCells - 1);
}

int LonCell(double longitudeDeg) {
    int cell = static_cast<int>(std::floor(longitudeDeg + 180.0)) % kLonCells;
    return cell < 0 ? cell + kLonCells : cell;
}

double WrapLonDelta(double deltaDeg) {
    if (deltaDeg > 180.0) {
        return deltaDeg - 360.0;
    }
    if (deltaDeg < -180.0) {
        return deltaDeg + 360.0;
    }
    return deltaDeg;
}

bool Finite(double a, double b, double c) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

}  // namespace

AirportTerrain::AirportTerrain(const std::vector<TerrainAirport>& airports,
                               const std::vector<TerrainRunway>& runways)
    : AirportTerrain(airports, runways, Options{}) {}

AirportTerrain::AirportTerrain(const std::vector<TerrainAirport>& airports,
                               const std::vector<TerrainRunway>& runways, const Options& options)
    : options_(options) {
    // Keep the valid airports, remembering where each input airport went.
    std::vector<std::int64_t> kept(airports.size(), -1);
    for (std::size_t i = 0; i < airports.size(); ++i) {
        const TerrainAirport& a = airports[i];
        if (!Finite(a.latitudeDeg, a.longitudeDeg, a.elevationM) ||
            std::abs(a.latitudeDeg) > 90.0) {
            ++ignored_;
            continue;
        }
        kept[i] = static_cast<std::int64_t>(airports_.size());
        airports_.push_back(
            Airport{a.latitudeDeg, std::remainder(a.longitudeDeg, 360.0), a.elevationM, 0.0, 0, 0});
    }

    // Group the runways by airport.
    std::vector<std::vector<Runway>> byAirport(airports_.size());
    for (const TerrainRunway& r : runways) {
        const bool valid = r.airportIndex < kept.size() && kept[r.airportIndex] >= 0 &&
                           Finite(r.latitudeADeg, r.longitudeADeg, r.elevationAM) &&
                           Finite(r.latitudeBDeg, r.longitudeBDeg, r.elevationBM);
        if (!valid) {
            ++ignored_;
            continue;
        }
        byAirport[static_cast<std::size_t>(kept[r.airportIndex])].push_back(
            Runway{r.latitudeADeg, r.longitudeADeg, r.elevationAM, r.latitudeBDeg, r.longitudeBDeg,
                   r.elevationBM});
    }
    for (std::size_t i = 0; i < airports_.size(); ++i) {
        Airport& a = airports_[i];
        a.firstRunway = static_cast<std::uint32_t>(runways_.size());
        a.runwayCount = static_cast<std::uint32_t>(byAirport[i].size());
        const double cosLat = std::cos(a.latitudeDeg * units::kDegToRad);
        for (const Runway& r : byAirport[i]) {
            runways_.push_back(r);
            for (int end = 0; end < 2; ++end) {
                const double lat = end == 0 ? r.latitudeADeg : r.latitudeBDeg;
                const double lon = end == 0 ? r.longitudeADeg : r.longitudeBDeg;
                const double dy = (lat - a.latitudeDeg) * units::kMetresPerDegreeLatitude;
                const double dx =
                    WrapLonDelta(lon - a.longitudeDeg) * units::kMetresPerDegreeLatitude * cosLat;
                a.extentM = std::max(a.extentM, std::hypot(dx, dy));
            }
        }
    }

    // Grid of one-degree cells (counting sort into a compressed table).
    cellStart_.assign(kLatCells * kLonCells + 1, 0);
    for (const Airport& a : airports_) {
        ++cellStart_[CellIndex(LatCell(a.latitudeDeg), LonCell(a.longitudeDeg)) + 1];
    }
    for (std::size_t c = 1; c < cellStart_.size(); ++c) {
        cellStart_[c] += cellStart_[c - 1];
    }
    cellItems_.assign(airports_.size(), 0);
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < airports_.size(); ++i) {
        const int cell =
            CellIndex(LatCell(airports_[i].latitudeDeg), LonCell(airports_[i].longitudeDeg));
        cellItems_[fill[cell]++] = static_cast<std::uint32_t>(i);
    }
}

double AirportTerrain::ElevationM(double latitudeDeg, double longitudeDeg) const {
    if (airports_.empty() || !std::isfinite(latitudeDeg) || !std::isfinite(longitudeDeg)) {
        return 0.0;
    }
    const double radiusM = options_.influenceRadiusM;
    const double coreM = options_.coreM;
    const double mPerDeg = units::kMetresPerDegreeLatitude;
    const double cosLat = std::max(std::cos(latitudeDeg * units::kDegToRad), 1e-6);

    const double latSpanDeg = radiusM / mPerDeg + 0.1;
    const double lonSpanDeg = latSpanDeg / std::max(cosLat, 0.01);
    const int latLo = LatCell(latitudeDeg - latSpanDeg);
    const int latHi = LatCell(latitudeDeg + latSpanDeg);
    int lonCount = static_cast<int>(std::floor(longitudeDeg + lonSpanDeg + 180.0)) -
                   static_cast<int>(std::floor(longitudeDeg - lonSpanDeg + 180.0)) + 1;
    lonCount = std::min(lonCount, kLonCells);
    const int lonFirst = LonCell(longitudeDeg - lonSpanDeg);

    double sumW = 0.0;
    double sumWz = 0.0;
    double bestCoreD = coreM;
    double bestCoreZ = 0.0;
    bool inCore = false;

    for (int latCell = latLo; latCell <= latHi; ++latCell) {
        for (int k = 0; k < lonCount; ++k) {
            const int cell = CellIndex(latCell, (lonFirst + k) % kLonCells);
            for (std::uint32_t item = cellStart_[cell]; item < cellStart_[cell + 1]; ++item) {
                const Airport& a = airports_[cellItems_[item]];
                const double ay = (a.latitudeDeg - latitudeDeg) * mPerDeg;
                const double ax = WrapLonDelta(a.longitudeDeg - longitudeDeg) * mPerDeg * cosLat;
                const double reach = radiusM + a.extentM;
                if (ax * ax + ay * ay > reach * reach) {
                    continue;
                }
                double d = std::hypot(ax, ay);
                double z = a.elevationM;
                for (std::uint32_t r = a.firstRunway; r < a.firstRunway + a.runwayCount; ++r) {
                    const Runway& rw = runways_[r];
                    const double y1 = (rw.latitudeADeg - latitudeDeg) * mPerDeg;
                    const double x1 =
                        WrapLonDelta(rw.longitudeADeg - longitudeDeg) * mPerDeg * cosLat;
                    const double y2 = (rw.latitudeBDeg - latitudeDeg) * mPerDeg;
                    const double x2 =
                        WrapLonDelta(rw.longitudeBDeg - longitudeDeg) * mPerDeg * cosLat;
                    const double ex = x2 - x1;
                    const double ey = y2 - y1;
                    const double len2 = ex * ex + ey * ey;
                    double t = len2 > 0.0 ? -(x1 * ex + y1 * ey) / len2 : 0.0;
                    t = std::clamp(t, 0.0, 1.0);
                    const double dr = std::hypot(x1 + t * ex, y1 + t * ey);
                    if (r == a.firstRunway || dr < d) {
                        d = dr;
                        z = rw.elevationAM + t * (rw.elevationBM - rw.elevationAM);
                    }
                }
                if (d <= coreM) {
                    if (!inCore || d < bestCoreD) {
                        inCore = true;
                        bestCoreD = d;
                        bestCoreZ = z;
                    }
                    continue;
                }
                if (d >= radiusM) {
                    continue;
                }
                const double share = d / radiusM;
                const double taper = (1.0 - share * share) * (1.0 - share * share);
                const double gap = d - coreM;
                const double w = taper / (gap * gap);
                sumW += w;
                sumWz += w * z;
            }
        }
    }
    if (inCore) {
        return bestCoreZ;
    }
    const double seaW = 1.0 / (options_.seaLevelReachM * options_.seaLevelReachM);
    return sumWz / (sumW + seaW);
}

}  // namespace corvane::sim
