// SPDX-License-Identifier: MIT
#include "sim/trace/CommandTrace.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace corvane::sim {
namespace {

ControlInputs RandomInputs(std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::bernoulli_distribution coin(0.5);
    ControlInputs in;
    for (double& t : in.throttle)
        t = unit(rng);
    in.flapsLever = std::abs(unit(rng));
    in.spoilersLever = std::abs(unit(rng));
    in.spoilersArmed = coin(rng);
    in.gearDown = coin(rng);
    in.leftBrake = std::abs(unit(rng));
    in.rightBrake = std::abs(unit(rng));
    in.parkingBrake = coin(rng);
    in.elevator = unit(rng);
    in.aileron = unit(rng);
    in.rudder = unit(rng);
    in.autoCoordinator = coin(rng);
    in.autopilot.master = coin(rng);
    in.autopilot.wingLeveller = coin(rng);
    in.autopilot.headingHold = coin(rng);
    in.autopilot.altitudeHold = coin(rng);
    in.autopilot.headingMagneticDeg = 180.0 + 180.0 * unit(rng);
    in.autopilot.altitudeTargetM = 5000.0 * std::abs(unit(rng));
    in.autopilot.verticalSpeedFpm = static_cast<std::int16_t>(3000.0 * unit(rng));
    in.paused = coin(rng);
    in.crashDetection = coin(rng);
    return in;
}

// Written and read back, every command survives to the text's precision, the
// start too, and the inputs in force at a time are the last line's at or
// before it.
TEST(CommandTrace, RoundTripsRandomCommandsAndLooksThemUpByTime) {
    std::mt19937 rng(7);
    const CommandStart start{21.31780001, -157.94251234, 1500.25, 80.125, 74.5, -412.5, 0.3333};
    std::string text = CommandTraceStartLine(start) + "\n" + CommandTraceAircraftLine("c172p") +
                       "\n" + CommandTraceHeader() + "\n";
    std::vector<ControlInputs> written;
    for (int i = 0; i < 200; ++i) {
        written.push_back(RandomInputs(rng));
        text += CommandTraceLine(0.5 * i, written.back()) + "\r\n";
    }

    const CommandTrace trace = ParseCommandTrace(text, "t.csv");
    EXPECT_EQ(trace.aircraftId, "c172p");
    EXPECT_NEAR(trace.start.latitudeDeg, start.latitudeDeg, 1e-8);
    EXPECT_NEAR(trace.start.longitudeDeg, start.longitudeDeg, 1e-8);
    EXPECT_NEAR(trace.start.altitudeFt, start.altitudeFt, 0.01);
    EXPECT_NEAR(trace.start.headingTrueDeg, start.headingTrueDeg, 1e-3);
    EXPECT_NEAR(trace.start.iasKt, start.iasKt, 0.01);
    EXPECT_NEAR(trace.start.climbFpm, start.climbFpm, 0.1);
    EXPECT_NEAR(trace.start.flaps, start.flaps, 1e-4);
    ASSERT_EQ(trace.steps.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_FALSE(CommandsDiffer(trace.steps[i].inputs, written[i])) << "line " << i;
        EXPECT_NEAR(trace.steps[i].inputs.elevator, written[i].elevator, 1e-5);
        EXPECT_EQ(trace.steps[i].inputs.autopilot.verticalSpeedFpm,
                  written[i].autopilot.verticalSpeedFpm);
    }
    EXPECT_FALSE(CommandsDiffer(trace.At(-1.0), written[0]));
    EXPECT_FALSE(CommandsDiffer(trace.At(10.0), written[20]));
    EXPECT_FALSE(CommandsDiffer(trace.At(10.49), written[20]));
    EXPECT_FALSE(CommandsDiffer(trace.At(1e6), written.back()));
    EXPECT_TRUE(CommandsDiffer(written[0], written[1]));
}

// A malformed trace is refused with the file and the line named.
TEST(CommandTrace, RefusesMalformedTracesNamingTheLine) {
    const std::string start = "# start 1,2,3,4,5,6,7\n";
    const std::string header = std::string(CommandTraceHeader()) + "\n";
    const std::string good = CommandTraceLine(1.0, ControlInputs{});
    std::string vsTooBig = CommandTraceLine(2.0, ControlInputs{});
    vsTooBig.replace(vsTooBig.rfind(",0,0,"), 5, ",40000,0,");
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {"", "t.csv:0: the trace has no column line"},
        {"time_s\n", "t.csv:1: the first line must be"},
        {"# start 1,2,3\n", "t.csv:1: the start needs 7 numbers"},
        {"# start 1,2,3,4,5,6,x\n", "t.csv:1: the start needs 7 numbers"},
        {start + "time_s,other\n", "t.csv:2: the column line is not"},
        {start + header + "1,2,3\n", "t.csv:3: a command line needs 25 numbers"},
        {start + header + good + "\n" + CommandTraceLine(0.5, ControlInputs{}),
         "t.csv:4: the time goes back"},
        {start + header + vsTooBig, "t.csv:3: the vertical speed is outside"},
        {start + header + "nan" + good.substr(good.find(',')), "t.csv:3: a command line needs"},
    };
    for (const auto& c : cases) {
        try {
            ParseCommandTrace(c.text, "t.csv");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const CommandTraceError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.expected, 0), 0u) << e.what();
        }
    }
}

}  // namespace
}  // namespace corvane::sim
