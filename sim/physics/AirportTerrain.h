// SPDX-License-Identifier: MIT
//
// A smooth ground field made from the airports of the database: exactly each
// airport's runway elevations on its runways and within coreM of them, an
// inverse-distance-weighted blend of the airports within influenceRadiusM
// elsewhere, and sea level far from every airport. A sea-level weight, as if
// the sea were one more airport at seaLevelReachM, pulls the field down
// towards the edge of the airports' influence, so a region full of high
// airports (a plateau) stays high between them while a lone airport is a low
// wide hill.
//
// The airports within farFromM of a point are weighed at the point itself.
// The weights of those farther away change slowly: they are weighed exactly
// at the corners of a cell of cellM (a fixed grid of latitude rows, each
// with its own longitude step) and taken between the corners bilinearly.
// That moves the field by about 1e-5 of the elevations' spread beyond
// farFromM (a centimetre for a kilometre), by more only where the exact
// field itself steps (a far airport's nearest runway changing to one of
// another elevation) and there by a few tenths of a metre, and an answer still
// depends on the point alone, not on the answers before it. cellM 0 (or
// anything under a metre) weighs every airport at the point.
//
// The input is plain structs (the process converts its airport database); the
// field is built once and then answers without allocating once it has seen
// the region. It keeps the airports around the last answer, so that the next
// answer nearby looks at them alone: one field serves one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/physics/Terrain.h"

namespace corvane::sim {

struct TerrainAirport {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double elevationM = 0.0;
};

struct TerrainRunway {
    std::size_t airportIndex = 0;  // index into the airport list
    double latitudeADeg = 0.0;
    double longitudeADeg = 0.0;
    double elevationAM = 0.0;
    double latitudeBDeg = 0.0;
    double longitudeBDeg = 0.0;
    double elevationBM = 0.0;
};

class AirportTerrain : public Terrain {
  public:
    struct Options {
        double influenceRadiusM = 50.0 * 1852.0;
        double coreM = 600.0;
        double seaLevelReachM = 270000.0;
        double farFromM = 20000.0;
        double cellM = 200.0;
    };

    // Airports or runways with non-finite coordinates, and runways naming an
    // airport that is not in the list, are left out (see Ignored()).
    AirportTerrain(const std::vector<TerrainAirport>& airports,
                   const std::vector<TerrainRunway>& runways);
    AirportTerrain(const std::vector<TerrainAirport>& airports,
                   const std::vector<TerrainRunway>& runways, const Options& options);

    double ElevationM(double latitudeDeg, double longitudeDeg) const override;

    std::size_t AirportCount() const { return airports_.size(); }
    std::size_t Ignored() const { return ignored_; }

  private:
    struct Airport {
        double latitudeDeg;
        double longitudeDeg;
        double elevationM;
        double extentM;  // farthest runway end from the reference point
        std::uint32_t firstRunway;
        std::uint32_t runwayCount;
    };
    struct Runway {
        double latitudeADeg, longitudeADeg, elevationAM;
        double latitudeBDeg, longitudeBDeg, elevationBM;
    };

    static int CellIndex(int latCell, int lonCell) { return latCell * 360 + lonCell; }

    // The airports whose influence or core can reach within radiusM of the
    // point, in the grid's order.
    void Gather(double latitudeDeg, double longitudeDeg, double radiusM,
                std::vector<std::uint32_t>& out) const;
    // The airports that can reach the point: those gathered around the last
    // centre while the point is within kNearbyMarginM of it.
    // cosLat: the cosine of the point's latitude. withoutSeam: no longitude
    // of them needs wrapping at the point.
    const std::vector<std::uint32_t>& Nearby(double latitudeDeg, double longitudeDeg, double cosLat,
                                             bool& withoutSeam) const;
    // The weights of the airports listed, as the blend sums them.
    struct Sums {
        double w = 0.0;
        double wz = 0.0;
        bool inCore = false;
        double coreD = 0.0;
        double coreZ = 0.0;
    };
    // Adds to sums the airports of [first, last) that can reach the point;
    // kWrap: longitude differences wrapped to half a turn; cosLat: the
    // cosine of the point's latitude, at least 1e-6.
    template <bool kWrap>
    void Accumulate(const std::uint32_t* first, const std::uint32_t* last, double latitudeDeg,
                    double longitudeDeg, double cosLat, Sums& sums) const;
    // Accumulate over a whole list, wrapping the longitude differences or
    // not.
    void AccumulateList(const std::vector<std::uint32_t>& list, bool wrap, double latitudeDeg,
                        double longitudeDeg, double cosLat, Sums& sums) const;
    // The longitude step of the cells of a latitude row (kept for the row of
    // the last answer).
    double RowCellLonDeg(long latRow) const;
    // The field from the sums of every airport that can reach the point.
    double FieldOf(const Sums& sums) const;
    // Splits the airports that can reach the cell into those near it and
    // those far from it, and weighs the far ones at its corners. withoutSeam:
    // no longitude of the nearby airports needs wrapping at the point.
    void EnterCell(long latRow, long lonColumn, const std::vector<std::uint32_t>& nearby,
                   bool withoutSeam) const;

    static constexpr double kNearbyMarginM = 5000.0;
    // Cells smaller than this are not used: every airport at the point.
    static constexpr double kLeastCellM = 1.0;
    static constexpr double kNearbyLatitudeLimitDeg = 80.0;

    Options options_;
    std::vector<Airport> airports_;
    std::vector<Runway> runways_;
    std::vector<std::uint32_t> cellStart_;  // 180 * 360 + 1 entries
    std::vector<std::uint32_t> cellItems_;
    std::size_t ignored_ = 0;

    mutable std::vector<std::uint32_t> nearby_;
    mutable std::vector<std::uint32_t> scratch_;
    mutable double nearbyLatitudeDeg_ = 0.0;
    mutable double nearbyLongitudeDeg_ = 0.0;
    mutable bool nearbyValid_ = false;
    mutable bool nearbyWithoutSeam_ = false;

    // The cell of the last answer: its near airports and the far airports'
    // sums at its corners (south-west, south-east, north-west, north-east).
    struct Cell {
        bool valid = false;
        long latRow = 0;
        long lonColumn = 0;
        double southDeg = 0.0;
        double westDeg = 0.0;
        double heightDeg = 0.0;
        double widthDeg = 0.0;
        std::vector<std::uint32_t> nearAirports;
        std::vector<std::uint32_t> farAirports;
        double farW[4] = {0, 0, 0, 0};
        double farWz[4] = {0, 0, 0, 0};
    };
    mutable Cell cell_;
    mutable std::vector<std::uint32_t> scratchNear_;
    mutable std::vector<std::uint32_t> scratchFar_;
    mutable bool rowValid_ = false;
    mutable long rowOfStep_ = 0;
    mutable double rowStepDeg_ = 0.0;
};

}  // namespace corvane::sim
