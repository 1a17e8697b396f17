// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/map/DotLayer.h"
#include "navdata/LonIndexWalk.h"
#include "tests/map/MapTestSupport.h"

namespace corvane::map {
namespace {

using maptest::RecordingCanvas;

constexpr double kMetresPerDegreeLatitude = 111130.555555555;

struct Place {
    double lat;
    double lon;
};

// Records in increasing longitude with their index, as the database holds them.
template <typename Record>
void Fill(std::vector<Record>& table, std::int16_t& count, navdata::LonIndex& index,
          std::vector<Place> places) {
    std::stable_sort(places.begin(), places.end(),
                     [](const Place& a, const Place& b) { return a.lon < b.lon; });
    table.assign(places.size() + 2, Record{});
    std::vector<double> lons;
    for (std::size_t i = 0; i < places.size(); ++i) {
        table[i + 1].latitude = places[i].lat;
        table[i + 1].longitude = places[i].lon;
        lons.push_back(places[i].lon);
    }
    count = static_cast<std::int16_t>(places.size());
    index = navdata::BuildLonIndex(lons);
}

// n places spread evenly in longitude across +-spread around (lat, lon).
std::vector<Place> Spread(int n, double lat, double lon, double spread) {
    std::vector<Place> places;
    for (int i = 0; i < n; ++i) {
        places.push_back({lat, lon - spread + 2 * spread * (i + 0.5) / n});
    }
    return places;
}

MapView View(double lat, double lon, double heading, double range) {
    return MakeMapView(lat, lon, heading, range, kMetresPerDegreeLatitude, MapScreen{});
}

TEST(DotCollection, TheBoxTestIsInclusive) {
    // At (0, 0) the box edges are exactly +-halflat and +-halflon.
    const MapView v = View(0, 0, 0, 50);
    const double north = v.halflat;
    const double east = v.halflon;
    navdata::AirportDatabase db;
    Fill(db.Airports, db.AirportCount, db.AirportLonIndex,
         {{north, 0.001},
          {std::nextafter(north, 1.0), 0.002},
          {-north, 0.003},
          {0, east},
          {0, std::nextafter(east, 1.0)},
          {0, -east}});
    MapState state;
    getairportdots(state, db, v, MapScreen{}, {});
    std::vector<std::pair<double, double>> kept;
    for (int i = 1; i <= state.MapDotCount; ++i) {
        const auto& a = db.Airports[state.MapDots[i].item];
        kept.emplace_back(a.latitude, a.longitude);
    }
    const std::vector<std::pair<double, double>> expected = {
        {0, -east}, {north, 0.001}, {-north, 0.003}, {0, east}};
    EXPECT_EQ(kept, expected);
}

TEST(DotCollection, KindsComeFromTheTableAndTheFuelFlag) {
    const MapView v = View(10, 10, 0, 50);
    navdata::AirportDatabase db;
    Fill(db.Airports, db.AirportCount, db.AirportLonIndex, {{10, 10.1}, {10, 10.2}, {10, 10.3}});
    db.Airports[1].hasFuel = -1;
    db.Airports[2].hasFuel = 1;  // only -1 counts as true
    Fill(db.Vors, db.VorCount, db.VorLonIndex, {{10.1, 10}});
    Fill(db.Ndbs, db.NdbCount, db.NdbLonIndex, {{9.9, 10}});
    MapState state;
    CollectMapDots(state, db, v, MapScreen{}, {});
    ASSERT_EQ(state.MapDotCount, 5);
    const std::int16_t kinds[] = {kNdbDot, kVorDot, kAirportWithFuel, kAirportWithoutFuel,
                                  kAirportWithoutFuel};
    const std::int16_t items[] = {1, 1, 1, 2, 3};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(state.MapDots[i + 1].kind, kinds[i]) << i;
        EXPECT_EQ(state.MapDots[i + 1].item, items[i]) << i;
    }
}

TEST(DotCollection, LayersSwitchedOffCollectNothing) {
    const MapView v = View(10, 10, 0, 50);
    navdata::AirportDatabase db;
    Fill(db.Airports, db.AirportCount, db.AirportLonIndex, {{10, 10.1}});
    Fill(db.Vors, db.VorCount, db.VorLonIndex, {{10.1, 10}});
    Fill(db.Ndbs, db.NdbCount, db.NdbLonIndex, {{9.9, 10}});
    MapState state;
    state.ShowAirportDots = state.ShowVORDots = state.ShowNDBDots = false;
    state.MapDotCount = 12;  // a previous frame's
    CollectMapDots(state, db, v, MapScreen{}, {});
    EXPECT_EQ(state.MapDotCount, 0);
    state.ShowVORDots = true;
    CollectMapDots(state, db, v, MapScreen{}, {});
    ASSERT_EQ(state.MapDotCount, 1);
    EXPECT_EQ(state.MapDots[1].kind, kVorDot);
}

TEST(DotCollection, TheListStopsAt3000InCollectionOrder) {
    const MapView v = View(40, -74, 0, 50);
    navdata::AirportDatabase db;
    Fill(db.Ndbs, db.NdbCount, db.NdbLonIndex, Spread(2000, 40.1, -74, 0.5));
    Fill(db.Vors, db.VorCount, db.VorLonIndex, Spread(2000, 40.2, -74, 0.5));
    Fill(db.Airports, db.AirportCount, db.AirportLonIndex, Spread(500, 40.3, -74, 0.5));
    MapState state;
    CollectMapDots(state, db, v, MapScreen{}, {});
    ASSERT_EQ(state.MapDotCount, kMaxMapDots);
    for (int i = 1; i <= 2000; ++i) {
        ASSERT_EQ(state.MapDots[i].kind, kNdbDot) << i;
        ASSERT_EQ(state.MapDots[i].item, i) << i;
    }
    for (int i = 2001; i <= 3000; ++i) {
        ASSERT_EQ(state.MapDots[i].kind, kVorDot) << i;
        ASSERT_EQ(state.MapDots[i].item, i - 2000) << i;  // the westernmost VORs
    }
}

TEST(DotCollection, OnlyTheBandsInViewAreVisited) {
    // Records out in the table's other bands never reach the box test: a
    // record whose index entry is outside the walked bands is not collected
    // even when it lies in the box (a tampered index shows the walk).
    const MapView v = View(0, 0, 0, 5);
    navdata::AirportDatabase db;
    Fill(db.Airports, db.AirportCount, db.AirportLonIndex,
         {{0, -100}, {0, -0.01}, {0, 0.01}, {0, 100}});
    MapState state;
    getairportdots(state, db, v, MapScreen{}, {});
    ASSERT_EQ(state.MapDotCount, 2);
    EXPECT_EQ(state.MapDots[1].item, 2);
    EXPECT_EQ(state.MapDots[2].item, 3);

    db.AirportLonIndex.fill(4);  // every band points at the far eastern record
    state.MapDotCount = 0;
    getairportdots(state, db, v, MapScreen{}, {});
    EXPECT_EQ(state.MapDotCount, 0);
}

TEST(DotCollection, EventsRunAtEveryKeptRecordNumberDivisibleBy200) {
    const MapView v = View(0, 0, 0, 250);
    navdata::AirportDatabase db;
    std::vector<Place> places = Spread(1000, 0, 0, 1);
    places[399].lat = 20;  // record 400 is out of the box: no events there
    Fill(db.Airports, db.AirportCount, db.AirportLonIndex, places);
    MapState state;
    std::vector<int> countsAtEvents;
    getairportdots(state, db, v, MapScreen{}, [&] { countsAtEvents.push_back(state.MapDotCount); });
    EXPECT_EQ(state.MapDotCount, 999);
    // Events run before the record is added: at records 200, 600, 800, 1000.
    EXPECT_EQ(countsAtEvents, (std::vector<int>{199, 598, 798, 998}));
}

TEST(DotCollection, HeadingNinetyPutsAnEasternVorAboveTheCentre) {
    const MapView v = View(0, 0, 90, 50);
    navdata::AirportDatabase db;
    Fill(db.Vors, db.VorCount, db.VorLonIndex, {{0, 0.5}});
    MapState state;
    CollectMapDots(state, db, v, MapScreen{}, {});
    ASSERT_EQ(state.MapDotCount, 1);
    const float centre = 167 / 2.0 - 2.0 / 15;
    EXPECT_NEAR(state.MapDots[1].x, centre, 0.05);
    EXPECT_LT(state.MapDots[1].y, centre - 40);
}

TEST(DotDrawing, EachKindHasItsBrushAndOtherKindsDrawNothing) {
    MapState state;
    state.MapDotCount = 5;
    state.MapDots[1] = {10.5f, 20.5f, kAirportWithoutFuel, 1};
    state.MapDots[2] = {11.5f, 21.49f, kAirportWithFuel, 2};
    state.MapDots[3] = {-1.5f, 0.0f, kVorDot, 3};
    state.MapDots[4] = {100.0f, 100.0f, kNdbDot, 4};
    state.MapDots[5] = {50.0f, 50.0f, 7, 5};
    RecordingCanvas canvas;
    DrawMapDots(canvas, state, false, 0, {});
    const auto fills = canvas.Only({"FillRect"});
    ASSERT_EQ(fills.size(), 4u);
    // Corners rounded half to even; right and bottom from x + 3, y + 3.
    EXPECT_EQ(fills[0].args, (std::vector<double>{10, 20, 14, 24}));
    EXPECT_EQ(fills[0].colour, (forms::Rgb{255, 128, 0}));
    EXPECT_EQ(fills[1].args, (std::vector<double>{12, 21, 14, 24}));
    EXPECT_EQ(fills[1].colour, (forms::Rgb{255, 255, 128}));
    EXPECT_EQ(fills[2].args, (std::vector<double>{-2, 0, 2, 3}));
    EXPECT_EQ(fills[2].colour, (forms::Rgb{60, 60, 255}));
    EXPECT_EQ(fills[3].args, (std::vector<double>{100, 100, 103, 103}));
    EXPECT_EQ(fills[3].colour, (forms::Rgb{128, 255, 255}));
    EXPECT_FALSE(DotColour(-1).has_value());
}

TEST(DotDrawing, TheDestinationBlinksOnlyWhileAFlyThereRuns) {
    MapState state;
    state.MapDotCount = 3;
    state.MapDots[1] = {10, 10, kVorDot, 7};           // same number, not an airport
    state.MapDots[2] = {20, 20, kAirportWithFuel, 7};  // the destination
    state.MapDots[3] = {30, 30, kAirportWithoutFuel, 8};
    auto destinationWidths = [&](bool active, int frames) {
        std::vector<double> widths;
        for (int f = 0; f < frames; ++f) {
            RecordingCanvas canvas;
            DrawMapDots(canvas, state, active, 7, {});
            const auto fills = canvas.Only({"FillRect"});
            EXPECT_EQ(fills[0].args[2] - fills[0].args[0], 3);
            EXPECT_EQ(fills[2].args[2] - fills[2].args[0], 3);
            widths.push_back(fills[1].args[2] - fills[1].args[0]);
        }
        return widths;
    };
    EXPECT_EQ(destinationWidths(true, 4), (std::vector<double>{3, 5, 3, 5}));
    EXPECT_TRUE(state.DestinationBlink == false);
    EXPECT_EQ(destinationWidths(false, 2), (std::vector<double>{3, 3}));
    EXPECT_EQ(state.MapDotSize, 3);
}

TEST(DotDrawing, EventsRunAfterEveryHundredthDot) {
    MapState state;
    state.MapDotCount = 250;
    for (int i = 1; i <= 250; ++i)
        state.MapDots[i] = {1, 1, kVorDot, 1};
    RecordingCanvas canvas;
    std::vector<std::size_t> fillsAtEvents;
    DrawMapDots(canvas, state, false, 0, [&] { fillsAtEvents.push_back(canvas.calls.size()); });
    EXPECT_EQ(fillsAtEvents, (std::vector<std::size_t>{100, 200}));
}

TEST(DotDrawing, ACanvasThatPaintsNothingGetsNoSquaresButTheSameBlinkAndEvents) {
    class QuietCanvas final : public RecordingCanvas {
      public:
        bool PaintsPixels() const override { return false; }
    };
    MapState painted;
    painted.MapDotCount = 250;
    for (int i = 1; i <= 250; ++i)
        painted.MapDots[i] = {1, 1, i % 2 ? kVorDot : kAirportWithFuel, 7};
    MapState quiet = painted;
    for (int frame = 0; frame < 3; ++frame) {
        RecordingCanvas paintedCanvas;
        QuietCanvas quietCanvas;
        int paintedEvents = 0;
        int quietEvents = 0;
        DrawMapDots(paintedCanvas, painted, true, 7, [&] { ++paintedEvents; });
        DrawMapDots(quietCanvas, quiet, true, 7, [&] { ++quietEvents; });
        EXPECT_EQ(paintedCanvas.Only({"FillRect"}).size(), 250u);
        EXPECT_TRUE(quietCanvas.calls.empty());
        EXPECT_EQ(paintedEvents, 2);
        EXPECT_EQ(quietEvents, paintedEvents);
        EXPECT_EQ(quiet.DestinationBlink, painted.DestinationBlink);
        EXPECT_EQ(quiet.MapDotSize, painted.MapDotSize);
    }
}

}  // namespace
}  // namespace corvane::map
