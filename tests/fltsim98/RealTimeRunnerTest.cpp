// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "sim/fltsim98/RealTimeRunner.h"
#include "sim/model/Simulator.h"

namespace corvane::sim {
namespace {

TEST(RealTimeRunnerTest, StepsFollowTheClockTimesTheRate) {
    const struct {
        double rate;
        double clockS;  // one RunUntil after this much clock time
        int steps;      // of 20 ms
    } cases[] = {
        {1.0, 0.1, 5},
        {1.0, 0.019, 0},
        {4.0, 0.1, 20},
        {0.5, 0.2, 5},
        // The process was stopped for 30 s: at most one second is made up.
        {1.0, 30.0, 50},
        {10.0, 30.0, 500},
        // The clock going backwards runs nothing.
        {1.0, -1.0, 0},
    };
    for (const auto& c : cases) {
        SimulatorOptions options;
        options.rate = c.rate;
        Simulator sim(options);
        sim.StartInAir({});
        RealTimeRunner runner(sim, nullptr, CloseAnswer::Close, false, nullptr, false);
        runner.Begin(100.0);
        EXPECT_EQ(runner.RunUntil(100.0 + c.clockS), c.steps) << c.rate << " " << c.clockS;
    }
}

TEST(RealTimeRunnerTest, WaitsUntilTheNextStepIsDue) {
    SimulatorOptions options;
    options.rate = 2.0;
    Simulator sim(options);
    RealTimeRunner runner(sim, nullptr, CloseAnswer::Close, false, nullptr, false);
    runner.Begin(10.0);
    EXPECT_DOUBLE_EQ(runner.TickS(), 0.01);
    EXPECT_NEAR(runner.SecondsToNextStep(10.004), 0.006, 1e-9);
    EXPECT_EQ(runner.SecondsToNextStep(10.5), 0.0);
    // At high rates a wake-up every 2 ms runs several steps.
    ASSERT_TRUE(sim.SetRate(500.0));
    EXPECT_DOUBLE_EQ(runner.TickS(), 0.002);
}

TEST(RealTimeRunnerTest, CloseRequestIsAnsweredByTheCloseAnswer) {
    using Decision = RealTimeRunner::CloseDecision;
    const struct {
        CloseAnswer answer;
        bool canAsk;
        Decision decision;
        bool quits;
    } cases[] = {
        {CloseAnswer::Close, false, Decision::Quit, true},
        {CloseAnswer::Accept, false, Decision::Quit, true},
        {CloseAnswer::Refuse, true, Decision::Keep, false},
        {CloseAnswer::Ask, true, Decision::AskUser, false},
        {CloseAnswer::Ask, false, Decision::Keep, false},  // no one to ask
    };
    for (const auto& c : cases) {
        Simulator sim;
        RealTimeRunner runner(sim, nullptr, c.answer, c.canAsk, nullptr, false);
        EXPECT_EQ(runner.OnCloseRequest(), c.decision);
        EXPECT_EQ(runner.QuitRequested(), c.quits);
        EXPECT_EQ(runner.CloseRequests(), 1);
    }
}

TEST(RealTimeRunnerTest, WithoutAModuleNoMessageIsServed) {
    Simulator sim;
    RealTimeRunner runner(sim, nullptr, CloseAnswer::Close, false, nullptr, false);
    desktop::Message message;
    message.name = "FsasmLib:IPC";
    message.atomText = "FsasmLib:IPC:1:0";
    EXPECT_EQ(runner.OnMessage(message), 0u);
    EXPECT_EQ(runner.BatchesServed(), 0u);
}

}  // namespace
}  // namespace corvane::sim
