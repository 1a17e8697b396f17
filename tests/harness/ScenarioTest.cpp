// SPDX-License-Identifier: MIT
//
// Scenario files: what they must hold, the errors that name the file and the
// field, choosing the program's list lines, and placing the aircraft.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "navdata/Geodesy.h"
#include "sim/model/Simulator.h"
#include "tests/fltsim98/TestDatabase.h"
#include "tools/harness/Destination.h"
#include "tools/harness/Scenario.h"

namespace corvane::harness {
namespace {

const char* const kMinimal = R"({
  "destination": {"search": "plateau", "runway": "35L"},
  "start": {"type": "air", "bearingDeg": 180, "distanceNm": 30, "altitudeFt": 9000,
            "headingDeg": 0}
})";

TEST(ScenarioFile, MinimalScenarioTakesItsNameFromTheFileAndDefaultsTheRest) {
    const Scenario s = ParseScenario(kMinimal, "/x/plateau-35l.json");
    EXPECT_EQ(s.name, "plateau-35l");
    EXPECT_EQ(s.searchText, "plateau");
    EXPECT_FALSE(s.airportLine.index);
    EXPECT_TRUE(s.airportLine.text.empty());
    EXPECT_EQ(s.runwayLine.text, "35L");
    EXPECT_EQ(s.start.kind, StartState::Kind::Air);
    EXPECT_FALSE(s.start.latitudeDeg);
    EXPECT_DOUBLE_EQ(s.start.iasKt, 200.0);
    EXPECT_TRUE(s.cruiseEntry.empty());
    EXPECT_TRUE(s.crashDetection);
    EXPECT_DOUBLE_EQ(s.windSpeedKt, 0.0);
    EXPECT_DOUBLE_EQ(s.simTimeLimitS, 5400.0);
}

TEST(ScenarioFile, EveryFieldIsRead) {
    const Scenario s = ParseScenario(R"({
      "name": "full", "description": "all of it", "tags": ["ci", "wind"],
      "destination": {"search": "KTPX", "line": 0, "runway": 3, "cruise": "mnuAbs6000"},
      "start": {"type": "final", "airport": "KTPX", "runway": "08", "distanceNm": 6,
                "glidePathDeg": 2.5, "iasKt": 125, "flaps": 0.3, "gearDown": false},
      "wind": {"fromDeg": 270, "speedKt": 12, "gradient": true, "turbulence": "light",
               "seed": 9007199254740992},
      "crashDetection": false,
      "limits": {"simTimeS": 1200, "handBackWaitS": 30}
    })",
                                     "f.json");
    EXPECT_EQ(s.name, "full");
    EXPECT_EQ(s.tags, (std::vector<std::string>{"ci", "wind"}));
    EXPECT_EQ(s.airportLine.index, 0);
    EXPECT_EQ(s.runwayLine.index, 3);
    EXPECT_EQ(s.cruiseEntry, "mnuAbs6000");
    EXPECT_EQ(s.start.kind, StartState::Kind::Final);
    EXPECT_EQ(s.start.runway, "08");
    EXPECT_DOUBLE_EQ(s.start.glidePathDeg, 2.5);
    EXPECT_FALSE(s.start.gearDown);
    EXPECT_DOUBLE_EQ(s.windFromDeg, 270.0);
    EXPECT_TRUE(s.windGradient);
    EXPECT_EQ(s.turbulence, sim::TurbulenceLevel::Light);
    EXPECT_EQ(s.turbulenceSeed, 9007199254740992u);
    EXPECT_FALSE(s.crashDetection);
    EXPECT_DOUBLE_EQ(s.simTimeLimitS, 1200.0);
    EXPECT_DOUBLE_EQ(s.handBackWaitS, 30.0);
}

// A bad scenario is refused with a message naming the file and the field.
struct BadScenario {
    const char* name;
    const char* json;
    const char* expected;  // part of the message
};

// Test names in the listings rather than bytes.
void PrintTo(const BadScenario& c, std::ostream* os) {
    *os << c.name;
}

class BadScenarioTest : public ::testing::TestWithParam<BadScenario> {};

TEST_P(BadScenarioTest, IsRefusedNamingTheFileAndField) {
    try {
        ParseScenario(GetParam().json, "bad.json");
        FAIL() << "accepted";
    } catch (const ScenarioError& e) {
        const std::string what = e.what();
        EXPECT_EQ(what.rfind("bad.json: ", 0), 0u) << what;
        EXPECT_NE(what.find(GetParam().expected), std::string::npos) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, BadScenarioTest,
    ::testing::Values(
        BadScenario{"NotJson", "{", "not valid JSON"},
        BadScenario{"NumberTooLargeForADouble", R"({"name": "x", "cruiseFt": 1e999})",
                    "not valid JSON"},  // found by the scenario fuzz target
        BadScenario{"NotAnObject", "[1]", "must hold a JSON object"},
        BadScenario{"NoDestination",
                    R"({"start": {"type": "runway", "airport": "KTPX", "runway": "08"}})",
                    "destination"},
        BadScenario{"NoRunway", R"({"destination": {"search": "x"},
                     "start": {"type": "runway"}})",
                    "destination.runway is missing"},
        BadScenario{"MisspeltKey", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "runway"}, "wnd": {}})",
                    "wnd is not a scenario field"},
        BadScenario{"MisspeltNestedKey", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "air", "bearingDeg": 1, "distanceNm": 10,
                               "altitudeFt": 5000, "headingDeg": 0, "speedKt": 200}})",
                    "start.speedKt is not a scenario field"},
        BadScenario{"UnknownStart", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "orbit"}})",
                    "start.type must be"},
        BadScenario{"HalfAPosition", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "air", "latitude": 40, "altitudeFt": 5000,
                               "headingDeg": 0}})",
                    "both latitude and longitude"},
        BadScenario{"AltitudeOutOfRange", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "air", "bearingDeg": 1, "distanceNm": 10,
                               "altitudeFt": 90000, "headingDeg": 0}})",
                    "start.altitudeFt must lie between"},
        BadScenario{"TextForANumber", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "final", "distanceNm": "5"}})",
                    "start.distanceNm must be a number"},
        BadScenario{"NegativeLine", R"({"destination": {"search": "x", "runway": -1},
                     "start": {"type": "runway"}})",
                    "destination.runway must be a line number"},
        BadScenario{"WindWithoutSpeed", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "runway"}, "wind": {"fromDeg": 90}})",
                    "wind.speedKt is missing"},
        BadScenario{"UnknownTurbulence", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "runway"},
                     "wind": {"fromDeg": 90, "speedKt": 5, "turbulence": "severe"}})",
                    "wind.turbulence must be"},
        BadScenario{"FractionalSeed", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "runway"},
                     "wind": {"fromDeg": 90, "speedKt": 5, "seed": 1.5}})",
                    "wind.seed must be a whole number"},
        BadScenario{"MisspeltWindKey", R"({"destination": {"search": "x", "runway": "8"},
                     "start": {"type": "runway"},
                     "wind": {"fromDeg": 90, "speedKt": 5, "gradiant": true}})",
                    "wind.gradiant is not a scenario field"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScenarioFile, DesignatorsCompareWithoutBlanksCaseOrLeadingZero) {
    EXPECT_EQ(NormalisedDesignator(" 9L"), "9L");
    EXPECT_EQ(NormalisedDesignator("09l "), "9L");
    EXPECT_EQ(NormalisedDesignator(" 27R\t"), "27R");
    EXPECT_EQ(NormalisedDesignator("10"), "10");  // only leading zeros go
}

TEST(ListChoice, AirportLineByTextMustFitExactlyOneLine) {
    const std::vector<std::string> lines = {"Denver Intl (KDEN) {N 39  W 104}",
                                            "Denver Jeffco (KBJC) {N 39  W 105}"};
    std::string why;
    EXPECT_EQ(ChooseAirportLine(lines, {std::nullopt, "(kbjc)"}, &why), 1);
    EXPECT_EQ(ChooseAirportLine(lines, {std::nullopt, "denver"}, &why), -1);
    EXPECT_NE(why.find("fits 2 airport lines"), std::string::npos) << why;
    EXPECT_EQ(ChooseAirportLine(lines, {std::nullopt, "(KXYZ)"}, &why), -1);
    EXPECT_NE(why.find("no airport line fits"), std::string::npos) << why;
    EXPECT_EQ(ChooseAirportLine(lines, {1, ""}, &why), 1);
    EXPECT_EQ(ChooseAirportLine(lines, {2, ""}, &why), -1);
    EXPECT_NE(why.find("has no airport line 2"), std::string::npos) << why;
}

TEST(ListChoice, RunwayLineByDesignatorIgnoresTheLengthAfterTheTab) {
    const std::vector<std::string> lines = {" 9L\t 12800 ft", " 27R\t 12800 ft", " 9R\t 12009 ft",
                                            " 27L\t 12009 ft", " 27\t 9000 ft"};
    std::string why;
    EXPECT_EQ(ChooseRunwayLine(lines, {std::nullopt, "27L"}, &why), 3);
    EXPECT_EQ(ChooseRunwayLine(lines, {std::nullopt, "09R"}, &why), 2);
    // "27" is its own designator, not a prefix of 27L and 27R.
    EXPECT_EQ(ChooseRunwayLine(lines, {std::nullopt, " 27"}, &why), 4);
    EXPECT_EQ(ChooseRunwayLine(lines, {std::nullopt, "12800"}, &why), -1);
}

class DestinationTest : public ::testing::Test {
  protected:
    navdata::AirportDatabase db = sim::test::TestDatabase();
};

TEST_F(DestinationTest, ResolvesTheAirportAndTheItemDataOfBothDirections) {
    Scenario s = ParseScenario(kMinimal, "p.json");
    Destination d = ResolveDestination(db, s);
    EXPECT_EQ(d.airport, 1);
    EXPECT_EQ(d.airportLine, "Test Plateau (KTPX) {N 39  W 104}");
    EXPECT_EQ(d.runwayChoice, -1) << "35L is end B of the first runway";
    EXPECT_EQ(d.runwayLine, " 35L\t 10900 ft");

    s.runwayLine = {std::nullopt, "8"};
    EXPECT_EQ(ResolveDestination(db, s).runwayChoice, 2);
    s.runwayLine = {3, ""};  // the fourth line: 26
    d = ResolveDestination(db, s);
    EXPECT_EQ(d.runwayChoice, -2);
    EXPECT_EQ(d.runwayLine, " 26\t 8400 ft");
}

TEST_F(DestinationTest, ExplainsASearchOrRunwayThatDoesNotFit) {
    Scenario s = ParseScenario(kMinimal, "p.json");
    s.searchText = "nowhere";
    EXPECT_THROW(ResolveDestination(db, s), ScenarioError);
    s.searchText = "e";  // several airports and no line chosen
    try {
        ResolveDestination(db, s);
        FAIL();
    } catch (const ScenarioError& e) {
        EXPECT_NE(std::string(e.what()).find("destination.line"), std::string::npos) << e.what();
    }
    s.searchText = "plateau";
    s.runwayLine = {std::nullopt, "36"};
    EXPECT_THROW(ResolveDestination(db, s), ScenarioError);
}

TEST(PointAt, DistanceAndBearingComeBackThroughTheProgramsGeodesy) {
    for (const double bearing : {0.0, 45.0, 135.0, 225.0, 315.0}) {
        double lat = 0;
        double lon = 0;
        PointAt(39.8, -104.7, bearing, 60.0 * 1852.0, &lat, &lon);
        EXPECT_NEAR(navdata::GreatCircleDistance(39.8, -104.7, lat, lon), 60.0 * 1852.0, 1.0);
        EXPECT_NEAR(navdata::InitialBearing(39.8, -104.7, lat, lon), bearing, 0.01) << bearing;
    }
    double lat = 0;
    double lon = 0;
    PointAt(10.0, 179.9, 90.0, 30000.0, &lat, &lon);
    EXPECT_LT(lon, -179.0) << "across the date line the longitude wraps";
}

TEST_F(DestinationTest, PlacesTheAircraftAsEachKindOfStartSays) {
    sim::Simulator sim;
    Scenario s = ParseScenario(kMinimal, "p.json");
    const Destination d = ResolveDestination(db, s);

    PlaceAircraft(sim, db, s, d);
    const navdata::AirportRecord& plateau = db.Airports[1];
    EXPECT_NEAR(navdata::GreatCircleDistance(plateau.latitude, plateau.longitude,
                                             sim.State().latitudeDeg, sim.State().longitudeDeg),
                30 * 1852.0, 2.0);
    EXPECT_LT(sim.State().latitudeDeg, plateau.latitude) << "bearing 180: south of the airport";
    EXPECT_NEAR(sim.State().altitudeM * 3.28084, 9000, 1);
    EXPECT_FALSE(sim.State().onGround);

    s.start = {};
    s.start.kind = StartState::Kind::Runway;
    s.start.airport = "EGTS";
    s.start.runway = "27";
    PlaceAircraft(sim, db, s, d);
    EXPECT_TRUE(sim.State().onGround);
    EXPECT_NEAR(sim.State().longitudeDeg, -0.99, 1e-6) << "end B of Seaside's 09/27";

    s.start = {};
    s.start.kind = StartState::Kind::Final;
    s.start.distanceNm = 5;
    PlaceAircraft(sim, db, s, d);  // the destination's 35L: south of its threshold
    EXPECT_NEAR(sim.State().latitudeDeg, 39.80 - 5 * 1852.0 / 111130.56, 1e-3);
    EXPECT_NEAR(sim.State().headingTrueDeg, 0.0, 0.5);

    s.start.airport = "KNONE";
    s.start.runway = "9";
    EXPECT_THROW(PlaceAircraft(sim, db, s, d), ScenarioError);
}

}  // namespace
}  // namespace corvane::harness
