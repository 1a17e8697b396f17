// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "app/map/MapReadouts.h"

namespace corvane::map {
namespace {

TEST(MapReadouts, PositionText) {
    struct Row {
        const char* name;
        double lat;
        double lon;
        const char* text;
    };
    const Row rows[] = {
        {"north-west", 51.5, -0.25, "N 51* 30'  W 0* 15'"},
        {"equator and meridian read north and east", 0, 0, "N 0* 0'  E 0* 0'"},
        {"minutes are cut, not rounded", -33.9, 151.2, "S 33* 53.99'  E 151* 11.99'"},
        {"two decimals of minutes", 10.123456, 20.5, "N 10* 7.4'  E 20* 30'"},
        {"longitude beyond 360 is taken back", 0.5, 361.5, "N 0* 30'  E 1* 30'"},
        {"exactly 360 reads 0", 0.5, 360, "N 0* 30'  E 0* 0'"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MapPositionText(r.lat, r.lon), r.text) << r.name;
}

TEST(MapReadouts, AircraftLines) {
    EXPECT_EQ(HeadingReadout(123.45), "Heading  123.4");
    EXPECT_EQ(HeadingReadout(359.99), "Heading  359.9");
    EXPECT_EQ(HeadingReadout(0), "Heading  0");
    EXPECT_EQ(HeightReadout(381, 0, 500), "1250 ft  +8.3 ft/sec");
    EXPECT_EQ(HeightReadout(380.99, 0, 500), "1249 ft  +8.3 ft/sec");  // cut, not rounded
    EXPECT_EQ(HeightReadout(1000, 1000, -100), "0 ft  -1.7 ft/sec");
    EXPECT_EQ(HeightReadout(100, 50, 0), "164 ft  0 ft/sec");
    EXPECT_EQ(HeightReadout(98, 100, 5), "-7 ft  +0 ft/sec");  // below ground, climbing slowly
    EXPECT_EQ(SpeedReadout(120), "120 Kts");
    EXPECT_EQ(SpeedReadout(15359 / 128.0), "119 Kts");  // the simulator's 1/128 knot below
    EXPECT_EQ(SpeedReadout(0), "0 Kts");
}

TEST(MapReadouts, HoverLines) {
    EXPECT_EQ(BearingText(123.9), "Bearing 123");
    EXPECT_EQ(BearingText(0.5), "Bearing 0");
    EXPECT_EQ(DistanceText(12.34), "12.3 miles");
    EXPECT_EQ(DistanceText(0.56), ".5 miles");
    EXPECT_EQ(DistanceText(0.04), "0 miles");
    struct Row {
        double nm;
        double tas;  // knots
        const char* text;
    };
    const Row rows[] = {
        {50, 120, "ETA  25 mins"},
        {170, 120, "ETA 1 hr  25 m"},
        {250, 2, "ETA 125 hr  0 m"},    // 2 knots is fast enough
        {10, 255 / 128.0, "ETA long"},  // below 2 knots by the simulator's 1/128 knot
        {0, 0, "ETA long"},
        {0, 120, "ETA  0 mins"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(EtaText(r.nm, r.tas), r.text) << r.nm << " " << r.tas;
}

TEST(MapReadouts, HoverLabelNamesTheRecordAndMeasuresFromTheAircraft) {
    navdata::AirportDatabase db;
    db.Airports.resize(3);
    db.Airports[1].name = "Heathrow (EGLL)";
    db.Airports[1].latitude = 51.5;
    db.Airports[1].longitude = 0;
    db.Vors.resize(3);
    db.Vors[1].label1 = "BIG";
    db.Vors[1].label2 = "Biggin";
    db.Vors[1].latitude = 51.5;
    db.Vors[1].longitude = 0;
    db.Ndbs.resize(3);
    db.Ndbs[1].label1 = "EPM";
    db.Ndbs[1].label2 = "Epsom";
    db.Ndbs[1].latitude = 51.5;
    db.Ndbs[1].longitude = 0;
    // Half a degree due north: 30.0 miles, bearing 0, 15 minutes at 120 knots.
    const struct {
        std::int16_t kind;
        const char* name;
    } rows[] = {{kAirportWithFuel, "Heathrow (EGLL)"},
                {kAirportWithoutFuel, "Heathrow (EGLL)"},
                {kVorDot, "VOR - BIG - Biggin"},
                {kNdbDot, "NDB - EPM - Epsom"}};
    for (const auto& r : rows) {
        const ReadoutLines lines = HoverReadout(db, MapDot{0, 0, r.kind, 1}, 51.0, 0, 120);
        EXPECT_TRUE(lines.shown);
        EXPECT_EQ(lines.lines[0], r.name);
        EXPECT_EQ(lines.lines[1], "Bearing 0");
        EXPECT_EQ(lines.lines[2], "30 miles");
        EXPECT_EQ(lines.lines[3], "ETA  15 mins");
    }
    // A beacon due east: bearing 90 (short hop, flat earth).
    EXPECT_EQ(HoverReadout(db, MapDot{0, 0, kVorDot, 1}, 51.5, -0.05, 0).lines[1], "Bearing 90");
    // A record number beyond the table names only the kind.
    EXPECT_EQ(HoverReadout(db, MapDot{0, 0, kNdbDot, 9}, 51.5, 0, 0).lines[0], "NDB - ");
}

TEST(MapReadouts, AircraftReadoutAndFrameText) {
    flightstate::Readings s;
    s.altitudeM = 500;
    s.groundAltitudeM = 119;
    s.verticalSpeedFpm = -100;
    s.indicatedAirspeedKnots = (140 * 128 + 5) / 128.0;
    const ReadoutLines lines = AircraftReadout("N 51* 30'  W 0* 15'", 123.45, s);
    EXPECT_TRUE(lines.shown);
    EXPECT_EQ(lines.lines[0], "N 51* 30'  W 0* 15'");
    EXPECT_EQ(lines.lines[1], "Heading  123.4");
    EXPECT_EQ(lines.lines[2], "1250 ft  -1.7 ft/sec");  // 381 m
    EXPECT_EQ(lines.lines[3], "140 Kts");
    EXPECT_EQ(FrameText(0.0123, 57), " .01\t 57");
    EXPECT_EQ(FrameText(1.999, 3000), " 1.99\t 3000");
    EXPECT_EQ(FrameText(0, 0), " 0\t 0");
}

}  // namespace
}  // namespace corvane::map
