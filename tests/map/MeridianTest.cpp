// SPDX-License-Identifier: MIT
//
// The map across the 180 degree meridian, on the world airdata.tri and
// COAST2.int that the build makes from data/: a view centred near the meridian
// shows the same dots and coastlines as the same view of a copy of the world
// turned by 180 degrees of longitude, where the view lies far from that copy's
// own meridian.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "app/map/CoastlineLayer.h"
#include "app/map/DotLayer.h"
#include "app/map/MapReadouts.h"
#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"
#include "navdata/Geodesy.h"
#include "navdata/LonIndexWalk.h"
#include "tests/map/MapTestSupport.h"

namespace corvane::map {
namespace {

constexpr double kMetresPerDegreeLatitude = 111130.555555555;
const std::string kAppDir = CORVANE_TEST_APP_DIR;

// A longitude turned by 180 degrees, kept within -180 to below 180. Exact for
// the longitudes within 90 degrees of the meridian, which are those compared.
double Turned(double lon) {
    return lon < 0 ? lon + 180.0 : lon - 180.0;
}

// A copy of the dot tables with every longitude turned, sorted and indexed
// anew; from[i] is the number of record i in the original table.
template <typename Record>
std::vector<int> TurnTable(const std::vector<Record>& source, int count, std::vector<Record>& table,
                           std::int16_t& turnedCount, navdata::LonIndex& index) {
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 1);
    auto lonOf = [&](int i) { return Turned(source[static_cast<std::size_t>(i)].longitude); };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lonOf(a) < lonOf(b); });
    table.assign(static_cast<std::size_t>(count) + 2, Record{});
    std::vector<int> from(static_cast<std::size_t>(count) + 1, 0);
    std::vector<double> lons;
    for (int i = 1; i <= count; ++i) {
        const int original = order[static_cast<std::size_t>(i - 1)];
        table[static_cast<std::size_t>(i)] = source[static_cast<std::size_t>(original)];
        table[static_cast<std::size_t>(i)].longitude = lonOf(original);
        from[static_cast<std::size_t>(i)] = original;
        lons.push_back(lonOf(original));
    }
    turnedCount = static_cast<std::int16_t>(count);
    index = navdata::BuildLonIndex(lons);
    return from;
}

// The coastlines turned the same way. A point at the file's highest longitude
// unit is the meridian itself (CoastPointLongitude), so it turns to 0 like its
// other half at 180 W. Blocks that cross the original's 0 meridian would cross
// the copy's own meridian; they lie half a world from every view compared and
// are left out.
navdata::CoastlineData TurnCoast(const navdata::CoastlineData& coast) {
    navdata::CoastlineData turned;
    int next = 1;
    int blocks = 0;
    for (int j = 1; j <= coast.CoastBlockCount; ++j) {
        const navdata::CoastBlock& block = coast.CoastBlocks[static_cast<std::size_t>(j)];
        std::vector<std::pair<float, float>> points;
        bool crosses = false;
        for (int k = block.firstPoint;
             coast.CoastLatitude[static_cast<std::size_t>(k)] + coast.CoastLongitude[k] <
             navdata::CoastBreak;
             ++k) {
            const double lon = Turned(CoastPointLongitude(coast.CoastLongitude[k]));
            if (!points.empty() && std::fabs(lon - points.back().second) > 180)
                crosses = true;
            points.emplace_back(coast.CoastLatitude[k], static_cast<float>(lon));
        }
        if (crosses || points.empty())
            continue;
        navdata::CoastBlock& out = turned.CoastBlocks[static_cast<std::size_t>(++blocks)];
        out = block;
        out.firstPoint = next;
        out.minLongitude = 500;
        out.maxLongitude = -500;
        for (const auto& [lat, lon] : points) {
            turned.CoastLatitude[static_cast<std::size_t>(next)] = lat;
            turned.CoastLongitude[static_cast<std::size_t>(next)] = lon;
            out.minLongitude = std::min<double>(out.minLongitude, lon);
            out.maxLongitude = std::max<double>(out.maxLongitude, lon);
            ++next;
        }
        ++next;  // the break marker, already in place
    }
    turned.CoastBlockCount = static_cast<std::int16_t>(blocks);
    turned.CoastPointCount = next - 1;
    return turned;
}

struct World {
    navdata::AirportDatabase db = navdata::LoadAirportDatabase(kAppDir + "/airdata.tri");
    navdata::CoastlineData coast = navdata::LoadCoastlines(kAppDir + "/COAST2.int");
};

struct TurnedWorld {
    navdata::AirportDatabase db;
    std::vector<int> airportFrom, vorFrom, ndbFrom;
    navdata::CoastlineData coast;

    explicit TurnedWorld(const World& w) {
        airportFrom = TurnTable(w.db.Airports, w.db.AirportCount, db.Airports, db.AirportCount,
                                db.AirportLonIndex);
        vorFrom = TurnTable(w.db.Vors, w.db.VorCount, db.Vors, db.VorCount, db.VorLonIndex);
        ndbFrom = TurnTable(w.db.Ndbs, w.db.NdbCount, db.Ndbs, db.NdbCount, db.NdbLonIndex);
        coast = TurnCoast(w.coast);
    }
};

const World& TheWorld() {
    static const World world;
    return world;
}

const TurnedWorld& TheTurnedWorld() {
    static const TurnedWorld turned(TheWorld());
    return turned;
}

MapView View(double lat, double lon, double heading, double range) {
    return MakeMapView(lat, lon, heading, range, kMetresPerDegreeLatitude, MapScreen{});
}

// A frame's dots as (kind, original record number, x, y), sorted.
using DotKey = std::tuple<int, int, float, float>;
std::vector<DotKey> Dots(const navdata::AirportDatabase& db, const MapView& view,
                         const TurnedWorld* turned) {
    MapState state;
    CollectMapDots(state, db, view, MapScreen{}, {});
    std::vector<DotKey> dots;
    for (int i = 1; i <= state.MapDotCount; ++i) {
        const MapDot& d = state.MapDots[static_cast<std::size_t>(i)];
        int item = d.item;
        if (turned != nullptr) {
            const std::vector<int>& from = d.kind == kVorDot   ? turned->vorFrom
                                           : d.kind == kNdbDot ? turned->ndbFrom
                                                               : turned->airportFrom;
            item = from[static_cast<std::size_t>(item)];
        }
        dots.emplace_back(d.kind, item, d.x, d.y);
    }
    std::sort(dots.begin(), dots.end());
    return dots;
}

struct Segment {
    double x1, y1, x2, y2;
};

// The coastline's lines of a frame, from the pen's moves on a recording canvas.
std::vector<Segment> CoastSegments(const navdata::CoastlineData& coast, const MapView& v) {
    maptest::RecordingCanvas canvas;
    DrawCoastlines(canvas, coast, v.latmin, v.lonmin, v.latmax, v.lonmax,
                   static_cast<float>(v.heading), v.halflat, v.halflon, v.width, v.height,
                   MapScreen{}, {});
    std::vector<Segment> segments;
    double penX = 0, penY = 0;
    for (const maptest::CanvasCall& c : canvas.calls) {
        if (c.op == "LineTo")
            segments.push_back({penX, penY, c.args[0], c.args[1]});
        if (c.op == "MoveTo" || c.op == "LineTo") {
            penX = c.args[0];
            penY = c.args[1];
        }
    }
    return segments;
}

// Whether the segment's box meets the canvas less a margin.
bool Visible(const Segment& s, double margin, int size) {
    return std::max(s.x1, s.x2) >= margin && std::min(s.x1, s.x2) <= size - 1 - margin &&
           std::max(s.y1, s.y2) >= margin && std::min(s.y1, s.y2) <= size - 1 - margin;
}

// Every line of a that shows on the canvas has a line of b within a pixel
// (the two projections may round a half pixel apart). Returns how many it
// checked.
int ExpectCovered(const std::vector<Segment>& a, const std::vector<Segment>& b, int size,
                  const std::string& what) {
    int checked = 0;
    for (const Segment& s : a) {
        if (!Visible(s, 2, size))
            continue;
        ++checked;
        const bool found = std::any_of(b.begin(), b.end(), [&](const Segment& t) {
            return std::fabs(s.x1 - t.x1) <= 1 && std::fabs(s.y1 - t.y1) <= 1 &&
                   std::fabs(s.x2 - t.x2) <= 1 && std::fabs(s.y2 - t.y2) <= 1;
        });
        EXPECT_TRUE(found) << what << ": line (" << s.x1 << ", " << s.y1 << ") - (" << s.x2 << ", "
                           << s.y2 << ") has no counterpart";
        if (!found)
            return checked;
    }
    return checked;
}

TEST(Meridian, ViewsAcrossItShowWhatTheWorldTurnedByHalfATurnShows) {
    const World& world = TheWorld();
    const TurnedWorld& turned = TheTurnedWorld();
    ASSERT_GT(world.db.AirportCount, 1000);
    ASSERT_GT(world.coast.CoastBlockCount, 100);

    int dotsAcross = 0;  // dots of records on the far side of the meridian
    int linesShown = 0;
    // Fiji, the Chatham Islands, the Aleutians and Chukotka.
    for (double lat : {-16.69, -43.9, 51.9, 64.7}) {
        for (double lon : {179.9, -179.9}) {
            for (double range : {5.0, 50.0, 250.0}) {
                for (double heading : {0.0, 237.0}) {
                    const std::string what =
                        "view at " + std::to_string(lat) + ", " + std::to_string(lon) + " range " +
                        std::to_string(int(range)) + " heading " + std::to_string(int(heading));
                    const MapView v = View(lat, lon, heading, range);
                    // lon -+ 180 is exact here, so the two views have the same offsets.
                    const MapView t = View(lat, Turned(lon), heading, range);
                    ASSERT_EQ(v.halflon, t.halflon);

                    const std::vector<DotKey> dots = Dots(world.db, v, nullptr);
                    const std::vector<DotKey> turnedDots = Dots(turned.db, t, &turned);
                    ASSERT_EQ(dots.size(), turnedDots.size()) << what;
                    for (std::size_t i = 0; i < dots.size(); ++i) {
                        const auto& [kind, item, x, y] = dots[i];
                        const auto& [tkind, titem, tx, ty] = turnedDots[i];
                        ASSERT_EQ(std::tie(kind, item), std::tie(tkind, titem)) << what;
                        EXPECT_NEAR(x, tx, 1e-3) << what;
                        EXPECT_NEAR(y, ty, 1e-3) << what;
                        const double recordLon =
                            kind == kVorDot   ? world.db.Vors[std::size_t(item)].longitude
                            : kind == kNdbDot ? world.db.Ndbs[std::size_t(item)].longitude
                                              : world.db.Airports[std::size_t(item)].longitude;
                        dotsAcross += (recordLon < 0) != (lon < 0);
                    }

                    const std::vector<Segment> lines = CoastSegments(world.coast, v);
                    const std::vector<Segment> turnedLines = CoastSegments(turned.coast, t);
                    linesShown += ExpectCovered(lines, turnedLines, v.width, what);
                    ExpectCovered(turnedLines, lines, v.width, what + " (turned)");
                }
            }
        }
    }
    // The comparison is not empty: beacons and coasts beyond the meridian came into view.
    EXPECT_GT(dotsAcross, 20);
    EXPECT_GT(linesShown, 200);
}

// The flight to Nadi from east of the meridian: at 16.69 S 179.73 W heading
// west, Rabi (NFFR) at 179.98 E, about 19 nm ahead, has its dot ahead of the
// aircraft, beside Matei and Laucala Island on the aircraft's own side; its
// hover label measures across the meridian.
TEST(Meridian, AnAirportBeyondItLiesAheadOnTheWayWest) {
    const World& world = TheWorld();
    const MapView v = View(-16.69, -179.73, 270, 50);
    MapState state;
    CollectMapDots(state, world.db, v, MapScreen{}, {});
    const MapDot* rabi = nullptr;
    int ownSide = 0;
    for (int i = 1; i <= state.MapDotCount; ++i) {
        const MapDot& d = state.MapDots[static_cast<std::size_t>(i)];
        if (d.kind != kAirportWithFuel && d.kind != kAirportWithoutFuel)
            continue;
        const navdata::AirportRecord& a = world.db.Airports[static_cast<std::size_t>(d.item)];
        if (a.name.find("(NFFR)") != std::string::npos)
            rabi = &d;
        if (a.name.find("(NFNM)") != std::string::npos ||
            a.name.find("(NFNH)") != std::string::npos) {
            ++ownSide;
        }
    }
    EXPECT_EQ(ownSide, 2);
    ASSERT_NE(rabi, nullptr);
    // Heading west: the airport west-north-west, 19 nm away (about 32 pixels at
    // range 50), lies above the centre and a little right of it.
    EXPECT_LT(rabi->y, 83 - 20);
    EXPECT_GT(rabi->x, 83);

    const navdata::AirportRecord& a = world.db.Airports[static_cast<std::size_t>(rabi->item)];
    const ReadoutLines label = HoverReadout(world.db, *rabi, -16.69, -179.73, 150 * 128);
    const double nm =
        navdata::GreatCircleDistance(-16.69, 0.27, a.latitude, Turned(a.longitude)) / 1852;
    ASSERT_GT(nm, 10);
    ASSERT_LT(nm, 25);
    EXPECT_EQ(label.lines[2], DistanceText(nm));
    EXPECT_EQ(label.lines[1],
              BearingText(navdata::InitialBearing(-16.69, 0.27, a.latitude, Turned(a.longitude))));
    EXPECT_EQ(label.lines[3], EtaText(nm, 150 * 128));
}

}  // namespace
}  // namespace corvane::map
