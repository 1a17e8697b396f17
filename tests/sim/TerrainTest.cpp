// SPDX-License-Identifier: MIT
#include "sim/physics/AirportTerrain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sim/physics/MagneticModel.h"

namespace corvane::sim {
namespace {

constexpr double kMetresPerDegree = 20003500.0 / 180.0;

// A point at a distance east (positive) and north of a reference.
void Offset(double lat, double lon, double eastM, double northM, double& outLat, double& outLon) {
    outLat = lat + northM / kMetresPerDegree;
    outLon = lon + eastM / (kMetresPerDegree * std::cos(lat * 3.14159265358979 / 180.0));
}

TerrainRunway EastWestRunway(std::size_t airport, double lat, double lon, double lengthM,
                             double elevAM, double elevBM) {
    double latB = 0;
    double lonB = 0;
    Offset(lat, lon, lengthM, 0, latB, lonB);
    return TerrainRunway{airport, lat, lon, elevAM, latB, lonB, elevBM};
}

struct PointCase {
    const char* name;
    double eastM;   // from the runway's west end
    double northM;  // from the centre line
    double expectedM;
};

class OnTheAirport : public ::testing::TestWithParam<PointCase> {};

TEST_P(OnTheAirport, ElevationIsExactOnTheRunwayAndCloseAroundIt) {
    const PointCase& c = GetParam();
    const std::vector<TerrainAirport> airports = {{40.0, -105.0, 1650.0}, {40.3, -104.6, 1500.0}};
    const std::vector<TerrainRunway> runways = {
        EastWestRunway(0, 40.0, -105.0, 3000, 1650.0, 1650.0)};
    const AirportTerrain terrain(airports, runways);
    double lat = 0;
    double lon = 0;
    Offset(40.0, -105.0, c.eastM, c.northM, lat, lon);
    EXPECT_NEAR(terrain.ElevationM(lat, lon), c.expectedM, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, OnTheAirport,
                         ::testing::Values(PointCase{"Threshold", 0, 0, 1650.0},
                                           PointCase{"MidRunway", 1500, 0, 1650.0},
                                           PointCase{"FarEnd", 3000, 0, 1650.0},
                                           PointCase{"BesideTheRunway", 1500, 550, 1650.0},
                                           PointCase{"BeforeTheThreshold", -550, 0, 1650.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AirportTerrain, SlopedRunwayRisesFromEndToEnd) {
    const AirportTerrain terrain({{10.0, 10.0, 100.0}},
                                 {EastWestRunway(0, 10.0, 10.0, 2000, 100.0, 110.0)});
    double lat = 0;
    double lon = 0;
    Offset(10.0, 10.0, 1000, 0, lat, lon);
    EXPECT_NEAR(terrain.ElevationM(lat, lon), 105.0, 1e-6);
    Offset(10.0, 10.0, 2000, 0, lat, lon);
    EXPECT_NEAR(terrain.ElevationM(lat, lon), 110.0, 1e-6);
}

TEST(AirportTerrain, SeaLevelFarFromEveryAirport) {
    const AirportTerrain terrain({{40.0, -105.0, 1650.0}}, {});
    EXPECT_EQ(terrain.ElevationM(40.0, -103.5), 0.0);  // about 69 nm east
    EXPECT_EQ(terrain.ElevationM(-30.0, 20.0), 0.0);
    const AirportTerrain empty({}, {});
    EXPECT_EQ(empty.ElevationM(40.0, -105.0), 0.0);
}

TEST(AirportTerrain, PlateauStaysHighBetweenItsAirports) {
    // A 5 x 5 grid of airports 25 km apart, all near 1600 m.
    std::vector<TerrainAirport> airports;
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            double lat = 0;
            double lon = 0;
            Offset(39.5, -105.0, 25000.0 * j, 25000.0 * i, lat, lon);
            airports.push_back({lat, lon, 1600.0 + 20.0 * ((i + j) % 3)});
        }
    }
    const AirportTerrain terrain(airports, {});
    double lat = 0;
    double lon = 0;
    Offset(39.5, -105.0, 37500.0, 37500.0, lat, lon);  // between four airports
    EXPECT_GT(terrain.ElevationM(lat, lon), 1550.0);
    // A lone airport of the same height is a low, wide hill instead.
    const AirportTerrain lone({{39.5, -105.0, 1600.0}}, {});
    Offset(39.5, -105.0, 37500.0 * std::sqrt(2.0), 0.0, lat, lon);
    const double hill = lone.ElevationM(lat, lon);
    EXPECT_LT(hill, 1550.0);
    EXPECT_GT(hill, 800.0);
}

TEST(AirportTerrain, FieldIsSmoothAlongALine) {
    const AirportTerrain terrain({{50.0, 5.0, 300.0}, {50.2, 5.3, 120.0}, {49.8, 5.5, 450.0}},
                                 {EastWestRunway(0, 50.0, 5.0, 2500, 300.0, 300.0)});
    double previous = terrain.ElevationM(49.9, 4.5);
    double worst = 0.0;
    for (int k = 1; k <= 2000; ++k) {  // 100 m steps eastwards over about 143 km
        double lat = 0;
        double lon = 0;
        Offset(49.9, 4.5, 100.0 * k, 0.0, lat, lon);
        const double e = terrain.ElevationM(lat, lon);
        worst = std::max(worst, std::abs(e - previous));
        previous = e;
    }
    EXPECT_LT(worst, 15.0);  // never more than a 15 % grade
}

// The field keeps the airports around its last answer. Along flights of short
// steps, long jumps, the date line and the polar caps, each answer must be the
// one a field gives that gathers them around the point itself.
TEST(AirportTerrain, AnswersAlongAFlightEqualFreshAnswers) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double centres[][2] = {{47.0, 8.0}, {-17.0, 179.7}, {81.0, 20.0}, {35.0, -118.0}};
    std::vector<TerrainAirport> airports;
    std::vector<TerrainRunway> runways;
    for (const auto& c : centres) {
        for (int i = 0; i < 80; ++i) {
            const double lat = c[0] + (unit(random) - 0.5) * 4.0;
            const double lon = std::remainder(c[1] + (unit(random) - 0.5) * 6.0, 360.0);
            const double elevation = unit(random) * 1500.0;
            airports.push_back({lat, lon, elevation});
            for (int r = static_cast<int>(unit(random) * 3.0); r > 0; --r)
                runways.push_back(EastWestRunway(airports.size() - 1, lat + r * 0.004, lon,
                                                 1500.0 + unit(random) * 2500.0, elevation,
                                                 elevation + unit(random) * 20.0));
        }
    }
    const AirportTerrain walker(airports, runways);
    const AirportTerrain fresh(airports, runways);
    int compared = 0;
    for (const auto& c : centres) {
        double lat = c[0];
        double lon = c[1];
        for (int k = 0; k < 600; ++k) {
            const double stepM =
                unit(random) < 0.05 ? 20000.0 + unit(random) * 150000.0 : unit(random) * 6000.0;
            const double course = unit(random) * 6.283185307179586;
            Offset(lat, lon, stepM * std::sin(course), stepM * std::cos(course), lat, lon);
            lat = std::clamp(lat, -89.0, 89.0);
            // Now and then the same longitude a turn away, as a caller may give it.
            lon = std::remainder(lon, 360.0) + (unit(random) < 0.1 ? 360.0 : 0.0);
            const double walked = walker.ElevationM(lat, lon);
            fresh.ElevationM(-lat, lon + 180.0);  // far away: the next answer gathers afresh
            ASSERT_EQ(walked, fresh.ElevationM(lat, lon)) << "at " << lat << ", " << lon;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 2400);
}

// The field as described, from every airport at once: the nearest runway's
// flat-earth distance and elevation per airport, the nearest core's elevation
// when the point is in one, else the weighted blend with the sea.
double EveryAirportField(const std::vector<TerrainAirport>& airports,
                         const std::vector<TerrainRunway>& runways, double lat, double lon,
                         bool& inCore) {
    const AirportTerrain::Options options;
    const double mPerDeg = kMetresPerDegree;
    const double cosLat = std::cos(lat * 3.14159265358979323846 / 180.0);
    auto east = [&](double toLon) { return std::remainder(toLon - lon, 360.0) * mPerDeg * cosLat; };
    double sumW = 0.0;
    double sumWz = 0.0;
    double coreD = std::numeric_limits<double>::infinity();
    double coreZ = 0.0;
    for (std::size_t i = 0; i < airports.size(); ++i) {
        double best =
            std::hypot(east(airports[i].longitudeDeg), (airports[i].latitudeDeg - lat) * mPerDeg);
        double z = airports[i].elevationM;
        bool first = true;
        for (const TerrainRunway& r : runways) {
            if (r.airportIndex != i)
                continue;
            const double x1 = east(r.longitudeADeg);
            const double y1 = (r.latitudeADeg - lat) * mPerDeg;
            const double ex = east(r.longitudeBDeg) - x1;
            const double ey = (r.latitudeBDeg - lat) * mPerDeg - y1;
            const double t = std::clamp(-(x1 * ex + y1 * ey) / (ex * ex + ey * ey), 0.0, 1.0);
            const double d = std::hypot(x1 + t * ex, y1 + t * ey);
            if (first || d < best) {
                best = d;
                z = r.elevationAM + t * (r.elevationBM - r.elevationAM);
            }
            first = false;
        }
        if (best <= options.coreM) {
            if (best < coreD) {
                coreD = best;
                coreZ = z;
            }
        } else if (best < options.influenceRadiusM) {
            const double share = best / options.influenceRadiusM;
            const double gap = best - options.coreM;
            const double w = (1.0 - share * share) * (1.0 - share * share) / (gap * gap);
            sumW += w;
            sumWz += w * z;
        }
    }
    inCore = std::isfinite(coreD);
    if (inCore)
        return coreZ;
    return sumWz / (sumW + 1.0 / (options.seaLevelReachM * options.seaLevelReachM));
}

// A dense region (a hundred airports and more within reach of a point, each
// with up to four runways) and one across the date line: the field answers
// as the blend over every airport, on and off the runways.
TEST(AirportTerrain, AnswersAsTheBlendOverEveryAirport) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double centres[][2] = {{51.0, 0.0}, {-16.5, 179.9}};
    std::vector<TerrainAirport> airports;
    std::vector<TerrainRunway> runways;
    for (const auto& c : centres) {
        for (int i = 0; i < 400; ++i) {
            const double lat = c[0] + (unit(random) - 0.5) * 3.0;
            const double lon = std::remainder(c[1] + (unit(random) - 0.5) * 4.0, 360.0);
            const double elevation = unit(random) * 900.0;
            airports.push_back({lat, lon, elevation});
            for (int r = static_cast<int>(unit(random) * 5.0); r > 0; --r) {
                const double course = unit(random) * 3.14159265358979323846;
                const double lengthM = 800.0 + unit(random) * 3000.0;
                double latB = 0;
                double lonB = 0;
                Offset(lat, lon, lengthM * std::sin(course), lengthM * std::cos(course), latB,
                       lonB);
                runways.push_back({airports.size() - 1, lat, lon, elevation, latB, lonB,
                                   elevation + unit(random) * 30.0});
            }
        }
    }
    const AirportTerrain terrain(airports, runways);
    AirportTerrain::Options everyAirportAtThePoint;
    everyAirportAtThePoint.cellM = 0.0;
    const AirportTerrain exact(airports, runways, everyAirportAtThePoint);
    int coreAnswers = 0;
    std::vector<double> errors;
    for (int k = 0; k < 3000; ++k) {
        const auto& c = centres[k % 2];
        double lat = c[0] + (unit(random) - 0.5) * 3.5;
        double lon = c[1] + (unit(random) - 0.5) * 4.5;
        if (k % 5 == 0) {  // beside a runway, in its core or just out of it
            const TerrainRunway& r = runways[random() % runways.size()];
            const double t = unit(random);
            Offset(r.latitudeADeg + t * (r.latitudeBDeg - r.latitudeADeg),
                   r.longitudeADeg + t * (r.longitudeBDeg - r.longitudeADeg),
                   (unit(random) - 0.5) * 1600.0, 0.0, lat, lon);
        }
        lon = std::remainder(lon, 360.0);
        bool inCore = false;
        const double expected = EveryAirportField(airports, runways, lat, lon, inCore);
        const double exactAnswer = exact.ElevationM(lat, lon);
        ASSERT_NEAR(exactAnswer, expected, 1e-9 * (1.0 + std::abs(expected)))
            << "at " << lat << ", " << lon;
        const double actual = terrain.ElevationM(lat, lon);
        if (inCore) {
            ASSERT_EQ(actual, exactAnswer) << "in a core at " << lat << ", " << lon;
        }
        errors.push_back(std::abs(actual - exactAnswer));
        coreAnswers += inCore;
    }
    EXPECT_GT(coreAnswers, 100);
    // The far airports weighed at the cells' corners: off the cores the field
    // moves by a fraction of a millimetre at the median and by a centimetre
    // at most at nearly every point (elevations spread over 900 m), and by
    // more only where the exact field itself steps, where a far airport's
    // nearest runway changes to one of another elevation.
    std::sort(errors.begin(), errors.end());
    const auto share = [&](double s) {
        return errors[static_cast<std::size_t>(s * (errors.size() - 1))];
    };
    EXPECT_GT(errors.back(), 0.0);  // the cells were used
    EXPECT_LT(share(0.5), 1e-3);
    EXPECT_LT(share(0.99), 2e-2);
    EXPECT_LT(errors.back(), 0.5);
}

// Points given past 180 degrees east, beside airports just west of the date
// line: the cells' corners are placed within half a turn, so the far
// airports are weighed at them across the turn.
TEST(AirportTerrain, PointsGivenPastTheDateLineAnswerAsTheBlend) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<TerrainAirport> airports;
    std::vector<TerrainRunway> runways;
    for (int i = 0; i < 150; ++i) {
        const double lat = 10.0 + (unit(random) - 0.5) * 3.0;
        const double lon = 175.0 + unit(random) * 4.9;
        airports.push_back({lat, lon, unit(random) * 900.0});
        runways.push_back(EastWestRunway(airports.size() - 1, lat, lon, 2000.0,
                                         airports.back().elevationM, airports.back().elevationM));
    }
    const AirportTerrain terrain(airports, runways);
    double worst = 0.0;
    for (int k = 0; k < 300; ++k) {
        const double lat = 10.0 + (unit(random) - 0.5) * 2.0;
        const double lon = 180.2 + unit(random) * 2.5;
        bool inCore = false;
        const double expected = EveryAirportField(airports, runways, lat, lon, inCore);
        worst = std::max(worst, std::abs(terrain.ElevationM(lat, lon) - expected));
    }
    EXPECT_LT(worst, 0.1);
}

TEST(AirportTerrain, SeesAirportsAcrossTheDateLine) {
    const AirportTerrain terrain({{-17.0, 179.95, 200.0}}, {});
    EXPECT_GT(terrain.ElevationM(-17.0, -179.95), 150.0);
}

TEST(AirportTerrain, BadRecordsAreLeftOut) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const AirportTerrain terrain({{10.0, 10.0, 50.0}, {nan, 10.0, 50.0}},
                                 {EastWestRunway(7, 10.0, 10.0, 2000, 50.0, 50.0),
                                  TerrainRunway{0, 10.0, 10.0, nan, 10.0, 10.1, 50.0}});
    EXPECT_EQ(terrain.AirportCount(), 1u);
    EXPECT_EQ(terrain.Ignored(), 3u);
    EXPECT_NEAR(terrain.ElevationM(10.0, 10.0), 50.0, 1e-9);
    EXPECT_EQ(terrain.ElevationM(nan, 10.0), 0.0);
}

TEST(MagneticModel, DipoleVariation) {
    // On the pole's meridian south of it the compass points true north.
    EXPECT_NEAR(MagneticModel::VariationDeg(40.0, MagneticModel::kPoleLongitudeDeg), 0.0, 1e-9);
    // West of that meridian the pole lies to the north-east (east variation),
    // east of it to the north-west (west variation), symmetrically.
    const double west = MagneticModel::VariationDeg(47.5, -122.3);
    const double east = MagneticModel::VariationDeg(47.5, -72.68 + 49.62);
    EXPECT_GT(west, 5.0);
    EXPECT_NEAR(east, -west, 1e-9);
    // North of the pole the compass points south.
    EXPECT_NEAR(std::abs(MagneticModel::VariationDeg(85.0, MagneticModel::kPoleLongitudeDeg)),
                180.0, 1e-9);
}

// Along flights of short steps and long jumps, the cells give the dipole's
// variation to well within the heading encoding's step, whatever was asked
// before, and the dipole itself nearer the poles.
TEST(MagneticModel, CellsFollowTheDipole) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const MagneticVariationCells walker;
    double lat = 40.0;
    double lon = -100.0;
    double worst = 0.0;
    for (int k = 0; k < 20000; ++k) {
        if (unit(random) < 0.02) {
            lat = (unit(random) - 0.5) * 178.0;
            lon = (unit(random) - 0.5) * 360.0;
        } else {
            lat = std::clamp(lat + (unit(random) - 0.5) * 0.02, -89.0, 89.0);
            lon = std::remainder(lon + (unit(random) - 0.5) * 0.02, 360.0);
        }
        const double exact = MagneticModel::VariationDeg(lat, lon);
        const double walked = walker.VariationDeg(lat, lon);
        const MagneticVariationCells fresh;
        ASSERT_EQ(walked, fresh.VariationDeg(lat, lon)) << lat << ", " << lon;
        if (std::abs(lat) > MagneticVariationCells::kCellsUpToDeg) {
            ASSERT_EQ(walked, exact) << lat << ", " << lon;
        }
        worst = std::max(worst, std::abs(walked - exact));
    }
    EXPECT_GT(worst, 0.0);
    EXPECT_LT(worst, 1e-4);
}

}  // namespace
}  // namespace corvane::sim
