// SPDX-License-Identifier: MIT
#include "sim/physics/AirportTerrain.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"

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

void AirportTerrain::Gather(double latitudeDeg, double longitudeDeg, double radiusM,
                            std::vector<std::uint32_t>& out) const {
    out.clear();
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
    for (int latCell = latLo; latCell <= latHi; ++latCell) {
        for (int k = 0; k < lonCount; ++k) {
            const int cell = CellIndex(latCell, (lonFirst + k) % kLonCells);
            for (std::uint32_t item = cellStart_[cell]; item < cellStart_[cell + 1]; ++item) {
                const Airport& a = airports_[cellItems_[item]];
                const double ay = (a.latitudeDeg - latitudeDeg) * mPerDeg;
                const double ax = WrapLonDelta(a.longitudeDeg - longitudeDeg) * mPerDeg * cosLat;
                const double reach = radiusM + a.extentM;
                if (ax * ax + ay * ay <= reach * reach)
                    out.push_back(cellItems_[item]);
            }
        }
    }
}

const std::vector<std::uint32_t>& AirportTerrain::Nearby(double latitudeDeg, double longitudeDeg,
                                                         double cosLat, bool& withoutSeam) const {
    withoutSeam = false;
    // Near the poles a degree of longitude is too short for the margin's
    // flat-earth distances: every answer gathers afresh there.
    if (std::abs(latitudeDeg) > kNearbyLatitudeLimitDeg) {
        Gather(latitudeDeg, longitudeDeg, options_.influenceRadiusM, scratch_);
        nearbyValid_ = false;
        return scratch_;
    }
    const double mPerDeg = units::kMetresPerDegreeLatitude;
    const double dy = (latitudeDeg - nearbyLatitudeDeg_) * mPerDeg;
    // Unwrapped: a point taken a turn away from the centre gathers afresh.
    const double dx = (longitudeDeg - nearbyLongitudeDeg_) * mPerDeg * cosLat;
    if (!nearbyValid_ || dx * dx + dy * dy > kNearbyMarginM * kNearbyMarginM) {
        // Every airport that can reach a point within the margin of the centre,
        // with a second margin for the flat-earth distances' own error.
        Gather(latitudeDeg, longitudeDeg, options_.influenceRadiusM + 2.0 * kNearbyMarginM,
               nearby_);
        nearbyLatitudeDeg_ = latitudeDeg;
        nearbyLongitudeDeg_ = longitudeDeg;
        nearbyValid_ = true;
        // Every longitude of these airports well within half a turn of the
        // centre stays within half a turn of any point within the margin:
        // their differences need no wrapping there.
        auto near = [&](double lon) { return std::abs(lon - longitudeDeg) <= 170.0; };
        nearbyWithoutSeam_ = true;
        for (const std::uint32_t index : nearby_) {
            const Airport& a = airports_[index];
            nearbyWithoutSeam_ = nearbyWithoutSeam_ && near(a.longitudeDeg);
            for (std::uint32_t r = a.firstRunway; r < a.firstRunway + a.runwayCount; ++r)
                nearbyWithoutSeam_ = nearbyWithoutSeam_ && near(runways_[r].longitudeADeg) &&
                                     near(runways_[r].longitudeBDeg);
        }
    }
    withoutSeam = nearbyWithoutSeam_;
    return nearby_;
}

double AirportTerrain::ElevationM(double latitudeDeg, double longitudeDeg) const {
    if (airports_.empty() || !std::isfinite(latitudeDeg) || !std::isfinite(longitudeDeg)) {
        return 0.0;
    }
    // One cosine of the latitude serves the margin's test and the blend.
    const double cosLat = std::cos(latitudeDeg * units::kDegToRad);
    bool withoutSeam = false;
    const std::vector<std::uint32_t>& nearby =
        Nearby(latitudeDeg, longitudeDeg, cosLat, withoutSeam);
    const double blendCosLat = std::max(cosLat, 1e-6);
    auto accumulate = [&](const std::vector<std::uint32_t>& list, Sums& sums) {
        AccumulateList(list, !withoutSeam, latitudeDeg, longitudeDeg, blendCosLat, sums);
    };
    Sums sums;
    // Near the poles the cells' longitude steps grow too wide: every airport
    // is weighed at the point there.
    if (!(options_.cellM >= kLeastCellM) || std::abs(latitudeDeg) > kNearbyLatitudeLimitDeg) {
        accumulate(nearby, sums);
        return FieldOf(sums);
    }

    const double cellLatDeg = options_.cellM / units::kMetresPerDegreeLatitude;
    const long latRow = static_cast<long>(std::floor((latitudeDeg + 90.0) / cellLatDeg));
    // The cell is found from the longitude within half a turn, so that the
    // same place a turn away has the same cell.
    const double lonInTurn =
        std::abs(longitudeDeg) <= 180.0 ? longitudeDeg : std::remainder(longitudeDeg, 360.0);
    const long lonColumn =
        static_cast<long>(std::floor((lonInTurn + 180.0) / RowCellLonDeg(latRow)));
    if (!cell_.valid || cell_.latRow != latRow || cell_.lonColumn != lonColumn)
        // The corners are placed from the longitude within half a turn: a
        // point given a turn away from it needs its corners wrapped.
        EnterCell(latRow, lonColumn, nearby, withoutSeam && lonInTurn == longitudeDeg);

    accumulate(cell_.nearAirports, sums);
    if (sums.inCore)
        return sums.coreZ;
    const double u = std::clamp((latitudeDeg - cell_.southDeg) / cell_.heightDeg, 0.0, 1.0);
    const double v = std::clamp((lonInTurn - cell_.westDeg) / cell_.widthDeg, 0.0, 1.0);
    auto between = [u, v](const double corner[4]) {
        return (1.0 - u) * ((1.0 - v) * corner[0] + v * corner[1]) +
               u * ((1.0 - v) * corner[2] + v * corner[3]);
    };
    sums.w += between(cell_.farW);
    sums.wz += between(cell_.farWz);
    return FieldOf(sums);
}

void AirportTerrain::EnterCell(long latRow, long lonColumn,
                               const std::vector<std::uint32_t>& nearby, bool withoutSeam) const {
    const double mPerDeg = units::kMetresPerDegreeLatitude;
    const double cellLatDeg = options_.cellM / mPerDeg;
    const double southDeg = static_cast<double>(latRow) * cellLatDeg - 90.0;
    const double cellLonDeg = RowCellLonDeg(latRow);
    // The corners' longitudes as every cell of the row works them out, so
    // that neighbours share their corners bit for bit.
    auto cornerLon = [&](long column) { return static_cast<double>(column) * cellLonDeg - 180.0; };
    const double westDeg = cornerLon(lonColumn);
    const double eastDeg = cornerLon(lonColumn + 1);
    const double northDeg = static_cast<double>(latRow + 1) * cellLatDeg - 90.0;

    // Near: every airport whose runways may come within farFromM of a point
    // of the cell (measured from the cell's centre, with its diagonal).
    const double centreLat = 0.5 * (southDeg + northDeg);
    const double centreLon = 0.5 * (westDeg + eastDeg);
    const double centreCos = std::max(std::cos(centreLat * units::kDegToRad), 1e-6);
    std::vector<std::uint32_t>& farList = scratchFar_;
    std::vector<std::uint32_t>& nearList = scratchNear_;
    farList.clear();
    nearList.clear();
    for (const std::uint32_t index : nearby) {
        const Airport& a = airports_[index];
        const double ay = (a.latitudeDeg - centreLat) * mPerDeg;
        const double ax = WrapLonDelta(a.longitudeDeg - centreLon) * mPerDeg * centreCos;
        const double nearestM = std::sqrt(ax * ax + ay * ay) - a.extentM - 2.0 * options_.cellM;
        (nearestM >= options_.farFromM ? farList : nearList).push_back(index);
    }

    // A neighbour along the row with the same far airports shares two
    // corners.
    const bool sameRow = cell_.valid && cell_.latRow == latRow && farList == cell_.farAirports;
    const bool eastOfLast = sameRow && lonColumn == cell_.lonColumn + 1;
    const bool westOfLast = sameRow && lonColumn == cell_.lonColumn - 1;
    double farW[4];
    double farWz[4];
    bool known[4] = {false, false, false, false};
    if (eastOfLast) {  // the last cell's east corners are this one's west
        farW[0] = cell_.farW[1], farWz[0] = cell_.farWz[1];
        farW[2] = cell_.farW[3], farWz[2] = cell_.farWz[3];
        known[0] = known[2] = true;
    } else if (westOfLast) {
        farW[1] = cell_.farW[0], farWz[1] = cell_.farWz[0];
        farW[3] = cell_.farW[2], farWz[3] = cell_.farWz[2];
        known[1] = known[3] = true;
    }
    for (int k = 0; k < 4; ++k) {
        if (known[k])
            continue;
        const double lat = k >= 2 ? northDeg : southDeg;
        const double lon = (k & 1) != 0 ? eastDeg : westDeg;
        const double cosLat = std::max(std::cos(lat * units::kDegToRad), 1e-6);
        Sums sums;
        // The corners are within metres of the point, so the airports that
        // need no wrapping there need none at the corners either (and a
        // difference that needs none is the same wrapped or not).
        AccumulateList(farList, !withoutSeam, lat, lon, cosLat, sums);
        farW[k] = sums.w;
        farWz[k] = sums.wz;
    }

    cell_.valid = true;
    cell_.latRow = latRow;
    cell_.lonColumn = lonColumn;
    cell_.southDeg = southDeg;
    cell_.westDeg = westDeg;
    cell_.heightDeg = northDeg - southDeg;
    cell_.widthDeg = eastDeg - westDeg;
    cell_.nearAirports.swap(nearList);
    cell_.farAirports.swap(farList);
    for (int k = 0; k < 4; ++k) {
        cell_.farW[k] = farW[k];
        cell_.farWz[k] = farWz[k];
    }
}

double AirportTerrain::RowCellLonDeg(long latRow) const {
    if (!rowValid_ || rowOfStep_ != latRow) {
        const double cellLatDeg = options_.cellM / units::kMetresPerDegreeLatitude;
        const double southDeg = static_cast<double>(latRow) * cellLatDeg - 90.0;
        const double rowCos = std::cos((southDeg + 0.5 * cellLatDeg) * units::kDegToRad);
        rowStepDeg_ = cellLatDeg / std::max(rowCos, 0.01);
        rowOfStep_ = latRow;
        rowValid_ = true;
    }
    return rowStepDeg_;
}

double AirportTerrain::FieldOf(const Sums& sums) const {
    if (sums.inCore) {
        return sums.coreZ;
    }
    const double seaW = 1.0 / (options_.seaLevelReachM * options_.seaLevelReachM);
    return sums.wz / (sums.w + seaW);
}

void AirportTerrain::AccumulateList(const std::vector<std::uint32_t>& list, bool wrap,
                                    double latitudeDeg, double longitudeDeg, double cosLat,
                                    Sums& sums) const {
    const std::uint32_t* first = list.data();
    const std::uint32_t* last = first + list.size();
    if (wrap)
        Accumulate<true>(first, last, latitudeDeg, longitudeDeg, cosLat, sums);
    else
        Accumulate<false>(first, last, latitudeDeg, longitudeDeg, cosLat, sums);
}

template <bool kWrap>
void AirportTerrain::Accumulate(const std::uint32_t* first, const std::uint32_t* last,
                                double latitudeDeg, double longitudeDeg, double cosLat,
                                Sums& sums) const {
    auto lonDelta = [](double deltaDeg) { return kWrap ? WrapLonDelta(deltaDeg) : deltaDeg; };
    const double radiusM = options_.influenceRadiusM;
    const double coreM = options_.coreM;
    const double mPerDeg = units::kMetresPerDegreeLatitude;

    // The airports come in the grid's order, so the sums below add up in the
    // same order whichever way they were gathered.
    for (const std::uint32_t* it = first; it != last; ++it) {
        const Airport& a = airports_[*it];
        const double ay = (a.latitudeDeg - latitudeDeg) * mPerDeg;
        const double ax = lonDelta(a.longitudeDeg - longitudeDeg) * mPerDeg * cosLat;
        const double reach = radiusM + a.extentM;
        if (ax * ax + ay * ay > reach * reach) {
            continue;
        }
        // The nearest runway by squared distance, one square root per
        // airport: the airport's reference point when it has none.
        double d2 = ax * ax + ay * ay;
        double z = a.elevationM;
        for (std::uint32_t r = a.firstRunway; r < a.firstRunway + a.runwayCount; ++r) {
            const Runway& rw = runways_[r];
            const double y1 = (rw.latitudeADeg - latitudeDeg) * mPerDeg;
            const double x1 = lonDelta(rw.longitudeADeg - longitudeDeg) * mPerDeg * cosLat;
            const double y2 = (rw.latitudeBDeg - latitudeDeg) * mPerDeg;
            const double x2 = lonDelta(rw.longitudeBDeg - longitudeDeg) * mPerDeg * cosLat;
            const double ex = x2 - x1;
            const double ey = y2 - y1;
            const double len2 = ex * ex + ey * ey;
            // The share of the runway to the point nearest, clamped to its
            // ends. Seen from afar the nearest point is nearly always an end:
            // a quotient that the clamp would make 0 or 1 is not worked out.
            double t = 0.0;
            if (len2 > 0.0) {
                const double along = -(x1 * ex + y1 * ey);
                if (along >= len2) {
                    t = 1.0;
                } else if (!(along < 0.0)) {
                    t = std::clamp(along / len2, 0.0, 1.0);
                }
            }
            const double px = x1 + t * ex;
            const double py = y1 + t * ey;
            const double dr2 = px * px + py * py;
            if (r == a.firstRunway || dr2 < d2) {
                d2 = dr2;
                z = rw.elevationAM + t * (rw.elevationBM - rw.elevationAM);
            }
        }
        const double d = std::sqrt(d2);
        if (d <= coreM) {
            if (!sums.inCore || d < sums.coreD) {
                sums.inCore = true;
                sums.coreD = d;
                sums.coreZ = z;
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
        sums.w += w;
        sums.wz += w * z;
    }
}

}  // namespace corvane::sim
