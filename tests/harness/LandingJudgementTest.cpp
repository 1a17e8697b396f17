// SPDX-License-Identifier: MIT
//
// The limits of a good landing, each at its boundary, and the summary of a
// set: success rate, limits met, medians and extremes.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "tools/harness/LandingReport.h"
#include "tools/harness/ReportJson.h"
#include "tools/harness/SetSummary.h"

namespace corvane::harness {
namespace {

// A good landing on a 10000 ft runway 45 m wide, by an aircraft that stalls
// at 60 kt with landing flaps (reference speed 78 kt).
LandingReport GoodLanding(const std::string& name = "good") {
    LandingReport r;
    r.scenario = name;
    r.outcome = Outcome::LandedAndStopped;
    r.runwayLengthFt = 10000;
    r.runwayWidthM = 45;
    r.aircraft = {"test", "test aircraft", 70.0, 60.0, 78.0, 1.0};
    TouchdownFacts td;
    td.alongFt = 1000;
    td.crossM = 3;
    td.sinkFpm = 250;
    td.iasKt = 72;
    td.pitchDeg = 4;
    td.onRunway = true;
    td.firstContact = "main wheels";
    td.noseWheelAfterS = 3.0;
    td.peakLoadG = 1.3;
    td.recordedLoadG = 1.3;
    r.touchdown = td;
    r.gate = GateFacts{-60.0, 85.0, 1.0, 600.0, 2.0, 1.6};
    StopFacts stop;
    stop.alongFt = 5000;
    stop.remainingFt = 5000;
    stop.onRunway = true;
    r.stop = stop;
    r.handedBack = true;
    return r;
}

bool Fails(const LandingReport& r, Limit limit) {
    return std::find(r.failed.begin(), r.failed.end(), limit) != r.failed.end();
}

struct LimitCase {
    const char* name;
    void (*change)(LandingReport&);
    bool good;
    Limit limit;  // the limit that fails when not good
    // Another limit that the change fails as well (a sink over 600 ft/min is
    // also over 360), or the limit itself when there is none.
    Limit alsoFails = limit;
};

// Test names in the listings rather than bytes.
void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class LimitCaseTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitCaseTest, JudgesEachLimitAtItsBoundary) {
    LandingReport r = GoodLanding();
    GetParam().change(r);
    JudgeLanding(r);
    EXPECT_EQ(r.good, GetParam().good);
    if (GetParam().good) {
        EXPECT_TRUE(r.failed.empty()) << r.failedLimits.front();
    } else {
        std::vector<Limit> expected = {GetParam().limit};
        if (GetParam().alsoFails != GetParam().limit)
            expected.push_back(GetParam().alsoFails);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(r.failed, expected);
        EXPECT_EQ(r.failedLimits.size(), expected.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Landing, LimitCaseTest,
    ::testing::Values(
        LimitCase{"TouchdownAt200ft", [](LandingReport& r) { r.touchdown->alongFt = 200; }, true,
                  Limit::TouchdownZone},
        LimitCase{"TouchdownShortOf200ft", [](LandingReport& r) { r.touchdown->alongFt = 199.5; },
                  false, Limit::TouchdownZone},
        LimitCase{"TouchdownAt2700ftOnALongRunway",
                  [](LandingReport& r) { r.touchdown->alongFt = 2700; }, true,
                  Limit::TouchdownZone},
        LimitCase{"TouchdownPast2700ft", [](LandingReport& r) { r.touchdown->alongFt = 2701; },
                  false, Limit::TouchdownZone},
        LimitCase{"ThirdOfAShortRunwayIsTheLimit",
                  [](LandingReport& r) {
                      r.runwayLengthFt = 6000;
                      r.touchdown->alongFt = 2001;
                  },
                  false, Limit::TouchdownZone},
        LimitCase{"WithinAThirdOfAShortRunway",
                  [](LandingReport& r) {
                      r.runwayLengthFt = 6000;
                      r.touchdown->alongFt = 2000;
                  },
                  true, Limit::TouchdownZone},
        LimitCase{"BeforeTheThreshold", [](LandingReport& r) { r.touchdown->alongFt = -50; }, false,
                  Limit::TouchdownZone},
        LimitCase{"HalfWidthLessFiveMetresLeft",
                  [](LandingReport& r) { r.touchdown->crossM = -17.5; }, true, Limit::CentreLine},
        LimitCase{"BeyondHalfWidthLessFiveMetresRight",
                  [](LandingReport& r) { r.touchdown->crossM = 17.6; }, false, Limit::CentreLine},
        LimitCase{"SinkJustUnder600", [](LandingReport& r) { r.touchdown->sinkFpm = 599.9; }, false,
                  Limit::GentleSink},
        LimitCase{"SinkOf600", [](LandingReport& r) { r.touchdown->sinkFpm = 600; }, false,
                  Limit::SinkRate, Limit::GentleSink},
        LimitCase{"Crash",
                  [](LandingReport& r) {
                      r.crashed = true;
                      r.crashReason = "hard touchdown";
                  },
                  false, Limit::NoCrash},
        LimitCase{"StoppedBesideTheRunway", [](LandingReport& r) { r.stop->onRunway = false; },
                  false, Limit::StoppedOnRunway},
        LimitCase{"NeverStopped", [](LandingReport& r) { r.stop.reset(); }, false,
                  Limit::StoppedOnRunway},
        LimitCase{"NotHandedBack", [](LandingReport& r) { r.handedBack = false; }, false,
                  Limit::HandedBack},
        LimitCase{"OneBounce", [](LandingReport& r) { r.bounces = 1; }, false, Limit::NoBounce},
        LimitCase{"NoseWheelFirst",
                  [](LandingReport& r) { r.touchdown->firstContact = "nose wheel"; }, false,
                  Limit::MainWheelsFirst},
        LimitCase{"AllWheelsInOneStep",
                  [](LandingReport& r) { r.touchdown->firstContact = "together"; }, false,
                  Limit::MainWheelsFirst},
        LimitCase{"AtTheReferenceSpeed", [](LandingReport& r) { r.touchdown->iasKt = 78; }, true,
                  Limit::TouchdownSpeed},
        LimitCase{"AboveTheReferenceSpeed", [](LandingReport& r) { r.touchdown->iasKt = 78.1; },
                  false, Limit::TouchdownSpeed},
        LimitCase{"At105PerCentOfTheStall", [](LandingReport& r) { r.touchdown->iasKt = 63; },
                  false, Limit::TouchdownSpeed},
        LimitCase{"JustAbove105PerCentOfTheStall",
                  [](LandingReport& r) { r.touchdown->iasKt = 63.1; }, true, Limit::TouchdownSpeed},
        LimitCase{"FlapsOverTheirSpeed",
                  [](LandingReport& r) {
                      r.flapExcess = FlapExcess{};
                      r.flapExcess->excessKt = 0.5;
                      r.flapExcess->setting = "10°";
                  },
                  false, Limit::FlapSpeeds},
        LimitCase{"LoadOf1Point6", [](LandingReport& r) { r.touchdown->recordedLoadG = 1.6; }, true,
                  Limit::TouchdownLoad},
        LimitCase{"LoadOver1Point6", [](LandingReport& r) { r.touchdown->recordedLoadG = 1.61; },
                  false, Limit::TouchdownLoad},
        LimitCase{"OneSampleOver1Point6",
                  [](LandingReport& r) {
                      r.touchdown->peakLoadG = 2.2;
                      r.touchdown->recordedLoadG = 1.5;
                  },
                  true, Limit::TouchdownLoad},
        LimitCase{"SinkOf360", [](LandingReport& r) { r.touchdown->sinkFpm = 360; }, true,
                  Limit::GentleSink},
        LimitCase{"SinkOver360", [](LandingReport& r) { r.touchdown->sinkFpm = 361; }, false,
                  Limit::GentleSink},
        LimitCase{"GateFiveKnotsSlow", [](LandingReport& r) { r.gate->iasKt = 73; }, true,
                  Limit::Stabilised},
        LimitCase{"GateTooSlow", [](LandingReport& r) { r.gate->iasKt = 72.9; }, false,
                  Limit::Stabilised},
        LimitCase{"GateTooFast", [](LandingReport& r) { r.gate->iasKt = 93.1; }, false,
                  Limit::Stabilised},
        LimitCase{"GateWithoutLandingFlaps", [](LandingReport& r) { r.gate->flapPosition = 0.66; },
                  false, Limit::Stabilised},
        LimitCase{"GateSinking1000", [](LandingReport& r) { r.gate->sinkFpm = 1000; }, false,
                  Limit::Stabilised},
        LimitCase{"GateOffTheCentreLine", [](LandingReport& r) { r.gate->crossM = -22.6; }, false,
                  Limit::Stabilised},
        LimitCase{"NeverThroughTheGate", [](LandingReport& r) { r.gate.reset(); }, false,
                  Limit::Stabilised}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Landing, NoTouchdownFailsEveryTouchdownLimit) {
    LandingReport r = GoodLanding();
    r.touchdown.reset();
    r.stop.reset();
    r.handedBack = false;
    JudgeLanding(r);
    EXPECT_FALSE(r.good);
    for (Limit l :
         {Limit::TouchdownZone, Limit::CentreLine, Limit::SinkRate, Limit::StoppedOnRunway,
          Limit::HandedBack, Limit::NoBounce, Limit::MainWheelsFirst, Limit::TouchdownSpeed,
          Limit::TouchdownLoad, Limit::GentleSink}) {
        EXPECT_TRUE(Fails(r, l)) << LimitName(l);
    }
    EXPECT_FALSE(Fails(r, Limit::NoCrash));
    EXPECT_FALSE(Fails(r, Limit::FlapSpeeds));
}

TEST(Landing, AScenarioThatCouldNotBeFlownMeetsNoLimit) {
    LandingReport r;
    r.outcome = Outcome::Error;
    r.error = "the search finds no airport";
    JudgeLanding(r);
    EXPECT_FALSE(r.good);
    EXPECT_EQ(r.failed.size(), std::size_t(kLimitCount));
    EXPECT_NE(r.failedLimits.front().find("the search finds no airport"), std::string::npos);
}

// The contact report names the wheels that touched second, whichever they are.
TEST(Landing, TheWheelsFirstReportNamesTheSecondContact) {
    for (const auto& [first, afterS, expected] :
         {std::tuple{"main wheels", 1.5, "main wheels, nose wheel 1.50 s after, pitch 4.0°"},
          std::tuple{"nose wheel", -0.25, "nose wheel, main wheels 0.25 s after, pitch 4.0°"}}) {
        LandingReport r = GoodLanding();
        r.touchdown->firstContact = first;
        r.touchdown->noseWheelAfterS = afterS;
        JudgeLanding(r);
        const auto check = std::find_if(r.checks.begin(), r.checks.end(), [](const LimitCheck& c) {
            return c.limit == Limit::MainWheelsFirst;
        });
        ASSERT_NE(check, r.checks.end());
        EXPECT_EQ(check->value, expected);
    }
}

TEST(Landing, LimitNamesGoBothWays) {
    for (int i = 0; i < kLimitCount; ++i) {
        const Limit l = static_cast<Limit>(i);
        EXPECT_EQ(LimitNamed(LimitName(l)), l);
    }
    EXPECT_FALSE(LimitNamed("touchdown"));
}

TEST(SetSummaryTest, MedianOfAnEvenCountIsTheMeanOfTheMiddleTwo) {
    const Statistic odd = Summarise({{3, "c"}, {1, "a"}, {2, "b"}});
    EXPECT_DOUBLE_EQ(odd.median, 2);
    EXPECT_EQ(odd.minScenario, "a");
    EXPECT_EQ(odd.maxScenario, "c");
    const Statistic even = Summarise({{4, "d"}, {1, "a"}, {3, "c"}, {2, "b"}});
    EXPECT_DOUBLE_EQ(even.median, 2.5);
    EXPECT_EQ(Summarise({}).count, 0);
}

TEST(SetSummaryTest, CountsGoodLandingsLimitsAndOutcomes) {
    std::vector<LandingReport> set;
    set.push_back(GoodLanding("a"));
    LandingReport shortOne = GoodLanding("b");
    shortOne.touchdown->alongFt = 40;
    shortOne.touchdown->crossM = -9;
    set.push_back(shortOne);
    LandingReport windy = GoodLanding("c");
    windy.outcome = Outcome::TimedOut;
    windy.handedBack = false;
    windy.touchdown->sinkFpm = 100;
    set.push_back(windy);
    LandingReport broken;
    broken.scenario = "d";
    broken.outcome = Outcome::Error;
    broken.error = "bad";
    set.push_back(broken);
    for (LandingReport& r : set)
        JudgeLanding(r);

    const SetSummary s = SummariseSet(set);
    EXPECT_EQ(s.scenarios, 4);
    EXPECT_EQ(s.good, 1);
    EXPECT_DOUBLE_EQ(s.successRate, 0.25);
    EXPECT_EQ(s.landedAndStopped, 2);
    EXPECT_EQ(s.timedOut, 1);
    EXPECT_EQ(s.errors, 1);
    EXPECT_EQ(s.passed[std::size_t(Limit::TouchdownZone)], 2);
    EXPECT_EQ(s.passed[std::size_t(Limit::HandedBack)], 2);
    EXPECT_EQ(s.passed[std::size_t(Limit::NoCrash)], 3) << "an error meets no limit";
    EXPECT_DOUBLE_EQ(PassRate(s, Limit::SinkRate), 0.75);
    // The error has no measures; the others' medians and extremes name them.
    EXPECT_EQ(s.touchdownFt.count, 3);
    EXPECT_DOUBLE_EQ(s.touchdownFt.median, 1000);
    EXPECT_EQ(s.touchdownFt.minScenario, "b");
    EXPECT_DOUBLE_EQ(s.touchdownCrossM.max, 9) << "lateral offsets are taken without sign";
    EXPECT_EQ(s.sinkFpm.minScenario, "c");

    const std::string table = FormatTable(set);
    EXPECT_NE(table.find("timed out"), std::string::npos);
    const std::string failures = FormatFailures(set);
    EXPECT_EQ(failures.find("a: "), std::string::npos) << "good landings are not listed";
    EXPECT_NE(failures.find("touchdown 40 ft past the threshold"), std::string::npos) << failures;
}

// A report goes between processes as JSON text: it comes back with its
// measures, and the program's ANSI texts (an airport "Z\xfcrich") become UTF-8
// instead of making the text unwritable.
TEST(ReportJsonTest, ReportComesBackFromItsTextWithAnsiNamesInUtf8) {
    LandingReport r = GoodLanding();
    r.scenario = "lszh";
    r.airportLine = "Z\xfcrich (LSZH) {N 47  E 8}";
    r.messageBoxes = {"caf\xe9"};
    r.stageTexts = {{12.5, "Landing"}};
    r.turbulenceSeed = 123456789012345ull;
    JudgeLanding(r);
    const std::string text = ReportToJson(r).dump();
    const LandingReport back = ReportFromJson(nlohmann::json::parse(text));
    EXPECT_EQ(back.airportLine, "Z\xc3\xbcrich (LSZH) {N 47  E 8}");
    EXPECT_EQ(back.messageBoxes, std::vector<std::string>{"caf\xc3\xa9"});
    EXPECT_EQ(back.good, r.good);
    EXPECT_EQ(back.outcome, r.outcome);
    EXPECT_EQ(back.turbulenceSeed, r.turbulenceSeed);
    ASSERT_TRUE(back.touchdown);
    EXPECT_EQ(back.touchdown->alongFt, 1000.0);
    EXPECT_EQ(back.stageTexts.size(), 1u);
    EXPECT_EQ(ReportToJson(back).dump(), text);
}

TEST(ReportJsonTest, ReportKeepsTheMeasuresAndNullsWhatDidNotHappen) {
    LandingReport r = GoodLanding();
    r.stages = {{1.5, "route 1"}, {2.0, "route 2"}};
    r.stageTexts = {{0.0, "To turning point"}};
    JudgeLanding(r);
    nlohmann::ordered_json j = ReportToJson(r);
    EXPECT_EQ(j["outcome"], "landed and stopped");
    EXPECT_EQ(j["good"], true);
    EXPECT_EQ(j["touchdown"]["pastThresholdFt"], 1000);
    EXPECT_EQ(j["stop"]["runwayRemainingFt"], 5000);
    EXPECT_EQ(j["stages"][1]["text"], "route 2");
    EXPECT_EQ(j["stageTexts"][0]["text"], "To turning point");

    // Both touchdown loads come back; a report written before the recorder's
    // channel was read keeps the sample's peak as the load it was judged on.
    r.touchdown->peakLoadG = 1.9;
    r.touchdown->recordedLoadG = 1.4;
    j = ReportToJson(r);
    EXPECT_EQ(ReportFromJson(j).touchdown->recordedLoadG, 1.4);
    j["touchdown"].erase("recordedLoadG");
    EXPECT_EQ(ReportFromJson(j).touchdown->recordedLoadG, 1.9);

    r.touchdown.reset();
    JudgeLanding(r);
    j = ReportToJson(r);
    EXPECT_TRUE(j["touchdown"].is_null());
    EXPECT_EQ(j["failedLimits"][0]["limit"], "touchdownZone");
}

}  // namespace
}  // namespace corvane::harness
