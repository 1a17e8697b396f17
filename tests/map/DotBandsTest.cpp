// SPDX-License-Identifier: MIT
//
// The dot layer looks only at the records in the view's latitude bands. Over the world's airports,
// VORs and NDBs, seen from random places (near airports, about the 180 degree meridian, near the
// poles) at every range, it finds the same dots in the same order, placed alike, and lets events
// run at the same dots as the walk over every record of the longitude strip. Each view is followed
// by views drifted a little from it, as a flight's next frames are, which look at the records kept
// from the frame before or, past a band's edge, at new ones.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/map/DotLayer.h"
#include "navdata/AirportDatabaseFile.h"
#include "navdata/Geodesy.h"
#include "navdata/LonIndexWalk.h"

namespace corvane::map {
namespace {

const std::string kAppDir = CORVANE_TEST_APP_DIR;

// One table's dots by the walk over every record of the strip.
template <typename Record>
bool EveryRecord(MapState& state, const std::vector<Record>& table, int count,
                 const navdata::LonIndex& index, const MapView& view, std::vector<int>& events) {
    const int available = static_cast<int>(table.size()) - 2;
    const navdata::MeridianWalk walk = navdata::LonIndexWalkAcrossMeridian(
        index, std::min(count, available), view.lonmin, view.lonmax);
    for (int part = 0; part < walk.count; ++part) {
        for (int a = walk.ranges[part].first; a <= walk.ranges[part].last; ++a) {
            const Record& record = table[static_cast<std::size_t>(a)];
            if (!(std::fabs(record.latitude - view.lat) <= view.halflat))
                continue;
            const double longitude = navdata::NearestLongitude(record.longitude, view.lon);
            if (!(std::fabs(longitude - view.lon) <= view.halflon))
                continue;
            if (a % 200 == 0)
                events.push_back(state.MapDotCount);
            if (state.MapDotCount >= kMaxMapDots)
                return false;
            ++state.MapDotCount;
            state.MapDots[static_cast<std::size_t>(state.MapDotCount)].item =
                static_cast<std::int16_t>(a);
        }
    }
    return true;
}

TEST(DotBands, TheDotsAreTheSameFromEverywhere) {
    const navdata::AirportDatabase db = navdata::LoadAirportDatabase(kAppDir + "/airdata.tri");
    ASSERT_GT(db.AirportCount, 1000);
    std::mt19937_64 random(2027);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const double ranges[] = {2, 5, 10, 25, 50, 100, 250, 1000};
    MapState walked;  // keeps its bands from view to view, as a flight's map does
    long dotsSeen = 0;
    for (int i = 0; i < 1500; ++i) {
        double lat = 0;
        double lon = 0;
        switch (i % 4) {
            case 0:
            case 1: {  // near an airport
                const auto& a = db.Airports[1 + random() % db.AirportCount];
                lat = std::clamp(a.latitude + uniform(-1, 1), -89.9, 89.9);
                lon = a.longitude + uniform(-1, 1);
                break;
            }
            case 2:  // about the 180 degree meridian
                lat = uniform(-80, 80);
                lon = (random() % 2 ? 180.0 : -180.0) + uniform(-3, 3);
                break;
            default:  // near the poles
                lat = (random() % 2 ? 1 : -1) * uniform(60, 89.9);
                lon = uniform(-180, 180);
                break;
        }
        const double rangeNm = ranges[random() % std::size(ranges)];
        const double heading = uniform(0, 360);
        for (int drift = 0; drift < 3; ++drift) {
            if (drift > 0) {
                lat = std::clamp(lat + uniform(-0.15, 0.15), -89.9, 89.9);
                lon += uniform(-0.15, 0.15);
            }
            const MapScreen screen{3000.0, 3000.0, 15, 15};
            const MapView view = MakeMapView(lat, lon, heading, rangeNm, 111130.555555555, screen);
            MapState expected;
            std::vector<int> expectedEvents;
            if (EveryRecord(expected, db.Ndbs, db.NdbCount, db.NdbLonIndex, view, expectedEvents) &&
                EveryRecord(expected, db.Vors, db.VorCount, db.VorLonIndex, view, expectedEvents))
                EveryRecord(expected, db.Airports, db.AirportCount, db.AirportLonIndex, view,
                            expectedEvents);
            std::vector<int> actualEvents;
            CollectMapDots(walked, db, view, screen,
                           [&] { actualEvents.push_back(walked.MapDotCount); });
            const std::string where = "view at " + std::to_string(lat) + ", " +
                                      std::to_string(lon) + " range " + std::to_string(rangeNm);
            ASSERT_EQ(walked.MapDotCount, expected.MapDotCount) << where;
            for (int d = 1; d <= walked.MapDotCount; ++d)
                ASSERT_EQ(walked.MapDots[d].item, expected.MapDots[d].item)
                    << where << " dot " << d;
            ASSERT_EQ(actualEvents, expectedEvents) << where;
            dotsSeen += walked.MapDotCount;
        }
    }
    EXPECT_GT(dotsSeen, 10000);
}

}  // namespace
}  // namespace corvane::map
