// SPDX-License-Identifier: MIT
//
// Random flights over the world database the build makes: the draw is
// deterministic and within its ranges, a flight written as a scenario file
// reads back to the same scenario and flies the same flight, the success
// rate's lower bound has the Wilson interval's values, and a flight process
// that dies loses only its own flight.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <set>
#include <string>

#include "tools/harness/CommandLine.h"
#include "tools/harness/Destination.h"
#include "tools/harness/ParallelRun.h"
#include "tools/harness/RandomFlights.h"
#include "tools/harness/ReportJson.h"
#include "tools/harness/ScenarioRunner.h"
#include "tools/harness/SetSummary.h"

namespace corvane::harness {
namespace {

class RandomFlightTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        HarnessOptions options;
        options.dataFolder = CORVANE_TEST_APP_DIR;
        runner_ = new ScenarioRunner(options);
        pool_ = new RandomFlightPool(MakeRandomFlightPool(runner_->Database()));
        fleet_ = new RandomFleet(StandInFleet(runner_->Database()));
    }
    static void TearDownTestSuite() {
        delete fleet_;
        delete pool_;
        delete runner_;
    }
    static Scenario Draw(std::uint64_t seed, int index) {
        return DrawFleetFlight(runner_->Database(), *fleet_, runner_->Terrain(), seed, index);
    }
    static ScenarioRunner* runner_;
    static RandomFlightPool* pool_;  // the twin's
    static RandomFleet* fleet_;
};
ScenarioRunner* RandomFlightTest::runner_ = nullptr;
RandomFlightPool* RandomFlightTest::pool_ = nullptr;
RandomFleet* RandomFlightTest::fleet_ = nullptr;

TEST_F(RandomFlightTest, DrawsAreDeterministicAndWithinTheirRanges) {
    const navdata::AirportDatabase& db = runner_->Database();
    ASSERT_GT(pool_->airports.size(), 500u);
    ASSERT_EQ(fleet_->members.size(), 2u);
    ASSERT_GT(fleet_->members[1].pool.airports.size(), pool_->airports.size())
        << "the single goes to shorter runways too";
    std::set<std::string> airports;
    std::set<int> turbulence;
    int directionB = 0;
    int strongCrosswind = 0;
    int singles = 0;
    const int n = 200;
    for (int i = 0; i < n; ++i) {
        const Scenario s = Draw(42, i);
        SCOPED_TRACE(s.name);
        // The same flight again, and independent of the other draws.
        EXPECT_EQ(ScenarioToJsonText(Draw(42, i)), ScenarioToJsonText(s));
        EXPECT_NE(ScenarioToJsonText(Draw(43, i)), ScenarioToJsonText(s));
        const bool single = s.aircraft == "single";
        singles += single ? 1 : 0;
        const RandomFlightRanges r = single ? SingleRanges() : RandomFlightRanges{};
        if (single) {
            EXPECT_EQ(s.name.substr(s.name.size() - 7), "-single");
        } else {
            // A twin's flight is the one the twin draws alone.
            EXPECT_EQ(s.aircraft, "twin");
            EXPECT_EQ(ScenarioToJsonText(DrawRandomFlight(db, *pool_, runner_->Terrain(), 42, i)),
                      ScenarioToJsonText(s));
        }

        // The destination is what the program's search and runway list give.
        const Destination d = ResolveDestination(db, s);
        const navdata::RunwayRecord& rw = db.Runways[std::size_t(std::abs(d.runwayChoice))];
        EXPECT_TRUE(rw.surface == 1 || rw.surface == 2) << int(rw.surface);
        EXPECT_GE(rw.lengthFeet, r.minRunwayLengthFt);
        EXPECT_GE(rw.widthFeet, r.minRunwayWidthFt);
        directionB += d.runwayChoice < 0 ? 1 : 0;
        airports.insert(s.searchText);

        const StartState& st = s.start;
        EXPECT_EQ(st.kind, StartState::Kind::Air);
        EXPECT_GE(st.distanceNm, r.minDistanceNm);
        EXPECT_LE(st.distanceNm, r.maxDistanceNm);
        EXPECT_GE(st.iasKt, r.minIasKt);
        EXPECT_LE(st.iasKt, r.maxIasKt);
        const double elevationFt = db.Airports[std::size_t(d.airport)].elevation / 0.3048;
        EXPECT_GE(st.altitudeFt, elevationFt + r.minHeightFt - 1.0);
        double lat = 0.0;
        double lon = 0.0;
        const navdata::AirportRecord& a = db.Airports[std::size_t(d.airport)];
        PointAt(a.latitude, a.longitude, st.bearingDeg, st.distanceNm * 1852.0, &lat, &lon);
        const double groundFt = runner_->Terrain()->ElevationM(lat, lon) / 0.3048;
        EXPECT_LE(st.altitudeFt,
                  std::max(elevationFt + r.maxHeightFt, groundFt + r.minClearanceFt) + 100.0);
        EXPECT_GE(st.altitudeFt, groundFt + r.minClearanceFt);

        const double heading =
            sim::FindRunwayDirection(db, d.airport, s.runwayLine.text)->headingTrueDeg;
        EXPECT_LE(s.windSpeedKt, r.maxWindKt);
        EXPECT_LE(CrosswindKt(s.windFromDeg, s.windSpeedKt, heading), r.maxCrosswindKt + 1e-9);
        EXPECT_GE(HeadwindKt(s.windFromDeg, s.windSpeedKt, heading), -r.maxTailwindKt - 1e-9);
        strongCrosswind += CrosswindKt(s.windFromDeg, s.windSpeedKt, heading) > 12.0 ? 1 : 0;
        EXPECT_TRUE(s.windGradient);
        turbulence.insert(static_cast<int>(s.turbulence));
    }
    // The draws spread over the world, both directions, every turbulence level
    // and crosswinds near the limit.
    EXPECT_GT(airports.size(), std::size_t(n * 0.9));
    EXPECT_GT(directionB, n / 3);
    EXPECT_LT(directionB, 2 * n / 3);
    EXPECT_EQ(turbulence.size(), 3u);
    EXPECT_GT(strongCrosswind, n / 20);
    EXPECT_GT(singles, n * 0.35);
    EXPECT_LT(singles, n * 0.65);
}

// Every scenario of the set and a random flight come back from their file
// text unchanged: each field, and the text written again.
TEST_F(RandomFlightTest, ScenarioFilesRoundTripThroughTheReader) {
    std::vector<Scenario> scenarios;
    for (const std::string& file : ScenarioFilesIn(CORVANE_TEST_SCENARIO_DIR))
        scenarios.push_back(LoadScenario(file));
    scenarios.push_back(Draw(9, 0));
    scenarios.back().start.latitudeDeg = 12.345678901234567;  // an absolute position, exactly
    scenarios.back().start.longitudeDeg = -98.7654321;
    scenarios.back().start.bearingDeg = 0.0;
    scenarios.back().start.distanceNm = 0.0;
    scenarios.back().turbulenceSeed = (std::uint64_t{1} << 53) - 1;
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        const std::string text = ScenarioToJsonText(s);
        const Scenario back = ParseScenario(text, s.name + ".json");
        EXPECT_EQ(ScenarioToJsonText(back), text);
        EXPECT_EQ(back.name, s.name);
        EXPECT_EQ(back.searchText, s.searchText);
        EXPECT_EQ(back.airportLine.index, s.airportLine.index);
        EXPECT_EQ(back.airportLine.text, s.airportLine.text);
        EXPECT_EQ(back.runwayLine.index, s.runwayLine.index);
        EXPECT_EQ(back.runwayLine.text, s.runwayLine.text);
        EXPECT_EQ(back.cruiseEntry, s.cruiseEntry);
        EXPECT_EQ(back.start.kind, s.start.kind);
        EXPECT_EQ(back.start.latitudeDeg, s.start.latitudeDeg);
        EXPECT_EQ(back.start.longitudeDeg, s.start.longitudeDeg);
        EXPECT_EQ(back.start.bearingDeg, s.start.bearingDeg);
        EXPECT_EQ(back.start.distanceNm, s.start.distanceNm);
        EXPECT_EQ(back.start.altitudeFt, s.start.altitudeFt);
        EXPECT_EQ(back.start.headingDeg, s.start.headingDeg);
        EXPECT_EQ(back.start.iasKt, s.start.iasKt);
        EXPECT_EQ(back.start.airport, s.start.airport);
        EXPECT_EQ(back.start.runway, s.start.runway);
        EXPECT_EQ(back.windFromDeg, s.windFromDeg);
        EXPECT_EQ(back.windSpeedKt, s.windSpeedKt);
        EXPECT_EQ(back.windGradient, s.windGradient);
        EXPECT_EQ(back.turbulence, s.turbulence);
        EXPECT_EQ(back.turbulenceSeed, s.turbulenceSeed);
        EXPECT_EQ(back.simTimeLimitS, s.simTimeLimitS);
    }
}

// A failed flight's file flies the same flight: the same touchdown, to the
// report's rounding, in moderate turbulence.
TEST_F(RandomFlightTest, AFlightsFileFliesTheSameFlight) {
    Scenario s = Draw(3, 2);
    s.start.distanceNm = 12.0;  // short, to keep the test quick
    s.turbulence = sim::TurbulenceLevel::Moderate;
    s.simTimeLimitS = 1500.0;
    const Scenario back = ParseScenario(ScenarioToJsonText(s), s.name + ".json");
    nlohmann::ordered_json first = ReportToJson(runner_->Run(s));
    nlohmann::ordered_json second = ReportToJson(runner_->Run(back));
    ASSERT_NE(first["outcome"], "error") << first["error"];
    for (auto* j : {&first, &second}) {
        for (const char* key : {"file", "wallTimeS", "speedUp"})
            j->erase(key);
    }
    EXPECT_EQ(first.dump(), second.dump());
}

TEST(RandomOptions, AreReadAndMistakesNamed) {
    const CommandLine c = ParseCommandLine({"--random", "1000", "--seed", "18446744073", "-j2"});
    EXPECT_EQ(c.randomFlights, 1000);
    EXPECT_EQ(c.seed, 18446744073u);
    EXPECT_EQ(c.jobs, 2);
    EXPECT_EQ(ParseCommandLine({"-j", "3", "tests"}).jobs, 3);
    // FlightGear flies in several processes too, one FlightGear each.
    const CommandLine fg = ParseCommandLine({"--simulator", "flightgear", "--random", "20", "-j",
                                             "2", "--fg-scenery", "/a", "--fg-scenery", "/b"});
    EXPECT_EQ(fg.jobs, 2);
    EXPECT_EQ(fg.flightGearScenery, (std::vector<std::string>{"/a", "/b"}));
    const struct {
        std::vector<std::string> args;
        const char* named;
    } bad[] = {
        {{"--random", "2.5"}, "--random"},
        {{"--random", "0"}, "--random"},
        {{"--random", "5", "x.json"}, "--random"},
        {{"--seed", "3", "x.json"}, "--seed"},
        {{"--random", "5", "--seed", "-1"}, "--seed"},
        {{"-j", "0", "x.json"}, "-j"},
        {{"--random", "5", "--tag", "ci"}, "--tag"},
        {{"--simulator", "xplane", "x.json"}, "--simulator"},
        {{"--speed-up", "2", "x.json"}, "--simulator flightgear"},
        {{"--simulator", "flightgear", "--speed-up", "8", "x.json"}, "--speed-up"},
        {{"--fg-scenery", "/scenery", "x.json"}, "--simulator flightgear"},
        {{"--simulator", "flightgear", "--fg-scenery"}, "--fg-scenery"},
    };
    for (const auto& b : bad) {
        try {
            ParseCommandLine(b.args);
            ADD_FAILURE() << "accepted " << b.args[0] << " " << b.args[1];
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(b.named), std::string::npos) << e.what();
        }
    }
}

TEST(SuccessBound, WilsonLowerBoundHasTheIntervalsValues) {
    const struct {
        int good;
        int n;
        double lower;
    } table[] = {
        {0, 0, 0.0},       {0, 10, 0.0},         {10, 10, 0.72247},
        {5, 10, 0.23659},  {1, 1, 0.20655},      {81, 263, 0.25529},
        {38, 38, 0.90819}, {970, 1000, 0.95750}, {990, 1000, 0.98169},
    };
    for (const auto& row : table)
        EXPECT_NEAR(WilsonLowerBound(row.good, row.n), row.lower, 5e-5) << row.good << "/" << row.n;
}

// A flight whose process dies is reported lost with the signal; the rest of
// that process's share is flown by a new process, and every flight is done once.
TEST(ParallelRun, ADyingFlightLosesOnlyItself) {
    std::vector<int> done(9, 0);
    std::vector<std::string> results(9);
    ParallelRunHooks hooks;
    hooks.fly = [](int i) {
        if (i == 4)
            std::raise(SIGKILL);
        return "flight " + std::to_string(i) + " pid " + std::to_string(::getpid());
    };
    hooks.done = [&](int i, const std::string& result, const std::string& lost) {
        ++done[std::size_t(i)];
        results[std::size_t(i)] = lost.empty() ? result : "LOST " + lost;
    };
    RunInProcesses(9, 2, hooks);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(done[std::size_t(i)], 1);
        if (i == 4)
            EXPECT_NE(results[4].find("LOST the flight's process was killed by signal 9"),
                      std::string::npos)
                << results[4];
        else
            EXPECT_EQ(results[std::size_t(i)].rfind("flight " + std::to_string(i) + " pid ", 0),
                      0u);
    }
    EXPECT_NE(results[0].substr(results[0].find("pid")), results[6].substr(results[6].find("pid")))
        << "flight 6 comes after the lost flight 4 in the same share: a new process flies it";
}

}  // namespace
}  // namespace corvane::harness
