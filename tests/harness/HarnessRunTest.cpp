// SPDX-License-Identifier: MIT
//
// The harness flying the whole program over the world database the build
// makes: a short final to San Francisco 28R goes through every stage of the
// flight to the hand-back, and scenarios that cannot be flown come back as
// errors that say why.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "navdata/NavDataError.h"
#include "sim/physics/Aircraft.h"
#include "sim/trace/CommandTrace.h"
#include "tools/harness/CommandReplay.h"
#include "tools/harness/ScenarioRunner.h"

namespace corvane::harness {
namespace {

// The in-process simulator's window is looked for on a desktop of the
// test's own, where no other process's simulator can answer.
class PrivateDesktop : public ::testing::Environment {
  public:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvane-harness-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        ::setenv("CORVANE_DESKTOP", folder_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

  private:
    std::string folder_;
};

const ::testing::Environment* const kDesktop =
    ::testing::AddGlobalTestEnvironment(new PrivateDesktop);

class HarnessRunTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        HarnessOptions options;
        options.dataFolder = CORVANE_TEST_APP_DIR;
        runner_ = new ScenarioRunner(options);
    }
    static void TearDownTestSuite() {
        delete runner_;
        runner_ = nullptr;
    }
    static Scenario FromSet(const std::string& name) {
        return LoadScenario(std::string(CORVANE_TEST_SCENARIO_DIR) + "/" + name + ".json");
    }
    static ScenarioRunner* runner_;
};

ScenarioRunner* HarnessRunTest::runner_ = nullptr;

std::vector<std::string> Texts(const std::vector<TimedText>& list) {
    std::vector<std::string> out;
    for (const TimedText& t : list)
        out.push_back(t.text);
    return out;
}

TEST_F(HarnessRunTest, ShortFinalFliesEveryStageToTheHandBack) {
    const LandingReport r = runner_->Run(FromSet("ksfo-28r-final-8nm"));
    ASSERT_EQ(r.outcome, Outcome::LandedAndStopped) << r.outcomeDetail;
    EXPECT_EQ(r.airportLine, "San Francisco Intl (KSFO) {N 37  W 122}");
    EXPECT_EQ(r.runwayDesignator, " 28R");
    // Placed 8 nm out; it flies on by hand through the program's start-up
    // until the pilot's right click pauses it.
    EXPECT_LT(r.startDistanceNm, 8.0);
    EXPECT_GT(r.startDistanceNm, 7.5);

    EXPECT_EQ(Texts(r.stageTexts),
              (std::vector<std::string>{"To turning point", "To airport", "Initial descent",
                                        "Mid-stage descent", "Final descent", "Touchdown",
                                        "Resetting controls"}));
    // Landing stages in order, each once, and back to 0.
    std::vector<std::string> landing;
    for (const std::string& s : Texts(r.stages)) {
        if (s.rfind("landing ", 0) == 0)
            landing.push_back(s);
    }
    EXPECT_EQ(landing, (std::vector<std::string>{"landing 1", "landing 2", "landing 3", "landing 4",
                                                 "landing 5", "landing 6", "landing 7", "landing 8",
                                                 "landing 0"}));
    for (std::size_t i = 1; i < r.stages.size(); ++i)
        EXPECT_GE(r.stages[i].timeS, r.stages[i - 1].timeS);

    ASSERT_TRUE(r.touchdown);
    EXPECT_TRUE(r.touchdown->onRunway);
    ASSERT_TRUE(r.stop);
    EXPECT_TRUE(r.stop->onRunway);
    EXPECT_GT(r.stop->alongFt, r.touchdown->alongFt);
    EXPECT_GT(r.stop->timeS, r.touchdown->timeS);
    EXPECT_NEAR(r.stop->remainingFt + r.stop->alongFt, r.runwayLengthFt, 1e-6);
    EXPECT_TRUE(r.handedBack);
    ASSERT_TRUE(r.handBackTimeS);
    EXPECT_GT(*r.handBackTimeS, r.stop->timeS) << "the hand-back waits for the standstill";
    EXPECT_FALSE(r.crashed);
    EXPECT_TRUE(r.messageBoxes.empty());
    EXPECT_GT(r.virtualTimeS, r.flightTimeS);
}

TEST_F(HarnessRunTest, AnApproachPushedOffTheCentreLineGoesAroundAndLandsOnItsSecondApproach) {
    const LandingReport r = runner_->Run(FromSet("kmia-09-go-around"));
    ASSERT_EQ(r.outcome, Outcome::LandedAndStopped) << r.outcomeDetail;
    EXPECT_TRUE(r.goodOnRunway);
    const std::vector<std::string> stages = Texts(r.stages);
    const auto pushed = std::find(stages.begin(), stages.end(), "pushed 80 m sideways");
    const auto goAround = std::find(stages.begin(), stages.end(), "landing 9");
    const auto touchdown = std::find(stages.begin(), stages.end(), "landing 5");
    ASSERT_NE(pushed, stages.end());
    ASSERT_NE(goAround, stages.end());
    EXPECT_LT(pushed, goAround);
    EXPECT_LT(goAround, touchdown);
    EXPECT_EQ(std::count(stages.begin(), stages.end(), "landing 9"), 1);
    // The approach is flown again from the turning point.
    EXPECT_EQ(std::count(stages.begin(), stages.end(), "landing 1"), 2);
    const std::vector<std::string> texts = Texts(r.stageTexts);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Go-around: beside the centre line"),
              texts.end());
    ASSERT_TRUE(r.touchdown);
    EXPECT_LT(std::fabs(r.touchdown->crossM), 5.0);
}

TEST_F(HarnessRunTest, TheSameScenarioFliesTheSameFlight) {
    const LandingReport a = runner_->Run(FromSet("kmia-27-final-5nm"));
    const LandingReport b = runner_->Run(FromSet("kmia-27-final-5nm"));
    ASSERT_TRUE(a.touchdown && b.touchdown);
    EXPECT_EQ(a.touchdown->alongFt, b.touchdown->alongFt);
    EXPECT_EQ(a.touchdown->sinkFpm, b.touchdown->sinkFpm);
    EXPECT_EQ(a.flightTimeS, b.flightTimeS);
    EXPECT_EQ(Texts(a.stages), Texts(b.stages));
}

// The program's commands recorded in one flight and flown again without the
// program on the same aircraft land where the program landed: the recording
// carries every input the flight depended on.
TEST_F(HarnessRunTest, RecordedCommandsFlownAgainLandWhereTheProgramLanded) {
    const std::filesystem::path folder =
        std::filesystem::path(::getenv("CORVANE_DESKTOP")) / "commands";
    std::filesystem::create_directories(folder);
    HarnessOptions options;
    options.dataFolder = CORVANE_TEST_APP_DIR;
    options.commandsFolder = folder.string();
    options.fineSteps = true;  // the steps the replay takes, at every height
    ScenarioRunner recording(options);
    const Scenario s = FromSet("kmia-27-final-5nm");
    const LandingReport flown = recording.Run(s);
    ASSERT_TRUE(flown.touchdown && flown.stop) << flown.outcomeDetail;

    std::ifstream in(folder / (s.name + ".csv"));
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    sim::CommandTrace trace = sim::ParseCommandTrace(text, s.name);
    ASSERT_GT(trace.steps.size(), 100u);
    EXPECT_EQ(trace.aircraftId, "twin");
    trace.aircraftId = "c172p";  // FlightGear's Cessna is flown again by the light single
    EXPECT_EQ(ReplayAircraftId("", trace, s), "single");
    trace.aircraftId.clear();
    const LandingReport replayed =
        ReplayCommands(recording.Database(), recording.Terrain(), s, trace,
                       *sim::StandInAircraft(ReplayAircraftId("", trace, s)));
    ASSERT_TRUE(replayed.touchdown && replayed.stop) << replayed.outcomeDetail;
    EXPECT_EQ(replayed.outcome, flown.outcome);
    EXPECT_NEAR(replayed.touchdown->alongFt, flown.touchdown->alongFt, 300.0);
    EXPECT_NEAR(replayed.touchdown->crossM, flown.touchdown->crossM, 3.0);
    EXPECT_NEAR(replayed.touchdown->iasKt, flown.touchdown->iasKt, 3.0);
    EXPECT_NEAR(replayed.stop->alongFt, flown.stop->alongFt, 500.0);
    EXPECT_EQ(replayed.bounces, flown.bounces);
}

// A column of a harness trace by time since its first line.
std::vector<std::pair<double, double>> TraceColumn(const std::string& path,
                                                   const std::string& column) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    auto cells = [](const std::string& l) {
        std::vector<std::string> out;
        std::size_t from = 0;
        for (std::size_t comma; (comma = l.find(',', from)) != std::string::npos; from = comma + 1)
            out.push_back(l.substr(from, comma - from));
        out.push_back(l.substr(from));
        return out;
    };
    const std::vector<std::string> header = cells(line);
    const auto at = std::find(header.begin(), header.end(), column);
    EXPECT_NE(at, header.end()) << path << ": no column " << column;
    const std::size_t index = std::size_t(at - header.begin());
    std::vector<std::pair<double, double>> out;
    while (std::getline(in, line)) {
        const std::vector<std::string> c = cells(line);
        if (c.size() > index)
            out.push_back({std::stod(c[0]), std::stod(c[index])});
    }
    for (auto& [t, v] : out)
        t -= out.empty() ? 0.0 : out.front().first;
    return out;
}

double MeanBetween(const std::vector<std::pair<double, double>>& column, double fromS, double toS) {
    double sum = 0.0;
    int n = 0;
    for (const auto& [t, v] : column) {
        if (t >= fromS && t <= toS) {
            sum += v;
            ++n;
        }
    }
    EXPECT_GT(n, 0);
    return n ? sum / n : NAN;
}

// FlightGear's Cessna's recorded approach to Honolulu 8L (its commands and
// its own trace, tests/flightgear/traces) flown again by the light single:
// on the steady descent with full flaps at the program's throttle the single
// flies within a tenth of the Cessna's speed and a few degrees of its pitch
// (docs/flight-model.md gives the whole comparison).
TEST_F(HarnessRunTest, TheLightSingleFliesTheCessnasRecordedApproachLikeTheCessna) {
    const std::string folder = CORVANE_TEST_FLIGHTGEAR_DIR;
    const Scenario s = LoadScenario(folder + "/scenarios/phnl-08l-10nm.json");
    std::ifstream in(folder + "/traces/" + s.name + ".csv");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const sim::CommandTrace trace = sim::ParseCommandTrace(text, s.name);
    const std::string replayPath = std::string(::getenv("CORVANE_DESKTOP")) + "/replay.csv";
    std::FILE* file = std::fopen(replayPath.c_str(), "w");
    ASSERT_NE(file, nullptr);
    const LandingReport r = ReplayCommands(runner_->Database(), runner_->Terrain(), s, trace,
                                           *sim::StandInAircraft("single"), file);
    std::fclose(file);
    EXPECT_EQ(r.aircraft.id, "single");
    ASSERT_TRUE(r.touchdown) << r.outcomeDetail;

    const std::string flown = folder + "/traces/flown/" + s.name + ".csv";
    const double cessnaIas = MeanBetween(TraceColumn(flown, "ias_kt"), 180, 300);
    const double singleIas = MeanBetween(TraceColumn(replayPath, "ias_kt"), 180, 300);
    EXPECT_NEAR(singleIas / cessnaIas, 1.0, 0.1) << cessnaIas << " against " << singleIas;
    EXPECT_NEAR(MeanBetween(TraceColumn(replayPath, "pitch_deg"), 180, 300),
                MeanBetween(TraceColumn(flown, "pitch_deg"), 180, 300), 4.0);
    EXPECT_NEAR(MeanBetween(TraceColumn(replayPath, "vs_fpm"), 180, 300),
                MeanBetween(TraceColumn(flown, "vs_fpm"), 180, 300), 50.0);
}

TEST_F(HarnessRunTest, AScenarioThatCannotBeFlownSaysWhy) {
    Scenario s = FromSet("ksfo-28r-final-8nm");
    s.searchText = "no such airport anywhere";
    LandingReport r = runner_->Run(s);
    EXPECT_EQ(r.outcome, Outcome::Error);
    EXPECT_NE(r.error.find("no such airport anywhere"), std::string::npos) << r.error;
    EXPECT_FALSE(r.good);

    s = FromSet("ksfo-28r-final-8nm");
    s.cruiseEntry = "mnuAbs99999";
    r = runner_->Run(s);
    EXPECT_EQ(r.outcome, Outcome::Error);
    EXPECT_NE(r.error.find("mnuAbs99999"), std::string::npos) << r.error;
}

TEST(HarnessSetUp, AFolderWithoutTheDatabaseIsAnErrorNamingTheFile) {
    HarnessOptions options;
    options.dataFolder = std::filesystem::temp_directory_path().string() + "/no-corvane-data";
    try {
        ScenarioRunner runner(options);
        FAIL() << "no error";
    } catch (const navdata::NavDataError& e) {
        EXPECT_NE(std::string(e.what()).find("airdata.tri"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace corvane::harness
